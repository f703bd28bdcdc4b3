// The map's colours: the display's for navaids and the route, so that the
// map shows each navaid as the display does, over a dark sea and land of
// its own.
#pragma once

#include <cstdint>

#include "symbols/display_palette.h"

namespace navmap {

// 0xRRGGBB, the pixel value of a Cairo RGB24 image.
using Rgb = uint32_t;

constexpr Rgb RgbOf(symbols::PaletteColour colour) {
  return (static_cast<Rgb>(colour.red) << 16) | (static_cast<Rgb>(colour.green) << 8) | colour.blue;
}
constexpr Rgb DisplayColour(int number) {
  return RgbOf(symbols::kDisplayPalette[static_cast<size_t>(number)]);
}

inline constexpr Rgb kSeaColour = 0x0B1A2B;
inline constexpr Rgb kLandColour = 0x1E2A24;
inline constexpr Rgb kCoastColour = 0x5E8AA0;
inline constexpr Rgb kBorderColour = 0x6B6650;
// Behind label texts, so that they stay legible over lines and land.
inline constexpr Rgb kLabelHaloColour = 0x050A10;

inline constexpr Rgb kAirportColour = DisplayColour(symbols::kAirportColour);
inline constexpr Rgb kVorColour = DisplayColour(symbols::kVorColour);
inline constexpr Rgb kIlsColour = DisplayColour(symbols::kIlsColour);
inline constexpr Rgb kNdbColour = DisplayColour(symbols::kNdbColour);
inline constexpr Rgb kIntersectionColour = DisplayColour(symbols::kIntersectionColour);
inline constexpr Rgb kRouteColour = DisplayColour(symbols::kRouteColour);
inline constexpr Rgb kScaleBarColour = DisplayColour(1);
inline constexpr Rgb kHighlightColour = DisplayColour(10);

}  // namespace navmap
