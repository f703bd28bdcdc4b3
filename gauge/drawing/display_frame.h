// One redraw's view of the display: where it draws, its colours and
// geometry, the modes and host values it shows, and the map projection.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "data/display_data.h"
#include "data/host_variables.h"
#include "data/nav_database.h"
#include "data/pass_data.h"
#include "drawing/draw_target.h"
#include "drawing/surfaces.h"

namespace lumaro {

inline constexpr int kMainFontHeightPx = 11;
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

// The display's colour slots, filled from the swatch of bitmap 4096 and named
// after the first thing drawn in each; several parts share a slot.
enum class PaletteSlot {
  HeadingBox = 0,  // also intersections and the north arrow
  Compass = 1,     // also the range ring and the trail
  AircraftSymbol = 2,
  VorCourse = 3,  // VOR stations, course pointer, course lines, the VOR 1 labels
  DeviationBar = 4,
  DeviationDots = 5,
  Ils = 6,  // also the vertical deviation diamond
  VerticalScale = 7,
  Route = 8,  // also climb and descent points
  DmeText = 9,
  SelectedHeading = 10,  // also the mark shown while the loader runs
  ToFromTriangle = 11,
  NdbAdf = 12,        // NDB stations, the ADF needle and labels
  SecondNeedle = 13,  // the NAV 2 needle and labels
  RangeMark = 14,
  Airport = 15,
};
static_assert(static_cast<int>(PaletteSlot::Airport) + 1 == kDisplayColourCount);

struct CompassGeometry {
  int centreXPx = 0;
  int centreYPx = 0;
  int radiusPx = 0;
};

CompassGeometry ComputeCompassGeometry(int ndMode, int widthPx, int heightPx);

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
  FontSize labelFont = FontSize::Label;

  double headingDeg = 0;
  double scalePxPerNm = 0;
  double aircraftLatitudeDeg = 0;
  double aircraftLongitudeDeg = 0;
  double nmPerDegreeLongitude = 0;  // from the last loader run
  double mapAngleRad = 0;           // heading-up turn of the MAP mode

  DrawTarget& Target() const { return *target; }
  Rgb Colour(PaletteSlot slot) const { return colours[static_cast<size_t>(slot)]; }
  ScreenPoint Centre() const { return {geometry.centreXPx, geometry.centreYPx}; }
  double Number(HostVariable index) const { return (*variables)[index].currentValue.number; }
  int32_t Word(HostVariable index) const { return (*variables)[index].currentValue.integer; }
  std::string Ident(HostVariable index) const { return VariableText((*variables)[index]); }
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

// What a frame shows, as the module holds it between redraws.
struct FrameSources {
  CompassGeometry geometry;
  DisplayModes modes;
  const HostVariables* variables = nullptr;
  const NavDatabase* database = nullptr;
  double nmPerDegreeLongitude = 0;  // from the last loader run
};

// The frame of one redraw.
DisplayFrame MakeDisplayFrame(DrawTarget& target, int widthPx, int heightPx,
                              const DisplayColours& colours, const FrameSources& sources);

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
