// Degrees-minutes-seconds texts of latitudes and longitudes.
//
// Latitude: hemisphere letter, then "%02d°%02d'%02d.%02d" (12 characters);
// longitude the same with three digits of degrees (13 characters). The
// degree sign is the byte 0xB0. Every conversion step truncates.
#pragma once

#include <string>
#include <string_view>

namespace navdb {

inline constexpr char kDegreeSign = '\xB0';
// 1/60 as the double the arithmetic multiplies by.
inline constexpr double kOneSixtieth = 0.016666666666666666;

std::string FormatLatitude(double latitudeDeg);
std::string FormatLongitude(double longitudeDeg);

// `text` begins at the hemisphere letter of a coordinate field.
double ParseLatitude(std::string_view text);
double ParseLongitude(std::string_view text);

// Unsigned degrees from the parts of a coordinate text:
// (seconds * 1/60 + minutes) * 1/60 + degrees.
double DegreesFromParts(long degrees, long minutes, double seconds);

// Seconds with hundredths ("45.50") to tenths of a minute, rounded half
// away from zero; written "%1d".
std::string SecondsToTenths(std::string_view secondsText);
// Tenths of a minute to whole seconds, written "%02d".
std::string TenthsToSeconds(std::string_view tenthsText);

}  // namespace navdb
