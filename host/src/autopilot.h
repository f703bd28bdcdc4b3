// "Follow the plan": steers the stand-in aircraft from route point to route
// point of an ND plan, turning at the standard rate and climbing or
// descending so as to reach each point's altitude, within the plan's climb
// and descent rates.
#pragma once

#include <string>
#include <vector>

#include "flight_model.h"

namespace ndhost {

struct RoutePoint {
  GeoPoint position;
  double altitudeFt = 0;
  std::string label;  // the identifier columns of the row
};

struct PlanRoute {
  std::vector<RoutePoint> points;
  double climbRateFpm = kDefaultVerticalRateFpm;
  double descentRateFpm = 1000;
};

// Route points and rates of an ND plan text, read as the planner reads a
// plan file; rows not in the row layout and rows without an altitude are
// left out, rates of 0 keep the defaults.
PlanRoute ReadPlanRoute(const std::string& planText);

class Autopilot {
 public:
  explicit Autopilot(PlanRoute route) : route_(std::move(route)) {}
  bool Empty() const { return route_.points.empty(); }
  const PlanRoute& Route() const { return route_; }
  // Index of the point flown to; Route().points.size() once all are passed.
  size_t NextPoint() const { return next_; }
  bool Finished() const { return next_ >= route_.points.size(); }

  // Puts the aircraft on the first point, at its altitude, heading for the second.
  void PlaceAtStart(FlightState& flight, const Wind& wind);
  // Sets the selected heading, altitude and vertical rate toward the next
  // point, passing on to the point after it when the turn must begin.
  void Steer(FlightState& flight, const Wind& wind);

 private:
  PlanRoute route_;
  size_t next_ = 1;
};

// The heading that holds `trackDeg` against the wind at `airspeedKt`.
double HeadingForTrack(double trackDeg, double airspeedKt, const Wind& wind);

}  // namespace ndhost
