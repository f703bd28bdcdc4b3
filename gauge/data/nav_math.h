// Numeric rules of the display: host position, route coordinate texts,
// degrees to screen distances, and turning screen points about a centre.
#pragma once

#include <string_view>

namespace lumaro {

inline constexpr double kLatitudeScale = 8.998425275576774e-06;
inline constexpr double kLongitudeScale = 1.2789770768341246e-12;
// Eleven decimals of pi, not the double's full value: the display's geometry
// is fixed to the pixel by the pictures it must reproduce.
inline constexpr double kPi = 3.14159265359;
inline constexpr double kOneOver180 = 0.005555555555555556;
inline constexpr double kEarthRadiusNm = 3438.0;
inline constexpr double kNmPerDegreeLatitude = 60.0;
inline constexpr double kReachFactor = 1.1;
inline constexpr double kOneSixtieth = 0.016666666666666666;

struct ScreenPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

double HostLatitudeToDeg(double rawLatitude);
double HostLongitudeToDeg(double rawLongitude);

// 12-character latitude text such as N48°51'24.00 (degree sign 0xB0).
double LatitudeTextToDeg(std::string_view text);
// 13-character longitude text such as W002°21'03.00.
double LongitudeTextToDeg(std::string_view text);

double NmPerDegreeLongitude(double latitudeDeg);

// Windows MulDiv: 64-bit product, divided with rounding to nearest.
int MulDiv(int number, int numerator, int denominator);

// Turns a point counter-clockwise on the screen by angleRad about centre.
ScreenPoint RotateAbout(ScreenPoint point, ScreenPoint centre, double angleRad);

// Number parsing like strtol/strtod: leading blanks skipped, stops at the
// first character that cannot belong to the number. Integers are read by
// platform::ReadLong; fractions by strtod on a bounded copy, which takes the
// database's "-151.175000" and the mode file's values alike.
long ParseLong(std::string_view text, int base = 10);
double ParseDouble(std::string_view text);

}  // namespace lumaro
