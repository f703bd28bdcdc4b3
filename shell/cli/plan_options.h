// What the plan commands of skat-cli share: navaids named KIND:ID, runway
// choices, performance options and the scripted answers to the planner's
// questions.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "navdb/database.h"
#include "navdb/reporter.h"
#include "planner/flight_plan.h"
#include "planner/plan_reporter.h"
#include "shell/cli/cli_ui.h"
#include "shell/cli/commands.h"
#include "shell/cli/options.h"

namespace cli {

// Questions are answered Yes only with --yes; no status lines.
// The front end of the plan commands: --yes answers Yes/No questions.
CliAnswers PlanAnswers(const Options& options);
CliUi PlanUi(CliContext& context, const Options& options);

navdb::Database LoadedDatabase(CliContext& context, const navdb::Reporter& ui);

// The performance options given; "--climb-rate" without a cruise altitude
// (given or loaded) is refused, as the climb would have no top.
bool ReadPerformanceOptions(const Options& options, planner::AircraftPerformance& performance,
                            std::string& problem);
bool CheckClimbHasCruiseAltitude(const planner::AircraftPerformance& performance,
                                 std::string& problem);

// Why a name given with --name (a plan) or --perf (an aircraft) cannot
// name a file in FlightPlans (planner::FileNameProblem); empty when none.
std::string NameOptionsProblem(const Options& options);

// "D,R" of --sid-star into the plan and the dialog's fields.
bool ReadSidStar(std::string_view text, planner::PlannerState& state, std::string& problem);

// The first database line of `kind` whose identifier is `id`.
std::optional<planner::WaypointPick> FindNavaid(const navdb::Database& db, navdb::NavaidKind kind,
                                                std::string id);
// KIND:ID with KIND ndb, vor, apt or int; `option` names the option in the problem text.
std::optional<planner::WaypointPick> FindNamedNavaid(const navdb::Database& db,
                                                     std::string_view option,
                                                     const std::string& text, std::string& problem);

// ICAO[/RUNWAY] split at the slash.
struct AirportChoice {
  std::string icao;
  std::string runway;  // empty: the first runway
};
AirportChoice SplitAirportChoice(const std::string& text);

// True when the runway list of an end shows the wanted runway (the first
// entry that begins with it is selected); otherwise `problem` lists the
// airport's runways.
bool CheckRunway(const planner::RunwayChoice& runway, const AirportChoice& choice,
                 std::string& problem);
// Selects the first entry that begins with `choice.runway`, as a pick in
// the drop-down list does; false (with the list in `problem`) when none does.
bool SelectRunway(planner::RunwayChoice& runway, const AirportChoice& choice, std::string& problem);

}  // namespace cli
