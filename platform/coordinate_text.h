// Reading the degrees-minutes-seconds texts of latitudes and longitudes that
// the database lines and the plan rows hold: a hemisphere letter, then
// "%02d°%02d'%02d.%02d" for a latitude (12 characters) and the same with
// three digits of degrees for a longitude (13 characters).
#pragma once

#include <string_view>

namespace platform {

// 1/60 as the double the arithmetic multiplies by.
inline constexpr double kOneSixtieth = 0.016666666666666666;

// Unsigned degrees from the parts of a coordinate text:
// (seconds * 1/60 + minutes) * 1/60 + degrees.
double DegreesFromParts(long degrees, long minutes, double seconds);

// `text` begins at the hemisphere letter; degrees and minutes are read as
// whole numbers and seconds as a decimal at their columns, each stopping at
// the first character that cannot belong to it, and a part past the end of
// the text reads 0. "S" (latitude) or "W" (longitude) makes the value
// negative. Never reads past the text, whatever it holds.
double ReadLatitudeText(std::string_view text);
double ReadLongitudeText(std::string_view text);

}  // namespace platform
