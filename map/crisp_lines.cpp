#include "map/crisp_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace navmap {
namespace {

// Lines go through pixel centres, so a one-pixel pen covers whole pixels.
constexpr double kPixelCentre = 0.5;
// How far past its points a line's pixels may reach: half the pen and a
// join's mitre at the localizer's corners, rounded up with room to spare.
constexpr int kReachPx = 3;
// Cairo walks every row a stroke spans: strokes of lines spread over the
// image cost more per line, so a stroke takes at most this many.
constexpr size_t kMostLinesPerStroke = 48;

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

// Where Cairo's pen meets the sides of a line one pixel wide, from its
// middle: half a pixel square to the line, in fixed point.
FixedPoint HalfPenAcross(int64_t dx, int64_t dy) {
  double unitX = dx == 0 ? 0 : dx > 0 ? 1 : -1;
  double unitY = dy == 0 ? 0 : dy > 0 ? 1 : -1;
  if (dx != 0 && dy != 0) {
    const double length = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
    unitX = static_cast<double>(dx) / length;
    unitY = static_cast<double>(dy) / length;
  }
  // Cairo rounds to the nearest fixed step, halves to even.
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

}  // namespace

void CrispLines::Add(std::span<const Pixel> points, Rgb colour) {
  if (points.empty()) return;
  TakeColour(colour);
  const Box box = BoxAbout(points);
  const bool inside = WellInside(box);
  if (inside && points.size() == 2) {
    StrokeLikeCairo(canvas_, points[0], points[1], colour);
    return;
  }
  Gathered& lines = inside ? gathered_ : alone_;
  const bool meets = std::any_of(lines.boxes.begin(), lines.boxes.end(), [&](const Box& other) {
    return box.left <= other.right && other.left <= box.right && box.top <= other.bottom &&
           other.top <= box.bottom;
  });
  if (meets || lines.boxes.size() == kMostLinesPerStroke) Stroke(lines);
  lines.points.insert(lines.points.end(), points.begin(), points.end());
  lines.ends.push_back(lines.points.size());
  lines.boxes.push_back(box);
  if (!inside) Stroke(alone_);
}

void CrispLines::AddStroked(std::span<const Pixel> points, Pixel at,
                            std::span<const PixelOffset> pixels, Rgb colour) {
  if (points.empty()) return;
  if (!WellInside(BoxAbout(points))) {
    Add(points, colour);
    return;
  }
  TakeColour(colour);
  canvas_.Stamp(at.x, at.y, pixels, colour);
}

void CrispLines::TakeColour(Rgb colour) {
  if (colour == colour_) return;
  Stroke();
  colour_ = colour;
}

CrispLines::Box CrispLines::BoxAbout(std::span<const Pixel> points) {
  Box box{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const Pixel point : points) {
    box.left = std::min(box.left, point.x - kReachPx);
    box.top = std::min(box.top, point.y - kReachPx);
    box.right = std::max(box.right, point.x + kReachPx);
    box.bottom = std::max(box.bottom, point.y + kReachPx);
  }
  return box;
}

// Cairo cuts a stroke at the image's edges in a way that depends on the
// whole stroke: a line that reaches an edge is stroked on its own.
bool CrispLines::WellInside(const Box& box) const {
  return box.left >= 0 && box.top >= 0 && box.right < canvas_.WidthPx() &&
         box.bottom < canvas_.HeightPx();
}

void CrispLines::Stroke() {
  Stroke(gathered_);
}

void CrispLines::Stroke(Gathered& lines) {
  if (lines.ends.empty()) return;
  cairo_t* cairo = canvas_.Cairo();
  cairo_save(cairo);
  canvas_.SetColour(colour_);
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cairo, 1.0);
  cairo_new_path(cairo);
  size_t first = 0;
  for (const size_t end : lines.ends) {
    cairo_move_to(cairo, lines.points[first].x + kPixelCentre,
                  lines.points[first].y + kPixelCentre);
    for (size_t i = first + 1; i < end; ++i) {
      cairo_line_to(cairo, lines.points[i].x + kPixelCentre, lines.points[i].y + kPixelCentre);
    }
    first = end;
  }
  cairo_stroke(cairo);
  cairo_restore(cairo);
  lines.points.clear();
  lines.ends.clear();
  lines.boxes.clear();
}

}  // namespace navmap
