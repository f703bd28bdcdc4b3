#include "planner/flight_plan.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace planner {

std::filesystem::path PlanFolder(const PlannerState& state) {
  return state.navDataFolder / kPlanFolderName;
}

namespace {

bool IsControlCharacter(char c) {
  return static_cast<unsigned char>(c) < 0x20 || c == '\x7f';
}

}  // namespace

platform::Status CheckFileName(std::string_view what, std::string_view name) {
  const bool refused = name.empty() || name.find_first_of("/\\") != std::string_view::npos ||
                       name.find("..") != std::string_view::npos ||
                       std::any_of(name.begin(), name.end(), IsControlCharacter);
  if (!refused) return {};
  // The name is shown as typed, control characters as "?".
  std::string shown(name);
  std::replace_if(shown.begin(), shown.end(), IsControlCharacter, '?');
  return platform::Failure("The " + std::string(what) + " name \"" + shown +
                           "\" is not a file name: a name may not be empty or hold \"/\", \"\\\", "
                           "\"..\" or control characters.");
}

std::string RunwayText(std::string_view number, int32_t headingDeg, std::string_view lengthFt) {
  char heading[16];
  std::snprintf(heading, sizeof heading, "/%03d/", static_cast<int>(headingDeg));
  return std::string(number) + heading + std::string(lengthFt);
}

RunwayParts SplitRunwayText(std::string_view text) {
  RunwayParts parts;
  parts.number = std::string(platform::Columns(text, 0, kMaxRunwayNumberChars));
  parts.headingDeg = static_cast<int32_t>(platform::ReadLong(text, 4));
  parts.lengthFt = std::string(platform::Columns(text, 8, kMaxRunwayLengthChars));
  return parts;
}

platform::Status CheckPlanRowCount(size_t count, std::string_view what) {
  if (count <= kMaxPlanRows) return {};
  return platform::Failure("The flight plan has " + std::to_string(count) + " " +
                           std::string(what) + ": a plan holds at most " +
                           std::to_string(kMaxPlanRows) +
                           " rows, as many as the navigation display shows.");
}

std::string TenthsText(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%0.1f", value);
  return buffer;
}

namespace {

// Whether the generator was on is not written: a turn row tells it, even in
// a row that is otherwise not in the row layout.
bool HasGeneratedTurn(const std::vector<PlanRow>& rows) {
  return std::any_of(rows.begin(), rows.end(), [](const PlanRow& row) {
    return MarkedKind(row) == PlanRowKind::DepartureTurnStart;
  });
}

}  // namespace

void OpenPlanDialog(PlannerState& state, PlanOpenMode mode) {
  FlightPlan& plan = state.plan;
  PlanDialog& dialog = state.dialog;
  // The runway lists are filled again from the database by the first computation.
  dialog = PlanDialog{};
  if (plan.rotationDistanceNm == 0) plan.rotationDistanceNm = 10.0;
  if (plan.rotationRadiusNm == 0) plan.rotationRadiusNm = 5.0;
  dialog.rotationDistanceText = TenthsText(plan.rotationDistanceNm);
  dialog.rotationRadiusText = TenthsText(plan.rotationRadiusNm);
  dialog.sidStarEnabled = true;
  if (mode == PlanOpenMode::New) return;

  dialog.departureAirportText = plan.departureAirport;
  dialog.arrivalAirportText = plan.arrivalAirport;
  dialog.departureRunway.editText = RunwayText(
      plan.departureRunwayNumber, plan.departureRunwayHeadingDeg, plan.departureRunwayLengthFt);
  dialog.arrivalRunway.editText = RunwayText(plan.arrivalRunwayNumber, plan.arrivalRunwayHeadingDeg,
                                             plan.arrivalRunwayLengthFt);
  if (mode == PlanOpenMode::Loaded) {
    for (const StagedWaypoint& record : state.staging.records) {
      if (record.rowText.empty()) break;
      dialog.rows.push_back(ParsePlanRow(record.rowText));
    }
    dialog.sidStarEnabled = HasGeneratedTurn(dialog.rows);
  } else if (mode == PlanOpenMode::FlightShopImport) {
    plan.performance.aircraftName = "(from Flight Shop flight plan)";
  } else {
    plan.performance.aircraftName = "(from FS200X flight plan)";
  }
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

std::optional<size_t> FindRow(const std::vector<PlanRow>& rows, PlanRowKind kind) {
  for (size_t i = 0; i < rows.size(); ++i) {
    if (!rows[i].IsVerbatim() && rows[i].kind == kind) return i;
  }
  return std::nullopt;
}

void DeleteFirstRow(std::vector<PlanRow>& rows, PlanRowKind kind) {
  if (auto row = FindRow(rows, kind)) rows.erase(rows.begin() + static_cast<long>(*row));
}

std::optional<size_t> FindVerbatimRow(const std::vector<PlanRow>& rows) {
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].IsVerbatim()) return i;
  }
  return std::nullopt;
}

}  // namespace planner
