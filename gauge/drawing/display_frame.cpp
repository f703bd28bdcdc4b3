#include "drawing/display_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/numbers.h"

namespace lumaro {

namespace {

constexpr int kPixelsPerInch = 96;
constexpr int kLargeLabelFromHeightPx = 150;
constexpr double kDateLineReachDeg = 60;
// Far enough outside any display to be clipped, small enough for Cairo's
// fixed-point coordinates and for the rotation's fixed-point radius.
constexpr double kCoordinateLimitPx = 1e6;

}  // namespace

FontSize LabelFontSize(int heightPx) {
  int divisor = heightPx < kLargeLabelFromHeightPx ? 12 : 11;
  return static_cast<FontSize>(RoundToInt(static_cast<double>(kPixelsPerInch) / divisor));
}

int TruncToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

int RoundToInt(double value) {
  return static_cast<int>(std::clamp<long>(platform::RoundHalfAwayFromZero(value),
                                           std::numeric_limits<int>::min(),
                                           std::numeric_limits<int>::max()));
}

double DegToRad(double degrees) {
  return degrees * kPi * kOneOver180;
}

CompassGeometry ComputeCompassGeometry(int ndMode, int widthPx, int heightPx) {
  CompassGeometry geometry;
  geometry.centreXPx = widthPx / 2;
  if (ndMode == kNdModeFullCompass) {
    geometry.centreYPx = kMainFontHeightPx + ((heightPx - kMainFontHeightPx) - 6) / 2 + 6;
  } else {
    geometry.centreYPx = heightPx * 85 / 100;
  }
  geometry.radiusPx = geometry.centreYPx - kMainFontHeightPx - 6;
  return geometry;
}

DisplayFrame MakeDisplayFrame(DrawTarget& target, int widthPx, int heightPx,
                              const DisplayColours& colours, const FrameSources& sources) {
  DisplayFrame frame;
  frame.target = &target;
  frame.colours = colours.colours;
  frame.background = colours.background;
  frame.widthPx = widthPx;
  frame.heightPx = heightPx;
  frame.geometry = sources.geometry;
  frame.modes = sources.modes;
  frame.variables = sources.variables;
  frame.database = sources.database;
  frame.labelFont = LabelFontSize(heightPx);
  frame.headingDeg = frame.Number(HostVariable::Heading);
  frame.scalePxPerNm = sources.modes.rangeNm > 0
                           ? static_cast<double>(sources.geometry.radiusPx) / sources.modes.rangeNm
                           : 0;
  frame.aircraftLatitudeDeg = HostLatitudeToDeg(frame.Number(HostVariable::Latitude));
  frame.aircraftLongitudeDeg = HostLongitudeToDeg(frame.Number(HostVariable::Longitude));
  frame.mapAngleRad =
      sources.modes.mapMode == kMapModeMap ? DegToRad(frame.Number(HostVariable::MapHeading)) : 0;
  frame.nmPerDegreeLongitude = sources.nmPerDegreeLongitude;
  return frame;
}

ScreenPoint ProjectPosition(const DisplayFrame& frame, double latitudeDeg, double longitudeDeg) {
  const double scale = frame.scalePxPerNm;
  double northPx = (latitudeDeg - frame.aircraftLatitudeDeg) * scale * kNmPerDegreeLatitude;
  double aircraftLongitudeDeg = frame.aircraftLongitudeDeg;
  // Near the date line a point on the other side is nearer across it.
  if (longitudeDeg * aircraftLongitudeDeg < 0 &&
      std::fabs(aircraftLongitudeDeg) >= kDateLineReachDeg) {
    longitudeDeg += longitudeDeg > 0 ? -360 : 360;
  }
  double eastPx = (longitudeDeg - aircraftLongitudeDeg) * frame.nmPerDegreeLongitude * scale;
  northPx = std::fmax(-kCoordinateLimitPx, std::fmin(kCoordinateLimitPx, northPx));
  eastPx = std::fmax(-kCoordinateLimitPx, std::fmin(kCoordinateLimitPx, eastPx));
  ScreenPoint point{frame.geometry.centreXPx + TruncToInt(eastPx),
                    frame.geometry.centreYPx - TruncToInt(northPx)};
  if (frame.modes.mapMode == kMapModeMap)
    point = RotateAbout(point, frame.Centre(), frame.mapAngleRad);
  return point;
}

std::string FormatText(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof(text), format, value);
  return text;
}

std::string FormatInt(const char* format, int value) {
  char text[64];
  std::snprintf(text, sizeof(text), format, value);
  return text;
}

}  // namespace lumaro
