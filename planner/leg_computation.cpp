#include "planner/leg_computation.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "navdb/coordinates.h"
#include "planner/sid_star.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace planner {
namespace {

constexpr double kMachFactorKt = 670.0;
constexpr float kMachAltitudeCorrection = 0.002105263f;
constexpr float kClimbDistanceFactor = 1.0f / 60;
constexpr double kLongitudeNmPerRadian = 3438;
constexpr int kNoCourse = 999;

// Cuts toward zero; values outside int (and NaN) cannot reach a row.
int Cut(double value) {
  if (!(value > INT_MIN && value < INT_MAX)) return value > 0 ? INT_MAX : (value < 0 ? INT_MIN : 0);
  return static_cast<int>(value);
}

int Rounded(double value) {
  return Cut(static_cast<double>(platform::RoundHalfAwayFromZero(value)));
}

struct ClockParts {
  int hours, minutes, seconds;
};

// Seconds that round up to 60 carry into the minutes (and on into the
// hours), so a time a hair below a whole minute never shows ":60".
ClockParts ClockOf(double minutes) {
  int h = Cut(minutes / 60);
  int m = Cut(minutes - 60.0 * h);
  int s = Rounded((minutes - 60.0 * h - m) * 60);
  if (s == 60) {
    s = 0;
    if (++m == 60) {
      m = 0;
      ++h;
    }
  }
  return {h, m, s};
}

// The smaller angle between two courses, 0 to 180: 018 to 332 is a turn of 46.
int TurnAngleDeg(int fromCourseDeg, int toCourseDeg) {
  const int differenceDeg = std::abs(toCourseDeg - fromCourseDeg) % 360;
  return differenceDeg > 180 ? 360 - differenceDeg : differenceDeg;
}

// One leg between two rows.
struct Leg {
  double toLongitudeDeg;  // after the date-line step
  double deltaLatDeg;
  double deltaLonDeg;
  double lengthNm;
  int courseDeg;
};

double DateLineAdjusted(double fromLonDeg, double toLonDeg) {
  if (fromLonDeg * toLonDeg < 0 && std::fabs(fromLonDeg) > 150) {
    return toLonDeg > 0 ? toLonDeg - 360 : toLonDeg + 360;
  }
  return toLonDeg;
}

Leg ComputeLeg(double fromLatDeg, double fromLonDeg, double toLatDeg, double toLonDeg) {
  Leg leg;
  leg.toLongitudeDeg = DateLineAdjusted(fromLonDeg, toLonDeg);
  leg.deltaLatDeg = toLatDeg - fromLatDeg;
  leg.deltaLonDeg = leg.toLongitudeDeg - fromLonDeg;
  const double k =
      std::cos((fromLatDeg + toLatDeg) * 0.5 * kDegToRad) * kDegToRad * kLongitudeNmPerRadian;
  const double northNm = std::fabs(leg.deltaLatDeg) * 60;
  const double eastNm = std::fabs(leg.deltaLonDeg) * k;
  leg.lengthNm = std::sqrt(northNm * northNm + eastNm * eastNm);
  int course = Rounded(std::atan2(leg.deltaLonDeg, leg.deltaLatDeg) * (180 / kPi));
  if (course < 0) course += 360;
  leg.courseDeg = course;
  return leg;
}

// Values of one run of the computation.
struct LegRun {
  const AircraftPerformance& performance;
  double trueAirspeedKt = 0;
  int departureElevationFt = 0;
  double climbTimeMin = 0;
  double climbDistanceNm = 0;
  bool tocPlaced = false;
  int previousCourseDeg = kNoCourse;
  double distanceNm = 0;
  double timeMin = 0;
};

// Minutes to fly `lengthNm` at `speedKt`; 0 when the speed is not positive.
double MinutesAt(double lengthNm, double speedKt) {
  return speedKt > 0 ? lengthNm / speedKt * 60 : 0;
}

std::string ComputedColumns(int altitudeFt, int courseDeg, double distanceNm) {
  return " " + platform::ZeroPadded(altitudeFt, 5) + "  " + platform::ZeroPadded(courseDeg, 3) +
         "  " + FormatDistance(distanceNm) + " ";
}

std::string TocRow(const LegRun& run, const Leg& leg, double toLatDeg) {
  const double overNm = run.distanceNm - run.climbDistanceNm;
  double latitude = toLatDeg;
  double longitude = leg.toLongitudeDeg;
  if (leg.lengthNm > 0) {
    latitude -= leg.deltaLatDeg / leg.lengthNm * overNm;
    longitude -= leg.deltaLonDeg / leg.lengthNm * overNm;
  }
  std::string row = GeneratedRow("TOC", "(Top Of Climb)", latitude, NormalizedLongitude(longitude));
  row += platform::ZeroPadded(run.performance.cruiseAltitudeFt, 5);
  platform::PadTo(row, 82);
  row += platform::ZeroPadded(leg.courseDeg, 3);
  platform::PadTo(row, 87);
  row += FormatDistance(run.climbDistanceNm);
  platform::PadTo(row, 95);
  row += FormatTime(run.climbTimeMin);
  return row;
}

void StartDeparture(PlannerState& state, const navdb::EntryList& airports, std::string& row,
                    LegRun& run) {
  std::vector<std::string>& rows = state.dialog.rows;
  if (!row.starts_with("APT")) {
    state.dialog.departureAirportText = "Not APT";
    state.dialog.departureRunway.Clear();
  } else {
    GenerateSidStar(state, airports, row, 0);
    std::string arrival = rows.back();
    if (!arrival.starts_with("APT")) {
      state.dialog.arrivalAirportText = "Not APT";
      state.dialog.arrivalRunway.Clear();
    } else {
      GenerateSidStar(state, airports, arrival, rows.size() - 1);
      rows.back() = arrival;
    }
  }
  platform::PadTo(row, 86);
  platform::CutTo(row, 86);
  row += " 0000.0  00:00:00";
  run.departureElevationFt = static_cast<int>(platform::ReadLong(row, 75));
  const AircraftPerformance& performance = run.performance;
  // A cruise altitude at or below the runway means no climb at all, rather
  // than a climb of negative length ending behind the departure.
  if (performance.climbRateFpm > 0 && run.trueAirspeedKt > 0 &&
      performance.cruiseAltitudeFt > run.departureElevationFt) {
    run.climbTimeMin =
        static_cast<double>(performance.cruiseAltitudeFt - run.departureElevationFt) /
        performance.climbRateFpm;
    run.climbDistanceNm = performance.climbSpeedKt * run.climbTimeMin * kClimbDistanceFactor;
  } else {
    run.tocPlaced = true;
  }
}

// Rewrites row `index` (not the first, not the last) from the leg that ends
// there; may insert the TOC row before it. Returns the row's new index.
size_t ComputeRow(PlannerState& state, std::string& row, size_t index, const Leg& leg,
                  double toLatDeg, LegRun& run) {
  const AircraftPerformance& performance = run.performance;
  platform::PadTo(row, 74);
  platform::CutTo(row, 74);
  run.distanceNm += leg.lengthNm;
  if (run.previousCourseDeg != kNoCourse && state.rotationWarningRow == 0 &&
      TurnAngleDeg(run.previousCourseDeg, leg.courseDeg) > 100) {
    state.rotationWarningRow = static_cast<int>(index);
  }
  run.previousCourseDeg = leg.courseDeg;

  int altitudeFt;
  if (run.distanceNm > run.climbDistanceNm && !run.tocPlaced) {
    run.tocPlaced = true;
    std::vector<std::string>& rows = state.dialog.rows;
    rows.insert(rows.begin() + static_cast<long>(index), TocRow(run, leg, toLatDeg));
    ++index;
    // The climb ends at the TOC; only the rest of the leg is flown at
    // cruise speed, so this row's time follows the TOC row's.
    run.timeMin = std::max(
        run.timeMin,
        run.climbTimeMin + MinutesAt(run.distanceNm - run.climbDistanceNm, run.trueAirspeedKt));
    altitudeFt = performance.cruiseAltitudeFt;
  } else if (run.distanceNm > run.climbDistanceNm) {
    run.timeMin += MinutesAt(leg.lengthNm, run.trueAirspeedKt);
    altitudeFt = performance.cruiseAltitudeFt;
  } else {
    const double legMin = MinutesAt(leg.lengthNm, performance.climbSpeedKt);
    altitudeFt =
        run.climbTimeMin > 0
            ? Rounded((run.timeMin + legMin) *
                      (performance.cruiseAltitudeFt - run.departureElevationFt) / run.climbTimeMin)
            : performance.cruiseAltitudeFt;
    run.timeMin += legMin;
  }
  row += ComputedColumns(altitudeFt, leg.courseDeg, run.distanceNm);
  const ClockParts clock = ClockOf(run.timeMin);
  if (clock.hours != 0 || clock.minutes != 0 || clock.seconds != 0) {
    row += " " + FormatTime(run.timeMin);
  } else {
    row += " --:--:--";
  }
  return index;
}

std::string TodRow(const LegRun& run, double latitudeDeg, double longitudeDeg,
                   std::string_view courseText, double todDistanceNm, double todTimeMin) {
  std::string row =
      GeneratedRow("TOD", "(Top Of Descent)", latitudeDeg, NormalizedLongitude(longitudeDeg));
  row += platform::ZeroPadded(run.performance.cruiseAltitudeFt, 5);
  platform::PadTo(row, 82);
  row += courseText;
  platform::PadTo(row, 87);
  row += FormatDistance(todDistanceNm);
  platform::PadTo(row, 95);
  row += FormatTime(todTimeMin);
  return row;
}

// Places the TOD row at distance `todNm`; returns its index, or nothing when
// no row lies beyond it.
std::optional<size_t> PlaceTod(std::vector<std::string>& rows, const LegRun& run, double todNm,
                               double todTimeMin) {
  size_t j = 0;
  while (j < rows.size() && !(platform::ReadDouble(rows[j], 87) > todNm)) ++j;
  if (j == 0 || j == rows.size()) return std::nullopt;
  const std::string& before = rows[j - 1];
  const double fromDistanceNm = platform::ReadDouble(before, 87);
  const double segmentNm = platform::ReadDouble(rows[j], 87) - fromDistanceNm;
  const double fromLat = RowLatitude(before);
  const double fromLon = RowLongitude(before);
  const double toLat = RowLatitude(rows[j]);
  const double toLon = DateLineAdjusted(fromLon, RowLongitude(rows[j]));
  const double share = segmentNm > 0 ? (todNm - fromDistanceNm) / segmentNm : 0;
  const double latitude = fromLat + (toLat - fromLat) * share;
  const double longitude = fromLon + (toLon - fromLon) * share;
  rows.insert(
      rows.begin() + static_cast<long>(j),
      TodRow(run, latitude, longitude, platform::Columns(rows[j], 82, 3), todNm, todTimeMin));
  return j;
}

void TimeDescent(std::vector<std::string>& rows, const LegRun& run, size_t fromIndex,
                 double startNm, double startTimeMin, int arrivalElevationFt) {
  const AircraftPerformance& performance = run.performance;
  for (size_t k = fromIndex + 1; k < rows.size(); ++k) {
    std::string& row = rows[k];
    const int courseDeg = static_cast<int>(platform::ReadLong(row, 82));
    const double distanceNm = platform::ReadDouble(row, 87);
    const double descentMin = (distanceNm - startNm) / performance.descentSpeedKt * 60;
    const int altitudeFt =
        k + 1 == rows.size()
            ? arrivalElevationFt
            : performance.cruiseAltitudeFt - Rounded(performance.descentRateFpm * descentMin);
    platform::PadTo(row, 74);
    platform::CutTo(row, 74);
    row += ComputedColumns(altitudeFt, courseDeg, distanceNm) + " " +
           FormatTime(startTimeMin + descentMin);
  }
}

void ComputeDescent(PlannerState& state, const LegRun& run, int arrivalElevationFt) {
  const AircraftPerformance& performance = run.performance;
  if (performance.descentRateFpm == 0 || performance.descentSpeedKt == 0) return;
  std::vector<std::string>& rows = state.dialog.rows;
  const double todNm =
      run.distanceNm - static_cast<double>(performance.cruiseAltitudeFt - arrivalElevationFt) /
                           performance.descentRateFpm * performance.descentSpeedKt * (1.0 / 60);
  std::optional<size_t> start;
  double startNm, startTimeMin;
  if (todNm > run.climbDistanceNm) {
    startNm = todNm;
    startTimeMin = MinutesAt(todNm - run.climbDistanceNm, run.trueAirspeedKt) + run.climbTimeMin;
    start = PlaceTod(rows, run, todNm, startTimeMin);
  } else {
    // The descent would begin before the top of climb: descend from there.
    startNm = run.climbDistanceNm;
    startTimeMin = run.climbTimeMin;
    start = FindRow(rows, "TOC");
  }
  if (start) TimeDescent(rows, run, *start, startNm, startTimeMin, arrivalElevationFt);
}

}  // namespace

