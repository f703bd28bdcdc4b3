#include "planner/sid_star.h"

#include <gtest/gtest.h>

#include "planner/leg_computation.h"
#include "planner/plan_rows.h"
#include "tests/planner/planner_fixtures.h"

namespace planner {
namespace {

using navdb::NavaidKind;

std::string Line(const navdb::Database& db, NavaidKind kind, std::string_view prefix) {
  return std::string(db.List(kind).GetLine(*db.List(kind).FindPrefix(prefix)));
}

TEST(TurnGeometryTest, StraightAheadQuarterTurnAndBehind) {
  // Runway heading 0: the axis points along +x (latitude). Next waypoint
  // straight ahead (a hair to the -y side): the turn ends where it begins.
  TurnPoints ahead = ComputeTurn(0, 0, 1, -1e-9, 0, 6, 3);
  EXPECT_NEAR(ahead.beginLatDeg, 0.1, 1e-12);
  EXPECT_NEAR(ahead.beginLonDeg, 0.0, 1e-12);
  EXPECT_NEAR(ahead.endLatDeg, ahead.beginLatDeg, 1e-6);
  EXPECT_NEAR(ahead.endLonDeg, ahead.beginLonDeg, 1e-6);

  // Far to +y at the circle centre's x: a quarter turn, E near (P.x + r, Cy).
  TurnPoints quarter = ComputeTurn(0, 0, 0.1, 1000, 0, 6, 3);
  EXPECT_NEAR(quarter.endLatDeg, 0.1 + 0.05, 1e-4);
  EXPECT_NEAR(quarter.endLonDeg, 0.05, 1e-4);

  // Behind the airport: the end lies on the far side of the circle.
  TurnPoints behind = ComputeTurn(0, 0, -1, 0.2, 0, 6, 3);
  EXPECT_GT(behind.endLonDeg, 0.05);
  EXPECT_LT(behind.endLatDeg, 0.1 + 0.05);

  // Heading 090 turns the axis toward +y (longitude).
  TurnPoints east = ComputeTurn(0, 0, 0, 1, 90, 6, 3);
  EXPECT_NEAR(east.beginLatDeg, 0.0, 1e-9);
  EXPECT_NEAR(east.beginLonDeg, 0.1, 1e-9);
}

TEST(SidStarTest, RunwayListHeadingAndTurnRows) {
  const navdb::Database db = planner_test::SampleDatabase();
  PlannerState state;
  OpenPlanDialog(state, PlanOpenMode::New);
  state.dialog.rows = {BuildPlanRow(NavaidKind::Airport, Line(db, NavaidKind::Airport, "AAAA")),
                       BuildPlanRow(NavaidKind::Vor, Line(db, NavaidKind::Vor, "VVV")),
                       BuildPlanRow(NavaidKind::Vor, Line(db, NavaidKind::Vor, "IBB")),
                       BuildPlanRow(NavaidKind::Airport, Line(db, NavaidKind::Airport, "BBBB"))};
  state.dialog.arrivalRunway.editText = "09 ";
  ComputeLegs(state, db.List(NavaidKind::Airport));
  const PlanDialog& dialog = state.dialog;
  EXPECT_EQ(dialog.departureRunway.entries,
            (std::vector<std::string>{"09L/090/11000", "27R/270/11000", "13 /130/11000",
                                      "31 /310/11000"}));
  EXPECT_EQ(dialog.departureRunway.selected, 0u);
  EXPECT_EQ(dialog.arrivalRunway.entries,
            (std::vector<std::string>{"27 /270/11000", "09 /090/11000"}));
  EXPECT_EQ(dialog.arrivalRunway.selected, 1u);  // the one that begins with the edit text
  EXPECT_EQ(state.plan.arrivalRunwayNumber, "09 ");
  EXPECT_EQ(state.plan.arrivalRunwayHeadingDeg, 90);
  EXPECT_EQ(state.plan.arrivalAirport, "BBBB  ");

  const std::vector<std::string> rows = planner_test::RowTexts(dialog.rows);
  std::vector<std::string> kinds;
  for (const std::string& row : rows) kinds.push_back(row.substr(0, 5));
  EXPECT_EQ(kinds, (std::vector<std::string>{"APT  ", "BRD  ", "ERD  ", "VOR  ", "BRA  ", "ERA  ",
                                             "ILS  ", "APT  "}))
      << "turn rows of the arrival go before the ILS";
  // Departure heading 090 from (0,0), D = 10 NM: BRD 1/6 degree east.
  const TurnPoints departure = ComputeTurn(0, 0, 0, 1, 90, 10, 5);
  EXPECT_EQ(rows[1].substr(0, 75),
            FormatPlanRow(GeneratedRow(PlanRowKind::DepartureTurnStart, departure.beginLatDeg,
                                       departure.beginLonDeg)));
  EXPECT_EQ(rows[1].substr(60, 13),
            "E000\xB0"
            "10'00.00");
  EXPECT_EQ(rows[2].substr(0, 75),
            FormatPlanRow(GeneratedRow(PlanRowKind::DepartureTurnEnd, departure.endLatDeg,
                                       departure.endLonDeg)));
  EXPECT_EQ(rows[1].substr(12, 26), "(Begin of Rotation Dep)   ");
  EXPECT_EQ(rows[5].substr(12, 23), "(End   of Rotation Arr)");
  // Arrival heading 090 reversed: ERA lies 10 NM west of the airport at 3 E.
  EXPECT_EQ(rows[5].substr(60, 13),
            "E002\xB0"
            "50'00.00");
  EXPECT_EQ(rows.back().substr(82, 3), "090");

  // Cleared "Enabled": all four turn rows go at the next computation.
  state.dialog.sidStarEnabled = false;
  ComputeLegs(state, db.List(NavaidKind::Airport));
  for (const std::string& row : planner_test::RowTexts(state.dialog.rows)) {
    EXPECT_FALSE(row.starts_with("BR") || row.starts_with("ER")) << row;
  }
  EXPECT_EQ(state.dialog.rows.size(), 4u);
}

TEST(SidStarTest, SelectedRunwayMovesTheAirportRowToItsCentre) {
  navdb::Database db;
  auto& apt = db.List(NavaidKind::Airport);
  apt.AddLine(testing_support::AirportLine("CCCC", "CHARLIE", "09 /27", 90, 10.0, 20.0));
  apt.AddLine(testing_support::AirportLine("CCCC", "CHARLIE", "18 /36", 180, 10.5, 20.5));
  PlannerState state;
  OpenPlanDialog(state, PlanOpenMode::New);
  state.dialog.sidStarEnabled = false;
  state.dialog.rows = {BuildPlanRow(NavaidKind::Airport, std::string(apt.GetLine(0))),
                       BuildPlanRow(NavaidKind::Airport, std::string(apt.GetLine(1)))};
  ComputeLegs(state, apt);                 // fills the lists and selects the first entries
  state.dialog.departureRunway.Select(3);  // "36 /360/11000", the second line's other end
  ComputeLegs(state, apt);
  EXPECT_EQ(FormatPlanRow(state.dialog.rows[0]).substr(46, 29),
            std::string(apt.GetLine(1).substr(51, 29)));
  EXPECT_EQ(FormatPlanRow(state.dialog.rows[0]).substr(82, 3), "360");
  EXPECT_EQ(state.plan.departureRunwayNumber, "36 ");

  // An entry without heading digits leaves the heading columns blank.
  state.dialog.departureRunway.Clear();
  state.dialog.departureRunway.editText = "XX";
  PlannerState noLine = state;
  ComputeLegs(noLine, navdb::EntryList());
  EXPECT_EQ(FormatPlanRow(noLine.dialog.rows[0]).substr(82, 3), "   ");
}

}  // namespace
}  // namespace planner
