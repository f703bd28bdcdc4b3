#include "host_variables.h"

#include <cmath>
#include <cstring>

namespace lumaro {

namespace {

enum class Compare { kTenthsTruncated, kFirstWord, kTruncated, kExact };

struct WatchedVariable {
  HostVariableIndex index;
  Compare compare;
  bool onlyWithoutMap;  // compared only in MapMode 0
};

// The order of the original tests; the first difference decides.
constexpr std::array<WatchedVariable, 18> kWatched = {{
    {kHeadingVar, Compare::kTenthsTruncated, false},
    {kNav1FlagsVar, Compare::kFirstWord, false},
    {kNav2FlagsVar, Compare::kFirstWord, false},
    {kToFromFlagsVar, Compare::kFirstWord, true},
    {kCourseDeviationVar, Compare::kTruncated, true},
    {kNavCourseVar, Compare::kTruncated, false},
    {kVerticalDeviationVar, Compare::kTruncated, true},
    {kVerticalScaleVar, Compare::kTruncated, true},
    {kNav2BearingVar, Compare::kTruncated, true},
    {kAdfActiveVar, Compare::kExact, false},
    {kDmeVar, Compare::kExact, false},
    {kDme2Var, Compare::kExact, false},
    {kGroundSpeedVar, Compare::kExact, false},
    {kSelectedHeadingVar, Compare::kExact, false},
    {kAdfBearingVar, Compare::kExact, true},
    {kMarkerVar, Compare::kExact, true},
    {kWindSpeedVar, Compare::kExact, false},
    {kWindDirectionVar, Compare::kExact, false},
}};

bool Differs(const PanelVariable& variable, Compare compare) {
  double current = variable.currentValue.number;
  double previous = variable.valueAtLastRedraw.number;
  switch (compare) {
    case Compare::kTenthsTruncated:
      return std::trunc(current * 10) != std::trunc(previous * 10);
    case Compare::kFirstWord:
      return variable.currentValue.integer != variable.valueAtLastRedraw.integer;
    case Compare::kTruncated:
      return std::trunc(current) != std::trunc(previous);
    case Compare::kExact:
      return current != previous;
  }
  return false;
}

uint32_t ValueTypeOf(HostVariableIndex index) {
  switch (index) {
    case kNav1FrequencyVar:
    case kNav1FlagsVar:
    case kToFromFlagsVar:
    case kNav2FlagsVar:
      return PANEL_VALUE_INTEGER;
    case kNav1IdentVar:
    case kAdfIdentVar:
    case kNav2IdentVar:
      return PANEL_VALUE_TEXT;
    default:
      return PANEL_VALUE_NUMBER;
  }
}

}  // namespace

void ResetHostVariables(HostVariables& variables) {
  for (int index = 0; index < kHostVariableCount; ++index) {
    PanelVariable& variable = variables[index];
    std::memset(static_cast<void*>(&variable), 0, sizeof(variable));
    variable.token = kHostVariableTokens[index];
    variable.valueType = ValueTypeOf(static_cast<HostVariableIndex>(index));
  }
}

std::string VariableText(const PanelVariable& variable, size_t maxChars) {
  const char* text = variable.currentValue.text;
  if (text == nullptr) return {};
  return std::string(text, ::strnlen(text, maxChars));
}

bool HostVariablesChanged(const HostVariables& variables, int mapMode) {
  for (const WatchedVariable& watched : kWatched) {
    if (watched.onlyWithoutMap && mapMode != 0) continue;
    if (Differs(variables[watched.index], watched.compare)) return true;
  }
  return false;
}

void RememberRedrawValues(HostVariables& variables) {
  for (PanelVariable& variable : variables) {
    PanelValue current = variable.currentValue;
    variable.valueAtLastRedraw = current;
  }
}

}  // namespace lumaro
