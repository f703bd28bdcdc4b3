#include "planner/leg_computation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "navdb/coordinates.h"
#include "planner/plan_rows.h"
#include "tests/planner/planner_fixtures.h"

namespace planner {
namespace {

using navdb::NavaidKind;

std::string Tail(const std::string& row, size_t from) {
  return row.substr(std::min(from, row.size()));
}

TEST(LegComputationTest, TrueAirspeedFromKnotsOrMach) {
  EXPECT_NEAR(TrueAirspeedKt("0.80", 35000), 462.3, 0.05);
  EXPECT_DOUBLE_EQ(TrueAirspeedKt("480", 35000), 480.0);
  EXPECT_DOUBLE_EQ(TrueAirspeedKt("", 35000), 0.0);
  EXPECT_DOUBLE_EQ(TrueAirspeedKt("5", 35000), 5.0);
}

TEST(LegComputationTest, DistanceAndTimeTexts) {
  EXPECT_EQ(FormatDistance(0), "0000.0");
  EXPECT_EQ(FormatDistance(41.6667), "0041.6");
  EXPECT_EQ(FormatDistance(12345.99), "12345.9");
  EXPECT_EQ(FormatTime(0), "00:00:00");
  EXPECT_EQ(FormatTime(23.402), "00:23:24");
  EXPECT_EQ(FormatTime(61.5), "01:01:30");
  EXPECT_EQ(FormatTime(9.9999), "00:10:00");  // rounded seconds carry into the minutes
  EXPECT_EQ(FormatTime(59.9999), "01:00:00");
}

TEST(LegComputationTest, RotatePointTurnsFromTheYAxisTowardX) {
  double x = 0, y = 1;
  RotatePoint(x, y, 0, 0, 90 * kDegToRad);
  EXPECT_NEAR(x, 1, 1e-9);
  EXPECT_NEAR(y, 0, 1e-9);
  RotatePoint(x, y, 0, 0, -90 * kDegToRad);
  EXPECT_NEAR(x, 0, 1e-9);
  EXPECT_NEAR(y, 1, 1e-9);
  double cx = 5, cy = 7;
  RotatePoint(cx, cy, 5, 7, 1.0);  // the centre stays put
  EXPECT_EQ(cx, 5);
  EXPECT_EQ(cy, 7);
  double bx = 1, by = 2;
  RotatePoint(bx, by, 1, 1, kPi);
  EXPECT_NEAR(bx, 1, 1e-9);
  EXPECT_NEAR(by, 0, 1e-9);
}

TEST(LegComputationTest, ComputesEveryColumnWithTocAndTod) {
  const navdb::Database db = planner_test::SampleDatabase();
  PlannerState state = planner_test::EquatorPlan(db);
  ComputeLegs(state, db.List(NavaidKind::Airport));
  const std::vector<std::string> rows = planner_test::RowTexts(state.dialog.rows);
  ASSERT_EQ(rows.size(), 6u);
  for (const std::string& row : rows) EXPECT_EQ(row.size(), 103u) << row;
  // Departure: runway heading of the first runway entry, distance and time zero.
  EXPECT_EQ(Tail(rows[0], 75), "00100  090  0000.0  00:00:00");
  EXPECT_EQ(rows[0].substr(0, 46), "APT  AAAA   ALPHA INTL                118.05  ");
  // Climb: 10 minutes, 41.67 NM at 250 kt, on the first leg.
  EXPECT_EQ(rows[1].substr(0, 60),
            "TOC  *****  (Top Of Climb)            ---.--  N00\xB0"
            "00'00.00  ");
  EXPECT_EQ(rows[1].substr(60, 15),
            navdb::FormatLongitude(1 - 18.3378 / 60.0044).substr(0, 9) + rows[1].substr(69, 6));
  EXPECT_EQ(Tail(rows[1], 75), "20100  090  0041.6  00:10:00");
  // The leg that holds the TOC: the climb time, then the rest at cruise speed.
  EXPECT_EQ(rows[2].substr(0, 38),
            "VOR  " + std::string(db.List(NavaidKind::Vor).GetLine(1).substr(0, 33)));
  EXPECT_EQ(rows[2].substr(38, 8), "113.90  ");
  EXPECT_EQ(Tail(rows[2], 74), " 20100  090  0060.0  00:12:45");
  EXPECT_EQ(Tail(rows[3], 74), " 20100  090  0120.0  00:21:45");
  // Descent of 9.8 minutes at 300 kt: 49 NM before the arrival.
  EXPECT_EQ(rows[4].substr(0, 46), "TOD  *****  (Top Of Descent)          ---.--  ");
  EXPECT_EQ(rows[4].substr(60, 15),
            navdb::FormatLongitude(2.0 + (3 * 60.004419 - 49 - 120.0) / 60.0) + "  ");
  EXPECT_EQ(Tail(rows[4], 75), "20100  270  0131.0  00:23:24");
  EXPECT_EQ(Tail(rows[5], 74), " 00500  270  0180.0  00:33:12");
  EXPECT_EQ(state.rotationWarningRow, 0);
  EXPECT_EQ(state.dialog.departureAirportText, "AAAA  ");
  EXPECT_EQ(state.plan.departureRunwayHeadingDeg, 90);
  EXPECT_EQ(state.plan.arrivalRunwayNumber, "27 ");

  // A second run removes and rebuilds TOC and TOD: the same rows.
  const std::vector<std::string> first = rows;
  ComputeLegs(state, db.List(NavaidKind::Airport));
  EXPECT_EQ(planner_test::RowTexts(state.dialog.rows), first);
}

TEST(LegComputationTest, ZeroPerformanceValuesGiveNoTocTodAndNoNan) {
  const navdb::Database db = planner_test::SampleDatabase();
  PlannerState state = planner_test::EquatorPlan(db);
  state.plan.performance = AircraftPerformance{};
  ComputeLegs(state, db.List(NavaidKind::Airport));
  const std::vector<std::string> rows = planner_test::RowTexts(state.dialog.rows);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(Tail(rows[1], 74), " 00000  090  0060.0  --:--:--");
  EXPECT_EQ(Tail(rows[2], 74), " 00000  090  0120.0  --:--:--");
  EXPECT_EQ(rows[3].size(), 93u);
  EXPECT_EQ(Tail(rows[3], 82), "270  0180.0");

  // A climb rate without climb speed and a cruise text that is not a number.
  state.plan.performance.climbRateFpm = 1000;
  state.plan.performance.cruiseAltitudeFt = 100;  // no climb at all: 0 minutes
  state.plan.performance.descentRateFpm = 500;
  state.plan.performance.descentSpeedKt = 200;
  state.plan.performance.cruiseSpeed = "fast";
  ComputeLegs(state, db.List(NavaidKind::Airport));
  for (const std::string& row : planner_test::RowTexts(state.dialog.rows)) {
    EXPECT_EQ(row.find("nan"), std::string::npos) << row;
    EXPECT_EQ(row.find("inf"), std::string::npos) << row;
    EXPECT_EQ(row.find('-', 75) == std::string::npos || row.find("--:--:--") != std::string::npos,
              true)
        << row;
  }
}

TEST(LegComputationTest, DateLineAndTurnWarning) {
  navdb::Database db;
  PlannerState state;
  OpenPlanDialog(state, PlanOpenMode::New);
  auto row = [](double lat, double lon) {
    return BuildPlanRow(NavaidKind::Intersection,
                        testing_support::IntersectionLine("FIX", lat, lon));
  };
  state.dialog.rows = {row(0, 179), row(0, -179)};
  ComputeLegs(state, db.List(NavaidKind::Airport));
  EXPECT_EQ(state.dialog.departureAirportText, "Not APT");
  EXPECT_EQ(Tail(FormatPlanRow(state.dialog.rows[1]), 87), "0120.0");  // 2 degrees, not 358

  // North, then east (90 degrees: fine), then south-west (135 from east: warned).
  state.dialog.rows = {row(0, 0), row(1, 0), row(1, 1), row(0.5, 0.5), row(0, 1), row(0, 2)};
  ComputeLegs(state, db.List(NavaidKind::Airport));
  EXPECT_EQ(state.rotationWarningRow, 3);
  EXPECT_EQ(FormatPlanRow(state.dialog.rows[3]).substr(82, 3), "225");

  state.dialog.rows = {row(0, 0)};
  ComputeLegs(state, db.List(NavaidKind::Airport));
  EXPECT_EQ(state.dialog.rows[0], row(0, 0));  // fewer than two rows: untouched
}

TEST(LegComputationTest, DescentBeforeTheTopOfClimbTimesFromTheToc) {
  const navdb::Database db = planner_test::SampleDatabase();
  PlannerState state = planner_test::EquatorPlan(db);
  state.plan.performance.climbSpeedKt = 600;    // 100 NM of climb
  state.plan.performance.descentSpeedKt = 600;  // 98 NM of descent
  ComputeLegs(state, db.List(NavaidKind::Airport));
  const std::vector<std::string> rows = planner_test::RowTexts(state.dialog.rows);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_FALSE(FindRow(state.dialog.rows, PlanRowKind::TopOfDescent).has_value());
  ASSERT_EQ(FindRow(state.dialog.rows, PlanRowKind::TopOfClimb), 2u);
  // Rows after the TOC descend from it: r = (120.0 - 100.0) / 600 * 60 = 2 minutes.
  EXPECT_EQ(Tail(rows[3], 74), " 16100  090  0120.0  00:12:00");
  EXPECT_EQ(Tail(rows[4], 74), " 00500  270  0180.0  00:18:00");
}

}  // namespace
}  // namespace planner
