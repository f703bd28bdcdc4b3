// A small database for the planner fuzz targets: two airports with runways,
// a VOR, an ILS, an NDB and an intersection, so that lookups can succeed.
#pragma once

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "navdb/database.h"
#include "planner/plan_row.h"
#include "tests/support/navaid_lines.h"

namespace planner_fuzz {

inline navdb::Database SmallDatabase() {
  using testing_support::AirportLine;
  using testing_support::VorLine;
  navdb::Database db;
  db.List(navdb::NavaidKind::Airport)
      .AddLine(AirportLine("AAAA", "AIRPORT", "09L/27R", 90, 48.0, 2.0, 300, 9000));
  db.List(navdb::NavaidKind::Airport)
      .AddLine(AirportLine("BBBB", "AIRPORT", "31 /13", 310, 43.4, 5.2, 300, 9000));
  db.List(navdb::NavaidKind::Vor).AddLine(VorLine("VVV", "STATION", "VOR/DME", 46.0, 3.0));
  db.List(navdb::NavaidKind::Vor).AddLine(VorLine("IBB", "STATION", "ILS/DME", 43.3, 5.1));
  db.List(navdb::NavaidKind::Intersection)
      .AddLine(testing_support::IntersectionLine("FIXXX", 45.0, 4.0));
  return db;
}

// After a computation over two rows or more, the columns from 87 on (the
// cumulative distance and time) are written by the arithmetic and must never
// carry a number it could not represent; other columns may come from input,
// and a row that is not in the row layout is input kept as it was. A row's
// text reads back as the same row, or (when a number outgrew its column) as
// that text kept verbatim: never as another row.
inline void CheckRows(const std::vector<planner::PlanRow>& rows) {
  for (const planner::PlanRow& row : rows) {
    const std::string text = planner::FormatPlanRow(row);
    const planner::PlanRow again = planner::ParsePlanRow(text);
    if (planner::FormatPlanRow(again) != text) std::abort();
    if (!again.IsVerbatim() && !(again == row)) std::abort();
    if (rows.size() < 2 || row.IsVerbatim()) continue;
    const std::string computed = text.size() > 87 ? text.substr(87) : "";
    for (const char* bad : {"nan", "inf", "NAN", "INF"}) {
      if (computed.find(bad) != std::string::npos) std::abort();
    }
  }
}

}  // namespace planner_fuzz
