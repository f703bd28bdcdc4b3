#include "planner/plan_import.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "navdb/coordinates.h"
#include "navdb/entry_lines.h"
#include "planner/leg_computation.h"
#include "planner/performance_file.h"
#include "planner/plan_rows.h"
#include "planner/text_lines.h"
#include "platform/file_io.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace planner {
namespace {

using navdb::NavaidKind;

constexpr std::string_view kEndOfWaypoints = "99999";

std::optional<NavaidKind> FlightShopKind(std::string_view kind) {
  kind = kind.substr(0, 3);
  if (kind == "APT") return NavaidKind::Airport;
  if (kind == "NDB") return NavaidKind::Ndb;
  if (kind == "VOR") return NavaidKind::Vor;
  if (kind == "FIX") return NavaidKind::Intersection;
  return std::nullopt;
}

// The import builds rows from the first record on and stops at the end
// marker or an unknown kind (Flight Shop) or an empty kind (FS200X); a plan
// that would give no row at all is no plan of that form.
bool HasFlightShopWaypoint(const PlanStagingTable& staging) {
  const StagedWaypoint& first = staging.records[0];
  return first.identifier != kEndOfWaypoints && FlightShopKind(first.kind).has_value();
}

bool HasFs200xWaypoint(const PlanStagingTable& staging) {
  for (const StagedWaypoint& record : staging.records) {
    if (record.kind.empty()) return false;
    if (std::string_view("ANVI").find(record.kind[0]) != std::string_view::npos) return true;
  }
  return false;
}

// Waypoint records (four lines each) that follow a full staging table, up
// to the end marker or the end of the text: they make the plan too long.
size_t CountWaypointsLeft(TextLineReader& reader) {
  size_t count = 0;
  for (;;) {
    const auto identifier = reader.Next();
    if (!identifier || std::string(platform::Columns(*identifier, 0, kMaxStagedIdentifierChars)) ==
                           kEndOfWaypoints) {
      return count;
    }
    ++count;
    for (int i = 0; i < 3; ++i) reader.Next();
  }
}

// Returns the number of waypoints beyond a full staging table.
size_t ReadFlightShop(PlannerState& state, std::string_view bytes) {
  TextLineReader reader(bytes);
  for (int i = 0; i < 3; ++i) reader.Next();
  AircraftPerformance& p = state.plan.performance;
  for (int32_t* value : {&p.climbRateFpm, &p.climbSpeedKt, &p.descentRateFpm, &p.descentSpeedKt,
                         &p.cruiseAltitudeFt}) {
    const auto line = reader.Next();
    if (!line) return 0;
    *value = ReadLeadingDigits(*line);
  }
  const auto speed = reader.Next();
  if (!speed) return 0;
  p.cruiseSpeed = std::string(platform::Columns(*speed, 0, kMaxCruiseSpeedChars));
  for (StagedWaypoint& record : state.staging.records) {
    const auto identifier = reader.Next();
    if (!identifier) return 0;
    record.identifier = std::string(platform::Columns(*identifier, 0, kMaxStagedIdentifierChars));
    if (record.identifier == kEndOfWaypoints) return 0;
    const auto name = reader.Next();
    const auto unused = reader.Next();
    const auto kind = reader.Next();
    if (!name || !unused || !kind) return 0;
    record.name = std::string(platform::Columns(*name, 0, kMaxStagedNameChars));
    record.kind = std::string(platform::Columns(*kind, 0, kMaxStagedKindChars));
  }
  return CountWaypointsLeft(reader);
}

// Degrees of a "N47* 26.99'" field: hemisphere letter, whole degrees, then
// decimal minutes one character after the "*".
double Fs200xAngle(std::string_view field, char positive) {
  if (field.empty()) return 0;
  const double degrees = static_cast<double>(platform::ReadLong(field, 1));
  const size_t star = field.find('*');
  const double minutes = star == std::string_view::npos ? 0 : platform::ReadDouble(field, star + 2);
  const double angle = minutes / 60 + degrees;
  return field[0] == positive ? angle : -angle;
}

// The field that starts two characters after the `n`-th comma.
std::string_view FieldAfterComma(std::string_view line, int n) {
  size_t at = std::string_view::npos;
  for (size_t from = 0; n > 0; --n, from = at + 1) {
    at = line.find(',', from);
    if (at == std::string_view::npos) return {};
  }
  return platform::Columns(line, at + 2, std::string_view::npos);
}

// Reads one "waypoint.N=" line into record N; returns false when N lies
// beyond the staging table (the line is then counted, not read).
bool ReadFs200xWaypoint(PlannerState& state, std::string_view line) {
  const long index = platform::ReadLong(line, 9);
  const size_t equals = line.find('=');
  const size_t comma = line.find(',');
  // Negative indices and lines without fields are ignored.
  if (index < 0 || equals == std::string_view::npos || comma == std::string_view::npos) {
    return true;
  }
  if (index >= static_cast<long>(kStagingRecords)) return false;
  StagedWaypoint& record = state.staging.records[static_cast<size_t>(index)];
  std::string_view kind = platform::Columns(line, comma + 2, 7);
  const size_t marker = kind.find_first_of("+LOCW");
  kind = kind.substr(0, marker != std::string_view::npos ? marker : kind.find(','));
  std::string_view identifier =
      platform::Columns(line, equals + (marker != std::string_view::npos ? 3 : 1), 5);
  identifier = identifier.substr(0, identifier.find(','));
  record.kind = std::string(platform::Columns(kind, 0, kMaxStagedKindChars));
  record.identifier = std::string(identifier);
  record.latitudeDeg = Fs200xAngle(FieldAfterComma(line, 2), 'N');
  record.longitudeDeg = Fs200xAngle(FieldAfterComma(line, 3), 'E');
  return true;
}

bool IsOffGlobe(const StagedWaypoint& record) {
  return !record.kind.empty() &&
         !(std::fabs(record.latitudeDeg) <= 90 && std::fabs(record.longitudeDeg) <= 180);
}

// The import takes the records up to the first gap; waypoints beyond a
// table without one would be part of the route.
bool HasNoGap(const PlanStagingTable& staging) {
  return std::none_of(staging.records.begin(), staging.records.end(),
                      [](const StagedWaypoint& record) { return record.kind.empty(); });
}

// Fails with the refusal of a plan that cannot be used.
platform::Status ReadFs200x(PlannerState& state, std::string_view bytes) {
  TextLineReader reader(bytes);
  size_t beyondTable = 0;
  while (const auto line = reader.Next()) {
    if (line->starts_with("cruising_altitude=")) {
      // A value beyond the altitude field's five digits would break the row layout.
      const long altitudeFt = platform::ReadLong(*line, 18);
      if (altitudeFt < 0 || altitudeFt > static_cast<long>(kMaxFs200xCruiseAltitudeFt)) {
        return platform::Failure(std::string(kCruiseAltitudeRangeText));
      }
      state.plan.performance.cruiseAltitudeFt = static_cast<int32_t>(altitudeFt);
    } else if (line->starts_with("waypoint.") && !ReadFs200xWaypoint(state, *line)) {
      ++beyondTable;
    }
  }
  if (beyondTable > 0 && HasNoGap(state.staging)) {
    return CheckPlanRowCount(kStagingRecords + beyondTable, "waypoints");
  }
  // A waypoint missing from the database keeps its own position, which
  // its row's coordinate columns could not hold.
  if (std::any_of(state.staging.records.begin(), state.staging.records.end(), IsOffGlobe)) {
    return platform::Failure(std::string(kWaypointOffGlobeText));
  }
  return {};
}

std::string FlightShopKey(const StagedWaypoint& record, NavaidKind kind) {
  std::string key = record.identifier;
  platform::PadTo(key, 7);
  if (kind != NavaidKind::Intersection) key += record.name;
  platform::CutTo(key, 30);
  while (!key.empty() && key.back() == ' ') key.pop_back();
  return key;
}

std::string_view KindWord(NavaidKind kind) {
  switch (kind) {
    case NavaidKind::Ndb:
      return " NDB ";
    case NavaidKind::Vor:
      return " VOR ";
    case NavaidKind::Airport:
      return " Aiport ";
    default:
      return " Intersection ";
  }
}

// The line that begins with the longest leading part of `key`.
std::optional<WaypointPick> NearestLine(const navdb::EntryList& list, NavaidKind kind,
                                        std::string_view key) {
  for (size_t length = key.size(); length >= 1; --length) {
    if (auto row = list.FindPrefix(key.substr(0, length))) return WaypointPick{kind, *row};
  }
  return std::nullopt;
}

void ResolveMissingWaypoint(PlannerState& state, const navdb::Database& db, NavaidKind kind,
                            const std::string& key, const PlanReporter& ui) {
  ui.KindInFocus(kind);
  const std::string text = key + std::string(KindWord(kind)) +
                           "cannot be found in database.\n\n"
                           "Click on [OK] to choose another waypoint in the database.\n"
                           "Click on [Cancel] to skip this waypoint for this flight plan.";
  const navdb::MessageAnswer answer =
      navdb::ShowMessage(ui, "Warning : can't import a waypoint !", text,
                         navdb::MessageIcon::Warning, navdb::MessageButtons::OkCancel);
  if (answer != navdb::MessageAnswer::Ok) return;
  WaypointPickRequest request;
  request.clearSelections = true;
  request.suggested = NearestLine(db.List(kind), kind, key);
  RunWaypointSelection(state, db, -1, ui, request);
}

// The list an FS200X waypoint's kind letter looks in.
std::optional<NavaidKind> Fs200xKindOf(char letter) {
  switch (letter) {
    case 'A':
      return NavaidKind::Airport;
    case 'N':
      return NavaidKind::Ndb;
    case 'V':
      return NavaidKind::Vor;
    case 'I':
      return NavaidKind::Intersection;
    default:
      return std::nullopt;
  }
}

std::optional<std::string_view> MatchingLine(const navdb::EntryList& list, NavaidKind kind,
                                             const StagedWaypoint& record) {
  const std::optional<size_t> first = list.FindPrefix(record.identifier);
  if (!first) return std::nullopt;
  const long latitude = platform::RoundHalfAwayFromZero(record.latitudeDeg);
  const long longitude = platform::RoundHalfAwayFromZero(record.longitudeDeg);
  for (size_t row = *first; row < list.Count(); ++row) {
    const std::string_view line = list.GetLine(row);
    if (!StartsWithNoCase(line, record.identifier)) break;
    const navdb::EntryFields fields = navdb::ParseEntryLine(kind, line);
    if (platform::RoundHalfAwayFromZero(navdb::ParseLatitude(fields.latitudeText)) == latitude &&
        platform::RoundHalfAwayFromZero(navdb::ParseLongitude(fields.longitudeText)) == longitude) {
      return line;
    }
  }
  return std::nullopt;
}

// Reads the plan aside; fails with the refusal of a plan that cannot be used.
platform::Status ReadForeignPlan(PlannerState& read, std::string_view bytes, ForeignPlanForm form) {
  if (form == ForeignPlanForm::FlightShop) {
    const size_t beyondTable = ReadFlightShop(read, bytes);
    if (!HasFlightShopWaypoint(read.staging)) {
      return platform::Failure(std::string(kNotFlightShopText));
    }
    if (beyondTable > 0) return CheckPlanRowCount(kStagingRecords + beyondTable, "waypoints");
  } else {
    if (platform::Status fs200x = ReadFs200x(read, bytes); !fs200x) return fs200x;
    if (!HasFs200xWaypoint(read.staging)) return platform::Failure(std::string(kNotFs200xText));
  }
  // Numbers the rows' columns cannot hold would be written into them.
  if (const platform::Status ranges = CheckPerformanceRanges(read.plan.performance); !ranges) {
    return platform::Failure("The flight plan cannot be used: " + ranges.error().message + ".");
  }
  return {};
}

}  // namespace

