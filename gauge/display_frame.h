// One redraw's view of the display: where it draws, its colours and
// geometry, the modes and host values it shows, and the map projection.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "display_data.h"
#include "draw_target.h"
#include "gauge_state.h"

namespace lumaro {

inline constexpr int kBottomFontHeightPx = 9;  // the medium font, B in the layout of the labels
inline constexpr int kSymbolTopMarginPx = 19;

// Fixed text colours (Windows colour values).
inline constexpr Rgb kWarningRed = RgbFromColorRef(0x0000FF);
inline constexpr Rgb kMarkerBlue = RgbFromColorRef(0xFF0000);
inline constexpr Rgb kMarkerYellow = RgbFromColorRef(0x00FFFF);
inline constexpr Rgb kMarkerWhite = RgbFromColorRef(0xFFFFFF);

// Item bits.
inline constexpr int kItemRoute = 0x01;
inline constexpr int kItemIntersections = 0x02;
inline constexpr int kItemVors = 0x04;
inline constexpr int kItemNdbs = 0x08;
inline constexpr int kItemAirports = 0x10;

// Flag bits of the NAV 1 and NAV 2 flag words.
inline constexpr int kFlagDmeShown = 0x01;
inline constexpr int kFlagToIndication = 0x04;
inline constexpr int kFlagRadiosOff = 0x08;
inline constexpr int kFlagIlsFrequencyShown = 0x80;

struct DisplayFrame {
  DrawTarget* target = nullptr;
  std::array<Rgb, kDisplayColourCount> colours{};
  Rgb background;
  int widthPx = 0;
  int heightPx = 0;
  CompassGeometry geometry;
  DisplayModes modes;
  const HostVariables* variables = nullptr;
  const NavDatabase* database = nullptr;  // identifiers of the listed navaids
  FontSize labelFont = FontSize::kLabel;

  double headingDeg = 0;
  double scalePxPerNm = 0;
  double aircraftLatitudeDeg = 0;
  double aircraftLongitudeDeg = 0;
  double nmPerDegreeLongitude = 0;  // from the last loader run
  double mapAngleRad = 0;           // heading-up turn of the MAP mode

  DrawTarget& Target() const { return *target; }
  Rgb Colour(int index) const { return colours[static_cast<size_t>(index)]; }
  ScreenPoint Centre() const { return {geometry.centreX, geometry.centreY}; }
  double Number(HostVariableIndex index) const { return (*variables)[index].currentValue.number; }
  int32_t Word(HostVariableIndex index) const { return (*variables)[index].currentValue.integer; }
  std::string Ident(HostVariableIndex index) const { return VariableText((*variables)[index]); }
};

// Label font height from the screen's 96 pixels an inch: / 12 for small
// displays, / 11 from a height of 150 pixels, rounded half away from zero.
FontSize LabelFontSize(int heightPx);

// Truncates toward zero into the int range; not-a-number becomes 0, so no
// host value can make a conversion overflow.
int TruncToInt(double value);

// Rounds half away from zero, into the int range like TruncToInt.
int RoundToInt(double value);

double DegToRad(double degrees);

// The frame of one redraw; reads the loader's scale under the shared lock.
DisplayFrame MakeDisplayFrame(GaugeState& gauge, DrawTarget& target, int widthPx, int heightPx,
                              const DisplayColours& colours);

// Screen point of a position, turned heading-up in the MAP mode.
ScreenPoint ProjectPosition(const DisplayFrame& frame, double latitudeDeg, double longitudeDeg);

// Turns every point about centre by angleRad.
template <size_t N>
std::array<ScreenPoint, N> RotateAll(std::array<ScreenPoint, N> points, ScreenPoint centre,
                                     double angleRad) {
  for (ScreenPoint& point : points) point = RotateAbout(point, centre, angleRad);
  return points;
}

// Text with "%d"-like formatting kept short at the call sites.
std::string FormatText(const char* format, double value);
std::string FormatInt(const char* format, int value);

}  // namespace lumaro
