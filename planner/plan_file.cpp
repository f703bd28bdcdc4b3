#include "planner/plan_file.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "planner/number_ranges.h"
#include "planner/performance_file.h"
#include "planner/text_lines.h"
#include "platform/file_io.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace planner {
namespace {

constexpr std::string_view kRotationQuestion =
    "At the highlighted waypoint, the rotation angle is too high.\nSave anyway ?\n\n"
    "Click on [Yes] to save the flight plan\nClick on [No] to change this waypoint\n\n"
    "Suggestions: suppress this waypoint or change the arrival runway number.";

struct EndFields {
  std::string* airport;
  std::string* runwayNumber;
  int32_t* runwayHeadingDeg;
  std::string* runwayLength;
};

// "[DEPARTURE]" or "[ARRIVAL]": the airport on the next line and the runway
// on the one after it, each taken only when its key is there. Returns the
// last line read, which the header rules after this section still look at.
std::optional<std::string_view> ReadEndSection(TextLineReader& reader, const EndFields& end) {
  auto line = reader.Next();
  if (!line) return line;
  if (line->starts_with("AIRPORT="))
    *end.airport = std::string(platform::Columns(line->substr(8), 0, kMaxAirportChars));
  line = reader.Next();
  if (!line || !line->starts_with("RUNWAY=")) return line;
  const RunwayParts parts = SplitRunwayText(line->substr(7));
  *end.runwayNumber = parts.number;
  *end.runwayHeadingDeg = parts.headingDeg;
  *end.runwayLength = parts.lengthFt;
  return line;
}

// Header lines up to "[WAYPOINTS]"; returns with the reader after it.
void ReadHeader(TextLineReader& reader, FlightPlan& plan) {
  while (std::optional<std::string_view> line = reader.Next()) {
    if (ReadPerformanceKey(*line, plan.performance)) continue;
    if (line->starts_with("D=")) {
      plan.rotationDistanceNm = platform::ReadDouble(*line, 2);
    } else if (line->starts_with("R=")) {
      plan.rotationRadiusNm = platform::ReadDouble(*line, 2);
    }
    if (line->starts_with("[DEPARTURE]")) {
      line =
          ReadEndSection(reader, {&plan.departureAirport, &plan.departureRunwayNumber,
                                  &plan.departureRunwayHeadingDeg, &plan.departureRunwayLengthFt});
      if (!line) return;
    }
    if (line->starts_with("[ARRIVAL]")) {
      line = ReadEndSection(reader, {&plan.arrivalAirport, &plan.arrivalRunwayNumber,
                                     &plan.arrivalRunwayHeadingDeg, &plan.arrivalRunwayLengthFt});
      if (!line) return;
    }
    if (line->starts_with("[WAYPOINTS]")) return;
  }
}

// Fails, saying why, when the numbers a plan file gave cannot be used:
// values its rows' columns cannot hold, or turn points off the map.
platform::Status CheckPlanNumbers(const FlightPlan& plan) {
  if (platform::Status ranges = CheckPerformanceRanges(plan.performance); !ranges) return ranges;
  const std::pair<const char*, double> rotations[] = {
      {"rotation distance", plan.rotationDistanceNm}, {"rotation radius", plan.rotationRadiusNm}};
  for (const auto& [name, valueNm] : rotations) {
    // 0 is "not set": the dialog puts its default in place.
    if (valueNm >= 0 && valueNm <= kMaxRotationNm) continue;
    char text[64];
    std::snprintf(text, sizeof text, "the %s %g is outside 0 to %.1f (NM)", name, valueNm,
                  kMaxRotationNm);
    return platform::Failure(text);
  }
  return {};
}

std::string PlanNameOf(const std::filesystem::path& path) {
  const std::string fileName = path.filename().string();
  return std::string(platform::Columns(fileName.substr(0, fileName.find('.')), 0, kMaxNameChars));
}

}  // namespace

std::filesystem::path PlanFilePath(const PlannerState& state, std::string_view planName) {
  return PlanFolder(state) / (std::string(planName) + ".pln");
}

