#include "map/crisp_lines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace navmap {
namespace {

// Lines go through pixel centres, so a one-pixel pen covers whole pixels.
constexpr double kPixelCentre = 0.5;

// Cairo's fixed-point coordinates: 1/256 of a pixel.
constexpr int64_t kFixedOne = 256;
constexpr int64_t kFixedHalf = kFixedOne / 2;

int64_t FixedCentre(int px) {
  return px * kFixedOne + kFixedHalf;
}

// Cairo's rounding of a fixed coordinate to a pixel edge: a coordinate
// exactly on a pixel centre goes down.
int64_t RoundDown(int64_t fixed) {
  return (fixed + kFixedHalf - 1) >> 8;
}

// x / y rounded down, for y > 0.
int64_t FloorDivide(int64_t x, int64_t y) {
  return x >= 0 ? x / y : -((-x + y - 1) / y);
}

struct FixedPoint {
  int64_t x = 0;
  int64_t y = 0;
};

// Half a pixel square to a line along (dx, dy), in fixed point, as Cairo
// works it out: from the line's unit direction in floating point (scaling
// by 256 changes none of its bits), rounded to the nearest fixed step.
FixedPoint HalfPenAcross(int64_t dx, int64_t dy) {
  double unitX = dx == 0 ? 0 : dx > 0 ? 1 : -1;
  double unitY = dy == 0 ? 0 : dy > 0 ? 1 : -1;
  if (dx != 0 && dy != 0) {
    const double length = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
    unitX = static_cast<double>(dx) / length;
    unitY = static_cast<double>(dy) / length;
  }
  // Halves go to even, as Cairo's conversion rounds them.
  return {static_cast<int64_t>(std::nearbyint(-unitY * 0.5 * kFixedOne)),
          static_cast<int64_t>(std::nearbyint(unitX * 0.5 * kFixedOne))};
}

// Draws what Cairo strokes for a line one pixel wide without antialiasing
// from the centre of `from` to the centre of `to`, butt-ended, well inside
// the image: the pixels whose centres lie in the line's rectangle, as its
// scan conversion decides them. Each row of the rectangle has one span,
// from the left side's crossing to the right side's, each side crossed a
// 256th of a pixel above the row's centre.
void StrokeLikeCairo(Canvas& canvas, Pixel from, Pixel to, Rgb colour) {
  if (from.x == to.x && from.y == to.y) return;
  const FixedPoint start{FixedCentre(from.x), FixedCentre(from.y)};
  const FixedPoint end{FixedCentre(to.x), FixedCentre(to.y)};
  const FixedPoint pen = HalfPenAcross(end.x - start.x, end.y - start.y);
  const std::array<FixedPoint, 4> corners = {{{start.x + pen.x, start.y + pen.y},
                                              {end.x + pen.x, end.y + pen.y},
                                              {end.x - pen.x, end.y - pen.y},
                                              {start.x - pen.x, start.y - pen.y}}};
  int64_t top = corners[0].y;
  int64_t bottom = corners[0].y;
  for (const FixedPoint& corner : corners) {
    top = std::min(top, corner.y);
    bottom = std::max(bottom, corner.y);
  }
  const int64_t firstRow = RoundDown(top);
  const int64_t endRow = RoundDown(bottom);
  for (int64_t row = firstRow; row < endRow; ++row) {
    const int64_t sampleY = row * kFixedOne + kFixedHalf - 1;
    int64_t left = INT64_MAX;
    int64_t right = INT64_MIN;
    for (size_t i = 0; i < corners.size(); ++i) {
      FixedPoint a = corners[i];
      FixedPoint b = corners[(i + 1) % corners.size()];
      if (a.y == b.y) continue;
      if (a.y > b.y) std::swap(a, b);
      if (row < RoundDown(a.y) || row >= RoundDown(b.y)) continue;
      const int64_t x = a.x + FloorDivide((sampleY - a.y) * (b.x - a.x), b.y - a.y);
      left = std::min(left, x);
      right = std::max(right, x);
    }
    if (left <= right) {
      canvas.Run(static_cast<int>(row), static_cast<int>(RoundDown(left)),
                 static_cast<int>(RoundDown(right)), colour);
    }
  }
}

void StrokeWithCairo(Canvas& canvas, std::span<const Pixel> points, Rgb colour) {
  cairo_t* cairo = canvas.Cairo();
  cairo_save(cairo);
  canvas.SetColour(colour);
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cairo, 1.0);
  cairo_new_path(cairo);
  cairo_move_to(cairo, points[0].x + kPixelCentre, points[0].y + kPixelCentre);
  for (size_t i = 1; i < points.size(); ++i) {
    cairo_line_to(cairo, points[i].x + kPixelCentre, points[i].y + kPixelCentre);
  }
  cairo_stroke(cairo);
  cairo_restore(cairo);
}

// True when the pixels the line sets lie well inside the image: at most
// half the pen and a join's mitre past its points, with room to spare.
bool WellInside(const Canvas& canvas, std::span<const Pixel> points) {
  constexpr int kReachPx = 3;
  return std::all_of(points.begin(), points.end(), [&](Pixel point) {
    return point.x >= kReachPx && point.y >= kReachPx && point.x + kReachPx < canvas.WidthPx() &&
           point.y + kReachPx < canvas.HeightPx();
  });
}

}  // namespace

void DrawCrispLine(Canvas& canvas, std::span<const Pixel> points, Rgb colour) {
  if (points.empty()) return;
  if (points.size() == 2 && WellInside(canvas, points)) {
    StrokeLikeCairo(canvas, points[0], points[1], colour);
  } else {
    StrokeWithCairo(canvas, points, colour);
  }
}

void DrawCrispLine(Canvas& canvas, std::span<const Pixel> points, Pixel at,
                   std::span<const PixelOffset> pixels, Rgb colour) {
  if (WellInside(canvas, points)) {
    canvas.Stamp(at.x, at.y, pixels, colour);
  } else {
    DrawCrispLine(canvas, points, colour);
  }
}

}  // namespace navmap