platform::Status ParseForeignPlan(PlannerState& state, std::string_view bytes,
                                  std::string_view fileName, ForeignPlanForm form) {
  PlannerState read;
  read.plan.planName =
      std::string(platform::Columns(fileName.substr(0, fileName.find('.')), 0, kMaxNameChars));
  platform::Status reading = ReadForeignPlan(read, bytes, form);
  if (!reading) return reading;
  state.plan = std::move(read.plan);
  state.staging = std::move(read.staging);
  return reading;
}

bool ParseForeignPlanFile(PlannerState& state, const std::filesystem::path& path,
                          ForeignPlanForm form, const navdb::Reporter& ui) {
  // A named pipe or a device is refused at once, never waited on.
  std::string bytes;
  if (const platform::Status read = platform::ReadWholeFile(path, bytes); !read.ok()) {
    navdb::ShowMessage(ui, std::string(kErrorCaption), CannotOpenText(path, read.error().message),
                       navdb::MessageIcon::Error, navdb::MessageButtons::Ok);
    return false;
  }
  const platform::Status reading = ParseForeignPlan(state, bytes, path.filename().string(), form);
  if (!reading) {
    ShowErrorMessage(ui, reading.error().message);
    return false;
  }
  return true;
}

std::optional<ForeignPlanForm> ForeignFormOf(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".fsp") return ForeignPlanForm::FlightShop;
  if (extension == ".pln") return ForeignPlanForm::Fs200x;
  return std::nullopt;
}

