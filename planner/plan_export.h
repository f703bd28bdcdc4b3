// Plans for other simulators: a loaded ND plan written as FlightGear's
// route-manager XML, an X-Plane 11 FMS file or a GPX 1.1 route. Each row
// becomes a point of the route; a row that is not a plan row (not in the
// row layout, or off the globe) stops the export, so that no simulator is
// handed a route with a wrong point.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "planner/flight_plan.h"
#include "platform/result.h"

namespace planner {

enum class ExportFormat { FlightGear, XPlaneFms, Gpx };

// "fgfs", "fms" or "gpx".
std::optional<ExportFormat> ExportFormatNamed(std::string_view name);

enum class ExportPointKind { Airport, Ndb, Vor, Ils, Intersection, Generated };

// One plan row as a position. Texts are UTF-8.
struct ExportPoint {
  ExportPointKind kind = ExportPointKind::Generated;
  std::string code;         // the row kind without blanks: "APT", "VOR", "TOC", ...
  std::string identifier;   // the navaid's identifier; the code for a generated point
  std::string name;         // the navaid's name, or the caption without its parentheses
  double latitudeDeg = 0;   // north positive
  double longitudeDeg = 0;  // east positive, -180 up to (not including) 180
  int altitudeFt = 0;       // planned altitude; the elevation on an airport row
};

// The plan as the exporters see it.
struct ExportRoute {
  std::string planName;  // UTF-8
  std::vector<ExportPoint> points;
  bool departsFromAirport = false;  // the first point is the departure airport
  bool arrivesAtAirport = false;    // the last point is the arrival airport
  std::string departureRunway;      // "09L"; empty when the plan names none
  std::string arrivalRunway;
  int cruiseAltitudeFt = 0;
  std::string cruiseSpeed;  // as the plan holds it: knots, or a Mach number below 5
  int totalMinutes = 0;     // the arrival row's time, rounded to minutes; 0 when not computed
};

// The dialog rows of `state` as a route. Fails, naming the row (counted
// from 0, as the edit commands count), when a row is not a plan row, or
// when the plan has fewer than two rows.
platform::Result<ExportRoute> BuildExportRoute(const PlannerState& state);

std::string EncodeFlightGearRoute(const ExportRoute& route);
// `airacCycle` is the four-digit cycle the CYCLE line carries (YYNN).
std::string EncodeXPlaneFms(const ExportRoute& route, int airacCycle);
std::string EncodeGpxRoute(const ExportRoute& route);

// The AIRAC cycle in force on a date, as YYNN (2001 began on 2 January 2020;
// a cycle lasts 28 days and is numbered within the year it begins in).
int AiracCycleOn(int year, unsigned month, unsigned day);
// The cycle in force today (UTC).
int CurrentAiracCycle();

struct ExportOptions {
  int airacCycle = 0;  // 0: the cycle in force today
};

// Exports the plan in `format` and writes it to `path` atomically: the old
// file, if any, stays whole until the new one is complete. Fails saying
// what went wrong ("cannot export the plan: ...", "cannot write ...").
platform::Status ExportPlanFile(const PlannerState& state, ExportFormat format,
                                const std::filesystem::path& path,
                                const ExportOptions& options = {});

}  // namespace planner
