// The display's sixteen colours and its background, as its artwork paints
// them into the colour swatch. The display reads them back from that swatch
// at run time; the map, which has no swatch, takes them from here, so both
// show a navaid in the same colour.
#pragma once

#include <array>
#include <cstdint>

namespace symbols {

struct PaletteColour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const PaletteColour&) const = default;
};

inline constexpr int kDisplayColourCount = 16;

// 0-15 the display's colours, 16 its background.
inline constexpr std::array<PaletteColour, kDisplayColourCount + 1> kDisplayPalette = {{
    {255, 255, 255},  // 0 heading box, intersections, north arrow
    {224, 224, 224},  // 1 compass, range ring, trail
    {255, 255, 0},    // 2 aircraft symbol
    {0, 255, 255},    // 3 VOR, course pointer, course lines
    {255, 0, 255},    // 4 deviation bar
    {248, 248, 248},  // 5 deviation dots
    {0, 255, 0},      // 6 ILS
    {200, 200, 200},  // 7 vertical scale
    {255, 64, 255},   // 8 route
    {0, 224, 0},      // 9 DME texts
    {255, 176, 0},    // 10 selected heading, loading mark
    {240, 240, 240},  // 11 to/from triangle
    {96, 160, 255},   // 12 NDB, ADF
    {0, 255, 128},    // 13 second needle
    {0, 200, 255},    // 14 range mark
    {232, 232, 255},  // 15 airports
    {0, 0, 0},        // 16 background
}};

// The colour each navaid symbol is drawn in, by its number in the palette.
inline constexpr int kIntersectionColour = 0;
inline constexpr int kVorColour = 3;  // VOR and DME stations
inline constexpr int kIlsColour = 6;
inline constexpr int kRouteColour = 8;  // route legs, top of climb and descent
inline constexpr int kNdbColour = 12;
inline constexpr int kAirportColour = 15;
inline constexpr int kBackgroundColour = kDisplayColourCount;

}  // namespace symbols
