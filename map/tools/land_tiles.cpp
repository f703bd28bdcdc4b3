#include "map/tools/land_tiles.h"

#include <algorithm>
#include <cmath>

namespace coastline_tool {
namespace {

using navmap::QuantizedPoint;

enum class Side { Left, Right, Bottom, Top };

bool Inside(QuantizedPoint p, Side side, int32_t edge) {
  switch (side) {
    case Side::Left:
      return p.x >= edge;
    case Side::Right:
      return p.x <= edge;
    case Side::Bottom:
      return p.y >= edge;
    case Side::Top:
      return p.y <= edge;
  }
  return false;
}

// Where the segment a-b crosses the edge. The two ends are put in one order
// first, so that the tiles on both sides of an edge compute the same point.
QuantizedPoint Crossing(QuantizedPoint a, QuantizedPoint b, Side side, int32_t edge) {
  if (b.x < a.x || (b.x == a.x && b.y < a.y)) std::swap(a, b);
  const bool vertical = side == Side::Left || side == Side::Right;
  const double from = vertical ? a.x : a.y;
  const double to = vertical ? b.x : b.y;
  const double t = (edge - from) / (to - from);
  if (vertical) {
    return {edge, static_cast<int32_t>(std::llround(a.y + t * (b.y - a.y)))};
  }
  return {static_cast<int32_t>(std::llround(a.x + t * (b.x - a.x))), edge};
}

Ring ClipSide(const Ring& ring, Side side, int32_t edge) {
  Ring out;
  if (ring.empty()) return out;
  QuantizedPoint previous = ring.back();
  for (const QuantizedPoint& point : ring) {
    const bool in = Inside(point, side, edge);
    const bool wasIn = Inside(previous, side, edge);
    if (in != wasIn) out.push_back(Crossing(previous, point, side, edge));
    if (in) out.push_back(point);
    previous = point;
  }
  return out;
}

Ring WithoutRepeats(const Ring& ring) {
  Ring out;
  for (const QuantizedPoint& point : ring) {
    if (out.empty() || !(out.back() == point)) out.push_back(point);
  }
  while (out.size() > 1 && out.front() == out.back()) out.pop_back();
  return out;
}

int32_t GridX(const navmap::Quantization& grid, double lonDeg) {
  return static_cast<int32_t>(std::llround((lonDeg - grid.lonOriginDeg) / grid.lonStepDeg));
}
int32_t GridY(const navmap::Quantization& grid, double latDeg) {
  return static_cast<int32_t>(std::llround((latDeg - grid.latOriginDeg) / grid.latStepDeg));
}

}  // namespace

Ring ClipRing(const Ring& ring, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  Ring open = WithoutRepeats(ring);
  open = ClipSide(open, Side::Left, x0);
  open = ClipSide(open, Side::Right, x1);
  open = ClipSide(open, Side::Bottom, y0);
  open = ClipSide(open, Side::Top, y1);
  open = WithoutRepeats(open);
  if (open.size() < 3) return {};
  return open;
}

std::vector<Ring> CutIntoTiles(const std::vector<Ring>& rings, const navmap::Quantization& grid,
                               double tileDeg) {
  std::vector<Ring> pieces;
  for (const Ring& ring : rings) {
    if (tileDeg <= 0) {
      Ring open = WithoutRepeats(ring);
      if (open.size() >= 3) pieces.push_back(std::move(open));
      continue;
    }
    int32_t minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
    for (const QuantizedPoint& p : ring) {
      minX = std::min(minX, p.x);
      maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y);
      maxY = std::max(maxY, p.y);
    }
    for (double westDeg = -180; westDeg < 180; westDeg += tileDeg) {
      const int32_t x0 = GridX(grid, westDeg);
      const int32_t x1 = GridX(grid, westDeg + tileDeg);
      if (x1 < minX || x0 > maxX) continue;
      for (double southDeg = -90; southDeg < 90; southDeg += tileDeg) {
        const int32_t y0 = GridY(grid, southDeg);
        const int32_t y1 = GridY(grid, southDeg + tileDeg);
        if (y1 < minY || y0 > maxY) continue;
        Ring piece = ClipRing(ring, x0, y0, x1, y1);
        if (!piece.empty()) pieces.push_back(std::move(piece));
      }
    }
  }
  return pieces;
}

}  // namespace coastline_tool
