// Drawing on a Cairo image surface with antialiasing off, so every pixel
// holds exactly one of the display's colours.
#pragma once

#include <cairo.h>

#include "drawing/draw_target.h"

namespace lumaro {

class CairoTarget : public DrawTarget {
 public:
  explicit CairoTarget(cairo_surface_t* surface);
  ~CairoTarget() override;
  CairoTarget(const CairoTarget&) = delete;
  CairoTarget& operator=(const CairoTarget&) = delete;

  bool Ok() const { return cairo_status(context_) == CAIRO_STATUS_SUCCESS; }

  void FillRect(int left, int top, int right, int bottom, Rgb colour) override;
  void Polyline(std::span<const ScreenPoint> points, Rgb colour) override;
  void FillPolygon(std::span<const ScreenPoint> points, Rgb colour) override;
  void Circle(ScreenPoint centre, int radiusPx, Rgb colour, bool filled) override;
  void Text(ScreenPoint at, std::string_view text, FontSize size, TextAlign align,
            TextVertical vertical, Rgb colour) override;
  void OpaqueText(ScreenPoint at, std::string_view text, FontSize size, TextAlign align,
                  TextVertical vertical, Rgb colour, Rgb background) override;
  void Arc(ScreenPoint centre, int radiusPx, double startDeg, double endDeg, Rgb colour) override;
  void DottedLine(ScreenPoint from, ScreenPoint to, Rgb colour) override;

 private:
  void SetColour(Rgb colour);
  // Where a text's baseline starts, and its box, for the alignment asked.
  struct TextPlacement {
    double x = 0;
    double y = 0;
    double widthPx = 0;
    double ascentPx = 0;
    double descentPx = 0;
  };
  TextPlacement PlaceText(ScreenPoint at, const std::string& utf8, FontSize size, TextAlign align,
                          TextVertical vertical);
  cairo_t* context_;
};

}  // namespace lumaro
