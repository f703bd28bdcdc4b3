#include "planner/sid_star.h"

#include <algorithm>
#include <cmath>

#include "navdb/entry_lines.h"
#include "planner/leg_computation.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace planner {
namespace {

constexpr double kOneSixtieth = 1.0 / 60;

// A runway list entry, "09L/087/11000": number, heading and length of one
// end of a runway line.
std::string RunwayEntry(std::string_view number, std::string_view headingDeg,
                        std::string_view lengthFt) {
  return std::string(number) + "/" + std::string(headingDeg) + "/" + std::string(lengthFt);
}

// The airport fields show the first six characters of the identifier.
constexpr size_t kEndAirportChars = 6;
// The runway lines of an airport begin with these characters of its
// database line: identifier and name.
constexpr size_t kAirportKeyChars = 32;

// Fills the runway list from the airport's lines when it is empty, or
// moves the row to the selected runway's centre. Returns true when the
// airport has a line.
bool MatchRunwayLines(const navdb::EntryList& airports, PlanRow& row, RunwayChoice& runway) {
  const std::string key(platform::Columns(LineIdentity(row), 0, kAirportKeyChars));
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
    const navdb::EntryFields ends = navdb::ParseEntryLine(navdb::NavaidKind::Airport, line);
    if (listWasEmpty) {
      runway.entries.push_back(RunwayEntry(ends.designation, ends.heading, ends.length));
      runway.entries.push_back(
          RunwayEntry(ends.oppositeDesignation, ends.oppositeHeading, ends.length));
      continue;
    }
    const std::string_view number = platform::Columns(selected, 0, 3);
    if (number.size() == 3 && (number == ends.designation || number == ends.oppositeDesignation)) {
      const std::optional<RowCoordinate> latitude = ReadLatitudeText(ends.latitudeText);
      const std::optional<RowCoordinate> longitude = ReadLongitudeText(ends.longitudeText);
      if (latitude && longitude) {
        row.latitude = *latitude;
        row.longitude = *longitude;
      }
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

// The heading of a runway text ("09L/087/11000"): the three characters after
// its first '/', when they are there and hold a digit.
std::optional<int> HeadingOf(std::string_view runwayText) {
  const size_t slash = runwayText.find('/');
  if (slash == std::string_view::npos || runwayText.size() < slash + 4) return std::nullopt;
  const std::string_view heading = runwayText.substr(slash + 1, 3);
  if (std::none_of(heading.begin(), heading.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  return static_cast<int>(platform::ReadLong(heading));
}

void ApplyRunway(PlannerState& state, PlanRow& row, bool departure) {
  RunwayChoice& runway = departure ? state.dialog.departureRunway : state.dialog.arrivalRunway;
  const std::string text = runway.selected ? runway.entries[*runway.selected]
                                           : std::string(platform::Columns(runway.editText, 0, 7));
  row.courseDeg = HeadingOf(text);
  FlightPlan& plan = state.plan;
  (departure ? plan.departureAirport : plan.arrivalAirport) =
      platform::Fitted(row.identifier, kEndAirportChars);
  (departure ? plan.departureRunwayNumber : plan.arrivalRunwayNumber) =
      std::string(platform::Columns(text, 0, 3));
  (departure ? plan.departureRunwayHeadingDeg : plan.arrivalRunwayHeadingDeg) =
      static_cast<int32_t>(platform::ReadLong(text, 4));
}

void InsertRow(std::vector<PlanRow>& rows, size_t index, PlanRow row) {
  rows.insert(rows.begin() + static_cast<long>(std::min(index, rows.size())), std::move(row));
}

size_t GenerateDeparture(PlannerState& state, const PlanRow& row) {
  std::vector<PlanRow>& rows = state.dialog.rows;
  DeleteFirstRow(rows, PlanRowKind::DepartureTurnStart);
  DeleteFirstRow(rows, PlanRowKind::DepartureTurnEnd);
  if (rows.size() < 2 || !row.courseDeg) return rows.size();
  const TurnPoints turn = ComputeTurn(row.LatitudeDeg(), row.LongitudeDeg(), rows[1].LatitudeDeg(),
                                      rows[1].LongitudeDeg(), *row.courseDeg,
                                      state.plan.rotationDistanceNm, state.plan.rotationRadiusNm);
  InsertRow(rows, 1,
            GeneratedRow(PlanRowKind::DepartureTurnStart, turn.beginLatDeg, turn.beginLonDeg));
  InsertRow(rows, 2, GeneratedRow(PlanRowKind::DepartureTurnEnd, turn.endLatDeg, turn.endLonDeg));
  return rows.size();
}

size_t GenerateArrival(PlannerState& state, const PlanRow& row) {
  std::vector<PlanRow>& rows = state.dialog.rows;
  DeleteFirstRow(rows, PlanRowKind::ArrivalTurnStart);
  DeleteFirstRow(rows, PlanRowKind::ArrivalTurnEnd);
  if (rows.size() < 2 || !row.courseDeg) return rows.size();
  // ILS rows just before the arrival belong to the approach: turn before them.
  size_t previous = rows.size() - 2;
  while (previous > 0 && rows[previous].kind == PlanRowKind::Ils) --previous;
  if (rows[previous].kind == PlanRowKind::Ils) return rows.size();
  const int headingDeg = *row.courseDeg >= 180 ? *row.courseDeg - 180 : *row.courseDeg + 180;
  const TurnPoints turn =
      ComputeTurn(row.LatitudeDeg(), row.LongitudeDeg(), rows[previous].LatitudeDeg(),
                  rows[previous].LongitudeDeg(), headingDeg, state.plan.rotationDistanceNm,
                  state.plan.rotationRadiusNm);
  InsertRow(rows, previous + 1,
            GeneratedRow(PlanRowKind::ArrivalTurnEnd, turn.beginLatDeg, turn.beginLonDeg));
  InsertRow(rows, previous + 1,
            GeneratedRow(PlanRowKind::ArrivalTurnStart, turn.endLatDeg, turn.endLonDeg));
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

size_t GenerateSidStar(PlannerState& state, const navdb::EntryList& airports, PlanRow& row,
                       size_t index) {
  const bool departure = index == 0;
  PlanDialog& dialog = state.dialog;
  (departure ? dialog.departureAirportText : dialog.arrivalAirportText) =
      platform::Fitted(row.identifier, kEndAirportChars);
  MatchRunwayLines(airports, row, departure ? dialog.departureRunway : dialog.arrivalRunway);
  ApplyRunway(state, row, departure);
  std::vector<PlanRow>& rows = dialog.rows;
  if (!dialog.sidStarEnabled) {
    DeleteFirstRow(rows, PlanRowKind::DepartureTurnStart);
    DeleteFirstRow(rows, PlanRowKind::DepartureTurnEnd);
    DeleteFirstRow(rows, PlanRowKind::ArrivalTurnStart);
    DeleteFirstRow(rows, PlanRowKind::ArrivalTurnEnd);
    return rows.size();
  }
  return departure ? GenerateDeparture(state, row) : GenerateArrival(state, row);
}

}  // namespace planner
