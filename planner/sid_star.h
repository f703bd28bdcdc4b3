// The SID/STAR generator: the runway list of each end of the plan, the
// chosen runway's heading in the airport row, and the turn points between
// the runway axis and the next (or previous) waypoint.
#pragma once

#include <string>

#include "navdb/entry_list.h"
#include "planner/flight_plan.h"

namespace planner {

// Runs for the airport row `row` at `index` (0 = departure, else the last
// row = arrival). `row` may be changed (the runway's centre as its position,
// the runway heading as its course); the caller puts it back. Returns the
// new row count.
size_t GenerateSidStar(PlannerState& state, const navdb::EntryList& airports, PlanRow& row,
                       size_t index);

// The turn of radius `radiusNm` that begins `distanceNm` out along the
// runway heading from `airport` and ends tangent toward `next`. Positions
// are (latitude, longitude) in degrees.
struct TurnPoints {
  double beginLatDeg, beginLonDeg;
  double endLatDeg, endLonDeg;
};
TurnPoints ComputeTurn(double airportLatDeg, double airportLonDeg, double nextLatDeg,
                       double nextLonDeg, int headingDeg, double distanceNm, double radiusNm);

}  // namespace planner