double TrueAirspeedKt(std::string_view cruiseSpeedText, int32_t cruiseAltitudeFt) {
  const double value = platform::ReadDouble(cruiseSpeedText);
  if (value > 0 && value < 5) {
    return kMachFactorKt * value - kMachAltitudeCorrection * static_cast<double>(cruiseAltitudeFt);
  }
  return value;
}

void ComputeLegs(PlannerState& state, const navdb::EntryList& airports) {
  std::vector<std::string>& rows = state.dialog.rows;
  LegRun run{state.plan.performance};
  run.trueAirspeedKt =
      TrueAirspeedKt(run.performance.cruiseSpeed, run.performance.cruiseAltitudeFt);
  state.rotationWarningRow = 0;
  DeleteFirstRow(rows, kTocPrefix);
  DeleteFirstRow(rows, kTodPrefix);
  if (rows.size() < 2) return;

  double previousLat = 0, previousLon = 0;
  for (size_t i = 0; i + 1 < rows.size(); ++i) {
    std::string row = rows[i];
    const double latitude = RowLatitude(row);
    const double longitude = RowLongitude(row);
    if (i == 0) {
      StartDeparture(state, airports, row, run);
    } else {
      const Leg leg = ComputeLeg(previousLat, previousLon, latitude, longitude);
      i = ComputeRow(state, row, i, leg, latitude, run);
    }
    rows[i] = row;
    previousLat = latitude;
    previousLon = longitude;
  }

  std::string& last = rows.back();
  platform::PadTo(last, 82);
  platform::CutTo(last, 86);
  platform::PadTo(last, 87);
  const int arrivalElevationFt = static_cast<int>(platform::ReadLong(last, 75));
  run.distanceNm +=
      ComputeLeg(previousLat, previousLon, RowLatitude(last), RowLongitude(last)).lengthNm;
  last += FormatDistance(run.distanceNm);
  ComputeDescent(state, run, arrivalElevationFt);
}

