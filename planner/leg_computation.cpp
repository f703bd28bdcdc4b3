#include "planner/leg_computation.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "planner/sid_star.h"
#include "platform/numbers.h"

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

// The computed fields of a row: altitude, course, cumulative distance and
// time. The row is cut after its position and these written anew.
void SetComputedFields(PlanRow& row, std::optional<int> altitudeFt, std::optional<int> courseDeg,
                       int64_t distanceTenthsNm, std::optional<RowTime> time) {
  row.altitudeFt = altitudeFt;
  row.courseDeg = courseDeg;
  row.distanceTenthsNm = distanceTenthsNm;
  row.time = time;
  row.paddedChars = 0;
}

PlanRow TocRow(const LegRun& run, const Leg& leg, double toLatDeg) {
  const double overNm = run.distanceNm - run.climbDistanceNm;
  double latitude = toLatDeg;
  double longitude = leg.toLongitudeDeg;
  if (leg.lengthNm > 0) {
    latitude -= leg.deltaLatDeg / leg.lengthNm * overNm;
    longitude -= leg.deltaLonDeg / leg.lengthNm * overNm;
  }
  PlanRow row = GeneratedRow(PlanRowKind::TopOfClimb, latitude, NormalizedLongitude(longitude));
  SetComputedFields(row, run.performance.cruiseAltitudeFt, leg.courseDeg,
                    TenthsOfNm(run.climbDistanceNm), RowTime::FromMinutes(run.climbTimeMin));
  return row;
}

