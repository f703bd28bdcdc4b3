#include "planner/plan_export.h"

#include <array>
#include <chrono>
#include <utility>

#include "navdb/coordinates.h"
#include "platform/file_io.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"
#include "platform/win1252.h"

namespace planner {
namespace {

using platform::Columns;

struct RowKind {
  std::string_view prefix;  // the row's first characters that name its kind
  ExportPointKind kind;
  std::string_view code;
};

constexpr std::array<RowKind, 11> kRowKinds{{
    {"APT  ", ExportPointKind::Airport, "APT"},
    {"NDB  ", ExportPointKind::Ndb, "NDB"},
    {"VOR  ", ExportPointKind::Vor, "VOR"},
    {"ILS  ", ExportPointKind::Ils, "ILS"},
    {"INT  ", ExportPointKind::Intersection, "INT"},
    {kTocPrefix, ExportPointKind::Generated, "TOC"},
    {kTodPrefix, ExportPointKind::Generated, "TOD"},
    {kBrdPrefix, ExportPointKind::Generated, "BRD"},
    {kErdPrefix, ExportPointKind::Generated, "ERD"},
    {kBraPrefix, ExportPointKind::Generated, "BRA"},
    {kEraPrefix, ExportPointKind::Generated, "ERA"},
}};

// Row columns: identifier 5-11, name 12-37, latitude 46-57, longitude
// 60-72, altitude 75-79, cumulative time 95-102.
constexpr size_t kLatitudeColumn = 46;
constexpr size_t kLongitudeColumn = 60;
constexpr size_t kAltitudeColumn = 75;
constexpr size_t kTimeColumn = 95;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// A coordinate text as FormatLatitude / FormatLongitude write it, with
// minutes and seconds below 60 and the angle inside its range.
bool IsCoordinateText(std::string_view text, char positive, char negative, size_t degreeDigits,
                      double limitDeg) {
  const size_t d = degreeDigits;
  if (text.size() < d + 10 || (text[0] != positive && text[0] != negative)) return false;
  if (!AllDigits(text.substr(1, d)) || text[1 + d] != navdb::kDegreeSign ||
      !AllDigits(text.substr(2 + d, 2)) || text[4 + d] != '\'' ||
      !AllDigits(text.substr(5 + d, 2)) || text[7 + d] != '.' ||
      !AllDigits(text.substr(8 + d, 2))) {
    return false;
  }
  if (platform::ReadLong(text, 2 + d) >= 60 || platform::ReadLong(text, 5 + d) >= 60) return false;
  const double angle =
      navdb::DegreesFromParts(platform::ReadLong(text, 1), platform::ReadLong(text, 2 + d),
                              platform::ReadDouble(text, 5 + d));
  return angle <= limitDeg;
}

// "%05d" of the altitude: five characters, digits after an optional sign.
bool IsAltitudeText(std::string_view text) {
  if (text.size() != 5) return false;
  return AllDigits(text[0] == '-' ? text.substr(1) : text);
}

// An identifier a simulator can read as one word.
bool IsIdentifier(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) <= ' ') return false;
  }
  return true;
}

// "(Top Of Climb)" -> "Top Of Climb"; "(End   of Rotation Dep)" -> "End of Rotation Dep".
std::string CaptionText(std::string_view columns) {
  std::string_view caption = platform::Trim(columns);
  if (caption.starts_with('(')) caption.remove_prefix(1);
  if (caption.ends_with(')')) caption.remove_suffix(1);
  std::string text;
  for (const char c : caption) {
    if (c == ' ' && (text.empty() || text.back() == ' ')) continue;
    text += c;
  }
  return text;
}

std::optional<ExportPoint> PointOfRow(std::string_view row) {
  const RowKind* rowKind = nullptr;
  for (const RowKind& candidate : kRowKinds) {
    if (row.starts_with(candidate.prefix)) rowKind = &candidate;
  }
  const std::string_view latitude = Columns(row, kLatitudeColumn, 12);
  const std::string_view longitude = Columns(row, kLongitudeColumn, 13);
  const std::string_view altitude = Columns(row, kAltitudeColumn, 5);
  if (rowKind == nullptr || !IsCoordinateText(latitude, 'N', 'S', 2, 90.0) ||
      !IsCoordinateText(longitude, 'E', 'W', 3, 180.0) || !IsAltitudeText(altitude)) {
    return std::nullopt;
  }
  ExportPoint point;
  point.kind = rowKind->kind;
  point.code = std::string(rowKind->code);
  if (point.kind == ExportPointKind::Generated) {
    point.identifier = point.code;
    point.name = CaptionText(Columns(row, 12, 26));
  } else {
    const std::string_view identifier = platform::Trim(Columns(row, 5, 7));
    if (!IsIdentifier(identifier)) return std::nullopt;
    point.identifier = platform::Win1252ToUtf8(identifier);
    point.name = platform::Win1252ToUtf8(platform::Trim(Columns(row, 12, 26)));
  }
  point.latitudeDeg = navdb::ParseLatitude(latitude);
  point.longitudeDeg = navdb::ParseLongitude(longitude);
  // The date line has one longitude: 180 east is written as 180 west, the
  // form GPX allows.
  if (point.longitudeDeg >= 180.0) point.longitudeDeg = -180.0;
  point.altitudeFt = static_cast<int>(platform::ReadLong(altitude));
  return point;
}

