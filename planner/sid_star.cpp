#include "planner/sid_star.h"

#include <algorithm>
#include <cmath>

#include "planner/leg_computation.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace planner {
namespace {

constexpr double kOneSixtieth = 1.0 / 60;

std::string RunwayEntry(std::string_view line, size_t numberColumn, size_t headingColumn) {
  return std::string(platform::Columns(line, numberColumn, 3)) + "/" +
         std::string(platform::Columns(line, headingColumn, 3)) + "/" +
         std::string(platform::Columns(line, 87, 5));
}

// Fills the runway list from the airport's lines when it is empty, or
// takes the selected runway's position into the row. Returns true when the
// airport has a line.
bool MatchRunwayLines(const navdb::EntryList& airports, std::string& row, RunwayChoice& runway) {
  const std::string key(platform::Columns(row, 5, 32));
  if (runway.airportKey != key) {
    // The runways of another airport mean nothing here, nor its runway text.
    if (!runway.airportKey.empty()) runway.editText.clear();
    runway.Clear();
    runway.airportKey = key;
  }
  const bool listWasEmpty = runway.entries.empty();
  if (key.empty()) return false;
  const std::optional<size_t> first = airports.FindPrefix(key);
  if (!first) return false;
  const std::string selected = runway.selected ? runway.entries[*runway.selected] : std::string();
  for (size_t r = *first; r < airports.Count(); ++r) {
    const std::string_view line = airports.GetLine(r);
    if (!StartsWithNoCase(line, key)) break;
    if (listWasEmpty) {
      runway.entries.push_back(RunwayEntry(line, 33, 42));
      runway.entries.push_back(RunwayEntry(line, 37, 46));
      continue;
    }
    const std::string_view number = platform::Columns(selected, 0, 3);
    if (number.size() == 3 &&
        (number == platform::Columns(line, 33, 3) || number == platform::Columns(line, 37, 3))) {
      platform::PadTo(row, 75);
      row.replace(46, 29,
                  std::string(platform::Columns(line, 51, 29)).append(29, ' ').substr(0, 29));
      break;
    }
  }
  if (listWasEmpty && !runway.entries.empty()) {
    const std::string wanted = std::string(platform::Columns(runway.editText, 0, 13));
    const auto match =
        std::find_if(runway.entries.begin(), runway.entries.end(),
                     [&](const std::string& e) { return StartsWithNoCase(e, wanted); });
    runway.Select(
        match == runway.entries.end() ? 0 : static_cast<size_t>(match - runway.entries.begin()));
  }
  return true;
}

void ApplyRunway(PlannerState& state, std::string& row, bool departure) {
  RunwayChoice& runway = departure ? state.dialog.departureRunway : state.dialog.arrivalRunway;
  const std::string text = runway.selected ? runway.entries[*runway.selected]
                                           : std::string(platform::Columns(runway.editText, 0, 7));
  const size_t slash = text.find('/');
  platform::PadTo(row, 85);
  if (slash != std::string::npos && text.size() >= slash + 4) {
    row.replace(82, 3, text.substr(slash + 1, 3));
  } else {
    row.replace(82, 3, "   ");
  }
  FlightPlan& plan = state.plan;
  (departure ? plan.departureAirport : plan.arrivalAirport) =
      std::string(platform::Columns(row, 5, 6));
  (departure ? plan.departureRunwayNumber : plan.arrivalRunwayNumber) =
      std::string(platform::Columns(text, 0, 3));
  (departure ? plan.departureRunwayHeadingDeg : plan.arrivalRunwayHeadingDeg) =
      static_cast<int32_t>(platform::ReadLong(text, 4));
}

bool HasHeading(std::string_view row) {
  const std::string_view heading = platform::Columns(row, 82, 3);
  return std::any_of(heading.begin(), heading.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void InsertRow(std::vector<std::string>& rows, size_t index, std::string row) {
  rows.insert(rows.begin() + static_cast<long>(std::min(index, rows.size())), std::move(row));
}

size_t GenerateDeparture(PlannerState& state, const std::string& row) {
  std::vector<std::string>& rows = state.dialog.rows;
  DeleteFirstRow(rows, kBrdPrefix);
  DeleteFirstRow(rows, kErdPrefix);
  if (rows.size() < 2 || !HasHeading(row)) return rows.size();
  const int headingDeg = static_cast<int>(platform::ReadLong(platform::Columns(row, 82, 3)));
  const TurnPoints turn =
      ComputeTurn(RowLatitude(row), RowLongitude(row), RowLatitude(rows[1]), RowLongitude(rows[1]),
                  headingDeg, state.plan.rotationDistanceNm, state.plan.rotationRadiusNm);
  InsertRow(rows, 1,
            GeneratedRow("BRD", "(Begin of Rotation Dep)", turn.beginLatDeg, turn.beginLonDeg));
  InsertRow(rows, 2,
            GeneratedRow("ERD", "(End   of Rotation Dep)", turn.endLatDeg, turn.endLonDeg));
  return rows.size();
}

size_t GenerateArrival(PlannerState& state, const std::string& row) {
  std::vector<std::string>& rows = state.dialog.rows;
  DeleteFirstRow(rows, kBraPrefix);
  DeleteFirstRow(rows, kEraPrefix);
  if (rows.size() < 2 || !HasHeading(row)) return rows.size();
  // ILS rows just before the arrival belong to the approach: turn before them.
  size_t previous = rows.size() - 2;
  while (previous > 0 && rows[previous].starts_with("ILS")) --previous;
  if (rows[previous].starts_with("ILS")) return rows.size();
  int headingDeg = static_cast<int>(platform::ReadLong(platform::Columns(row, 82, 3)));
  headingDeg = headingDeg >= 180 ? headingDeg - 180 : headingDeg + 180;
  const TurnPoints turn =
      ComputeTurn(RowLatitude(row), RowLongitude(row), RowLatitude(rows[previous]),
                  RowLongitude(rows[previous]), headingDeg, state.plan.rotationDistanceNm,
                  state.plan.rotationRadiusNm);
  InsertRow(rows, previous + 1,
            GeneratedRow("ERA", "(End   of Rotation Arr)", turn.beginLatDeg, turn.beginLonDeg));
  InsertRow(rows, previous + 1,
            GeneratedRow("BRA", "(Begin of Rotation Arr)", turn.endLatDeg, turn.endLonDeg));
  return rows.size();
}

double Clamped(double value) {
  return std::clamp(value, -1.0, 1.0);
}

}  // namespace

TurnPoints ComputeTurn(double airportLatDeg, double airportLonDeg, double nextLatDeg,
                       double nextLonDeg, int headingDeg, double distanceNm, double radiusNm) {
  const double angleRad = headingDeg * kDegToRad;
  double nx = nextLatDeg, ny = nextLonDeg;
  const double ax = airportLatDeg, ay = airportLonDeg;
  RotatePoint(nx, ny, ax, ay, angleRad);
  double px = ax + distanceNm * kOneSixtieth, py = ay;
  const double r = radiusNm * kOneSixtieth;
  const double cy = ny > ay ? ay + r : ay - r;
  const double dy = ny - cy;
  const double dx = nx - px;
  const double d = std::sqrt(dy * dy + dx * dx);
  const double phi = d > 0 ? std::acos(Clamped(r / d)) - std::acos(Clamped(dy / d)) : 0;
  const double s = nx < ax ? -1 : 1;
  double ex, ey;
  if (ny > ay) {
    ex = px + std::sin(phi) * r;
    ey = cy - s * std::cos(phi) * r;
  } else {
    ex = px - std::sin(phi) * r;
    ey = cy + s * std::cos(phi) * r;
  }
  RotatePoint(px, py, ax, ay, -angleRad);
  RotatePoint(ex, ey, ax, ay, -angleRad);
  return {px, py, ex, ey};
}

size_t GenerateSidStar(PlannerState& state, const navdb::EntryList& airports, std::string& row,
                       size_t index) {
  const bool departure = index == 0;
  PlanDialog& dialog = state.dialog;
  (departure ? dialog.departureAirportText : dialog.arrivalAirportText) =
      std::string(platform::Columns(row, 5, 6));
  MatchRunwayLines(airports, row, departure ? dialog.departureRunway : dialog.arrivalRunway);
  ApplyRunway(state, row, departure);
  std::vector<std::string>& rows = dialog.rows;
  if (!dialog.sidStarEnabled) {
    DeleteFirstRow(rows, kBrdPrefix);
    DeleteFirstRow(rows, kErdPrefix);
    DeleteFirstRow(rows, kBraPrefix);
    DeleteFirstRow(rows, kEraPrefix);
    return rows.size();
  }
  return departure ? GenerateDeparture(state, row) : GenerateArrival(state, row);
}

}  // namespace planner
