#include "drawing/cairo_target.h"

#include <cmath>
#include <string>

#include "platform/win1252.h"

namespace lumaro {

namespace {
// Lines are drawn through pixel centres so a one-pixel pen covers whole pixels.
constexpr double kPixelCentre = 0.5;

}  // namespace

CairoTarget::CairoTarget(cairo_surface_t* surface) : context_(cairo_create(surface)) {
  cairo_set_antialias(context_, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(context_, 1.0);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
  cairo_set_font_options(context_, options);
  cairo_font_options_destroy(options);
  // "Arial" resolves through fontconfig to its metric twin, Liberation Sans.
  cairo_select_font_face(context_, "Arial", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
}

CairoTarget::~CairoTarget() {
  cairo_destroy(context_);
}

void CairoTarget::SetColour(Rgb colour) {
  cairo_set_source_rgb(context_, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
}

void CairoTarget::FillRect(int left, int top, int right, int bottom, Rgb colour) {
  SetColour(colour);
  cairo_rectangle(context_, left, top, right - left, bottom - top);
  cairo_fill(context_);
}

void CairoTarget::Polyline(std::span<const ScreenPoint> points, Rgb colour) {
  if (points.empty()) return;
  SetColour(colour);
  cairo_move_to(context_, points[0].x + kPixelCentre, points[0].y + kPixelCentre);
  for (const ScreenPoint& point : points.subspan(1)) {
    cairo_line_to(context_, point.x + kPixelCentre, point.y + kPixelCentre);
  }
  cairo_stroke(context_);
}

void CairoTarget::FillPolygon(std::span<const ScreenPoint> points, Rgb colour) {
  if (points.empty()) return;
  SetColour(colour);
  cairo_move_to(context_, points[0].x + kPixelCentre, points[0].y + kPixelCentre);
  for (const ScreenPoint& point : points.subspan(1)) {
    cairo_line_to(context_, point.x + kPixelCentre, point.y + kPixelCentre);
  }
  cairo_close_path(context_);
  cairo_fill_preserve(context_);
  cairo_stroke(context_);
}

void CairoTarget::Circle(ScreenPoint centre, int radiusPx, Rgb colour, bool filled) {
  SetColour(colour);
  cairo_new_path(context_);
  cairo_arc(context_, centre.x + kPixelCentre, centre.y + kPixelCentre, radiusPx, 0, 2 * kPi);
  if (filled) cairo_fill_preserve(context_);
  cairo_stroke(context_);
}

CairoTarget::TextPlacement CairoTarget::PlaceText(ScreenPoint at, const std::string& utf8,
                                                  FontSize size, TextAlign align,
                                                  TextVertical vertical) {
  cairo_set_font_size(context_, static_cast<double>(size));
  cairo_text_extents_t extents;
  cairo_text_extents(context_, utf8.c_str(), &extents);
  cairo_font_extents_t font;
  cairo_font_extents(context_, &font);
  TextPlacement placement;
  placement.widthPx = extents.x_advance;
  placement.ascentPx = font.ascent;
  placement.descentPx = font.descent;
  placement.x = at.x;
  if (align == TextAlign::Centre) placement.x -= extents.x_advance / 2;
  if (align == TextAlign::Right) placement.x -= extents.x_advance;
  placement.y = at.y;
  if (vertical == TextVertical::Top) placement.y += font.ascent;
  if (vertical == TextVertical::Bottom) placement.y -= font.descent;
  // Whole pixels keep the glyphs of one text on the same rows at every position.
  placement.x = std::floor(placement.x);
  placement.y = std::floor(placement.y);
  return placement;
}

void CairoTarget::Text(ScreenPoint at, std::string_view text, FontSize size, TextAlign align,
                       TextVertical vertical, Rgb colour) {
  std::string utf8 = platform::Win1252ToUtf8(text);
  TextPlacement placement = PlaceText(at, utf8, size, align, vertical);
  SetColour(colour);
  cairo_move_to(context_, placement.x, placement.y);
  cairo_show_text(context_, utf8.c_str());
}

void CairoTarget::OpaqueText(ScreenPoint at, std::string_view text, FontSize size, TextAlign align,
                             TextVertical vertical, Rgb colour, Rgb background) {
  std::string utf8 = platform::Win1252ToUtf8(text);
  TextPlacement placement = PlaceText(at, utf8, size, align, vertical);
  SetColour(background);
  cairo_rectangle(context_, placement.x, placement.y - std::ceil(placement.ascentPx),
                  std::ceil(placement.widthPx),
                  std::ceil(placement.ascentPx) + std::ceil(placement.descentPx));
  cairo_fill(context_);
  SetColour(colour);
  cairo_move_to(context_, placement.x, placement.y);
  cairo_show_text(context_, utf8.c_str());
}

void CairoTarget::Arc(ScreenPoint centre, int radiusPx, double startDeg, double endDeg,
                      Rgb colour) {
  SetColour(colour);
  cairo_new_path(context_);
  // Cairo turns clockwise on the screen for growing angles, so the
  // counter-clockwise arc from start to end is its arc from -end to -start.
  cairo_arc(context_, centre.x + kPixelCentre, centre.y + kPixelCentre, radiusPx,
            -endDeg * kPi / 180, -startDeg * kPi / 180);
  cairo_stroke(context_);
}

void CairoTarget::DottedLine(ScreenPoint from, ScreenPoint to, Rgb colour) {
  SetColour(colour);
  const double pattern[] = {1.0, 1.0};
  cairo_set_dash(context_, pattern, 2, 0);
  cairo_move_to(context_, from.x + kPixelCentre, from.y + kPixelCentre);
  cairo_line_to(context_, to.x + kPixelCentre, to.y + kPixelCentre);
  cairo_stroke(context_);
  cairo_set_dash(context_, nullptr, 0, 0);
}

}  // namespace lumaro
