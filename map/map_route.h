// The route the map draws: its points in order, each with its position,
// identifier and kind, the generated ones (top of climb and descent, the
// runway turns) marked, and the runways at its two ends. The map knows a
// plan only through this; route_adapter.h fills it from the planner.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace navmap {

enum class RoutePointKind {
  Airport,
  Vor,
  Ils,
  Ndb,
  Intersection,
  TopOfClimb,
  TopOfDescent,
  RunwayTurn,
};

struct RoutePoint {
  double latDeg = 0;
  double lonDeg = 0;
  std::string identifier;  // Windows-1252
  RoutePointKind kind = RoutePointKind::Intersection;
  bool generated = false;
};

struct RouteRunway {
  double headingDeg = 0;
  double lengthFt = 0;
  std::string designation;  // "09L"
};

struct MapRoute {
  std::vector<RoutePoint> points;
  // At the first and the last point, when the route starts or ends at an airport.
  std::optional<RouteRunway> departureRunway;
  std::optional<RouteRunway> arrivalRunway;
};

// The route's box with longitudes that run on from its first point without
// a jump at the 180th meridian, so that eastDeg may exceed 180.
struct RouteBox {
  double southDeg = 0;
  double westDeg = 0;
  double northDeg = 0;
  double eastDeg = 0;
};
std::optional<RouteBox> BoxOf(const MapRoute& route);

// The longitudes of the route's points, each taken the short way from the
// one before it.
std::vector<double> ContinuousLongitudes(const MapRoute& route);

}  // namespace navmap
