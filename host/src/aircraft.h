// The simple aircraft the stand-in host flies, and the host variables it
// feeds to a module in the simulator's raw units.
#pragma once

#include <cstdint>
#include <string>

#include "panel_interface.h"

namespace ndhost {

struct AircraftState {
  double latitudeDeg = 0;
  double longitudeDeg = 0;
  double headingDeg = 0;
  double groundSpeedKt = 0;
  std::string nav1Ident;
  double nav1FrequencyMhz = 0;
  int32_t nav1Flags = 0x81;  // ILS frequency and DME texts shown
  double dmeNm = 0;
  double dme2Nm = 0;
  double selectedHeadingDeg = 0;
  double navCourseDeg = 0;
  double courseDeviation = 0;
  double verticalDeviation = 0;
  double verticalScale = 0;
  int32_t toFromFlags = 0;
  double deviationRange = 0;
  double adfBearingDeg = 0;
  std::string adfIdent;
  double adfActive = 0;
  double marker = 0;
  int32_t nav2Flags = 0;
  std::string nav2Ident;
  double nav2BearingDeg = 0;
  double windSpeedKt = 0;
  double windDirectionDeg = 0;
  double courseOffsetDeg = 0;
  double mapHeadingOffsetDeg = 0;  // map angle (token 86) = heading + this
};

// Host units of the position variables (tokens 71 and 72).
double RawLatitudeFromDeg(double latitudeDeg);
double RawLongitudeFromDeg(double longitudeDeg);
// A frequency such as 113.90 MHz as the four BCD digits 0x1390.
int32_t BcdFromFrequencyMhz(double frequencyMhz);

// Fills the variable's current value from the aircraft; false for an unknown token.
bool FillVariable(const AircraftState& aircraft, PanelVariable& variable);

}  // namespace ndhost
