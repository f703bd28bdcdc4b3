// The stand-in aircraft's motion: it turns toward its selected heading at
// the standard rate, climbs or descends toward its selected altitude, and
// moves by its airspeed and the wind.
#pragma once

#include "great_circle.h"

namespace ndhost {

inline constexpr double kStandardTurnRateDegPerSecond = 3;
inline constexpr double kDefaultVerticalRateFpm = 1500;

struct Wind {
  double fromDeg = 0;  // true direction the wind blows from
  double speedKt = 0;
};

struct FlightState {
  GeoPoint position;
  double trueHeadingDeg = 0;
  double selectedHeadingDeg = 0;  // true; the aircraft turns toward it
  double airspeedKt = 0;
  double altitudeFt = 0;
  double selectedAltitudeFt = 0;
  double verticalRateFpm =
      kDefaultVerticalRateFpm;  // magnitude used to reach the selected altitude
  bool paused = false;
  // Results of the last step.
  double groundSpeedKt = 0;
  double trackDeg = 0;
};

// Ground speed and track of the aircraft's airspeed vector plus the wind.
void UpdateGroundVector(FlightState& flight, const Wind& wind);

// Moves the flight on by `elapsedSeconds` (nothing while paused).
void StepFlight(FlightState& flight, const Wind& wind, double elapsedSeconds);

}  // namespace ndhost
