#include "map/map_route.h"

#include <algorithm>
#include <cmath>

namespace navmap {

std::vector<double> ContinuousLongitudes(const MapRoute& route) {
  std::vector<double> longitudes;
  longitudes.reserve(route.points.size());
  for (const RoutePoint& point : route.points) {
    if (longitudes.empty()) {
      longitudes.push_back(point.lonDeg);
      continue;
    }
    const double previous = longitudes.back();
    longitudes.push_back(previous + std::remainder(point.lonDeg - previous, 360.0));
  }
  return longitudes;
}

std::optional<RouteBox> BoxOf(const MapRoute& route) {
  if (route.points.empty()) return std::nullopt;
  const std::vector<double> longitudes = ContinuousLongitudes(route);
  RouteBox box{route.points[0].latDeg, longitudes[0], route.points[0].latDeg, longitudes[0]};
  for (size_t i = 0; i < route.points.size(); ++i) {
    box.southDeg = std::min(box.southDeg, route.points[i].latDeg);
    box.northDeg = std::max(box.northDeg, route.points[i].latDeg);
    box.westDeg = std::min(box.westDeg, longitudes[i]);
    box.eastDeg = std::max(box.eastDeg, longitudes[i]);
  }
  // Whole turns off so that the west edge lies within -180 to 180.
  const double turnDeg = 360 * std::floor((box.westDeg + 180) / 360);
  box.westDeg -= turnDeg;
  box.eastDeg -= turnDeg;
  return box;
}

}  // namespace navmap
