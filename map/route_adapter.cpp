#include "map/route_adapter.h"

#include "planner/plan_export.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"
#include "platform/win1252.h"

namespace navmap {
namespace {

using planner::ExportPointKind;

RoutePointKind KindOf(const planner::ExportPoint& point) {
  switch (point.kind) {
    case ExportPointKind::Airport:
      return RoutePointKind::Airport;
    case ExportPointKind::Ndb:
      return RoutePointKind::Ndb;
    case ExportPointKind::Vor:
      return RoutePointKind::Vor;
    case ExportPointKind::Ils:
      return RoutePointKind::Ils;
    case ExportPointKind::Intersection:
      return RoutePointKind::Intersection;
    case ExportPointKind::Generated:
      break;
  }
  if (point.code == "TOC") return RoutePointKind::TopOfClimb;
  if (point.code == "TOD") return RoutePointKind::TopOfDescent;
  return RoutePointKind::RunwayTurn;
}

// The runway the dialog shows for one end ("09L/087/11000"); nothing when
// it names no length.
std::optional<RouteRunway> RunwayOf(const planner::RunwayChoice& choice) {
  const planner::RunwayParts parts = planner::SplitRunwayText(choice.Text());
  const double lengthFt = platform::ReadDouble(parts.lengthFt);
  if (!(lengthFt > 0)) return std::nullopt;
  return RouteRunway{static_cast<double>(parts.headingDeg), lengthFt,
                     std::string(platform::Trim(parts.number))};
}

}  // namespace

platform::Result<MapRoute> RouteOfPlan(const planner::PlannerState& state) {
  platform::Result<planner::ExportRoute> exported = planner::BuildExportRoute(state);
  if (!exported) return exported.error();
  MapRoute route;
  for (const planner::ExportPoint& point : exported->points) {
    route.points.push_back({point.latitudeDeg, point.longitudeDeg,
                            platform::Utf8ToWin1252(point.identifier), KindOf(point),
                            point.kind == ExportPointKind::Generated});
  }
  if (exported->departsFromAirport) route.departureRunway = RunwayOf(state.dialog.departureRunway);
  if (exported->arrivesAtAirport) route.arrivalRunway = RunwayOf(state.dialog.arrivalRunway);
  return route;
}

}  // namespace navmap
