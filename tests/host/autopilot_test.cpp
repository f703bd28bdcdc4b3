// "Follow the plan": the autopilot flies from route point to route point.
#include "autopilot.h"

#include <gtest/gtest.h>

#include <cmath>

#include <algorithm>

#include "plan_text.h"

namespace ndhost {
namespace {

std::string SquarePlan() {
  return gauge_test::PlanText("09L/087/11000", "27R/270/12799",
                              {{"APT", "AAAA", 10.0, 10.0, 1000},
                               {"VOR", "BBB", 10.0, 10.5, 5000},
                               {"INT", "CCCCC", 10.5, 10.5, 3000},
                               {"APT", "DDDD", 10.5, 10.0, 3000}});
}

TEST(Autopilot, ReadsPointsAltitudesAndRatesOfThePlan) {
  PlanRoute route = ReadPlanRoute(SquarePlan());
  ASSERT_EQ(route.points.size(), 4u);
  EXPECT_EQ(route.points[1].label, "BBB");
  EXPECT_EQ(route.points[2].label, "CCCCC");
  EXPECT_NEAR(route.points[1].position.longitudeDeg, 10.5, 1e-3);
  EXPECT_DOUBLE_EQ(route.points[1].altitudeFt, 5000);
  EXPECT_DOUBLE_EQ(route.climbRateFpm, 2000);
  EXPECT_DOUBLE_EQ(route.descentRateFpm, 1800);
  PlanRoute none = ReadPlanRoute("no plan");
  EXPECT_TRUE(none.points.empty());
  EXPECT_DOUBLE_EQ(none.climbRateFpm, kDefaultVerticalRateFpm);
}

TEST(Autopilot, RowsNotInTheRowLayoutAreNoPoints) {
  // The planner's own reader: a row typed by hand and a row cut before its
  // altitude give no point; the rows around them do.
  std::string plan = SquarePlan();
  const size_t second = plan.find("VOR  BBB");
  const std::string cut = plan.substr(second, 75);
  plan.insert(second, "VOR  XXX    typed by hand\r\n" + cut + "\r\n");
  PlanRoute route = ReadPlanRoute(plan);
  ASSERT_EQ(route.points.size(), 4u);
  EXPECT_EQ(route.points[0].label, "AAAA");
  EXPECT_EQ(route.points[1].label, "BBB");
  EXPECT_DOUBLE_EQ(route.points[3].altitudeFt, 3000);
}

TEST(Autopilot, HoldsTheTrackAgainstTheWind) {
  // A wind from the north of 40 kt across an eastbound track.
  Wind wind{0, 40};
  double headingDeg = HeadingForTrack(90, 200, wind);
  EXPECT_NEAR(headingDeg, 90 - std::asin(40.0 / 200) * 180 / M_PI, 1e-9);
  FlightState flight;
  flight.airspeedKt = 200;
  flight.trueHeadingDeg = headingDeg;
  UpdateGroundVector(flight, wind);
  EXPECT_NEAR(flight.trackDeg, 90.0, 1e-9);
  EXPECT_DOUBLE_EQ(HeadingForTrack(90, 0, wind), 90);
}

TEST(Autopilot, FliesToEachPointInTurnAtItsAltitude) {
  Autopilot pilot(ReadPlanRoute(SquarePlan()));
  FlightState flight;
  flight.airspeedKt = 240;
  Wind wind{200, 25};
  pilot.PlaceAtStart(flight, wind);
  EXPECT_DOUBLE_EQ(flight.altitudeFt, 1000);
  EXPECT_NEAR(flight.trackDeg, InitialBearingDeg({10, 10}, {10, 10.5}), 1e-6);

  const std::vector<RoutePoint>& points = pilot.Route().points;
  std::vector<double> closestNm(points.size(), 1e9);
  std::vector<double> altitudeWhenPassedFt(points.size(), -1);
  double worstTurnDeg = 0;
  double worstCrossTrackNm = 0;
  for (int second = 0; second < 3600 && !pilot.Finished(); ++second) {
    size_t before = pilot.NextPoint();
    pilot.Steer(flight, wind);
    if (pilot.NextPoint() != before) altitudeWhenPassedFt[before] = flight.altitudeFt;
    double headingBefore = flight.trueHeadingDeg;
    StepFlight(flight, wind, 1.0);
    worstTurnDeg = std::max(worstTurnDeg,
                            std::fabs(SignedDifferenceDeg(headingBefore, flight.trueHeadingDeg)));
    for (size_t index = 0; index < points.size(); ++index)
      closestNm[index] =
          std::min(closestNm[index], DistanceNm(flight.position, points[index].position));
    // Halfway along the first leg the wind has not pushed it off the line.
    if (pilot.NextPoint() == 1 && flight.position.longitudeDeg > 10.2 &&
        flight.position.longitudeDeg < 10.3)
      worstCrossTrackNm =
          std::max(worstCrossTrackNm, std::fabs(flight.position.latitudeDeg - 10) * 60);
  }
  ASSERT_TRUE(pilot.Finished());
  // Never faster than the standard rate of turn.
  EXPECT_LE(worstTurnDeg, kStandardTurnRateDegPerSecond + 1e-9);
  EXPECT_LT(worstCrossTrackNm, 0.05);
  // The corners are cut by the turn (a radius of 1.27 NM at 240 kt), the last point is flown over.
  EXPECT_LT(closestNm[1], 0.7);
  EXPECT_LT(closestNm[2], 0.7);
  EXPECT_LT(closestNm[3], 0.15);
  // Each point's altitude is reached by the time the turn toward the next begins.
  EXPECT_NEAR(altitudeWhenPassedFt[1], 5000, 60);
  EXPECT_NEAR(altitudeWhenPassedFt[2], 3000, 60);
}

}  // namespace
}  // namespace ndhost
