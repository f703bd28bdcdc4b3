// Entry lines of each navaid kind with plausible fixed fields, for tests and
// fuzz targets that need a small database to look things up in.
#pragma once

#include <string>
#include <string_view>

#include "navdb/navaid_kind.h"

namespace testing_support {

std::string AirportLine(std::string_view id, std::string_view name, std::string_view designation,
                        long headingDeg, double latDeg, double lonDeg, long elevationFt = 100,
                        long lengthFt = 11000);
std::string VorLine(std::string_view id, std::string_view name, std::string_view type,
                    double latDeg, double lonDeg);
std::string NdbLine(std::string_view id, std::string_view name, double latDeg, double lonDeg);
std::string IntersectionLine(std::string_view id, double latDeg, double lonDeg);

// Test lines are written with '*' for the degree sign byte 0xB0.
std::string WithDegreeSigns(std::string text);

// The line as a database file holds it: ';' in every separator column.
std::string FileLine(navdb::NavaidKind kind, std::string line);

}  // namespace testing_support
