// Database lines and plan states shared by the planner tests.
#pragma once

#include <string>

#include "navdb/coordinates.h"
#include "navdb/database.h"
#include "navdb/entry_lines.h"
#include "planner/flight_plan.h"

namespace planner_test {

inline std::string AirportLine(std::string_view id, std::string_view name,
                               std::string_view designation, long headingDeg, double latDeg,
                               double lonDeg, long elevationFt = 100, long lengthFt = 11000) {
  const std::string lat = navdb::FormatLatitude(latDeg);
  const std::string lon = navdb::FormatLongitude(lonDeg);
  navdb::RunwayLineFields f;
  f.identifier = id;
  f.name = name;
  f.designation = designation;
  f.headingDeg = headingDeg;
  f.oppositeHeadingDeg = navdb::OppositeHeading(headingDeg);
  f.latitudeText = lat;
  f.longitudeText = lon;
  f.elevationFt = elevationFt;
  f.lengthFt = lengthFt;
  f.widthFt = 150;
  f.atisText = "118.05";
  return navdb::BuildRunwayLine(f);
}

inline std::string VorLine(std::string_view id, std::string_view name, std::string_view type,
                           double latDeg, double lonDeg) {
  const std::string lat = navdb::FormatLatitude(latDeg);
  const std::string lon = navdb::FormatLongitude(lonDeg);
  navdb::VorLineFields f;
  f.identifier = id;
  f.name = name;
  f.typeText = type;
  f.frequencyText = "113.90";
  f.courseText = type.starts_with("ILS") ? "087" : "";
  f.latitudeText = lat;
  f.longitudeText = lon;
  f.elevationFt = 500;
  f.rangeNm = 130;
  return navdb::BuildVorLine(f);
}

inline std::string NdbLine(std::string_view id, std::string_view name, double latDeg,
                           double lonDeg) {
  const std::string lat = navdb::FormatLatitude(latDeg);
  const std::string lon = navdb::FormatLongitude(lonDeg);
  navdb::NdbLineFields f;
  f.identifier = id;
  f.name = name;
  f.frequencyText = "375.0";
  f.latitudeText = lat;
  f.longitudeText = lon;
  f.elevationFt = 300;
  f.rangeNm = 25;
  return navdb::BuildNdbLine(f);
}

inline std::string IntersectionLine(std::string_view id, double latDeg, double lonDeg) {
  const std::string lat = navdb::FormatLatitude(latDeg);
  const std::string lon = navdb::FormatLongitude(lonDeg);
  navdb::IntersectionLineFields f;
  f.identifier = id;
  f.comment = "";
  f.latitudeText = lat;
  f.longitudeText = lon;
  return navdb::BuildIntersectionLine(f);
}

// Two airports 3 degrees of longitude apart on the equator, a VOR and an
// NDB between them, an intersection, and an ILS at the arrival.
inline navdb::Database SampleDatabase() {
  navdb::Database db;
  auto& apt = db.list(navdb::NavaidKind::Airport);
  apt.AddLine(AirportLine("AAAA", "ALPHA INTL", "09L/27R", 90, 0.0, 0.0, 100));
  apt.AddLine(AirportLine("AAAA", "ALPHA INTL", "13 /31", 130, 0.0, 0.0, 100));
  apt.AddLine(AirportLine("BBBB", "BRAVO FIELD", "27 /09", 270, 0.0, 3.0, 500));
  auto& vor = db.list(navdb::NavaidKind::Vor);
  vor.AddLine(VorLine("VVV", "VICTOR", "VOR/DME", 0.0, 1.0));
  vor.AddLine(VorLine("IBB", "BRAVO ILS 27", "ILS/DME", 0.0, 3.1));
  db.list(navdb::NavaidKind::Ndb).AddLine(NdbLine("NN", "NOVEMBER", 0.0, 2.0));
  db.list(navdb::NavaidKind::Intersection).AddLine(IntersectionLine("FIXXX", 0.5, 1.5));
  return db;
}

}  // namespace planner_test
