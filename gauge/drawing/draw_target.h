// What the display draws on: GDI-like operations in pixel coordinates. The
// module draws on a Cairo image surface; tests record the operations.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "data/nav_math.h"

namespace lumaro {

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

// Windows colour value 0x00BBGGRR.
constexpr Rgb RgbFromColorRef(uint32_t colorRef) {
  return {static_cast<uint8_t>(colorRef & 0xFF), static_cast<uint8_t>((colorRef >> 8) & 0xFF),
          static_cast<uint8_t>((colorRef >> 16) & 0xFF)};
}

// Character heights in pixels of the display's fonts.
enum class FontSize { Large = 11, Medium = 9, Label = 8, Small = 7 };

enum class TextAlign { Left, Centre, Right };
enum class TextVertical { Top, Baseline, Bottom };

class DrawTarget {
 public:
  virtual ~DrawTarget() = default;
  // Fills left <= x < right, top <= y < bottom.
  virtual void FillRect(int left, int top, int right, int bottom, Rgb colour) = 0;
  virtual void Polyline(std::span<const ScreenPoint> points, Rgb colour) = 0;
  virtual void FillPolygon(std::span<const ScreenPoint> points, Rgb colour) = 0;
  virtual void Circle(ScreenPoint centre, int radiusPx, Rgb colour, bool filled) = 0;
  virtual void Text(ScreenPoint at, std::string_view text, FontSize size, TextAlign align,
                    TextVertical vertical, Rgb colour) = 0;
  // Text on a box of the background colour, covering whatever lies beneath.
  virtual void OpaqueText(ScreenPoint at, std::string_view text, FontSize size, TextAlign align,
                          TextVertical vertical, Rgb colour, Rgb background) = 0;
  // Counter-clockwise on the screen from startDeg to endDeg (0 = to the right).
  virtual void Arc(ScreenPoint centre, int radiusPx, double startDeg, double endDeg,
                   Rgb colour) = 0;
  // A one-pixel line drawn one pixel on, one pixel off.
  virtual void DottedLine(ScreenPoint from, ScreenPoint to, Rgb colour) = 0;
};

}  // namespace lumaro
