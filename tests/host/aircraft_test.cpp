#include "aircraft.h"

#include <gtest/gtest.h>

#include <cstring>

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

}  // namespace
}  // namespace ndhost
