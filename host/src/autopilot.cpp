#include "autopilot.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "planner/plan_file.h"
#include "platform/text_columns.h"

namespace ndhost {

namespace {

constexpr double kDegToRad = M_PI / 180.0;
// A point counts as reached this close even when no turn follows it.
constexpr double kReachedNm = 0.1;
// A route point is labelled with the identifier's first five characters.
constexpr size_t kLabelChars = 5;

// Radius of a standard-rate turn: a full circle takes 120 seconds.
double TurnRadiusNm(double groundSpeedKt) {
  double circleNm = groundSpeedKt * (360.0 / kStandardTurnRateDegPerSecond) / 3600.0;
  return circleNm / (2 * M_PI);
}

}  // namespace

PlanRoute ReadPlanRoute(const std::string& planText) {
  // The plan file's own reader: the header's rates and the staged rows.
  planner::FlightPlan plan;
  auto staging = std::make_unique<planner::PlanStagingTable>();
  planner::DecodePlanFile(planText, plan, *staging);
  PlanRoute route;
  if (plan.performance.climbRateFpm > 0) route.climbRateFpm = plan.performance.climbRateFpm;
  if (plan.performance.descentRateFpm > 0) route.descentRateFpm = plan.performance.descentRateFpm;
  for (const planner::StagedWaypoint& record : staging->records) {
    if (record.rowText.empty()) break;
    // A row with no position or altitude is no point to fly to.
    const planner::PlanRow row = planner::ParsePlanRow(record.rowText);
    if (row.IsVerbatim() || !row.altitudeFt) continue;
    RoutePoint point;
    point.position = {row.LatitudeDeg(), row.LongitudeDeg()};
    point.altitudeFt = *row.altitudeFt;
    point.label = std::string(platform::TrimEnd(platform::Columns(row.identifier, 0, kLabelChars)));
    route.points.push_back(point);
  }
  return route;
}

double HeadingForTrack(double trackDeg, double airspeedKt, const Wind& wind) {
  if (airspeedKt <= 0) return trackDeg;
  double crossRatio = wind.speedKt * std::sin((wind.fromDeg - trackDeg) * kDegToRad) / airspeedKt;
  return Normalize360(trackDeg + std::asin(std::clamp(crossRatio, -1.0, 1.0)) / kDegToRad);
}

void Autopilot::PlaceAtStart(FlightState& flight, const Wind& wind) {
  if (route_.points.empty()) return;
  const RoutePoint& first = route_.points.front();
  flight.position = first.position;
  flight.altitudeFt = flight.selectedAltitudeFt = first.altitudeFt;
  next_ = 1;
  if (route_.points.size() > 1) {
    double trackDeg = InitialBearingDeg(first.position, route_.points[1].position);
    flight.trueHeadingDeg = flight.selectedHeadingDeg =
        HeadingForTrack(trackDeg, flight.airspeedKt, wind);
  }
  UpdateGroundVector(flight, wind);
}

void Autopilot::Steer(FlightState& flight, const Wind& wind) {
  while (next_ < route_.points.size()) {
    const RoutePoint& target = route_.points[next_];
    double toGoNm = DistanceNm(flight.position, target.position);
    double trackToDeg = InitialBearingDeg(flight.position, target.position);
    // Begin the turn onto the next leg one turn radius times tan(half the
    // turn) before the point, so the aircraft rolls out on the next leg.
    double leadNm = 0;
    if (next_ + 1 < route_.points.size()) {
      double nextTrackDeg = InitialBearingDeg(target.position, route_.points[next_ + 1].position);
      double turnDeg = std::fabs(SignedDifferenceDeg(trackToDeg, nextTrackDeg));
      leadNm =
          TurnRadiusNm(flight.groundSpeedKt) * std::tan(std::min(turnDeg, 150.0) / 2 * kDegToRad);
    }
    // A point behind the aircraft and inside its turn circle cannot be
    // reached by turning: it counts as passed.
    bool behind = std::fabs(SignedDifferenceDeg(flight.trackDeg, trackToDeg)) > 90 &&
                  toGoNm < 2 * TurnRadiusNm(flight.groundSpeedKt);
    if (toGoNm <= std::max(leadNm, kReachedNm) || behind) {
      ++next_;
      continue;
    }
    flight.selectedHeadingDeg = HeadingForTrack(trackToDeg, flight.airspeedKt, wind);
    flight.selectedAltitudeFt = target.altitudeFt;
    double climbFt = target.altitudeFt - flight.altitudeFt;
    double limitFpm = climbFt >= 0 ? route_.climbRateFpm : route_.descentRateFpm;
    // The rate that reaches the point's altitude where the turn toward the
    // next point begins, within the plan's rate.
    double minutesToGo =
        flight.groundSpeedKt > 0 ? (toGoNm - leadNm) / flight.groundSpeedKt * 60.0 : 0;
    double neededFpm = minutesToGo > 0 ? std::fabs(climbFt) / minutesToGo : limitFpm;
    flight.verticalRateFpm = std::min(neededFpm, limitFpm);
    return;
  }
}

}  // namespace ndhost
