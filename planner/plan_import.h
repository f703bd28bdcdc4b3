// Import of foreign flight plans: Flight Shop plans (".fsp") and the
// simulator's own FS200X plans (".pln"), read into the plan record and the
// staging table, then turned into plan rows by looking the waypoints up in
// the navaid database.
#pragma once

#include <filesystem>
#include <string_view>

#include "navdb/database.h"
#include "navdb/ui_callbacks.h"
#include "planner/flight_plan.h"

namespace planner {

enum class ForeignPlanForm { FlightShop = 0, Fs200x = 1 };

// Clears the plan and the staging table and reads a foreign plan's bytes;
// `fileName` gives the plan name (up to its first ".").
void ParseForeignPlan(PlannerState& state, std::string_view bytes, std::string_view fileName,
                      ForeignPlanForm form);

// Reads the file at `path`; false (after "Cannot open the file.") when it
// cannot be read, leaving the plan as it was.
bool ParseForeignPlanFile(PlannerState& state, const std::filesystem::path& path,
                          ForeignPlanForm form, const navdb::UiCallbacks& ui);

// The form that goes with a file's extension ("fsp" or "pln", letter case
// ignored); nothing for any other.
std::optional<ForeignPlanForm> ForeignFormOf(const std::filesystem::path& path);

// Builds the plan rows from the staged Flight Shop waypoints; a waypoint
// missing from the database is asked about and may be picked by hand.
void ImportFlightShopWaypoints(PlannerState& state, const navdb::Database& db,
                               const navdb::UiCallbacks& ui);

// Builds the plan rows from the staged FS200X waypoints; a waypoint missing
// from the database keeps its own coordinates.
void ImportFs200xWaypoints(PlannerState& state, const navdb::Database& db);

}  // namespace planner
