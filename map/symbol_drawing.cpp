#include "map/symbol_drawing.h"

#include <cairo.h>

#include <cmath>
#include <span>
#include <vector>

#include "symbols/navaid_shapes.h"

namespace navmap {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Lines go through pixel centres, so a one-pixel pen covers whole pixels.
constexpr double kPixelCentre = 0.5;
constexpr int kSpriteCellPx = 16;
constexpr int kSpriteCentrePx = kSpriteCellPx / 2;
// The localizer outline reaches 15 px from its point.
constexpr int kLocalizerCellPx = 40;
constexpr int kLocalizerCentrePx = kLocalizerCellPx / 2;

enum class Sprite { Circle, FilledCircle, Triangle };

// The pixels set in the A8 cell drawn on, about its centre; lets go of it.
std::vector<PixelOffset> PixelsSet(cairo_t* cairo, int cellPx) {
  cairo_surface_t* surface = cairo_get_target(cairo);
  cairo_surface_flush(surface);
  std::vector<PixelOffset> pixels;
  const uint8_t* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const int centrePx = cellPx / 2;
  for (int y = 0; y < cellPx && data != nullptr; ++y) {
    for (int x = 0; x < cellPx; ++x) {
      if (data[y * stride + x] != 0) {
        pixels.push_back({static_cast<int8_t>(x - centrePx), static_cast<int8_t>(y - centrePx)});
      }
    }
  }
  cairo_destroy(cairo);
  return pixels;
}

// A context to draw a sprite on a cell of `cellPx` as the map draws symbols.
cairo_t* SpriteCell(int cellPx) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, cellPx, cellPx);
  cairo_t* cairo = cairo_create(surface);
  cairo_surface_destroy(surface);  // the context holds it
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cairo, 1.0);
  return cairo;
}

// Draws the sprite as the display's Cairo target would and keeps the pixels set.
std::vector<PixelOffset> DrawSprite(Sprite sprite) {
  cairo_t* cairo = SpriteCell(kSpriteCellPx);
  const double centre = kSpriteCentrePx + kPixelCentre;
  if (sprite == Sprite::Triangle) {
    bool first = true;
    for (const symbols::Offset& point : symbols::kIntersectionTriangle) {
      if (first) {
        cairo_move_to(cairo, centre + point.dx, centre + point.dy);
      } else {
        cairo_line_to(cairo, centre + point.dx, centre + point.dy);
      }
      first = false;
    }
  } else {
    cairo_arc(cairo, centre, centre, symbols::kStationRadiusPx, 0, 2 * kPi);
    if (sprite == Sprite::FilledCircle) cairo_fill_preserve(cairo);
  }
  cairo_stroke(cairo);
  return PixelsSet(cairo, kSpriteCellPx);
}

// Turns an offset counter-clockwise on the screen by turnDeg.
void Turn(double dx, double dy, double turnDeg, double& x, double& y) {
  const double rad = turnDeg * kPi / 180;
  x = dx * std::cos(rad) + dy * std::sin(rad);
  y = -dx * std::sin(rad) + dy * std::cos(rad);
}

// The localizer outline of `courseDeg` about `at`, on whole pixels.
std::array<Pixel, 4> LocalizerOutline(Pixel at, double courseDeg) {
  std::array<Pixel, 4> outline;
  for (size_t i = 0; i < outline.size(); ++i) {
    const symbols::Offset point = symbols::kLocalizerOutline[i];
    double x = 0;
    double y = 0;
    Turn(point.dx, point.dy, symbols::LocalizerTurnDeg(courseDeg), x, y);
    outline[i] = {at.x + static_cast<int>(std::lround(x)), at.y + static_cast<int>(std::lround(y))};
  }
  return outline;
}

// The pixels Cairo sets stroking `outline` (about the origin) on its own.
std::vector<PixelOffset> StrokedPixels(std::span<const Pixel> outline) {
  cairo_t* cairo = SpriteCell(kLocalizerCellPx);
  const double centre = kLocalizerCentrePx + kPixelCentre;
  cairo_move_to(cairo, centre + outline[0].x, centre + outline[0].y);
  for (size_t i = 1; i < outline.size(); ++i) {
    cairo_line_to(cairo, centre + outline[i].x, centre + outline[i].y);
  }
  cairo_stroke(cairo);
  return PixelsSet(cairo, kLocalizerCellPx);
}

// A localizer's pixels for each whole course, as a stroke of its own sets
// them: worked out once, for a stroke costs far more than stamping them.
const std::vector<std::vector<PixelOffset>>& LocalizerSprites() {
  static const std::vector<std::vector<PixelOffset>> sprites = [] {
    std::vector<std::vector<PixelOffset>> all(360);
    for (size_t courseDeg = 0; courseDeg < all.size(); ++courseDeg) {
      all[courseDeg] = StrokedPixels(LocalizerOutline({0, 0}, static_cast<double>(courseDeg)));
    }
    return all;
  }();
  return sprites;
}

}  // namespace

std::span<const PixelOffset> StationCirclePixels() {
  static const std::vector<PixelOffset> pixels = DrawSprite(Sprite::Circle);
  return pixels;
}

std::span<const PixelOffset> FilledCirclePixels() {
  static const std::vector<PixelOffset> pixels = DrawSprite(Sprite::FilledCircle);
  return pixels;
}

std::span<const PixelOffset> IntersectionPixels() {
  static const std::vector<PixelOffset> pixels = DrawSprite(Sprite::Triangle);
  return pixels;
}

std::array<Pixel, 4> DrawLocalizer(Canvas& canvas, Pixel at, double courseDeg, Rgb colour) {
  const std::array<Pixel, 4> outline = LocalizerOutline(at, courseDeg);
  if (courseDeg >= 0 && courseDeg < 360 && std::floor(courseDeg) == courseDeg) {
    DrawCrispLine(canvas, outline, at, LocalizerSprites()[static_cast<size_t>(courseDeg)], colour);
  } else {
    DrawCrispLine(canvas, outline, colour);
  }
  return outline;
}

std::array<Pixel, 2> DrawRunwayLine(Canvas& canvas, Pixel at, double headingDeg,
                                    double halfLengthPx, Rgb colour) {
  std::array<Pixel, 2> ends;
  const double turnDeg = symbols::RunwayTurnDeg(headingDeg);
  for (int end = 0; end < 2; ++end) {
    double x = 0;
    double y = 0;
    Turn(0, end == 0 ? -halfLengthPx : halfLengthPx, turnDeg, x, y);
    ends[static_cast<size_t>(end)] = {at.x + static_cast<int>(std::lround(x)),
                                      at.y + static_cast<int>(std::lround(y))};
  }
  DrawCrispLine(canvas, ends, colour);
  return ends;
}

}  // namespace navmap
