#include "data/nav_math.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace lumaro {

namespace {

// Copies at most 63 bytes into a NUL-terminated buffer so the C conversions
// can never read past the caller's text.
struct BoundedText {
  char buffer[64];
  explicit BoundedText(std::string_view text) {
    size_t lengthBytes = text.size() < sizeof(buffer) - 1 ? text.size() : sizeof(buffer) - 1;
    if (lengthBytes > 0) std::memcpy(buffer, text.data(), lengthBytes);
    buffer[lengthBytes] = '\0';
  }
};

double CoordinateTextToDeg(std::string_view text, size_t minutesAt, size_t secondsAt,
                           char negativeLetter) {
  double degrees = static_cast<double>(ParseLong(platform::Columns(text, 1)));
  double minutes = static_cast<double>(ParseLong(platform::Columns(text, minutesAt)));
  double seconds = ParseDouble(platform::Columns(text, secondsAt));
  double value = (seconds * kOneSixtieth + minutes) * kOneSixtieth + degrees;
  if (!text.empty() && text[0] == negativeLetter) value = -value;
  return value;
}

}  // namespace

long ParseLong(std::string_view text, int base) {
  return platform::ReadLong(text, 0, base);
}

double ParseDouble(std::string_view text) {
  BoundedText bounded(text);
  return std::strtod(bounded.buffer, nullptr);
}

double HostLatitudeToDeg(double rawLatitude) {
  return rawLatitude * kLatitudeScale;
}

double HostLongitudeToDeg(double rawLongitude) {
  double longitudeDeg = rawLongitude * kLongitudeScale;
  if (longitudeDeg >= 180.0) longitudeDeg -= 360.0;
  return longitudeDeg;
}

double LatitudeTextToDeg(std::string_view text) {
  return CoordinateTextToDeg(text, 4, 7, 'S');
}

double LongitudeTextToDeg(std::string_view text) {
  return CoordinateTextToDeg(text, 5, 8, 'W');
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
