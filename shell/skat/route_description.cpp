#include "shell/skat/route_description.h"

#include <algorithm>
#include <cstdio>

#include "platform/text_columns.h"

namespace {

std::string IdentifierOf(const planner::PlanRow& row) {
  return std::string(platform::Trim(row.identifier));
}

std::string Plural(size_t count, const char* singular, const char* plural) {
  return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

// The distance of the whole route, as the list's last computed row shows it.
std::string TotalText(const std::vector<planner::PlanRow>& rows) {
  const auto last = std::find_if(rows.rbegin(), rows.rend(),
                                 [](const planner::PlanRow& row) { return !row.IsVerbatim(); });
  if (last == rows.rend() || !last->distanceTenthsNm) return "distance not computed";
  char text[32];
  std::snprintf(text, sizeof text, "total %lld.%lld NM",
                static_cast<long long>(*last->distanceTenthsNm / 10),
                static_cast<long long>(*last->distanceTenthsNm % 10));
  return text;
}

}  // namespace

std::string RouteDescription(const std::vector<planner::PlanRow>& rows) {
  std::vector<const planner::PlanRow*> waypoints;
  size_t leftOut = 0;
  for (const planner::PlanRow& row : rows) {
    if (row.IsVerbatim()) {
      ++leftOut;
    } else if (!planner::IsGenerated(row.kind)) {
      waypoints.push_back(&row);
    }
  }
  std::string text;
  if (waypoints.empty()) {
    text = "No route: the plan has no waypoints";
  } else if (waypoints.size() == 1) {
    text = "Route of 1 waypoint at " + IdentifierOf(*waypoints.front());
  } else {
    text = "Route of " + std::to_string(waypoints.size()) + " waypoints from " +
           IdentifierOf(*waypoints.front()) + " to " + IdentifierOf(*waypoints.back()) + ", " +
           TotalText(rows);
  }
  if (leftOut > 0) {
    text += "; " + Plural(leftOut, "row", "rows") + " not in the row layout left out";
  }
  return text;
}
