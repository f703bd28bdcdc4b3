// The row operations of the Flight Plan dialog: rows built from database
// lines, Insert and Replace through a waypoint pick, Remove, Move Up and
// Move Dn. Each operation ends with a leg computation.
#pragma once

#include <string>
#include <string_view>

#include "navdb/database.h"
#include "planner/flight_plan.h"
#include "planner/plan_reporter.h"

namespace planner {

// The kind of the rows a list gives (NDB, VOR, airport, intersection).
PlanRowKind RowKindOf(navdb::NavaidKind kind);

// The row of a database line of `kind`, as inserted: identifier and name,
// frequency (or none), latitude, longitude and elevation. A VOR-list line
// of an ILS gives an ILS row unless `keepVorForIls`.
PlanRow BuildPlanRow(navdb::NavaidKind kind, std::string_view line, bool keepVorForIls = false);

// Puts a picked line into the plan at `position` (-1 = at the end). An
// airport picked for position 1 becomes the departure, one picked for the
// last row's position the arrival.
void InsertPickedWaypoint(PlannerState& state, const navdb::Database& db, int position,
                          const WaypointPick& pick);

// The waypoint selection: asks the user for a navaid, inserts it at
// `position`, recomputes. The list selections are cleared for a position
// other than the end, and whenever `request` asks for it.
void RunWaypointSelection(PlannerState& state, const navdb::Database& db, int position,
                          const PlanReporter& ui, WaypointPickRequest request = {});

// Puts an already chosen navaid at `position` (-1 = at the end) by the rules
// of a pick, then recomputes.
void PlaceWaypoint(PlannerState& state, const navdb::Database& db, int position,
                   const WaypointPick& pick);

// Puts a navaid of any kind, airports included, just before the arrival row
// (at the end of an empty plan), then recomputes.
void InsertBeforeArrival(PlannerState& state, const navdb::Database& db, const WaypointPick& pick);

// A new departure airport: Replace on the departure row when the plan starts
// with an airport, else Insert on the first row. Recomputes; the departure
// runway list then holds the new airport's runways.
void ReplaceDeparture(PlannerState& state, const navdb::Database& db, const WaypointPick& pick);
// A new arrival airport: Replace on the last row when the plan ends with an
// airport after its departure, else an airport appended at the end.
void ReplaceArrival(PlannerState& state, const navdb::Database& db, const WaypointPick& pick);

// The dialog's row buttons; they act on `state.dialog.selectedRow`.
void InsertCommand(PlannerState& state, const navdb::Database& db, const PlanReporter& ui);
void ReplaceCommand(PlannerState& state, const navdb::Database& db, const PlanReporter& ui);
void RemoveCommand(PlannerState& state, const navdb::Database& db);
void MoveUpCommand(PlannerState& state, const navdb::Database& db);
void MoveDownCommand(PlannerState& state, const navdb::Database& db);

}  // namespace planner
