#include "data/host_variables.h"

#include <cmath>
#include <cstring>

#include "data/pass_data.h"

namespace lumaro {

namespace {

enum class Compare { TenthsTruncated, FirstWord, Truncated, Exact };

struct WatchedVariable {
  HostVariable index;
  Compare compare;
  bool onlyWithoutMap;  // compared only in MapMode 0
};

// The order of the tests matters: the first difference decides.
constexpr std::array<WatchedVariable, 18> kWatched = {{
    {HostVariable::Heading, Compare::TenthsTruncated, false},
    {HostVariable::Nav1Flags, Compare::FirstWord, false},
    {HostVariable::Nav2Flags, Compare::FirstWord, false},
    {HostVariable::ToFromFlags, Compare::FirstWord, true},
    {HostVariable::CourseDeviation, Compare::Truncated, true},
    {HostVariable::NavCourse, Compare::Truncated, false},
    {HostVariable::VerticalDeviation, Compare::Truncated, true},
    {HostVariable::VerticalScale, Compare::Truncated, true},
    {HostVariable::Nav2Bearing, Compare::Truncated, true},
    {HostVariable::AdfActive, Compare::Exact, false},
    {HostVariable::Dme, Compare::Exact, false},
    {HostVariable::Dme2, Compare::Exact, false},
    {HostVariable::GroundSpeed, Compare::Exact, false},
    {HostVariable::SelectedHeading, Compare::Exact, false},
    {HostVariable::AdfBearing, Compare::Exact, true},
    {HostVariable::Marker, Compare::Exact, true},
    {HostVariable::WindSpeed, Compare::Exact, false},
    {HostVariable::WindDirection, Compare::Exact, false},
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

uint32_t ValueTypeOf(HostVariable index) {
  switch (index) {
    case HostVariable::Nav1Frequency:
    case HostVariable::Nav1Flags:
    case HostVariable::ToFromFlags:
    case HostVariable::Nav2Flags:
      return PANEL_VALUE_INTEGER;
    case HostVariable::Nav1Ident:
    case HostVariable::AdfIdent:
    case HostVariable::Nav2Ident:
      return PANEL_VALUE_TEXT;
    default:
      return PANEL_VALUE_NUMBER;
  }
}

}  // namespace

void ResetHostVariables(HostVariables& variables) {
  for (size_t index = 0; index < kHostVariableCount; ++index) {
    PanelVariable& variable = variables[index];
    std::memset(static_cast<void*>(&variable), 0, sizeof(variable));
    variable.token = kHostVariableTokens[index];
    variable.valueType = ValueTypeOf(static_cast<HostVariable>(index));
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
