#include "data/nav_math.h"

#include <cmath>
#include <cstdlib>

namespace lumaro {

double HostLatitudeToDeg(double rawLatitude) {
  return rawLatitude * kLatitudeScale;
}

double HostLongitudeToDeg(double rawLongitude) {
  double longitudeDeg = rawLongitude * kLongitudeScale;
  if (longitudeDeg >= 180.0) longitudeDeg -= 360.0;
  return longitudeDeg;
}

double NmPerDegreeLongitude(double latitudeDeg) {
  return kPi * kOneOver180 * std::cos(latitudeDeg * kPi * kOneOver180) * kEarthRadiusNm;
}

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  long long product = static_cast<long long>(number) * numerator;
  long long half = std::llabs(static_cast<long long>(denominator)) / 2;
  bool negative = (product < 0) != (denominator < 0);
  long long magnitude =
      (std::llabs(product) + half) / std::llabs(static_cast<long long>(denominator));
  return static_cast<int>(negative ? -magnitude : magnitude);
}

ScreenPoint RotateAbout(ScreenPoint point, ScreenPoint centre, double angleRad) {
  if (point == centre) return point;
  double dx = point.x - centre.x;
  double dy = centre.y - point.y;
  double rho = std::sqrt(dx * dx + dy * dy);
  double sign = dy >= 0 ? 1.0 : -1.0;
  double theta = std::acos(dx / rho) * sign + angleRad;
  int tenths = static_cast<int>(rho * 10);
  int cosThousandths = static_cast<int>(std::cos(theta) * 1000);
  int sinThousandths = static_cast<int>(std::sin(theta) * 1000);
  return {centre.x + MulDiv(tenths, cosThousandths, 10000),
          centre.y - MulDiv(tenths, sinThousandths, 10000)};
}

}  // namespace lumaro
