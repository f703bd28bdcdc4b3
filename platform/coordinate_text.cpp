#include "platform/coordinate_text.h"

#include "platform/numbers.h"

namespace platform {

namespace {

double ReadCoordinate(std::string_view text, size_t minutesAt, size_t secondsAt, char negative) {
  if (text.empty()) return 0.0;
  const long degrees = ReadLong(text, 1);
  const long minutes = ReadLong(text, minutesAt);
  const double seconds = ReadDouble(text, secondsAt);
  const double angle = DegreesFromParts(degrees, minutes, seconds);
  return text[0] == negative ? -angle : angle;
}

}  // namespace

double DegreesFromParts(long degrees, long minutes, double seconds) {
  return (seconds * kOneSixtieth + static_cast<double>(minutes)) * kOneSixtieth +
         static_cast<double>(degrees);
}

double ReadLatitudeText(std::string_view text) {
  return ReadCoordinate(text, 4, 7, 'S');
}

double ReadLongitudeText(std::string_view text) {
  return ReadCoordinate(text, 5, 8, 'W');
}

}  // namespace platform