// "hh:mm:ss" of a computed row, to the nearest minute; 0 for "--:--:--".
int RowMinutes(std::string_view row) {
  const std::string_view time = Columns(row, kTimeColumn, 8);
  if (time.size() != 8 || time[2] != ':' || time[5] != ':' || !AllDigits(time.substr(0, 2)) ||
      !AllDigits(time.substr(3, 2)) || !AllDigits(time.substr(6, 2))) {
    return 0;
  }
  const long seconds = platform::ReadLong(time, 0) * 3600 + platform::ReadLong(time, 3) * 60 +
                       platform::ReadLong(time, 6);
  return static_cast<int>((seconds + 30) / 60);
}

// The runway number of one end as simulators name runways ("27R", "09"),
// or nothing when the plan holds no such number.
std::string RunwayIdentifier(std::string_view number) {
  std::string_view text = platform::Trim(number);
  std::string_view side;
  if (!text.empty() && (text.back() == 'L' || text.back() == 'R' || text.back() == 'C')) {
    side = text.substr(text.size() - 1);
    text.remove_suffix(1);
  }
  if (text.empty() || text.size() > 2 || !AllDigits(text)) return {};
  return (text.size() == 1 ? "0" : "") + std::string(text) + std::string(side);
}

// The runway the plan names for an airport end, when the end is that airport.
std::string EndRunway(const ExportPoint& point, std::string_view planAirport,
                      std::string_view runwayNumber) {
  if (platform::Win1252ToUtf8(platform::Trim(planAirport)) != point.identifier) return {};
  return RunwayIdentifier(runwayNumber);
}

std::string EncodeRoute(const ExportRoute& route, ExportFormat format, int airacCycle) {
  switch (format) {
    case ExportFormat::FlightGear:
      return EncodeFlightGearRoute(route);
    case ExportFormat::XPlaneFms:
      return EncodeXPlaneFms(route, airacCycle);
    case ExportFormat::Gpx:
      return EncodeGpxRoute(route);
  }
  return {};
}

}  // namespace

std::optional<ExportFormat> ExportFormatNamed(std::string_view name) {
  if (name == "fgfs") return ExportFormat::FlightGear;
  if (name == "fms") return ExportFormat::XPlaneFms;
  if (name == "gpx") return ExportFormat::Gpx;
  return std::nullopt;
}

bool BuildExportRoute(const PlannerState& state, ExportRoute& route, std::string& problem) {
  const std::vector<std::string>& rows = state.dialog.rows;
  if (rows.size() < 2) {
    problem = "the plan has fewer than two waypoints";
    return false;
  }
  route = ExportRoute{};
  route.planName = platform::Win1252ToUtf8(state.plan.planName);
  for (size_t i = 0; i < rows.size(); ++i) {
    std::optional<ExportPoint> point = PointOfRow(rows[i]);
    if (!point) {
      problem = "row " + std::to_string(i) + " is not a plan row";
      return false;
    }
    route.points.push_back(std::move(*point));
  }
  const ExportPoint& first = route.points.front();
  const ExportPoint& last = route.points.back();
  route.departsFromAirport = first.kind == ExportPointKind::Airport;
  route.arrivesAtAirport = last.kind == ExportPointKind::Airport;
  if (route.departsFromAirport) {
    route.departureRunway =
        EndRunway(first, state.plan.departureAirport, state.plan.departureRunwayNumber);
  }
  if (route.arrivesAtAirport) {
    route.arrivalRunway =
        EndRunway(last, state.plan.arrivalAirport, state.plan.arrivalRunwayNumber);
  }
  route.cruiseAltitudeFt = state.plan.performance.cruiseAltitudeFt;
  route.cruiseSpeed = std::string(platform::Trim(state.plan.performance.cruiseSpeed));
  route.totalMinutes = RowMinutes(rows.back());
  return true;
}

int AiracCycleOn(int year, unsigned month, unsigned day) {
  using namespace std::chrono;
  constexpr sys_days kFirstCycleOf2020 = 2020y / January / 2;
  const sys_days date = std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day};
  long long cycles = (date - kFirstCycleOf2020).count() / 28;
  // Whole cycles before the date, also for dates before 2020.
  if (date < kFirstCycleOf2020 + days{28 * cycles}) --cycles;
  const sys_days start = kFirstCycleOf2020 + days{28 * cycles};
  const year_month_day startDate{start};
  const long long dayOfYear = (start - sys_days{startDate.year() / January / 1}).count();
  const int number = static_cast<int>(dayOfYear / 28) + 1;
  return (static_cast<int>(startDate.year()) % 100) * 100 + number;
}

int CurrentAiracCycle() {
  using namespace std::chrono;
  const year_month_day today{floor<days>(system_clock::now())};
  return AiracCycleOn(static_cast<int>(today.year()), static_cast<unsigned>(today.month()),
                      static_cast<unsigned>(today.day()));
}

std::string ExportPlanFile(const PlannerState& state, ExportFormat format,
                           const std::filesystem::path& path, const ExportOptions& options) {
  ExportRoute route;
  std::string problem;
  if (!BuildExportRoute(state, route, problem)) return "cannot export the plan: " + problem;
  const int cycle = options.airacCycle != 0 ? options.airacCycle : CurrentAiracCycle();
  const platform::FileResult written =
      platform::ReplaceFileAtomically(path, EncodeRoute(route, format, cycle));
  if (!written.ok()) return "cannot write " + path.string() + ": " + written.error;
  return {};
}

}  // namespace planner
