// One flight of the stand-in aircraft: its motion, the "follow the plan"
// autopilot, the tuned radios, and the controls the window's keys and the
// scheduled keys work. Headless runs and the window drive it the same way,
// frame by frame.
#pragma once

#include <optional>
#include <string>

#include "aircraft.h"
#include "autopilot.h"
#include "flight_model.h"
#include "radios.h"
#include "station_finder.h"

namespace ndhost {

enum class RadioSlot { Nav1, Nav2, Adf };

// Fixed values that replace computed ones, for still pictures.
struct RadioOverrides {
  std::optional<double> dmeNm;
  std::optional<double> adfBearingDeg;
  std::optional<double> marker;
};

inline constexpr double kHeadingStepDeg = 10;
inline constexpr double kCourseStepDeg = 5;
inline constexpr double kSpeedStepKt = 10;
inline constexpr double kMaxAirspeedKt = 600;
inline constexpr double kAltitudeStepFt = 500;
inline constexpr double kMaxAltitudeFt = 45000;

class FlightSession {
 public:
  explicit FlightSession(const StationFinder& stations) : stations_(stations) {}

  FlightState& Flight() { return flight_; }
  const FlightState& Flight() const { return flight_; }
  Wind& CurrentWind() { return wind_; }
  const RadioTuning& Tuning() const { return tuning_; }
  RadioOverrides& Overrides() { return overrides_; }
  const std::optional<Autopilot>& Pilot() const { return autopilot_; }

  void SetRoute(PlanRoute route) { autopilot_.emplace(std::move(route)); }
  // Puts the aircraft at the route's first point (when there is a route).
  void PlaceAtRouteStart();
  // On only with a route to follow.
  void SetFollowPlan(bool on) { followPlan_ = on && autopilot_ && !autopilot_->Empty(); }
  bool FollowingPlan() const { return followPlan_; }

  // Tunes a receiver; NAV 1 takes the station's default course.
  void Tune(RadioSlot slot, const Station* station);
  void SetNav1Course(double courseDeg) { tuning_.nav1CourseDeg = Normalize360(courseDeg); }

  // Flies on by the time measured for the frame.
  void Advance(double elapsedSeconds);
  // Fills the host variables from the flight and the radios.
  void Publish(AircraftState& aircraft) const;

  // "HDG 092 SEL 090 IAS 140 GS 152 ALT 3000/2500 PLAN on", then "PAUSED"
  // while paused: the window's title and the report's flight line.
  std::string StatusText() const;

  // The controls.
  void TurnBy(double degrees);  // the selected heading; hands the steering back to the pilot
  void ChangeCourse(double degrees);
  void ChangeSpeed(double knots);
  void ChangeAltitude(double feet);
  void TogglePause() { flight_.paused = !flight_.paused; }
  void ToggleFollowPlan() { SetFollowPlan(!followPlan_); }
  // The next (or previous) station in range on the receiver.
  void CycleStation(RadioSlot slot, bool backwards);

 private:
  const StationFinder& stations_;
  FlightState flight_;
  Wind wind_;
  RadioTuning tuning_;
  RadioOverrides overrides_;
  std::optional<Autopilot> autopilot_;
  bool followPlan_ = false;
};

}  // namespace ndhost
