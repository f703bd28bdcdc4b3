#include "module/host_variables.h"

#include <cmath>
#include <cstring>

#include "data/pass_data.h"

namespace lumaro {

namespace {

enum class Compare { TenthsTruncated, FirstWord, Truncated, Exact };

struct WatchedVariable {
  HostVariableIndex index;
  Compare compare;
  bool onlyWithoutMap;  // compared only in MapMode 0
};

// The order of the tests matters: the first difference decides.
constexpr std::array<WatchedVariable, 18> kWatched = {{
    {kHeadingVar, Compare::TenthsTruncated, false},
    {kNav1FlagsVar, Compare::FirstWord, false},
    {kNav2FlagsVar, Compare::FirstWord, false},
    {kToFromFlagsVar, Compare::FirstWord, true},
    {kCourseDeviationVar, Compare::Truncated, true},
    {kNavCourseVar, Compare::Truncated, false},
    {kVerticalDeviationVar, Compare::Truncated, true},
    {kVerticalScaleVar, Compare::Truncated, true},
    {kNav2BearingVar, Compare::Truncated, true},
    {kAdfActiveVar, Compare::Exact, false},
    {kDmeVar, Compare::Exact, false},
    {kDme2Var, Compare::Exact, false},
    {kGroundSpeedVar, Compare::Exact, false},
    {kSelectedHeadingVar, Compare::Exact, false},
    {kAdfBearingVar, Compare::Exact, true},
    {kMarkerVar, Compare::Exact, true},
    {kWindSpeedVar, Compare::Exact, false},
    {kWindDirectionVar, Compare::Exact, false},
}};

bool Differs(const PanelVariable& variable, Compare compare) {
  double current = variable.currentValue.number;
  double previous = variable.valueAtLastRedraw.number;
  switch (compare) {
    case Compare::TenthsTruncated:
      return std::trunc(current * 10) != std::trunc(previous * 10);
    case Compare::FirstWord:
      return variable.currentValue.integer != variable.valueAtLastRedraw.integer;
    case Compare::Truncated:
      return std::trunc(current) != std::trunc(previous);
    case Compare::Exact:
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
    if (watched.onlyWithoutMap && mapMode != kMapModeVor) continue;
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
