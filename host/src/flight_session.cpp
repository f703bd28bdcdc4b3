#include "flight_session.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ndhost {

void FlightSession::PlaceAtRouteStart() {
  if (autopilot_) autopilot_->PlaceAtStart(flight_, wind_);
}

void FlightSession::Tune(RadioSlot slot, const Station* station) {
  switch (slot) {
    case RadioSlot::Nav1:
      tuning_.nav1 = station;
      if (station != nullptr) tuning_.nav1CourseDeg = DefaultCourseDeg(*station, flight_.position);
      break;
    case RadioSlot::Nav2:
      tuning_.nav2 = station;
      break;
    case RadioSlot::Adf:
      tuning_.adf = station;
      break;
  }
}

void FlightSession::Advance(double elapsedSeconds) {
  if (followPlan_ && !flight_.paused) autopilot_->Steer(flight_, wind_);
  StepFlight(flight_, wind_, elapsedSeconds);
}

void FlightSession::Publish(AircraftState& aircraft) const {
  ComputeRadios(flight_, wind_, tuning_, aircraft);
  if (overrides_.dmeNm) {
    aircraft.dmeNm = *overrides_.dmeNm;
    aircraft.nav1Flags = (aircraft.nav1Flags & ~kNavFlagNoSignal) | kNavFlagDme;
  }
  if (overrides_.adfBearingDeg && tuning_.adf != nullptr) {
    aircraft.adfBearingDeg = *overrides_.adfBearingDeg;
    aircraft.adfActive = 1;
  }
  if (overrides_.marker) aircraft.marker = *overrides_.marker;
}

std::string FlightSession::StatusText() const {
  double variationDeg = LocalVariationDeg(tuning_);
  char text[160];
  std::snprintf(text, sizeof(text), "HDG %03d SEL %03d IAS %d GS %d ALT %d/%d PLAN %s%s",
                static_cast<int>(WholeDegrees(flight_.trueHeadingDeg - variationDeg)),
                static_cast<int>(WholeDegrees(flight_.selectedHeadingDeg - variationDeg)),
                static_cast<int>(std::lround(flight_.airspeedKt)),
                static_cast<int>(std::lround(flight_.groundSpeedKt)),
                static_cast<int>(std::lround(flight_.altitudeFt)),
                static_cast<int>(std::lround(flight_.selectedAltitudeFt)),
                followPlan_ ? "on" : "off", flight_.paused ? " PAUSED" : "");
  return text;
}

void FlightSession::TurnBy(double degrees) {
  followPlan_ = false;
  flight_.selectedHeadingDeg = Normalize360(flight_.selectedHeadingDeg + degrees);
}

void FlightSession::ChangeCourse(double degrees) {
  SetNav1Course(tuning_.nav1CourseDeg + degrees);
}

void FlightSession::ChangeSpeed(double knots) {
  flight_.airspeedKt = std::clamp(flight_.airspeedKt + knots, 0.0, kMaxAirspeedKt);
}

void FlightSession::ChangeAltitude(double feet) {
  followPlan_ = false;
  flight_.selectedAltitudeFt = std::clamp(flight_.selectedAltitudeFt + feet, 0.0, kMaxAltitudeFt);
  flight_.verticalRateFpm = kDefaultVerticalRateFpm;
}

void FlightSession::CycleStation(RadioSlot slot, bool backwards) {
  const Station* current = slot == RadioSlot::Nav1   ? tuning_.nav1
                           : slot == RadioSlot::Nav2 ? tuning_.nav2
                                                     : tuning_.adf;
  Band band = slot == RadioSlot::Adf ? Band::Adf : Band::Nav;
  const Station* next = stations_.Cycle(band, flight_.position, current, backwards);
  if (next != nullptr) Tune(slot, next);
}

}  // namespace ndhost
