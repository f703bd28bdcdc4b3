#include "shell/cli/plan_options.h"

#include <algorithm>

#include "planner/performance_file.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"
#include "shell/cli/cli_ui.h"

namespace cli {
namespace {

using navdb::NavaidKind;

bool ReadNumber(const Options& options, const std::string& key, int32_t& value,
                std::string& problem) {
  if (!options.Has(key)) return true;
  const std::string text = options.Get(key);
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
    problem = key + " takes a whole number, not '" + text + "'";
    return false;
  }
  value = planner::ReadLeadingDigits(text);
  return true;
}

std::optional<NavaidKind> KindNamed(const std::string& name) {
  if (name == "ndb") return NavaidKind::Ndb;
  if (name == "vor") return NavaidKind::Vor;
  if (name == "apt") return NavaidKind::Airport;
  if (name == "int") return NavaidKind::Intersection;
  return std::nullopt;
}

std::string RunwayList(const planner::RunwayChoice& runway) {
  if (runway.entries.empty()) return "none in the database";
  std::string list;
  for (const std::string& entry : runway.entries) list += (list.empty() ? "" : ", ") + entry;
  return list;
}

std::string UnknownRunwayText(const planner::RunwayChoice& runway, const AirportChoice& choice) {
  return "airport " + choice.icao + " has no runway '" + choice.runway + "'; its runways are " +
         RunwayList(runway);
}

std::optional<size_t> RunwayEntryFor(const planner::RunwayChoice& runway,
                                     const std::string& wanted) {
  for (size_t i = 0; i < runway.entries.size(); ++i) {
    if (planner::StartsWithNoCase(runway.entries[i], wanted)) return i;
  }
  return std::nullopt;
}

}  // namespace

navdb::UiCallbacks PlanUi(CliContext& context, const Options& options) {
  CliAnswers answers;
  answers.yesNo = options.Has("--yes") ? navdb::MessageAnswer::Yes : navdb::MessageAnswer::No;
  answers.printStatus = false;
  return MakeCliUi(context, answers);
}

navdb::Database LoadedDatabase(CliContext& context, const navdb::UiCallbacks& ui) {
  navdb::Database db;
  db.folder = context.navData;
  navdb::LoadDatabase(db, ui);
  return db;
}

bool ReadPerformanceOptions(const Options& options, planner::AircraftPerformance& p,
                            std::string& problem) {
  if (options.Has("--cruise-speed")) {
    p.cruiseSpeed = std::string(
        platform::Columns(options.Get("--cruise-speed"), 0, planner::kMaxCruiseSpeedChars));
  }
  return ReadNumber(options, "--climb-rate", p.climbRateFpm, problem) &&
         ReadNumber(options, "--climb-speed", p.climbSpeedKt, problem) &&
         ReadNumber(options, "--descent-rate", p.descentRateFpm, problem) &&
         ReadNumber(options, "--descent-speed", p.descentSpeedKt, problem) &&
         ReadNumber(options, "--cruise-altitude", p.cruiseAltitudeFt, problem);
}

bool CheckClimbHasCruiseAltitude(const planner::AircraftPerformance& performance,
                                 std::string& problem) {
  if (performance.climbRateFpm == 0 || performance.cruiseAltitudeFt != 0) return true;
  problem = "a climb rate needs a cruise altitude (--cruise-altitude)";
  return false;
}

bool ReadSidStar(std::string_view text, planner::PlannerState& state, std::string& problem) {
  const size_t comma = text.find(',');
  if (comma == std::string::npos) {
    problem = "--sid-star takes D,R";
    return false;
  }
  state.plan.rotationDistanceNm = platform::ReadDouble(text);
  state.plan.rotationRadiusNm = platform::ReadDouble(text, comma + 1);
  return true;
}

std::optional<navdb::WaypointPick> FindNavaid(const navdb::Database& db, NavaidKind kind,
                                              std::string id) {
  platform::PadTo(id, 7);
  const std::optional<size_t> row = db.List(kind).FindPrefix(id);
  if (!row || db.List(kind).HoldsOnlyPlaceholder()) return std::nullopt;
  return navdb::WaypointPick{kind, *row};
}

std::optional<navdb::WaypointPick> FindNamedNavaid(const navdb::Database& db,
                                                   std::string_view option, const std::string& text,
                                                   std::string& problem) {
  const size_t colon = text.find(':');
  const auto kind = colon == std::string::npos ? std::nullopt : KindNamed(text.substr(0, colon));
  if (!kind) {
    problem =
        std::string(option) + " takes KIND:ID with KIND ndb, vor, apt or int, not '" + text + "'";
    return std::nullopt;
  }
  auto pick = FindNavaid(db, *kind, text.substr(colon + 1));
  if (!pick) problem = text + " is not in the database";
  return pick;
}

AirportChoice SplitAirportChoice(const std::string& text) {
  const size_t slash = text.find('/');
  if (slash == std::string::npos) return {text, ""};
  return {text.substr(0, slash), text.substr(slash + 1)};
}

bool CheckRunway(const planner::RunwayChoice& runway, const AirportChoice& choice,
                 std::string& problem) {
  if (choice.runway.empty()) return true;
  if (planner::StartsWithNoCase(runway.Text(), choice.runway) &&
      RunwayEntryFor(runway, choice.runway)) {
    return true;
  }
  problem = UnknownRunwayText(runway, choice);
  return false;
}

bool SelectRunway(planner::RunwayChoice& runway, const AirportChoice& choice,
                  std::string& problem) {
  if (choice.runway.empty()) return true;
  const std::optional<size_t> entry = RunwayEntryFor(runway, choice.runway);
  if (!entry) {
    problem = UnknownRunwayText(runway, choice);
    return false;
  }
  runway.Select(*entry);
  return true;
}

}  // namespace cli
