// The ranges of the plan's numbers: what their columns in the plan rows and
// the Flight Plan dialog's fields can hold. A value outside them would be
// cut, wrapped or spread over the next column.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace planner {

struct WholeRange {
  int32_t min;
  int32_t max;
  size_t digits;          // the width of its dialog field
  std::string_view unit;  // as the option texts name it
};

// The altitude column of a row is five digits; the rates are held in as
// many, the speeds in the four characters of the cruise speed field.
inline constexpr WholeRange kCruiseAltitudeRange{0, 99999, 5, "ft"};
inline constexpr WholeRange kRateRange{0, 99999, 5, "ft/min"};
inline constexpr WholeRange kSpeedRange{0, 9999, 4, "kt"};

// The rotation distance D and radius R of the SID/STAR generator, in NM,
// shown with one decimal ("%0.1f"); 0 stands for "not set" and becomes
// the default when the dialog opens, so it is no value to give.
inline constexpr double kMinRotationNm = 0.1;
inline constexpr double kMaxRotationNm = 99.9;

}  // namespace planner
