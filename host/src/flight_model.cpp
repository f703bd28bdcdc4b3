#include "flight_model.h"

#include <algorithm>
#include <cmath>

namespace ndhost {

namespace {

constexpr double kDegToRad = M_PI / 180.0;
// Long frames are flown in short steps, so that a turn and the path it
// bends stay together.
constexpr double kMaxStepSeconds = 0.5;

void Turn(FlightState& flight, double seconds) {
  double toGoDeg = SignedDifferenceDeg(flight.trueHeadingDeg, flight.selectedHeadingDeg);
  double maxDeg = kStandardTurnRateDegPerSecond * seconds;
  double turnDeg = std::clamp(toGoDeg, -maxDeg, maxDeg);
  flight.trueHeadingDeg = Normalize360(flight.trueHeadingDeg + turnDeg);
}

void Climb(FlightState& flight, double seconds) {
  double toGoFt = flight.selectedAltitudeFt - flight.altitudeFt;
  double maxFt = std::fabs(flight.verticalRateFpm) * seconds / 60.0;
  flight.altitudeFt += std::clamp(toGoFt, -maxFt, maxFt);
}

}  // namespace

void UpdateGroundVector(FlightState& flight, const Wind& wind) {
  double headingRad = flight.trueHeadingDeg * kDegToRad;
  // The wind blows toward the opposite of where it comes from.
  double windToRad = (wind.fromDeg + 180) * kDegToRad;
  double northKt = flight.airspeedKt * std::cos(headingRad) + wind.speedKt * std::cos(windToRad);
  double eastKt = flight.airspeedKt * std::sin(headingRad) + wind.speedKt * std::sin(windToRad);
  flight.groundSpeedKt = std::hypot(northKt, eastKt);
  flight.trackDeg = flight.groundSpeedKt > 0 ? Normalize360(std::atan2(eastKt, northKt) / kDegToRad)
                                             : flight.trueHeadingDeg;
}

void StepFlight(FlightState& flight, const Wind& wind, double elapsedSeconds) {
  if (flight.paused || !(elapsedSeconds > 0)) {
    UpdateGroundVector(flight, wind);
    return;
  }
  double remaining = elapsedSeconds;
  while (remaining > 0) {
    double seconds = std::min(remaining, kMaxStepSeconds);
    remaining -= seconds;
    // The path of a step follows the heading in the middle of the step.
    Turn(flight, seconds / 2);
    UpdateGroundVector(flight, wind);
    flight.position =
        Destination(flight.position, flight.trackDeg, flight.groundSpeedKt * seconds / 3600.0);
    Turn(flight, seconds / 2);
    Climb(flight, seconds);
  }
  UpdateGroundVector(flight, wind);
}

}  // namespace ndhost
