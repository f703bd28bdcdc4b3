#include "planner/plan_rows.h"

#include <gtest/gtest.h>

#include "planner/leg_computation.h"
#include "tests/planner/planner_fixtures.h"
#include "tests/support/recording_ui.h"

namespace planner {
namespace {

using navdb::NavaidKind;
using planner::WaypointPick;

struct Fixture {
  navdb::Database db = planner_test::SampleDatabase();
  PlannerState state;
  testing_support::RecordingUi ui;
  std::optional<WaypointPick> nextPick;
  std::vector<planner::WaypointPickRequest> requests;

  Fixture() {
    OpenPlanDialog(state, PlanOpenMode::New);
    state.dialog.sidStarEnabled = false;
    ui.waypointAnswer = [this](const planner::WaypointPickRequest& request) {
      requests.push_back(request);
      return nextPick;
    };
  }
  WaypointPick Pick(NavaidKind kind, std::string_view prefix) {
    return {kind, *db.List(kind).FindPrefix(prefix)};
  }
  void Insert(std::optional<size_t> selected, NavaidKind kind, std::string_view prefix) {
    state.dialog.selectedRow = selected;
    nextPick = Pick(kind, prefix);
    InsertCommand(state, db, ui);
  }
  std::string Ids() const {
    std::string ids;
    for (const PlanRow& row : state.dialog.rows) ids += FormatPlanRow(row).substr(5, 5) + "|";
    return ids;
  }
};

TEST(PlanRowsTest, BuildsRowsFromEveryList) {
  const navdb::Database db = planner_test::SampleDatabase();
  const std::string vorLine(db.List(NavaidKind::Vor).GetLine(1));
  const std::string vor = FormatPlanRow(BuildPlanRow(NavaidKind::Vor, vorLine));
  ASSERT_EQ(vor.size(), 105u);
  EXPECT_EQ(vor.substr(0, 5), "VOR  ");
  EXPECT_EQ(vor.substr(5, 33), vorLine.substr(0, 33));
  EXPECT_EQ(vor.substr(38, 8), "113.90  ");
  EXPECT_EQ(vor.substr(46, 36), vorLine.substr(63, 36));
  EXPECT_EQ(vor.substr(75, 5), "00500");
  EXPECT_EQ(vor.substr(82), std::string(23, ' '));

  const std::string ilsLine(db.List(NavaidKind::Vor).GetLine(0));
  EXPECT_EQ(FormatPlanRow(BuildPlanRow(NavaidKind::Vor, ilsLine)).substr(0, 5), "ILS  ");
  EXPECT_EQ(FormatPlanRow(BuildPlanRow(NavaidKind::Vor, ilsLine, true)).substr(0, 5), "VOR  ");

  const std::string ndbLine(db.List(NavaidKind::Ndb).GetLine(0));
  EXPECT_EQ(FormatPlanRow(BuildPlanRow(NavaidKind::Ndb, ndbLine)).substr(38, 6), "375.0 ");
  EXPECT_EQ(FormatPlanRow(BuildPlanRow(NavaidKind::Ndb, ndbLine)).substr(46, 36),
            ndbLine.substr(40, 36));
  const std::string aptLine(db.List(NavaidKind::Airport).GetLine(0));
  EXPECT_EQ(FormatPlanRow(BuildPlanRow(NavaidKind::Airport, aptLine)).substr(38, 6), "118.05");
  EXPECT_EQ(FormatPlanRow(BuildPlanRow(NavaidKind::Airport, aptLine)).substr(75, 5), "00100");
  const std::string intLine(db.List(NavaidKind::Intersection).GetLine(0));
  const std::string fix = FormatPlanRow(BuildPlanRow(NavaidKind::Intersection, intLine));
  EXPECT_EQ(fix.substr(38, 6), "---.--");
  EXPECT_EQ(fix.substr(46, 34), intLine.substr(33, 34));
  EXPECT_EQ(fix.size(), 105u);
}

TEST(PlanRowsTest, InsertPositionsAndAirportRules) {
  Fixture f;
  f.Insert(std::nullopt, NavaidKind::Airport, "AAAA");  // empty plan: appended
  f.Insert(std::nullopt, NavaidKind::Airport, "BBBB");  // no selection: at the end
  EXPECT_EQ(f.Ids(), "AAAA |BBBB |");
  EXPECT_FALSE(f.requests[1].clearSelections);
  f.Insert(0, NavaidKind::Vor, "VVV");  // row 0 selected: goes to index 1
  EXPECT_TRUE(f.requests[2].clearSelections);
  EXPECT_EQ(f.Ids(), "AAAA |VVV  |BBBB |");
  f.Insert(2, NavaidKind::Ndb, "NN");  // the arrival selected: before it
  EXPECT_EQ(f.Ids(), "AAAA |VVV  |NN   |BBBB |");
  EXPECT_EQ(FormatPlanRow(f.state.dialog.rows[3]).size(), 93u) << "recomputed after each insert";

  // Airports: at row 0 or 1 they become the departure, at the last row the arrival.
  f.state.dialog.departureRunway.entries = {"x"};
  f.Insert(1, NavaidKind::Airport, "BBBB");
  EXPECT_EQ(f.Ids(), "BBBB |AAAA |VVV  |NN   |BBBB |");
  EXPECT_EQ(f.state.dialog.departureRunway.entries.size(), 2u) << "emptied, then refilled";
  f.Insert(4, NavaidKind::Airport, "AAAA");
  EXPECT_EQ(f.Ids(), "BBBB |AAAA |VVV  |NN   |BBBB |AAAA |");
  f.Insert(2, NavaidKind::Airport, "AAAA");
  EXPECT_EQ(f.Ids(), "BBBB |AAAA |AAAA |VVV  |NN   |BBBB |AAAA |");

  // Esc inserts nothing but recomputes; the status line and prompt come and go.
  f.ui.statuses.clear();
  f.ui.progressTexts.clear();
  f.nextPick.reset();
  f.state.dialog.selectedRow.reset();
  InsertCommand(f.state, f.db, f.ui);
  EXPECT_EQ(f.state.dialog.rows.size(), 7u);
  ASSERT_EQ(f.ui.statuses.size(), 2u);
  EXPECT_EQ(f.ui.statuses[0].first, navdb::StatusIcon::Selecting);
  EXPECT_EQ(f.ui.statuses[0].second, "Status : Waypoint selection");
  EXPECT_EQ(f.ui.statuses[1].first, navdb::StatusIcon::Ready);
  EXPECT_EQ(f.ui.statuses[1].second, "");
  EXPECT_EQ(f.ui.progressTexts,
            (std::vector<std::string>{"Select a navaid or press [Esc] to abort.", " "}));
}

TEST(PlanRowsTest, RemoveReplaceAndMoves) {
  Fixture f;
  f.Insert(std::nullopt, NavaidKind::Airport, "AAAA");
  f.Insert(std::nullopt, NavaidKind::Airport, "BBBB");
  f.Insert(1, NavaidKind::Vor, "VVV");
  f.Insert(2, NavaidKind::Ndb, "NN");
  f.Insert(3, NavaidKind::Intersection, "FIXXX");
  ASSERT_EQ(f.Ids(), "AAAA |VVV  |NN   |FIXXX|BBBB |");

  f.state.dialog.selectedRow = 1;
  MoveUpCommand(f.state, f.db);  // row 1 never moves up
  EXPECT_EQ(f.Ids(), "AAAA |VVV  |NN   |FIXXX|BBBB |");
  EXPECT_EQ(f.state.dialog.selectedRow, 1u);
  f.state.dialog.selectedRow = 3;
  MoveDownCommand(f.state, f.db);  // the row before the arrival never moves down
  EXPECT_EQ(f.Ids(), "AAAA |VVV  |NN   |FIXXX|BBBB |");
  f.state.dialog.selectedRow = 4;
  MoveUpCommand(f.state, f.db);  // nor does the arrival move up
  EXPECT_EQ(f.Ids(), "AAAA |VVV  |NN   |FIXXX|BBBB |");
  f.state.dialog.selectedRow = 3;
  MoveUpCommand(f.state, f.db);
  EXPECT_EQ(f.Ids(), "AAAA |VVV  |FIXXX|NN   |BBBB |");
  EXPECT_EQ(f.state.dialog.selectedRow, 2u);
  f.state.dialog.selectedRow = 1;
  MoveDownCommand(f.state, f.db);
  EXPECT_EQ(f.Ids(), "AAAA |FIXXX|VVV  |NN   |BBBB |");
  EXPECT_EQ(f.state.dialog.selectedRow, 2u);

  // With a climb, TOC rows come and go; the moved row is found again.
  f.state.plan.performance = {"", 2000, 250, 2000, 300, 20100, "400"};
  ComputeLegs(f.state, f.db.List(NavaidKind::Airport));
  ASSERT_TRUE(FindRow(f.state.dialog.rows, PlanRowKind::TopOfClimb).has_value());
  const std::string moved = FormatPlanRow(f.state.dialog.rows[4]).substr(0, 38);
  f.state.dialog.selectedRow = 4;
  MoveUpCommand(f.state, f.db);
  ASSERT_TRUE(f.state.dialog.selectedRow.has_value());
  EXPECT_EQ(FormatPlanRow(f.state.dialog.rows[*f.state.dialog.selectedRow]).substr(0, 38), moved);

  f.state.dialog.selectedRow = 0;
  f.nextPick = f.Pick(NavaidKind::Airport, "BBBB");
  ReplaceCommand(f.state, f.db, f.ui);  // the departure replaced by BBBB
  EXPECT_EQ(FormatPlanRow(f.state.dialog.rows[0]).substr(5, 5), "BBBB ");

  const size_t before = f.state.dialog.rows.size();
  f.state.dialog.selectedRow.reset();
  RemoveCommand(f.state, f.db);  // nothing selected: nothing removed
  EXPECT_EQ(f.state.dialog.rows.size(), before);
}

}  // namespace
}  // namespace planner
