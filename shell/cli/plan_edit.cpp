#include "shell/cli/plan_edit.h"

#include <filesystem>
#include <ostream>

#include "planner/leg_computation.h"
#include "planner/performance_file.h"
#include "planner/plan_file.h"
#include "planner/plan_rows.h"
#include "platform/file_io.h"
#include "platform/numbers.h"
#include "shell/cli/plan_options.h"

namespace cli {
namespace {

using navdb::NavaidKind;

// One run of plan edit: the plan, the database and the answers.
struct EditRun {
  CliContext& context;
  const Options& options;
  planner::PlannerState state;
  navdb::Database db;
  const CliUi ui;
};

// A row of the list, counted from 0; "end" (nothing) when `allowEnd`.
platform::Result<std::optional<size_t>> ReadPosition(const EditRun& run, const std::string& option,
                                                     const std::string& text, bool allowEnd) {
  const size_t rowCount = run.state.dialog.rows.size();
  if (allowEnd && text == "end") return std::optional<size_t>();
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
      text.size() > 6 || static_cast<size_t>(platform::ReadLong(text)) >= rowCount) {
    if (rowCount == 0) return platform::Failure(option + ": the plan has no rows");
    return platform::Failure(option + " takes a row from 0 to " + std::to_string(rowCount) +
                             " - 1" + (allowEnd ? " or end" : "") + ", not '" + text + "'");
  }
  return std::optional<size_t>(static_cast<size_t>(platform::ReadLong(text)));
}

// "POS KIND:ID" of --insert and --replace.
platform::Status ApplyPick(EditRun& run, const std::string& option, const std::string& value) {
  const size_t blank = value.find(' ');
  const platform::Result<std::optional<size_t>> row =
      ReadPosition(run, option, value.substr(0, blank), option == "--insert");
  if (!row) return row.error();
  const platform::Result<planner::WaypointPick> pick =
      FindNamedNavaid(run.db, option, value.substr(blank + 1));
  if (!pick) return pick.error();
  run.state.dialog.selectedRow = *row;
  if (option == "--insert") {
    planner::InsertCommand(run.state, run.db, planner::ChosenPick(*pick));
  } else {
    planner::ReplaceCommand(run.state, run.db, planner::ChosenPick(*pick));
  }
  return {};
}

platform::Status ApplyMove(EditRun& run, const std::string& value) {
  const size_t blank = value.find(' ');
  const std::string direction = value.substr(blank + 1);
  if (direction != "up" && direction != "down") {
    return platform::Failure("--move takes POS up|down, not '" + value + "'");
  }
  const platform::Result<std::optional<size_t>> row =
      ReadPosition(run, "--move", value.substr(0, blank), false);
  if (!row) return row.error();
  run.state.dialog.selectedRow = *row;
  if (direction == "up") {
    planner::MoveUpCommand(run.state, run.db);
  } else {
    planner::MoveDownCommand(run.state, run.db);
  }
  return {};
}

platform::Status ApplyEnd(EditRun& run, const std::string& value, bool departure) {
  const AirportChoice choice = SplitAirportChoice(value);
  const auto pick = FindNavaid(run.db, NavaidKind::Airport, choice.icao);
  if (!pick) return platform::Failure("airport " + choice.icao + " is not in the database");
  if (departure) {
    planner::ReplaceDeparture(run.state, run.db, *pick);
  } else {
    planner::ReplaceArrival(run.state, run.db, *pick);
  }
  planner::RunwayChoice& runway =
      departure ? run.state.dialog.departureRunway : run.state.dialog.arrivalRunway;
  if (platform::Status selected = SelectRunway(runway, choice); !selected) return selected;
  planner::ComputeLegs(run.state, run.db.List(NavaidKind::Airport));
  return {};
}

platform::Status ApplyPerformance(EditRun& run, const ParsedOption& option) {
  planner::PlannerState& state = run.state;
  if (option.key == "--perf") {
    const auto path = planner::PerformanceFilePath(state, option.value);
    if (!planner::LoadPerformanceFile(state, path, run.ui)) {
      return platform::Failure("cannot load the performance file " + path.string());
    }
  } else {
    Options one;
    one.given.push_back(option);
    if (platform::Status read = ReadPerformanceOptions(one, state.plan.performance); !read) {
      return read;
    }
  }
  planner::ComputeLegs(state, run.db.List(NavaidKind::Airport));
  return {};
}

platform::Status ApplySidStar(EditRun& run, const ParsedOption& option) {
  planner::PlannerState& state = run.state;
  if (option.key == "--no-sid-star") {
    state.dialog.sidStarEnabled = false;
  } else {
    if (platform::Status read = ReadSidStar(option.value, state); !read) return read;
    state.dialog.sidStarEnabled = true;
    state.dialog.rotationDistanceText = planner::TenthsText(state.plan.rotationDistanceNm);
    state.dialog.rotationRadiusText = planner::TenthsText(state.plan.rotationRadiusNm);
  }
  planner::ComputeLegs(state, run.db.List(NavaidKind::Airport));
  return {};
}

platform::Status ApplyOption(EditRun& run, const ParsedOption& option) {
  const std::string& key = option.key;
  if (key == "--insert" || key == "--replace") return ApplyPick(run, key, option.value);
  if (key == "--move") return ApplyMove(run, option.value);
  if (key == "--remove") {
    const platform::Result<std::optional<size_t>> row = ReadPosition(run, key, option.value, false);
    if (!row) return row.error();
    run.state.dialog.selectedRow = *row;
    planner::RemoveCommand(run.state, run.db);
    return {};
  }
  if (key == "--departure" || key == "--arrival")
    return ApplyEnd(run, option.value, key == "--departure");
  if (key == "--sid-star" || key == "--no-sid-star") return ApplySidStar(run, option);
  if (key == "--name") {
    run.state.plan.planName = option.value;
    return {};
  }
  if (key == "--yes") return {};
  if (key == "--perf" || key == "--climb-rate" || key == "--climb-speed" ||
      key == "--descent-rate" || key == "--descent-speed" || key == "--cruise-altitude" ||
      key == "--cruise-speed") {
    return ApplyPerformance(run, option);
  }
  return platform::Failure("plan edit does not take " + key);
}

// Writes the edited plan: back over FILE, or with --name as the dialog's
// Save does. The turn question comes first either way.
int SaveEdited(EditRun& run, const std::filesystem::path& file) {
  if (run.options.Has("--name")) {
    if (!planner::SaveFlightPlan(run.state, run.ui)) return kExitFailure;
    run.context.out << planner::PlanFilePath(run.state, run.state.plan.planName).string() << '\n';
    return kExitOk;
  }
  if (!planner::ConfirmRotationWarning(run.state, run.ui) ||
      !planner::CheckPlanSize(run.state, run.ui)) {
    return kExitFailure;
  }
  const platform::Status written =
      platform::ReplaceFileAtomically(file, planner::EncodePlanFile(run.state));
  if (!written.ok()) {
    run.context.err << "skat-cli: cannot write " << file.string() << ": " << written.error().message
                    << '\n';
    return kExitFailure;
  }
  run.context.out << file.string() << '\n';
  return kExitOk;
}

}  // namespace

int PlanEdit(CliContext& context, const Options& options, const CliCommand& command) {
  if (options.positional.size() != 1)
    return UsageError(context, command, "plan edit takes one FILE");
  EditRun run{context, options, {}, {}, PlanUi(context, options)};
  run.state.navDataFolder = context.navData;
  const std::filesystem::path file = options.positional[0];
  if (!planner::LoadFlightPlan(run.state, file, run.ui)) return kExitFailure;
  run.db = LoadedDatabase(context, run.ui);
  planner::RecomputeOpenedPlan(run.state, run.db.List(NavaidKind::Airport));
  for (const ParsedOption& option : options.given) {
    if (const platform::Status applied = ApplyOption(run, option); !applied) {
      return UsageError(context, command, applied.error().message);
    }
  }
  if (const platform::Status climb = CheckClimbHasCruiseAltitude(run.state.plan.performance);
      !climb) {
    return UsageError(context, command, climb.error().message);
  }
  planner::ComputeLegs(run.state, run.db.List(NavaidKind::Airport));
  // The file stays as it was rather than take rows whose legs are not computed.
  if (!CheckLegsComputed(context, run.state)) return kExitFailure;
  return SaveEdited(run, file);
}

}  // namespace cli
