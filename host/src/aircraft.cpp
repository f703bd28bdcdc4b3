#include "aircraft.h"

#include <cmath>
#include <cstdlib>

namespace ndhost {

namespace {

constexpr double kLatitudeScale = 8.998425275576774e-06;
constexpr double kLongitudeScale = 1.2789770768341246e-12;

}  // namespace

double RawLatitudeFromDeg(double latitudeDeg) {
  return latitudeDeg / kLatitudeScale;
}

double RawLongitudeFromDeg(double longitudeDeg) {
  // The host counts longitude eastwards from 0 to 360 degrees.
  if (longitudeDeg < 0) longitudeDeg += 360.0;
  return longitudeDeg / kLongitudeScale;
}

int32_t BcdFromFrequencyMhz(double frequencyMhz) {
  int hundredths = static_cast<int>(std::lround(frequencyMhz * 100)) % 10000;
  int32_t bcd = 0;
  for (int digit = 0, divisor = 1000; digit < 4; ++digit, divisor /= 10) {
    bcd = (bcd << 4) | ((hundredths / divisor) % 10);
  }
  return bcd;
}

bool FillVariable(const AircraftState& aircraft, PanelVariable& variable) {
  PanelValue value{};
  switch (variable.token) {
    case PANEL_VAR_HEADING:
      value.number = aircraft.headingDeg;
      break;
    case PANEL_VAR_NAV1_FREQUENCY:
      value.integer = BcdFromFrequencyMhz(aircraft.nav1FrequencyMhz);
      break;
    case PANEL_VAR_DME:
      value.number = aircraft.dmeNm;
      break;
    case PANEL_VAR_DME2:
      value.number = aircraft.dme2Nm;
      break;
    case PANEL_VAR_GROUND_SPEED:
      value.number = aircraft.groundSpeedKt;
      break;
    case PANEL_VAR_SELECTED_HEADING:
      value.number = aircraft.selectedHeadingDeg;
      break;
    case PANEL_VAR_NAV_COURSE:
      value.number = aircraft.navCourseDeg;
      break;
    case PANEL_VAR_COURSE_DEVIATION:
      value.number = aircraft.courseDeviation;
      break;
    case PANEL_VAR_VERTICAL_DEVIATION:
      value.number = aircraft.verticalDeviation;
      break;
    case PANEL_VAR_NAV1_FLAGS:
      value.integer = aircraft.nav1Flags;
      break;
    case PANEL_VAR_VERTICAL_SCALE:
      value.number = aircraft.verticalScale;
      break;
    case PANEL_VAR_TO_FROM_FLAGS:
      value.integer = aircraft.toFromFlags;
      break;
    case PANEL_VAR_NAV1_IDENT:
      value.text = aircraft.nav1Ident.c_str();
      break;
    case PANEL_VAR_DEVIATION_RANGE:
      value.number = aircraft.deviationRange;
      break;
    case PANEL_VAR_ADF_BEARING:
      value.number = aircraft.adfBearingDeg;
      break;
    case PANEL_VAR_ADF_IDENT:
      value.text = aircraft.adfIdent.c_str();
      break;
    case PANEL_VAR_ADF_ACTIVE:
      value.number = aircraft.adfActive;
      break;
    case PANEL_VAR_MARKER:
      value.number = aircraft.marker;
      break;
    case PANEL_VAR_NAV2_FLAGS:
      value.integer = aircraft.nav2Flags;
      break;
    case PANEL_VAR_NAV2_IDENT:
      value.text = aircraft.nav2Ident.c_str();
      break;
    case PANEL_VAR_NAV2_BEARING:
      value.number = aircraft.nav2BearingDeg;
      break;
    case PANEL_VAR_WIND_SPEED:
      value.number = aircraft.windSpeedKt;
      break;
    case PANEL_VAR_WIND_DIRECTION:
      value.number = aircraft.windDirectionDeg;
      break;
    case PANEL_VAR_LATITUDE:
      value.number = RawLatitudeFromDeg(aircraft.latitudeDeg);
      break;
    case PANEL_VAR_LONGITUDE:
      value.number = RawLongitudeFromDeg(aircraft.longitudeDeg);
      break;
    case PANEL_VAR_COURSE_OFFSET:
      value.number = aircraft.courseOffsetDeg;
      break;
    case PANEL_VAR_MAP_HEADING:
      // The heading-up map turns by the heading the aircraft flies.
      value.number = aircraft.headingDeg + aircraft.mapHeadingOffsetDeg;
      break;
    default:
      return false;
  }
  variable.currentValue = value;
  return true;
}

}  // namespace ndhost