void ImportFlightShopWaypoints(PlannerState& state, const navdb::Database& db,
                               const PlanReporter& ui) {
  state.dialog.rows.clear();
  for (const StagedWaypoint& record : state.staging.records) {
    if (record.identifier == kEndOfWaypoints) break;
    const std::optional<NavaidKind> kind = FlightShopKind(record.kind);
    if (!kind) break;
    const std::string key = FlightShopKey(record, *kind);
    const navdb::EntryList& list = db.List(*kind);
    const std::optional<size_t> row = list.FindPrefix(key);
    if (row) {
      state.dialog.rows.push_back(BuildPlanRow(*kind, list.GetLine(*row)));
    } else {
      ResolveMissingWaypoint(state, db, *kind, key, ui);
    }
  }
  ComputeLegs(state, db.List(NavaidKind::Airport));
}

void ImportFs200xWaypoints(PlannerState& state, const navdb::Database& db) {
  state.dialog.rows.clear();
  for (const StagedWaypoint& record : state.staging.records) {
    if (record.kind.empty()) break;
    const std::optional<NavaidKind> kind = Fs200xKindOf(record.kind[0]);
    if (!kind) continue;
    const std::optional<std::string_view> line = MatchingLine(db.List(*kind), *kind, record);
    state.dialog.rows.push_back(line ? BuildPlanRow(*kind, *line, true)
                                     : ForeignWaypointRow(RowKindOf(*kind), record.identifier,
                                                          record.latitudeDeg, record.longitudeDeg));
  }
  ComputeLegs(state, db.List(NavaidKind::Airport));
}

}  // namespace planner
