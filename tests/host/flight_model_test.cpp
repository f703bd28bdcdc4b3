// The stand-in aircraft's motion: great-circle geometry, the standard-rate
// turn, the climb and descent, and the drift of the wind.
#include "flight_model.h"

#include <gtest/gtest.h>

#include <cmath>

#include "great_circle.h"

namespace ndhost {
namespace {

TEST(FlightModel, TurnsAtTheStandardRateTheShortWay) {
  FlightState flight;
  flight.airspeedKt = 120;
  flight.selectedHeadingDeg = 90;
  StepFlight(flight, {}, 10);
  EXPECT_NEAR(flight.trueHeadingDeg, 30.0, 1e-9);
  StepFlight(flight, {}, 1.0 / 18);
  EXPECT_NEAR(flight.trueHeadingDeg, 30.0 + 3.0 / 18, 1e-9);
  // The turn stops on the selected heading.
  StepFlight(flight, {}, 60);
  EXPECT_DOUBLE_EQ(flight.trueHeadingDeg, 90.0);
  // From 010 to 350 the turn goes left through north.
  flight.trueHeadingDeg = 10;
  flight.selectedHeadingDeg = 350;
  StepFlight(flight, {}, 5);
  EXPECT_NEAR(flight.trueHeadingDeg, 355.0, 1e-9);
  StepFlight(flight, {}, 2);
  EXPECT_NEAR(flight.trueHeadingDeg, 350.0, 1e-9);
}

TEST(FlightModel, ClimbsAndDescendsAtItsRateAndStops) {
  FlightState flight;
  flight.altitudeFt = 1000;
  flight.selectedAltitudeFt = 3000;
  StepFlight(flight, {}, 60);
  EXPECT_NEAR(flight.altitudeFt, 2500.0, 1e-9);
  StepFlight(flight, {}, 60);
  EXPECT_DOUBLE_EQ(flight.altitudeFt, 3000.0);
  flight.selectedAltitudeFt = 2000;
  flight.verticalRateFpm = 600;
  StepFlight(flight, {}, 30);
  EXPECT_NEAR(flight.altitudeFt, 2700.0, 1e-9);
}

TEST(FlightModel, MovesByAirspeedAndWind) {
  // Still air: 120 kt north for 30 seconds is one nautical mile.
  FlightState flight;
  flight.airspeedKt = 120;
  StepFlight(flight, {}, 30);
  EXPECT_NEAR(DistanceNm({0, 0}, flight.position), 1.0, 1e-9);
  EXPECT_NEAR(flight.position.longitudeDeg, 0.0, 1e-12);
  EXPECT_DOUBLE_EQ(flight.groundSpeedKt, 120.0);

  // Standing still in a wind from the west of 60 kt: a mile east a minute.
  FlightState drifting;
  StepFlight(drifting, {270, 60}, 60);
  EXPECT_NEAR(drifting.groundSpeedKt, 60.0, 1e-9);
  EXPECT_NEAR(drifting.trackDeg, 90.0, 1e-9);
  EXPECT_NEAR(drifting.position.longitudeDeg, 1.0 / 60, 1e-9);

  // A crosswind from the east pushes a northbound aircraft west of north.
  FlightState crossed;
  crossed.airspeedKt = 120;
  StepFlight(crossed, {90, 30}, 3600);
  EXPECT_NEAR(crossed.groundSpeedKt, std::hypot(120.0, 30.0), 1e-9);
  EXPECT_NEAR(crossed.trackDeg, 360.0 - std::atan2(30.0, 120.0) * 180 / M_PI, 1e-9);
  EXPECT_LT(crossed.position.longitudeDeg, -0.49);

  // A headwind as strong as the airspeed holds the aircraft still.
  FlightState held;
  held.airspeedKt = 50;
  StepFlight(held, {0, 50}, 600);
  EXPECT_NEAR(DistanceNm({0, 0}, held.position), 0.0, 1e-9);
}

TEST(FlightModel, PausedNothingMoves) {
  FlightState flight;
  flight.airspeedKt = 300;
  flight.selectedHeadingDeg = 180;
  flight.selectedAltitudeFt = 9000;
  flight.paused = true;
  StepFlight(flight, {270, 40}, 100);
  EXPECT_DOUBLE_EQ(flight.position.latitudeDeg, 0.0);
  EXPECT_DOUBLE_EQ(flight.position.longitudeDeg, 0.0);
  EXPECT_DOUBLE_EQ(flight.trueHeadingDeg, 0.0);
  EXPECT_DOUBLE_EQ(flight.altitudeFt, 0.0);
}

}  // namespace
}  // namespace ndhost
