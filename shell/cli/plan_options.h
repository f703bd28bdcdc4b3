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
#include "platform/result.h"
#include "shell/cli/cli_ui.h"
#include "shell/cli/commands.h"
#include "shell/cli/options.h"

namespace cli {

// The front end of the plan commands: --yes answers Yes/No questions.
CliAnswers PlanAnswers(const Options& options);
CliUi PlanUi(CliContext& context, const Options& options);

navdb::Database LoadedDatabase(CliContext& context, const navdb::Reporter& ui);

// The performance options given; fails naming the option and its range
// when a value does not fit its column.
platform::Status ReadPerformanceOptions(const Options& options,
                                        planner::AircraftPerformance& performance);
// A climb rate without a cruise altitude (given or loaded) is refused, as
// the climb would have no top.
platform::Status CheckClimbHasCruiseAltitude(const planner::AircraftPerformance& performance);

// A plan holding a row that is not in the row layout cannot have its legs
// computed: tells which row on the terminal and returns false.
bool CheckLegsComputed(CliContext& context, const planner::PlannerState& state);

// Fails when a name given with --name (a plan) or --perf (an aircraft)
// cannot name a file in FlightPlans (planner::CheckFileName).
platform::Status CheckNameOptions(const Options& options);

// "D,R" of --sid-star into the plan and the dialog's fields.
platform::Status ReadSidStar(std::string_view text, planner::PlannerState& state);

// The first database line of `kind` whose identifier is `id`.
std::optional<planner::WaypointPick> FindNavaid(const navdb::Database& db, navdb::NavaidKind kind,
                                                std::string id);
// KIND:ID with KIND ndb, vor, apt or int; `option` names the option in
// the failure's text.
platform::Result<planner::WaypointPick> FindNamedNavaid(const navdb::Database& db,
                                                        std::string_view option,
                                                        const std::string& text);

// ICAO[/RUNWAY] split at the slash.
struct AirportChoice {
  std::string icao;
  std::string runway;  // empty: the first runway
};
AirportChoice SplitAirportChoice(const std::string& text);

// Succeeds when the runway list of an end shows the wanted runway (the
// first entry that begins with it is selected); fails listing the
// airport's runways otherwise.
platform::Status CheckRunway(const planner::RunwayChoice& runway, const AirportChoice& choice);
// Selects the first entry that begins with `choice.runway`, as a pick in
// the drop-down list does; fails listing the runways when none does.
platform::Status SelectRunway(planner::RunwayChoice& runway, const AirportChoice& choice);

}  // namespace cli
