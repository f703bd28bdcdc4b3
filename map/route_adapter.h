// The one place where the map meets the planner's plan: the rows of the
// Flight Plan dialog, as the leg computation left them, made into the
// map's route.
#pragma once

#include "map/map_route.h"
#include "planner/flight_plan.h"
#include "platform/result.h"

namespace navmap {

// Fails, naming the row, when a row is not a plan row, or when the plan has
// fewer than two.
platform::Result<MapRoute> RouteOfPlan(const planner::PlannerState& state);

}  // namespace navmap
