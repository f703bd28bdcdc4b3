// The flight plan held by the planner, the waypoint rows of the Flight Plan
// dialog, and the staging table that carries loaded or imported waypoints
// into a newly opened dialog.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "planner/plan_row.h"
#include "platform/result.h"

namespace planner {

// The values the leg computation uses; the "[PERFORMANCE]" section of a plan.
struct AircraftPerformance {
  std::string aircraftName;  // at most 259 characters
  int32_t climbRateFpm = 0;
  int32_t climbSpeedKt = 0;
  int32_t descentRateFpm = 0;
  int32_t descentSpeedKt = 0;
  int32_t cruiseAltitudeFt = 0;
  std::string cruiseSpeed;  // knots, or a Mach number below 5; at most 4 characters
};

struct FlightPlan {
  std::string planName;  // file name without folder and ".pln"
  AircraftPerformance performance;
  std::string departureAirport;       // at most 7 characters
  std::string departureRunwayNumber;  // at most 3 characters, e.g. "09L"
  int32_t departureRunwayHeadingDeg = 0;
  std::string departureRunwayLengthFt;  // text, at most 5 characters
  std::string arrivalAirport;
  std::string arrivalRunwayNumber;
  int32_t arrivalRunwayHeadingDeg = 0;
  std::string arrivalRunwayLengthFt;
  double rotationDistanceNm = 0;  // where the generated turn begins
  double rotationRadiusNm = 0;
};

// Field widths of the plan record; longer texts are cut to them.
inline constexpr size_t kMaxNameChars = 259;
inline constexpr size_t kMaxAirportChars = 7;
inline constexpr size_t kMaxRunwayNumberChars = 3;
inline constexpr size_t kMaxRunwayLengthChars = 5;
inline constexpr size_t kMaxCruiseSpeedChars = 4;

// One record of the staging table.
struct StagedWaypoint {
  std::string identifier;   // at most 5 characters
  std::string name;         // at most 24 characters
  std::string kind;         // at most 13 characters
  double latitudeDeg = 0;   // north positive
  double longitudeDeg = 0;  // east positive
  std::string rowText;      // at most 111 characters
};

// A plan holds at most as many rows, generated points included, as the
// navigation display reads of a route (its route table): a longer plan would
// be shown there without its end. The staging table has a record for each.
inline constexpr size_t kMaxPlanRows = 256;
inline constexpr size_t kStagingRecords = kMaxPlanRows;
inline constexpr size_t kMaxStagedRowChars = 111;
inline constexpr size_t kMaxStagedIdentifierChars = 5;
inline constexpr size_t kMaxStagedNameChars = 24;
inline constexpr size_t kMaxStagedKindChars = 13;

struct PlanStagingTable {
  std::array<StagedWaypoint, kStagingRecords> records;
  void Clear() { records.fill(StagedWaypoint{}); }
};

// The runway drop-down of one end of the plan: entries "09L/087/11000".
struct RunwayChoice {
  std::vector<std::string> entries;
  std::optional<size_t> selected;
  std::string editText;
  // The airport row key (row columns 5-36) the entries were filled from;
  // another airport at this end refills them.
  std::string airportKey;

  void Clear() {
    entries.clear();
    selected.reset();
  }
  void Select(size_t index) {
    selected = index;
    editText = entries[index];
  }
  // The text the combo box shows: the selected entry, else the edit text.
  std::string Text() const { return selected ? entries[*selected] : editText; }
};

// The fields of the Flight Plan dialog that are not part of the plan record.
struct PlanDialog {
  std::vector<PlanRow> rows;  // the waypoint list, top to bottom
  std::optional<size_t> selectedRow;
  std::string departureAirportText;
  std::string arrivalAirportText;
  RunwayChoice departureRunway;
  RunwayChoice arrivalRunway;
  bool sidStarEnabled = true;
  std::string rotationDistanceText;
  std::string rotationRadiusText;
};

// Everything the planner keeps between commands: one per program.
struct PlannerState {
  std::filesystem::path navDataFolder;  // the simulator root's NavData folder
  FlightPlan plan;
  PlanStagingTable staging;
  PlanDialog dialog;
  int rotationWarningRow = 0;  // first row whose turn exceeds 100 degrees; 0 = none
};

// How the dialog was opened: new plan, loaded plan, Flight Shop or FS200X import.
enum class PlanOpenMode { New = 0, Loaded = 1, FlightShopImport = 2, Fs200xImport = 3 };

inline constexpr std::string_view kPlanFolderName = "FlightPlans";

// Fails, saying why, when `name` cannot name a file in the FlightPlans
// folder. A plan or aircraft name is a file name, never a path: "/" and
// "\" (a folder), ".." (the folder above) and control characters are
// refused. `what` is "flight plan" or "aircraft", as the message names it.
platform::Status CheckFileName(std::string_view what, std::string_view name);

std::filesystem::path PlanFolder(const PlannerState& state);

// Runway text of the dialog and the file: number + "/%03d/" + length.
std::string RunwayText(std::string_view number, int32_t headingDeg, std::string_view lengthFt);

struct RunwayParts {
  std::string number;
  int32_t headingDeg = 0;
  std::string lengthFt;
};
// Splits a runway text by position: characters 0-2, the integer from 4, 8-12.
RunwayParts SplitRunwayText(std::string_view text);

// Fails with the refusal of a plan of `count` rows (or waypoints: `what`)
// beyond kMaxPlanRows.
platform::Status CheckPlanRowCount(size_t count, std::string_view what = "rows");

// "%0.1f" of a value: the D and R fields as the dialog shows them.
std::string TenthsText(double value);

// Fills the dialog fields as the Flight Plan dialog does when it opens
// (without the import, which the caller starts for modes 2 and 3).
void OpenPlanDialog(PlannerState& state, PlanOpenMode mode);

// True when `text` begins with `prefix`, letter case ignored.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// Index of the first row of `kind`.
std::optional<size_t> FindRow(const std::vector<PlanRow>& rows, PlanRowKind kind);
// Deletes the first row of `kind`, if any.
void DeleteFirstRow(std::vector<PlanRow>& rows, PlanRowKind kind);
// Index of the first row that is not in the row layout: no point of the
// route, so the legs through it cannot be computed.
std::optional<size_t> FindVerbatimRow(const std::vector<PlanRow>& rows);

}  // namespace planner
