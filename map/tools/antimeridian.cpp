#include "map/tools/antimeridian.h"

#include <cmath>

namespace coastline_tool {
namespace {

using navmap::QuantizedPoint;

// Within half a grid step of the meridian or the pole's line.
constexpr double kOnLineDeg = 1e-3;
constexpr double kSouthPoleLineDeg = -89.99;

struct Grid {
  const navmap::Quantization& q;
  double Lon(QuantizedPoint p) const { return p.x * q.lonStepDeg + q.lonOriginDeg; }
  double Lat(QuantizedPoint p) const { return p.y * q.latStepDeg + q.latOriginDeg; }
  QuantizedPoint At(double lonDeg, double latDeg) const {
    return {static_cast<int32_t>(std::llround((lonDeg - q.lonOriginDeg) / q.lonStepDeg)),
            static_cast<int32_t>(std::llround((latDeg - q.latOriginDeg) / q.latStepDeg))};
  }
};

bool Crosses(const Grid& grid, QuantizedPoint a, QuantizedPoint b) {
  return std::fabs(grid.Lon(b) - grid.Lon(a)) > 180;
}

// The two points of a crossing: on a's side of the meridian, then on b's.
std::pair<QuantizedPoint, QuantizedPoint> CrossingPoints(const Grid& grid, QuantizedPoint a,
                                                         QuantizedPoint b) {
  const double lonA = grid.Lon(a);
  const bool eastward = lonA > 0;  // a lies east, so the line leaves over +180
  const double sideDeg = eastward ? 180 : -180;
  const double lonB = grid.Lon(b) + (eastward ? 360 : -360);
  const double t = lonB == lonA ? 0 : (sideDeg - lonA) / (lonB - lonA);
  const double latDeg = grid.Lat(a) + t * (grid.Lat(b) - grid.Lat(a));
  return {grid.At(sideDeg, latDeg), grid.At(-sideDeg, latDeg)};
}

bool OnMeridian(const Grid& grid, QuantizedPoint p) {
  return std::fabs(std::fabs(grid.Lon(p)) - 180) < kOnLineDeg;
}

// An edge that only closes an area: along the meridian or the south pole's line.
bool ClosingEdge(const Grid& grid, QuantizedPoint a, QuantizedPoint b) {
  if (OnMeridian(grid, a) && OnMeridian(grid, b) && (grid.Lon(a) > 0) == (grid.Lon(b) > 0)) {
    return true;
  }
  return grid.Lat(a) < kSouthPoleLineDeg && grid.Lat(b) < kSouthPoleLineDeg;
}

void Keep(std::vector<Ring>& parts, Ring& part, size_t minPoints) {
  if (part.size() >= minPoints) parts.push_back(std::move(part));
  part.clear();
}

}  // namespace

std::vector<Ring> SplitLineAtAntimeridian(const Ring& line,
                                          const navmap::Quantization& quantization) {
  const Grid grid{quantization};
  std::vector<Ring> parts;
  Ring part;
  for (size_t i = 0; i < line.size(); ++i) {
    const QuantizedPoint point = line[i];
    if (part.empty()) {
      part.push_back(point);
      continue;
    }
    const QuantizedPoint previous = line[i - 1];
    if (ClosingEdge(grid, previous, point)) {
      Keep(parts, part, 2);
      part.push_back(point);
    } else if (Crosses(grid, previous, point)) {
      const auto [leaving, arriving] = CrossingPoints(grid, previous, point);
      part.push_back(leaving);
      Keep(parts, part, 2);
      part = {arriving, point};
    } else if (!(point == part.back())) {
      part.push_back(point);
    }
  }
  Keep(parts, part, 2);
  return parts;
}

std::vector<Ring> SplitRingAtAntimeridian(const Ring& ring,
                                          const navmap::Quantization& quantization) {
  const Grid grid{quantization};
  Ring open = ring;
  if (open.size() > 1 && open.front() == open.back()) open.pop_back();
  size_t firstCrossing = open.size();
  for (size_t i = 0; i < open.size(); ++i) {
    if (Crosses(grid, open[i], open[(i + 1) % open.size()])) {
      firstCrossing = i;
      break;
    }
  }
  if (firstCrossing == open.size()) return {open};

  // Walk once round, starting just after the first crossing: every piece
  // then begins and ends on the meridian.
  std::vector<Ring> pieces;
  Ring piece;
  for (size_t step = 0; step < open.size(); ++step) {
    const size_t i = (firstCrossing + 1 + step) % open.size();
    const QuantizedPoint point = open[i];
    const QuantizedPoint next = open[(i + 1) % open.size()];
    if (piece.empty()) piece.push_back(CrossingPoints(grid, open[firstCrossing], point).second);
    piece.push_back(point);
    if (!Crosses(grid, point, next)) continue;
    const auto [leaving, arriving] = CrossingPoints(grid, point, next);
    piece.push_back(leaving);
    // Left on the other side from where it came in: round a pole.
    if ((grid.Lon(piece.front()) > 0) != (grid.Lon(leaving) > 0)) {
      double latSum = 0;
      for (const QuantizedPoint& p : piece) latSum += grid.Lat(p);
      const double poleDeg = latSum < 0 ? -90 : 90;
      piece.push_back(grid.At(grid.Lon(leaving), poleDeg));
      piece.push_back(grid.At(grid.Lon(piece.front()), poleDeg));
    }
    Keep(pieces, piece, 3);
    if (i != firstCrossing) piece.push_back(arriving);
  }
  Keep(pieces, piece, 3);
  return pieces;
}

}  // namespace coastline_tool
