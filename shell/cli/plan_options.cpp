#include "shell/cli/plan_options.h"

#include <algorithm>
#include <ostream>

#include "planner/number_ranges.h"
#include "planner/performance_file.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"
#include "shell/cli/cli_ui.h"

namespace cli {
namespace {

using navdb::NavaidKind;

// A whole number within the range its column holds. Digits only: no sign,
// no exponent, nothing that is not finite.
platform::Status ReadNumber(const Options& options, const std::string& key,
                            const planner::WholeRange& range, int32_t& value) {
  if (!options.Has(key)) return {};
  const std::string text = options.Get(key);
  const bool digitsOnly =
      !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
  // Leading zeros aside, more digits than the widest value is out of range
  // before any integer could overflow.
  const std::string_view significant =
      std::string_view(text).substr(std::min(text.find_first_not_of('0'), text.size()));
  const long number =
      digitsOnly && significant.size() <= range.digits ? platform::ReadLong(text) : -1;
  if (number < range.min || number > range.max) {
    return platform::Failure(key + " takes a whole number from " + std::to_string(range.min) +
                             " to " + std::to_string(range.max) + " (" + std::string(range.unit) +
                             "), not '" + text + "'");
  }
  value = static_cast<int32_t>(number);
  return {};
}

// Digits with at most one decimal point: no sign, no exponent, and so
// nothing that is not finite.
bool IsPlainDecimal(std::string_view text) {
  const auto digits =
      std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  const auto points = std::count(text.begin(), text.end(), '.');
  return digits > 0 && points <= 1 && static_cast<size_t>(digits + points) == text.size();
}

// Knots or a Mach number, as the dialog's four-character field holds it.
bool IsCruiseSpeedText(std::string_view text) {
  return text.size() <= planner::kMaxCruiseSpeedChars && IsPlainDecimal(text);
}

// A rotation distance or radius within the generator's range.
std::optional<double> RotationValue(std::string_view text) {
  if (!IsPlainDecimal(text)) return std::nullopt;
  const double valueNm = platform::ReadDouble(text);
  if (!(valueNm >= planner::kMinRotationNm && valueNm <= planner::kMaxRotationNm)) {
    return std::nullopt;
  }
  return valueNm;
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

CliAnswers PlanAnswers(const Options& options) {
  CliAnswers answers;
  answers.yesNo = options.Has("--yes") ? navdb::MessageAnswer::Yes : navdb::MessageAnswer::No;
  answers.printStatus = false;
  return answers;
}

CliUi PlanUi(CliContext& context, const Options& options) {
  return CliUi(context, PlanAnswers(options));
}

navdb::Database LoadedDatabase(CliContext& context, const navdb::Reporter& ui) {
  navdb::Database db;
  db.folder = context.navData;
  navdb::LoadDatabase(db, ui);
  return db;
}

platform::Status ReadPerformanceOptions(const Options& options, planner::AircraftPerformance& p) {
  if (options.Has("--cruise-speed")) {
    const std::string text = options.Get("--cruise-speed");
    if (!IsCruiseSpeedText(text)) {
      return platform::Failure(
          "--cruise-speed takes knots (0 to 9999) or a Mach number below 5 (such as 0.82) "
          "in at most 4 characters, not '" +
          text + "'");
    }
    p.cruiseSpeed = text;
  }
  struct NumberOption {
    const char* key;
    const planner::WholeRange& range;
    int32_t& value;
  };
  const NumberOption numbers[] = {
      {"--climb-rate", planner::kRateRange, p.climbRateFpm},
      {"--climb-speed", planner::kSpeedRange, p.climbSpeedKt},
      {"--descent-rate", planner::kRateRange, p.descentRateFpm},
      {"--descent-speed", planner::kSpeedRange, p.descentSpeedKt},
      {"--cruise-altitude", planner::kCruiseAltitudeRange, p.cruiseAltitudeFt},
  };
  for (const NumberOption& number : numbers) {
    if (platform::Status read = ReadNumber(options, number.key, number.range, number.value);
        !read) {
      return read;
    }
  }
  return {};
}

platform::Status CheckClimbHasCruiseAltitude(const planner::AircraftPerformance& performance) {
  if (performance.climbRateFpm == 0 || performance.cruiseAltitudeFt != 0) return {};
  return platform::Failure("a climb rate needs a cruise altitude (--cruise-altitude)");
}

bool CheckLegsComputed(CliContext& context, const planner::PlannerState& state) {
  const std::optional<size_t> row = planner::FindVerbatimRow(state.dialog.rows);
  if (!row) return true;
  context.err << "skat-cli: the legs cannot be computed: row " << *row
              << " is not a plan row (plan edit --remove " << *row << " takes it out)\n";
  return false;
}

platform::Status CheckNameOptions(const Options& options) {
  for (const ParsedOption& option : options.given) {
    if (option.key != "--name" && option.key != "--perf") continue;
    platform::Status named =
        planner::CheckFileName(option.key == "--name" ? "flight plan" : "aircraft", option.value);
    if (!named) return named;
  }
  return {};
}

platform::Status ReadSidStar(std::string_view text, planner::PlannerState& state) {
  const size_t comma = text.find(',');
  const std::optional<double> distanceNm =
      comma == std::string::npos ? std::nullopt : RotationValue(text.substr(0, comma));
  const std::optional<double> radiusNm =
      comma == std::string::npos ? std::nullopt : RotationValue(text.substr(comma + 1));
  if (!distanceNm || !radiusNm) {
    return platform::Failure("--sid-star takes D,R with each from " +
                             planner::TenthsText(planner::kMinRotationNm) + " to " +
                             planner::TenthsText(planner::kMaxRotationNm) + " (NM), not '" +
                             std::string(text) + "'");
  }
  state.plan.rotationDistanceNm = *distanceNm;
  state.plan.rotationRadiusNm = *radiusNm;
  return {};
}

std::optional<planner::WaypointPick> FindNavaid(const navdb::Database& db, NavaidKind kind,
                                                std::string id) {
  platform::PadTo(id, 7);
  const std::optional<size_t> row = db.List(kind).FindPrefix(id);
  if (!row || db.List(kind).HoldsOnlyPlaceholder()) return std::nullopt;
  return planner::WaypointPick{kind, *row};
}

platform::Result<planner::WaypointPick> FindNamedNavaid(const navdb::Database& db,
                                                        std::string_view option,
                                                        const std::string& text) {
  const size_t colon = text.find(':');
  const auto kind = colon == std::string::npos ? std::nullopt : KindNamed(text.substr(0, colon));
  if (!kind) {
    return platform::Failure(std::string(option) +
                             " takes KIND:ID with KIND ndb, vor, apt or int, not '" + text + "'");
  }
  const std::optional<planner::WaypointPick> pick = FindNavaid(db, *kind, text.substr(colon + 1));
  if (!pick) return platform::Failure(text + " is not in the database");
  return *pick;
}

AirportChoice SplitAirportChoice(const std::string& text) {
  const size_t slash = text.find('/');
  if (slash == std::string::npos) return {text, ""};
  return {text.substr(0, slash), text.substr(slash + 1)};
}

platform::Status CheckRunway(const planner::RunwayChoice& runway, const AirportChoice& choice) {
  if (choice.runway.empty()) return {};
  if (planner::StartsWithNoCase(runway.Text(), choice.runway) &&
      RunwayEntryFor(runway, choice.runway)) {
    return {};
  }
  return platform::Failure(UnknownRunwayText(runway, choice));
}

platform::Status SelectRunway(planner::RunwayChoice& runway, const AirportChoice& choice) {
  if (choice.runway.empty()) return {};
  const std::optional<size_t> entry = RunwayEntryFor(runway, choice.runway);
  if (!entry) return platform::Failure(UnknownRunwayText(runway, choice));
  runway.Select(*entry);
  return {};
}

}  // namespace cli
