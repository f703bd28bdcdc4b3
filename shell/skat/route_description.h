// The route of a plan told in words, for those who cannot see the route
// picture: how many waypoints, where it starts and ends, and how far.
#pragma once

#include <string>
#include <vector>

#include "planner/plan_row.h"

// "Route of 3 waypoints from LFPO to LFOB, total 187.4 NM" (Windows-1252).
// The points the planner places (TOC, TOD, the runway turns) are no
// waypoints of their own; the distance is the last row's, once the legs are
// computed; rows the picture leaves out are counted apart.
std::string RouteDescription(const std::vector<planner::PlanRow>& rows);