void StartDeparture(PlannerState& state, const navdb::EntryList& airports, PlanRow& row,
                    LegRun& run) {
  std::vector<PlanRow>& rows = state.dialog.rows;
  if (row.kind != PlanRowKind::Airport) {
    state.dialog.departureAirportText = "Not APT";
    state.dialog.departureRunway.Clear();
  } else {
    GenerateSidStar(state, airports, row, 0);
    PlanRow arrival = rows.back();
    if (arrival.kind != PlanRowKind::Airport) {
      state.dialog.arrivalAirportText = "Not APT";
      state.dialog.arrivalRunway.Clear();
    } else {
      GenerateSidStar(state, airports, arrival, rows.size() - 1);
      rows.back() = arrival;
    }
  }
  // The departure keeps its elevation and runway heading.
  SetComputedFields(row, row.altitudeFt, row.courseDeg, 0, RowTime{});
  run.departureElevationFt = row.altitudeFt.value_or(0);
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

// Computes row `index` (not the first, not the last) from the leg that ends
// there; may insert the TOC row before it. Returns the row's new index.
size_t ComputeRow(PlannerState& state, PlanRow& row, size_t index, const Leg& leg, double toLatDeg,
                  LegRun& run) {
  const AircraftPerformance& performance = run.performance;
  run.distanceNm += leg.lengthNm;
  if (run.previousCourseDeg != kNoCourse && state.rotationWarningRow == 0 &&
      TurnAngleDeg(run.previousCourseDeg, leg.courseDeg) > 100) {
    state.rotationWarningRow = static_cast<int>(index);
  }
  run.previousCourseDeg = leg.courseDeg;

  int altitudeFt;
  if (run.distanceNm > run.climbDistanceNm && !run.tocPlaced) {
    run.tocPlaced = true;
    std::vector<PlanRow>& rows = state.dialog.rows;
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
  // A time that shows as 00:00:00 is no time: nothing was flown at a speed.
  const RowTime time = RowTime::FromMinutes(run.timeMin);
  const bool timed = time.hours != 0 || time.minutes != 0 || time.seconds != 0;
  SetComputedFields(row, altitudeFt, leg.courseDeg, TenthsOfNm(run.distanceNm),
                    timed ? time : RowTime::Unknown());
  return index;
}

PlanRow TodRow(const LegRun& run, double latitudeDeg, double longitudeDeg,
               std::optional<int> courseDeg, double todDistanceNm, double todTimeMin) {
  PlanRow row =
      GeneratedRow(PlanRowKind::TopOfDescent, latitudeDeg, NormalizedLongitude(longitudeDeg));
  SetComputedFields(row, run.performance.cruiseAltitudeFt, courseDeg, TenthsOfNm(todDistanceNm),
                    RowTime::FromMinutes(todTimeMin));
  return row;
}

// Places the TOD row at distance `todNm`; returns its index, or nothing when
// no row lies beyond it.
std::optional<size_t> PlaceTod(std::vector<PlanRow>& rows, const LegRun& run, double todNm,
                               double todTimeMin) {
  size_t j = 0;
  while (j < rows.size() && !(rows[j].DistanceNm() > todNm)) ++j;
  if (j == 0 || j == rows.size()) return std::nullopt;
  const PlanRow& before = rows[j - 1];
  const double fromDistanceNm = before.DistanceNm();
  const double segmentNm = rows[j].DistanceNm() - fromDistanceNm;
  const double fromLat = before.LatitudeDeg();
  const double fromLon = before.LongitudeDeg();
  const double toLat = rows[j].LatitudeDeg();
  const double toLon = DateLineAdjusted(fromLon, rows[j].LongitudeDeg());
  const double share = segmentNm > 0 ? (todNm - fromDistanceNm) / segmentNm : 0;
  const double latitude = fromLat + (toLat - fromLat) * share;
  const double longitude = fromLon + (toLon - fromLon) * share;
  // The TOD takes the course of the leg it lies on.
  PlanRow tod = TodRow(run, latitude, longitude, rows[j].courseDeg, todNm, todTimeMin);
  rows.insert(rows.begin() + static_cast<long>(j), std::move(tod));
  return j;
}

void TimeDescent(std::vector<PlanRow>& rows, const LegRun& run, size_t fromIndex, double startNm,
                 double startTimeMin, int arrivalElevationFt) {
  const AircraftPerformance& performance = run.performance;
  for (size_t k = fromIndex + 1; k < rows.size(); ++k) {
    PlanRow& row = rows[k];
    // A row without a course (an arrival that is no airport, just
    // inserted) gets none rather than a number read from its other columns.
    const int courseDeg = row.courseDeg.value_or(0);
    const double distanceNm = row.DistanceNm();
    const double descentMin = (distanceNm - startNm) / performance.descentSpeedKt * 60;
    const int altitudeFt =
        k + 1 == rows.size()
            ? arrivalElevationFt
            : performance.cruiseAltitudeFt - Rounded(performance.descentRateFpm * descentMin);
    // The distance as the row shows it, cut once more: the descent has
    // always written it so, a tenth below in some rows, and plan files
    // written before hold it that way.
    SetComputedFields(row, altitudeFt, courseDeg, TenthsOfNm(distanceNm),
                      RowTime::FromMinutes(startTimeMin + descentMin));
  }
}

void ComputeDescent(PlannerState& state, const LegRun& run, int arrivalElevationFt) {
  const AircraftPerformance& performance = run.performance;
  if (performance.descentRateFpm == 0 || performance.descentSpeedKt == 0) return;
  std::vector<PlanRow>& rows = state.dialog.rows;
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
    start = FindRow(rows, PlanRowKind::TopOfClimb);
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
  std::vector<PlanRow>& rows = state.dialog.rows;
  LegRun run{state.plan.performance};
  run.trueAirspeedKt =
      TrueAirspeedKt(run.performance.cruiseSpeed, run.performance.cruiseAltitudeFt);
  state.rotationWarningRow = 0;
  // No leg leads to or from a row without a position: the plan keeps its
  // rows as they are until that row is removed.
  if (FindVerbatimRow(rows)) return;
  DeleteFirstRow(rows, PlanRowKind::TopOfClimb);
  DeleteFirstRow(rows, PlanRowKind::TopOfDescent);
  if (rows.size() < 2) return;

  double previousLat = 0, previousLon = 0;
  for (size_t i = 0; i + 1 < rows.size(); ++i) {
    PlanRow row = rows[i];
    const double latitude = row.LatitudeDeg();
    const double longitude = row.LongitudeDeg();
    if (i == 0) {
      StartDeparture(state, airports, row, run);
    } else {
      const Leg leg = ComputeLeg(previousLat, previousLon, latitude, longitude);
      i = ComputeRow(state, row, i, leg, latitude, run);
    }
    rows[i] = std::move(row);
    previousLat = latitude;
    previousLon = longitude;
  }

  // The arrival keeps its elevation and runway heading; its time comes with
  // the descent.
  PlanRow& last = rows.back();
  const int arrivalElevationFt = last.altitudeFt.value_or(0);
  run.distanceNm +=
      ComputeLeg(previousLat, previousLon, last.LatitudeDeg(), last.LongitudeDeg()).lengthNm;
  last.distanceTenthsNm = TenthsOfNm(run.distanceNm);
  last.time.reset();
  last.paddedChars = 0;
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

double NormalizedLongitude(double longitudeDeg) {
  if (longitudeDeg > 180) return longitudeDeg - 360;
  if (longitudeDeg < -180) return longitudeDeg + 360;
  return longitudeDeg;
}

}  // namespace planner
