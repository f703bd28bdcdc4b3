// The one place where the map meets the planner's plan: the rows of the
// Flight Plan dialog, as the leg computation left them, made into the
// map's route.
#pragma once

#include <optional>
#include <string>

#include "map/map_route.h"
#include "planner/flight_plan.h"

namespace navmap {

// Nothing, with `problem` naming the row, when a row is not a plan row or
// the plan has fewer than two.
std::optional<MapRoute> RouteOfPlan(const planner::PlannerState& state, std::string& problem);

}  // namespace navmap
