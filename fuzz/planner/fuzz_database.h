// A small database for the planner fuzz targets: two airports with runways,
// a VOR, an ILS, an NDB and an intersection, so that lookups can succeed.
#pragma once

#include <cmath>
#include <cstdlib>
#include <string>

#include "navdb/coordinates.h"
#include "navdb/database.h"
#include "navdb/entry_lines.h"

namespace planner_fuzz {

inline navdb::Database SmallDatabase() {
  navdb::Database db;
  auto runway = [&](const char* id, const char* designation, long heading, double lat, double lon) {
    const std::string latText = navdb::FormatLatitude(lat);
    const std::string lonText = navdb::FormatLongitude(lon);
    navdb::RunwayLineFields f;
    f.identifier = id;
    f.name = "AIRPORT";
    f.designation = designation;
    f.headingDeg = heading;
    f.oppositeHeadingDeg = heading > 180 ? heading - 180 : heading + 180;
    f.latitudeText = latText;
    f.longitudeText = lonText;
    f.elevationFt = 300;
    f.lengthFt = 9000;
    f.widthFt = 150;
    f.atisText = "000.00";
    db.list(navdb::NavaidKind::Airport).AddLine(navdb::BuildRunwayLine(f));
  };
  runway("AAAA", "09L/27R", 90, 48.0, 2.0);
  runway("BBBB", "31 /13", 310, 43.4, 5.2);
  auto vor = [&](const char* id, const char* type, double lat, double lon) {
    const std::string latText = navdb::FormatLatitude(lat);
    const std::string lonText = navdb::FormatLongitude(lon);
    navdb::VorLineFields f;
    f.identifier = id;
    f.name = "STATION";
    f.typeText = type;
    f.frequencyText = "113.90";
    f.latitudeText = latText;
    f.longitudeText = lonText;
    db.list(navdb::NavaidKind::Vor).AddLine(navdb::BuildVorLine(f));
  };
  vor("VVV", "VOR/DME", 46.0, 3.0);
  vor("IBB", "ILS/DME", 43.3, 5.1);
  navdb::IntersectionLineFields fix;
  const std::string fixLat = navdb::FormatLatitude(45.0);
  const std::string fixLon = navdb::FormatLongitude(4.0);
  fix.identifier = "FIXXX";
  fix.latitudeText = fixLat;
  fix.longitudeText = fixLon;
  db.list(navdb::NavaidKind::Intersection).AddLine(navdb::BuildIntersectionLine(fix));
  return db;
}

// After a computation over two rows or more, the columns from 87 on (the
// cumulative distance and time) are written by the arithmetic and must never
// carry a number it could not represent; other columns may come from input.
inline void CheckRows(const std::vector<std::string>& rows) {
  if (rows.size() < 2) return;
  for (const std::string& row : rows) {
    const std::string computed = row.size() > 87 ? row.substr(87) : "";
    for (const char* bad : {"nan", "inf", "NAN", "INF"}) {
      if (computed.find(bad) != std::string::npos) std::abort();
    }
  }
}

}  // namespace planner_fuzz
