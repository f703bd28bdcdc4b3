// Plan states shared by the planner tests.
#pragma once

#include <string>

#include "navdb/database.h"
#include "planner/flight_plan.h"
#include "tests/support/navaid_lines.h"

namespace planner_test {

// Two airports 3 degrees of longitude apart on the equator, a VOR and an
// NDB between them, an intersection, and an ILS at the arrival.
inline navdb::Database SampleDatabase() {
  navdb::Database db;
  auto& apt = db.list(navdb::NavaidKind::Airport);
  apt.AddLine(testing_support::AirportLine("AAAA", "ALPHA INTL", "09L/27R", 90, 0.0, 0.0, 100));
  apt.AddLine(testing_support::AirportLine("AAAA", "ALPHA INTL", "13 /31", 130, 0.0, 0.0, 100));
  apt.AddLine(testing_support::AirportLine("BBBB", "BRAVO FIELD", "27 /09", 270, 0.0, 3.0, 500));
  auto& vor = db.list(navdb::NavaidKind::Vor);
  vor.AddLine(testing_support::VorLine("VVV", "VICTOR", "VOR/DME", 0.0, 1.0));
  vor.AddLine(testing_support::VorLine("IBB", "BRAVO ILS 27", "ILS/DME", 0.0, 3.1));
  db.list(navdb::NavaidKind::Ndb).AddLine(testing_support::NdbLine("NN", "NOVEMBER", 0.0, 2.0));
  db.list(navdb::NavaidKind::Intersection)
      .AddLine(testing_support::IntersectionLine("FIXXX", 0.5, 1.5));
  return db;
}

}  // namespace planner_test