void RecomputeOpenedPlan(PlannerState& state, const navdb::EntryList& airports) {
  ComputeLegs(state, airports);
  ComputeLegs(state, airports);
}

void RotatePoint(double& x, double& y, double a, double b, double angleRad) {
  if (y == b && x == a) return;
  const double dx = x - a;
  const double dy = y - b;
  const double r = std::sqrt(dy * dy + dx * dx);
  double theta = std::acos(dy / r);
  if (dx < 0) theta = -theta;
  theta += angleRad;
  y = std::cos(theta) * r + b;
  x = std::sin(theta) * r + a;
}

std::string FormatDistance(double distanceNm) {
  const int whole = Cut(distanceNm);
  const int tenths = Cut((distanceNm - whole) * 10);
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%04d.%1d", whole, tenths);
  return buffer;
}

std::string FormatTime(double minutes) {
  const ClockParts clock = ClockOf(minutes);
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", clock.hours, clock.minutes, clock.seconds);
  return buffer;
}

std::string GeneratedRow(std::string_view code, std::string_view caption, double latitudeDeg,
                         double longitudeDeg) {
  std::string row(code);
  platform::PadTo(row, 5);
  row += "*****";
  platform::PadTo(row, 12);
  row += caption;
  platform::PadTo(row, 38);
  row += "---.--";
  platform::PadTo(row, 46);
  row += navdb::FormatLatitude(latitudeDeg);
  platform::PadTo(row, 60);
  row += navdb::FormatLongitude(longitudeDeg);
  platform::PadTo(row, 75);
  return row;
}

double RowLatitude(std::string_view row) {
  return navdb::ParseLatitude(platform::Columns(row, 46, 12));
}
double RowLongitude(std::string_view row) {
  return navdb::ParseLongitude(platform::Columns(row, 60, 13));
}

double NormalizedLongitude(double longitudeDeg) {
  if (longitudeDeg > 180) return longitudeDeg - 360;
  if (longitudeDeg < -180) return longitudeDeg + 360;
  return longitudeDeg;
}

}  // namespace planner
