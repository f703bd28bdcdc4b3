#include "navdb/coordinates.h"

#include <cstdio>

#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace navdb {
namespace {

std::string FormatCoordinate(double angleDeg, char positive, char negative, int degreeDigits) {
  const char letter = angleDeg < 0 ? negative : positive;
  const double a = angleDeg < 0 ? -angleDeg : angleDeg;
  const int d = static_cast<int>(a);
  const int m = static_cast<int>((a - d) * 60);
  const double s = (a + m * (-kOneSixtieth) - d) * 3600;
  const int w = static_cast<int>(s);
  const int h = static_cast<int>((s - w) * 100);
  // letter, then "%02d°%02d'%02d.%02d" (three digits of degrees for a longitude),
  // written in place: lines are built by the thousand during a scan.
  char text[4 * 20 + 8];
  char* out = text;
  *out++ = letter;
  out = platform::WriteZeroPadded(out, d, degreeDigits);
  *out++ = kDegreeSign;
  out = platform::WriteZeroPadded(out, m, 2);
  *out++ = '\'';
  out = platform::WriteZeroPadded(out, w, 2);
  *out++ = '.';
  out = platform::WriteZeroPadded(out, h, 2);
  return std::string(text, out);
}

}  // namespace

std::string FormatLatitude(double latitudeDeg) {
  return FormatCoordinate(latitudeDeg, 'N', 'S', 2);
}

std::string FormatLongitude(double longitudeDeg) {
  return FormatCoordinate(longitudeDeg, 'E', 'W', 3);
}

std::string SecondsToTenths(std::string_view secondsText) {
  const double seconds = platform::ReadDouble(secondsText);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%1ld", platform::RoundHalfAwayFromZero(seconds / 6));
  return buffer;
}

std::string TenthsToSeconds(std::string_view tenthsText) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02ld", platform::ReadLong(tenthsText) * 6);
  return buffer;
}

}  // namespace navdb
