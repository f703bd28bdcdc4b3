// The 27 host variables the display reads, and the tests that decide from
// them whether the display must be drawn again.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "panel_interface.h"
#include "platform/enum_array.h"

namespace lumaro {

// Places in the display's table of host variables; what each holds, and its
// unit, is written beside its token in panel_interface.h.
enum class HostVariable {
  Heading,
  Nav1Frequency,
  Dme,
  Dme2,
  GroundSpeed,
  SelectedHeading,
  NavCourse,
  CourseDeviation,
  VerticalDeviation,
  Nav1Flags,
  VerticalScale,
  ToFromFlags,
  Nav1Ident,
  DeviationRange,
  AdfBearing,
  AdfIdent,
  AdfActive,
  Marker,
  Nav2Flags,
  Nav2Ident,
  Nav2Bearing,
  WindSpeed,
  WindDirection,
  Latitude,
  Longitude,
  CourseOffset,
  MapHeading,
};
inline constexpr size_t kHostVariableCount = 27;

inline constexpr std::array<uint32_t, kHostVariableCount> kHostVariableTokens = {
    PANEL_VAR_HEADING,    PANEL_VAR_NAV1_FREQUENCY,   PANEL_VAR_DME,
    PANEL_VAR_DME2,       PANEL_VAR_GROUND_SPEED,     PANEL_VAR_SELECTED_HEADING,
    PANEL_VAR_NAV_COURSE, PANEL_VAR_COURSE_DEVIATION, PANEL_VAR_VERTICAL_DEVIATION,
    PANEL_VAR_NAV1_FLAGS, PANEL_VAR_VERTICAL_SCALE,   PANEL_VAR_TO_FROM_FLAGS,
    PANEL_VAR_NAV1_IDENT, PANEL_VAR_DEVIATION_RANGE,  PANEL_VAR_ADF_BEARING,
    PANEL_VAR_ADF_IDENT,  PANEL_VAR_ADF_ACTIVE,       PANEL_VAR_MARKER,
    PANEL_VAR_NAV2_FLAGS, PANEL_VAR_NAV2_IDENT,       PANEL_VAR_NAV2_BEARING,
    PANEL_VAR_WIND_SPEED, PANEL_VAR_WIND_DIRECTION,   PANEL_VAR_LATITUDE,
    PANEL_VAR_LONGITUDE,  PANEL_VAR_COURSE_OFFSET,    PANEL_VAR_MAP_HEADING,
};
static_assert(kHostVariableCount == PANEL_HOST_VARIABLE_COUNT);

using HostVariables = platform::EnumArray<HostVariable, PanelVariable, kHostVariableCount>;

// Tokens and value types in table order, values zero.
void ResetHostVariables(HostVariables& variables);

// First characters (at most maxChars) of a text variable; empty for a null pointer.
std::string VariableText(const PanelVariable& variable, size_t maxChars = 5);

// Any watched value differs from its value at the last redraw.
bool HostVariablesChanged(const HostVariables& variables, int mapMode);

// Copies every current value into its value at the last redraw.
void RememberRedrawValues(HostVariables& variables);

}  // namespace lumaro
