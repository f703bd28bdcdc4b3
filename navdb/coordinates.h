// Degrees-minutes-seconds texts of latitudes and longitudes.
//
// Latitude: hemisphere letter, then "%02d°%02d'%02d.%02d" (12 characters);
// longitude the same with three digits of degrees (13 characters). The
// degree sign is the byte 0xB0. Every conversion step truncates.
#pragma once

#include <string>
#include <string_view>

#include "platform/coordinate_text.h"

namespace navdb {

inline constexpr char kDegreeSign = '\xB0';
using platform::kOneSixtieth;

std::string FormatLatitude(double latitudeDeg);
std::string FormatLongitude(double longitudeDeg);

// `text` begins at the hemisphere letter of a coordinate field. The reading
// itself is platform's, which the display and its host share.
inline double ParseLatitude(std::string_view text) {
  return platform::ReadLatitudeText(text);
}
inline double ParseLongitude(std::string_view text) {
  return platform::ReadLongitudeText(text);
}

using platform::DegreesFromParts;

// Seconds with hundredths ("45.50") to tenths of a minute, rounded half
// away from zero; written "%1d".
std::string SecondsToTenths(std::string_view secondsText);
// Tenths of a minute to whole seconds, written "%02d".
std::string TenthsToSeconds(std::string_view tenthsText);

}  // namespace navdb