std::string EncodePlanFile(const PlannerState& state) {
  const PlanDialog& dialog = state.dialog;
  std::string out;
  AppendLine(out, kPlanFileTitle);
  AppendLine(out, "");
  AppendLine(out, "");
  AppendLine(out, "[PERFORMANCE]");
  WritePerformanceKeys(out, state.plan.performance);
  AppendLine(out, "");
  AppendLine(out, "[DEPARTURE]");
  AppendLine(out, "AIRPORT=" + dialog.departureAirportText);
  AppendLine(out, "RUNWAY=" + dialog.departureRunway.Text());
  AppendLine(out, "");
  AppendLine(out, "[ARRIVAL]");
  AppendLine(out, "AIRPORT=" + dialog.arrivalAirportText);
  AppendLine(out, "RUNWAY=" + dialog.arrivalRunway.Text());
  AppendLine(out, "");
  AppendLine(out, "[SID/STAR]");
  AppendLine(out, "D=" + dialog.rotationDistanceText);
  AppendLine(out, "R=" + dialog.rotationRadiusText);
  AppendLine(out, "");
  AppendLine(out, "[WAYPOINTS]");
  for (const PlanRow& row : dialog.rows) AppendLine(out, FormatPlanRow(row));
  return out;
}

size_t DecodePlanFile(std::string_view bytes, FlightPlan& plan, PlanStagingTable& staging) {
  TextLineReader reader(bytes);
  ReadHeader(reader, plan);
  staging.Clear();
  size_t rowCount = 0;
  while (const std::optional<std::string_view> line = reader.Next()) {
    if (rowCount < staging.records.size()) {
      staging.records[rowCount].rowText =
          std::string(platform::Columns(*line, 0, kMaxStagedRowChars));
    }
    ++rowCount;
  }
  return rowCount;
}

bool CheckPlanSize(const PlannerState& state, const navdb::Reporter& ui) {
  const platform::Status size = CheckPlanRowCount(state.dialog.rows.size());
  if (size) return true;
  ShowErrorMessage(ui, size.error().message);
  return false;
}

bool ConfirmRotationWarning(PlannerState& state, const navdb::Reporter& ui) {
  if (state.rotationWarningRow == 0) return true;
  state.dialog.selectedRow = static_cast<size_t>(state.rotationWarningRow);
  return navdb::ShowMessage(ui, std::string(kWarningCaption), std::string(kRotationQuestion),
                            navdb::MessageIcon::Warning,
                            navdb::MessageButtons::YesNo) == navdb::MessageAnswer::Yes;
}

bool SaveFlightPlan(PlannerState& state, const navdb::Reporter& ui) {
  if (!ConfirmRotationWarning(state, ui)) return false;
  state.plan.planName = std::string(platform::Columns(state.plan.planName, 0, kMaxNameChars));
  if (state.plan.planName.empty()) {
    navdb::ShowMessage(ui, std::string(kErrorCaption),
                       "You must specify a name for the flight plan.", navdb::MessageIcon::Error,
                       navdb::MessageButtons::Ok);
    return false;
  }
  // The name comes from a field, a file name or a command line: it must not
  // lead the file out of the FlightPlans folder.
  if (const platform::Status named = CheckFileName("flight plan", state.plan.planName); !named) {
    ShowErrorMessage(ui, named.error().message);
    return false;
  }
  if (!CheckPlanSize(state, ui)) return false;
  return WriteAskingOverwrite(PlanFilePath(state, state.plan.planName), EncodePlanFile(state),
                              "The specified flight plan already exists.\n\nOverwrite ?",
                              "Can't create this flight plan file", ui);
}

bool LoadFlightPlan(PlannerState& state, const std::filesystem::path& path,
                    const navdb::Reporter& ui) {
  const std::string text = path.string();
  if (const size_t at = text.find("/NavData"); at != std::string::npos) {
    state.navDataFolder = std::filesystem::path(text.substr(0, at)) / "NavData";
  }
  // A named pipe or a device is refused at once, never waited on.
  std::string bytes;
  if (const platform::Status read = platform::ReadWholeFile(path, bytes); !read.ok()) {
    navdb::ShowMessage(ui, std::string(kErrorCaption), CannotOpenText(path, read.error().message),
                       navdb::MessageIcon::Error, navdb::MessageButtons::Ok);
    return false;
  }
  // Read aside first: a refused file leaves the plan as it was.
  FlightPlan plan = state.plan;
  auto staging = std::make_unique<PlanStagingTable>();
  const size_t rowCount = DecodePlanFile(bytes, plan, *staging);
  if (const platform::Status size = CheckPlanRowCount(rowCount); !size) {
    ShowErrorMessage(ui, size.error().message);
    return false;
  }
  if (const platform::Status numbers = CheckPlanNumbers(plan); !numbers) {
    ShowErrorMessage(ui, "The flight plan cannot be used: " + numbers.error().message + ".");
    return false;
  }
  state.plan = std::move(plan);
  state.staging = std::move(*staging);
  state.plan.planName = PlanNameOf(path);
  OpenPlanDialog(state, PlanOpenMode::Loaded);
  return true;
}

}  // namespace planner
