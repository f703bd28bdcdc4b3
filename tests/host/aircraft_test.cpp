#include "aircraft.h"

#include <gtest/gtest.h>

#include <cstring>

#include "plan_text.h"

namespace ndhost {
namespace {

TEST(Aircraft, RawUnitsOfThePosition) {
  EXPECT_NEAR(RawLatitudeFromDeg(48.0) * 8.998425275576774e-06, 48.0, 1e-12);
  EXPECT_NEAR(RawLongitudeFromDeg(2.0) * 1.2789770768341246e-12, 2.0, 1e-9);
  // West is counted on from 180 to 360.
  EXPECT_NEAR(RawLongitudeFromDeg(-2.0) * 1.2789770768341246e-12, 358.0, 1e-9);
}

TEST(Aircraft, FrequencyAsBcd) {
  EXPECT_EQ(BcdFromFrequencyMhz(113.90), 0x1390);
  EXPECT_EQ(BcdFromFrequencyMhz(108.05), 0x0805);
  EXPECT_EQ(BcdFromFrequencyMhz(0), 0);
}

TEST(Aircraft, VariablesByToken) {
  AircraftState aircraft;
  aircraft.headingDeg = 271.5;
  aircraft.nav1Ident = "PGS";
  aircraft.nav1FrequencyMhz = 117.25;
  aircraft.nav1Flags = 0x81;
  PanelVariable variable{};
  variable.token = 81;
  ASSERT_TRUE(FillVariable(aircraft, variable));
  EXPECT_DOUBLE_EQ(variable.currentValue.number, 271.5);
  variable.token = 47;
  ASSERT_TRUE(FillVariable(aircraft, variable));
  EXPECT_STREQ(variable.currentValue.text, "PGS");
  variable.token = 24;
  ASSERT_TRUE(FillVariable(aircraft, variable));
  EXPECT_EQ(variable.currentValue.integer, 0x1725);
  variable.token = 46;
  ASSERT_TRUE(FillVariable(aircraft, variable));
  EXPECT_EQ(variable.currentValue.integer, 0x81);
  variable.token = 9999;
  EXPECT_FALSE(FillVariable(aircraft, variable));
}

TEST(Aircraft, FliesAlongThePlan) {
  std::string plan = gauge_test::PlanText("09L/087/11000", "27R/270/12799",
                                          {{"APT", "AAAA", 10.0, 10.0, 0},
                                           {"VOR", "BBB", 10.0, 11.0, 0},
                                           {"APT", "CCCC", 11.0, 11.0, 0}});
  std::vector<Waypoint> waypoints = ReadPlanWaypoints(plan);
  ASSERT_EQ(waypoints.size(), 3u);
  EXPECT_NEAR(waypoints[2].latitudeDeg, 11.0, 1e-3);
  RouteFlight flight(waypoints);
  AircraftState aircraft;
  aircraft.groundSpeedKt = 3600;  // one nautical mile a second
  flight.PlaceAtStart(aircraft);
  EXPECT_NEAR(aircraft.headingDeg, 90.0, 0.1);
  EXPECT_TRUE(flight.Advance(aircraft, 30));
  EXPECT_NEAR(aircraft.latitudeDeg, 10.0, 1e-6);
  EXPECT_GT(aircraft.longitudeDeg, 10.4);
  EXPECT_TRUE(flight.Advance(aircraft, 60));
  EXPECT_NEAR(aircraft.headingDeg, 0.0, 0.5);
  EXPECT_FALSE(flight.Advance(aircraft, 1000));
  EXPECT_NEAR(aircraft.latitudeDeg, 11.0, 1e-3);
  EXPECT_TRUE(ReadPlanWaypoints("no plan").empty());
}

}  // namespace
}  // namespace ndhost
