// The leg computation's turn check, clock, climb and runway lists in the
// cases where a plain reading of the numbers goes wrong.
#include <gtest/gtest.h>

#include <cmath>

#include "navdb/coordinates.h"
#include "planner/leg_computation.h"
#include "planner/plan_rows.h"
#include "platform/numbers.h"
#include "tests/planner/planner_fixtures.h"
#include "tests/support/navaid_lines.h"
#include "tests/support/recording_ui.h"

namespace planner {
namespace {

using navdb::NavaidKind;

PlanRow FixRow(double latDeg, double lonDeg) {
  return BuildPlanRow(NavaidKind::Intersection,
                      testing_support::IntersectionLine("FIX", latDeg, lonDeg));
}

// Three fixes: a first leg on `firstCourseDeg`, a second on `secondCourseDeg`.
std::vector<PlanRow> TwoLegs(double firstCourseDeg, double secondCourseDeg) {
  const double rad = kDegToRad;
  const double lat1 = std::cos(firstCourseDeg * rad), lon1 = std::sin(firstCourseDeg * rad);
  return {FixRow(0, 0), FixRow(lat1, lon1),
          FixRow(lat1 + std::cos(secondCourseDeg * rad), lon1 + std::sin(secondCourseDeg * rad)),
          FixRow(lat1 + 2 * std::cos(secondCourseDeg * rad),
                 lon1 + 2 * std::sin(secondCourseDeg * rad))};
}

TEST(LegMendsTest, TurnCheckTakesTheSmallerAngleAcrossNorth) {
  navdb::Database db;
  PlannerState state;
  OpenPlanDialog(state, PlanOpenMode::New);
  struct Case {
    double fromDeg, toDeg;
    int warningRow;
  };
  // 018 to 332 is a left turn of 46 degrees; 350 to 091 a right turn of 101.
  for (const Case& c : {Case{18, 332, 0}, Case{350, 89, 0}, Case{350, 91, 2}, Case{90, 200, 2},
                        Case{10, 190, 2}, Case{270, 10, 0}}) {
    SCOPED_TRACE(std::to_string(c.fromDeg) + " -> " + std::to_string(c.toDeg));
    state.dialog.rows = TwoLegs(c.fromDeg, c.toDeg);
    ComputeLegs(state, db.List(NavaidKind::Airport));
    EXPECT_EQ(state.rotationWarningRow, c.warningRow);
  }
}

int SecondsOf(const std::string& row) {
  if (row.size() < 103 || row.substr(95, 8) == "--:--:--") return 0;
  return static_cast<int>(platform::ReadLong(row, 95) * 3600 + platform::ReadLong(row, 98) * 60 +
                          platform::ReadLong(row, 101));
}

TEST(LegMendsTest, TimesNeverRunBackwardsAfterTheTopOfClimb) {
  const navdb::Database db = planner_test::SampleDatabase();
  for (int climbSpeedKt : {120, 250, 300, 350}) {
    SCOPED_TRACE(climbSpeedKt);
    PlannerState state = planner_test::EquatorPlan(db, climbSpeedKt);
    ComputeLegs(state, db.List(NavaidKind::Airport));
    const std::vector<std::string> rows = planner_test::RowTexts(state.dialog.rows);
    ASSERT_TRUE(FindRow(state.dialog.rows, PlanRowKind::TopOfClimb).has_value());
    int previous = 0;
    for (size_t i = 0; i + 1 < rows.size(); ++i) {
      EXPECT_GE(SecondsOf(rows[i]), previous) << rows[i];
      previous = SecondsOf(rows[i]);
    }
  }
  // Climb of 10 min over 41.68 NM, then 18.32 NM at 400 kt: 12 min 45 s at VVV.
  PlannerState state = planner_test::EquatorPlan(db, 250);
  ComputeLegs(state, db.List(NavaidKind::Airport));
  EXPECT_EQ(FormatPlanRow(state.dialog.rows[1]).substr(95), "00:10:00");
  EXPECT_EQ(FormatPlanRow(state.dialog.rows[2]).substr(95), "00:12:45");
}

TEST(LegMendsTest, CruiseAtOrBelowTheDepartureMeansNoClimb) {
  const navdb::Database db = planner_test::SampleDatabase();
  for (int cruiseFt : {100, 50}) {  // AAAA lies at 100 ft
    SCOPED_TRACE(cruiseFt);
    PlannerState state = planner_test::EquatorPlan(db, 250);
    state.plan.performance.cruiseAltitudeFt = cruiseFt;
    ComputeLegs(state, db.List(NavaidKind::Airport));
    const std::vector<std::string> rows = planner_test::RowTexts(state.dialog.rows);
    EXPECT_FALSE(FindRow(state.dialog.rows, PlanRowKind::TopOfClimb).has_value());
    for (const std::string& row : rows) {
      EXPECT_EQ(row.find('-', 75), row.find("--:--:--")) << row;
      EXPECT_GE(platform::ReadDouble(row, 87), 0.0) << row;
    }
    // Timed at cruise speed from the start: 60 NM at 400 kt.
    EXPECT_EQ(rows[1].substr(87), "0060.0  00:09:00");
  }
}

TEST(LegMendsTest, RunwayListsFollowTheirAirport) {
  navdb::Database db = planner_test::SampleDatabase();
  db.List(NavaidKind::Airport)
      .AddLine(testing_support::AirportLine("CCCC", "CHARLIE", "04 /22", 40, 0.5, 3.0, 300));
  PlannerState state = planner_test::EquatorPlan(db, 250);
  ComputeLegs(state, db.List(NavaidKind::Airport));
  EXPECT_EQ(state.dialog.arrivalRunway.Text(), "27 /270/11000");
  const planner::WaypointPick charlie{NavaidKind::Airport,
                                      *db.List(NavaidKind::Airport).FindPrefix("CCCC")};

  // Replace on the arrival: CCCC's runways, CCCC's heading in the row.
  ReplaceArrival(state, db, charlie);
  EXPECT_EQ(state.dialog.arrivalAirportText, "CCCC  ");
  EXPECT_EQ(state.dialog.arrivalRunway.entries,
            (std::vector<std::string>{"04 /040/11000", "22 /220/11000"}));
  EXPECT_EQ(state.plan.arrivalRunwayNumber, "04 ");
  EXPECT_EQ(FormatPlanRow(state.dialog.rows.back()).substr(82, 3), "040");

  // An airport appended after the arrival becomes the arrival with its runways.
  const planner::WaypointPick bravo{NavaidKind::Airport,
                                    *db.List(NavaidKind::Airport).FindPrefix("BBBB")};
  state.dialog.selectedRow.reset();
  testing_support::RecordingUi picksBravo;
  picksBravo.waypointAnswer = [&](const planner::WaypointPickRequest&) { return bravo; };
  InsertCommand(state, db, picksBravo);
  EXPECT_EQ(state.dialog.arrivalRunway.entries,
            (std::vector<std::string>{"27 /270/11000", "09 /090/11000"}));
  EXPECT_EQ(FormatPlanRow(state.dialog.rows.back()).substr(82, 3), "270");

  // The same for the departure.
  ReplaceDeparture(state, db, charlie);
  EXPECT_EQ(state.dialog.departureAirportText, "CCCC  ");
  EXPECT_EQ(state.dialog.departureRunway.Text(), "04 /040/11000");
  EXPECT_EQ(state.plan.departureRunwayHeadingDeg, 40);
}

TEST(LegMendsTest, AnArrivalWithoutCourseDescendsOnCourseZero) {
  // The plan ends at the NDB just inserted: it has no course of its own, and
  // the descent writes 000 rather than a number read from its distance.
  const navdb::Database db = planner_test::SampleDatabase();
  PlannerState state = planner_test::EquatorPlan(db);
  state.dialog.rows.pop_back();
  ComputeLegs(state, db.List(NavaidKind::Airport));
  ASSERT_TRUE(FindRow(state.dialog.rows, PlanRowKind::TopOfDescent));
  const std::string arrival = FormatPlanRow(state.dialog.rows.back());
  EXPECT_EQ(arrival.substr(80, 13), "  000  0120.0") << arrival;
  // Computed again, it keeps that course.
  ComputeLegs(state, db.List(NavaidKind::Airport));
  EXPECT_EQ(FormatPlanRow(state.dialog.rows.back()), arrival);
}

}  // namespace
}  // namespace planner
