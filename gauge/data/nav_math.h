// Numeric rules of the display: host position, degrees to screen distances,
// and turning screen points about a centre. Numbers and coordinate texts are
// read by platform/numbers.h and platform/coordinate_text.h, which the
// database programs and the host share.
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

struct ScreenPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

double HostLatitudeToDeg(double rawLatitude);
double HostLongitudeToDeg(double rawLongitude);

double NmPerDegreeLongitude(double latitudeDeg);

// Windows MulDiv: 64-bit product, divided with rounding to nearest.
int MulDiv(int number, int numerator, int denominator);

// Turns a point counter-clockwise on the screen by angleRad about centre.
ScreenPoint RotateAbout(ScreenPoint point, ScreenPoint centre, double angleRad);

}  // namespace lumaro
