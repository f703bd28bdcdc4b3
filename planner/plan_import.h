// Import of foreign flight plans: Flight Shop plans (".fsp") and the
// simulator's own FS200X plans (".pln"), read into the plan record and the
// staging table, then turned into plan rows by looking the waypoints up in
// the navaid database.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "navdb/database.h"
#include "planner/flight_plan.h"
#include "planner/number_ranges.h"
#include "planner/plan_reporter.h"
#include "platform/result.h"

namespace planner {

enum class ForeignPlanForm { FlightShop = 0, Fs200x = 1 };

inline constexpr size_t kMaxFs200xCruiseAltitudeFt = kCruiseAltitudeRange.max;

// Why a foreign plan is refused; the plan is left as it was.
inline constexpr std::string_view kNotFlightShopText =
    "The file is not a Flight Shop flight plan: no waypoint can be read from it.";
inline constexpr std::string_view kNotFs200xText =
    "The file is not an FS200X flight plan: no waypoint can be read from it.";
inline constexpr std::string_view kCruiseAltitudeRangeText =
    "The cruising altitude of the flight plan is outside 0 to 99,999 ft.";
inline constexpr std::string_view kWaypointOffGlobeText =
    "A waypoint of the flight plan lies off the globe: its latitude is beyond 90 degrees or its "
    "longitude beyond 180.";

// Reads a foreign plan's bytes into the plan and the staging table, which
// are cleared first; `fileName` gives the plan name (up to its first ".").
// A refused plan fails with the refusal and leaves both as they were. A plan
// with more waypoints than a plan can hold is refused (CheckPlanRowCount),
// never cut.
platform::Status ParseForeignPlan(PlannerState& state, std::string_view bytes,
                                  std::string_view fileName, ForeignPlanForm form);

// Reads the file at `path`; false (after "Cannot open the file." or the
// reason of a refusal) when it cannot be read or is refused, leaving the
// plan as it was.
bool ParseForeignPlanFile(PlannerState& state, const std::filesystem::path& path,
                          ForeignPlanForm form, const navdb::Reporter& ui);

// The form that goes with a file's extension ("fsp" or "pln", letter case
// ignored); nothing for any other.
std::optional<ForeignPlanForm> ForeignFormOf(const std::filesystem::path& path);

// Builds the plan rows from the staged Flight Shop waypoints; a waypoint
// missing from the database is asked about and may be picked by hand.
void ImportFlightShopWaypoints(PlannerState& state, const navdb::Database& db,
                               const PlanReporter& ui);

// Builds the plan rows from the staged FS200X waypoints; a waypoint missing
// from the database keeps its own coordinates.
void ImportFs200xWaypoints(PlannerState& state, const navdb::Database& db);

}  // namespace planner
