// Plan states shared by the planner tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "navdb/database.h"
#include "planner/flight_plan.h"
#include "planner/plan_rows.h"
#include "tests/support/navaid_lines.h"

namespace planner_test {

// The rows' texts, as the plan file and the dialog's list hold them.
inline std::vector<std::string> RowTexts(const std::vector<planner::PlanRow>& rows) {
  std::vector<std::string> texts;
  for (const planner::PlanRow& row : rows) texts.push_back(planner::FormatPlanRow(row));
  return texts;
}

// The rows of texts, as a plan file gives them.
inline std::vector<planner::PlanRow> RowsOf(const std::vector<std::string>& texts) {
  std::vector<planner::PlanRow> rows;
  for (const std::string& text : texts) rows.push_back(planner::ParsePlanRow(text));
  return rows;
}

// Two airports 3 degrees of longitude apart on the equator, a VOR and an
// NDB between them, an intersection, and an ILS at the arrival.
inline navdb::Database SampleDatabase() {
  navdb::Database db;
  auto& apt = db.List(navdb::NavaidKind::Airport);
  apt.AddLine(testing_support::AirportLine("AAAA", "ALPHA INTL", "09L/27R", 90, 0.0, 0.0, 100));
  apt.AddLine(testing_support::AirportLine("AAAA", "ALPHA INTL", "13 /31", 130, 0.0, 0.0, 100));
  apt.AddLine(testing_support::AirportLine("BBBB", "BRAVO FIELD", "27 /09", 270, 0.0, 3.0, 500));
  auto& vor = db.List(navdb::NavaidKind::Vor);
  vor.AddLine(testing_support::VorLine("VVV", "VICTOR", "VOR/DME", 0.0, 1.0));
  vor.AddLine(testing_support::VorLine("IBB", "BRAVO ILS 27", "ILS/DME", 0.0, 3.1));
  db.List(navdb::NavaidKind::Ndb).AddLine(testing_support::NdbLine("NN", "NOVEMBER", 0.0, 2.0));
  db.List(navdb::NavaidKind::Intersection)
      .AddLine(testing_support::IntersectionLine("FIXXX", 0.5, 1.5));
  return db;
}

// The dialog opened on SampleDatabase's route: departure AAAA (0,0), VOR at
// (0,1), NDB at (0,2), arrival BBBB (0,3); SID/STAR off, a climb of 2000
// ft/min at `climbSpeedKt` to 20100 ft, descent at 2000 ft/min and 300 kt.
inline planner::PlannerState EquatorPlan(const navdb::Database& db, int climbSpeedKt = 250) {
  using navdb::NavaidKind;
  planner::PlannerState state;
  planner::AircraftPerformance& p = state.plan.performance;
  p.climbRateFpm = 2000;
  p.climbSpeedKt = climbSpeedKt;
  p.descentRateFpm = 2000;
  p.descentSpeedKt = 300;
  p.cruiseAltitudeFt = 20100;
  p.cruiseSpeed = "400";
  planner::OpenPlanDialog(state, planner::PlanOpenMode::New);
  state.dialog.sidStarEnabled = false;
  auto line = [&](NavaidKind kind, std::string_view prefix) {
    return std::string(db.List(kind).GetLine(*db.List(kind).FindPrefix(prefix)));
  };
  state.dialog.rows = {
      planner::BuildPlanRow(NavaidKind::Airport, line(NavaidKind::Airport, "AAAA")),
      planner::BuildPlanRow(NavaidKind::Vor, line(NavaidKind::Vor, "VVV")),
      planner::BuildPlanRow(NavaidKind::Ndb, line(NavaidKind::Ndb, "NN")),
      planner::BuildPlanRow(NavaidKind::Airport, line(NavaidKind::Airport, "BBBB"))};
  return state;
}

}  // namespace planner_test
