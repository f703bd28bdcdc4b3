#include "planner/plan_export.h"

#include <array>
#include <chrono>
#include <cmath>
#include <utility>

#include "platform/file_io.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"
#include "platform/win1252.h"

namespace planner {
namespace {

struct KindOfPoint {
  PlanRowKind rowKind;
  ExportPointKind kind;
};

constexpr std::array<KindOfPoint, 5> kNavaidKinds{{
    {PlanRowKind::Airport, ExportPointKind::Airport},
    {PlanRowKind::Ndb, ExportPointKind::Ndb},
    {PlanRowKind::Vor, ExportPointKind::Vor},
    {PlanRowKind::Ils, ExportPointKind::Ils},
    {PlanRowKind::Intersection, ExportPointKind::Intersection},
}};

ExportPointKind PointKindOf(PlanRowKind kind) {
  for (const KindOfPoint& entry : kNavaidKinds) {
    if (entry.rowKind == kind) return entry.kind;
  }
  return ExportPointKind::Generated;
}

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

// A position a simulator can place: minutes and seconds below 60, the
// angle within `limitDeg`.
bool IsOnGlobe(const RowCoordinate& coordinate, double limitDeg) {
  return coordinate.minutes < 60 && coordinate.hundredthsOfSecond < 6000 &&
         std::fabs(coordinate.Degrees()) <= limitDeg;
}

// The altitude column holds five characters: -9999 to 99999 ft.
bool IsAltitudeOfRow(std::optional<int> altitudeFt) {
  return altitudeFt && *altitudeFt >= -9999 && *altitudeFt <= 99999;
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

std::optional<ExportPoint> PointOfRow(const PlanRow& row) {
  if (row.IsVerbatim() || !IsOnGlobe(row.latitude, 90.0) || !IsOnGlobe(row.longitude, 180.0) ||
      !IsAltitudeOfRow(row.altitudeFt)) {
    return std::nullopt;
  }
  ExportPoint point;
  point.kind = PointKindOf(row.kind);
  point.code = std::string(KindCode(row.kind));
  if (point.kind == ExportPointKind::Generated) {
    point.identifier = point.code;
    point.name = CaptionText(row.name);
  } else {
    const std::string_view identifier = platform::Trim(row.identifier);
    if (!IsIdentifier(identifier)) return std::nullopt;
    point.identifier = platform::Win1252ToUtf8(identifier);
    point.name = platform::Win1252ToUtf8(platform::Trim(row.name));
  }
  point.latitudeDeg = row.LatitudeDeg();
  point.longitudeDeg = row.LongitudeDeg();
  // The date line has one longitude: 180 east is written as 180 west, the
  // form GPX allows.
  if (point.longitudeDeg >= 180.0) point.longitudeDeg = -180.0;
  point.altitudeFt = *row.altitudeFt;
  return point;
}

// The time of a computed row, to the nearest minute; 0 when it has none.
int RowMinutes(const PlanRow& row) {
  if (!row.time || !row.time->known) return 0;
  const long seconds = row.time->hours * 3600L + row.time->minutes * 60L + row.time->seconds;
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

platform::Result<ExportRoute> BuildExportRoute(const PlannerState& state) {
  const std::vector<PlanRow>& rows = state.dialog.rows;
  if (rows.size() < 2) return platform::Failure("the plan has fewer than two waypoints");
  ExportRoute route;
  route.planName = platform::Win1252ToUtf8(state.plan.planName);
  for (size_t i = 0; i < rows.size(); ++i) {
    std::optional<ExportPoint> point = PointOfRow(rows[i]);
    if (!point) return platform::Failure("row " + std::to_string(i) + " is not a plan row");
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
  return route;
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

platform::Status ExportPlanFile(const PlannerState& state, ExportFormat format,
                                const std::filesystem::path& path, const ExportOptions& options) {
  const platform::Result<ExportRoute> route = BuildExportRoute(state);
  if (!route) return platform::Failure("cannot export the plan: " + route.error().message);
  const int cycle = options.airacCycle != 0 ? options.airacCycle : CurrentAiracCycle();
  const platform::Status written =
      platform::ReplaceFileAtomically(path, EncodeRoute(*route, format, cycle));
  if (!written.ok()) {
    return platform::Error{"cannot write " + path.string() + ": " + written.error().message,
                           written.error().errorNumber, path};
  }
  return {};
}

}  // namespace planner
