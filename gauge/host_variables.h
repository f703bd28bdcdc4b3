// The 27 host variables the display reads, and the tests that decide from
// them whether the display must be drawn again.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "panel_interface.h"

namespace lumaro {

enum HostVariableIndex {
  kHeadingVar = 0,        // 81, degrees
  kNav1FrequencyVar,      // 24, 4 BCD digits
  kDmeVar,                // 31
  kDme2Var,               // 35
  kGroundSpeedVar,        // 32
  kSelectedHeadingVar,    // 107, degrees
  kNavCourseVar,          // 45, degrees
  kCourseDeviationVar,    // 40
  kVerticalDeviationVar,  // 41
  kNav1FlagsVar,          // 46
  kVerticalScaleVar,      // 44
  kToFromFlagsVar,        // 42
  kNav1IdentVar,          // 47, text
  kDeviationRangeVar,     // 49
  kAdfBearingVar,         // 39, degrees
  kAdfIdentVar,           // 19, text
  kAdfActiveVar,          // 20
  kMarkerVar,             // 354, 0 to 3
  kNav2FlagsVar,          // 55
  kNav2IdentVar,          // 56, text
  kNav2BearingVar,        // 59, degrees
  kWindSpeedVar,          // 343
  kWindDirectionVar,      // 344, degrees
  kLatitudeVar,           // 71, host units
  kLongitudeVar,          // 72, host units
  kCourseOffsetVar,       // 82, degrees
  kMapHeadingVar,         // 86, degrees
  kHostVariableCount
};

inline constexpr std::array<uint32_t, kHostVariableCount> kHostVariableTokens = {
    81, 24, 31, 35,  32, 107, 45, 40,  41,  46, 44, 42, 47, 49,
    39, 19, 20, 354, 55, 56,  59, 343, 344, 71, 72, 82, 86};

using HostVariables = std::array<PanelVariable, kHostVariableCount>;

// Tokens and value types in table order, values zero.
void ResetHostVariables(HostVariables& variables);

// First characters (at most maxChars) of a text variable; empty for a null pointer.
std::string VariableText(const PanelVariable& variable, size_t maxChars = 5);

// Any watched value differs from its value at the last redraw.
bool HostVariablesChanged(const HostVariables& variables, int mapMode);

// Copies every current value into its value at the last redraw.
void RememberRedrawValues(HostVariables& variables);

}  // namespace lumaro
