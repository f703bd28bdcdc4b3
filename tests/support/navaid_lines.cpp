#include "tests/support/navaid_lines.h"

#include "navdb/coordinates.h"
#include "navdb/entry_lines.h"

namespace testing_support {

std::string AirportLine(std::string_view id, std::string_view name, std::string_view designation,
                        long headingDeg, double latDeg, double lonDeg, long elevationFt,
                        long lengthFt) {
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

std::string VorLine(std::string_view id, std::string_view name, std::string_view type,
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

std::string NdbLine(std::string_view id, std::string_view name, double latDeg, double lonDeg) {
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

std::string IntersectionLine(std::string_view id, double latDeg, double lonDeg) {
  const std::string lat = navdb::FormatLatitude(latDeg);
  const std::string lon = navdb::FormatLongitude(lonDeg);
  navdb::IntersectionLineFields f;
  f.identifier = id;
  f.comment = "";
  f.latitudeText = lat;
  f.longitudeText = lon;
  return navdb::BuildIntersectionLine(f);
}

std::string WithDegreeSigns(std::string text) {
  for (char& c : text) {
    if (c == '*') c = '\xB0';
  }
  return text;
}

std::string FileLine(navdb::NavaidKind kind, std::string line) {
  const navdb::KindInfo& info = navdb::InfoOf(kind);
  for (size_t i = 0; i < info.separatorCount; ++i)
    line[static_cast<size_t>(info.separatorColumns[i])] = ';';
  return line;
}

}  // namespace testing_support
