// The exact layout of a list line, checked before a line built from outside
// data (a scenery file, X-Plane rows) is kept: a line that only looks right
// to the load's separator check can still carry a column shifted by a wide
// number, a coordinate no reader can take back, or a control byte, and the
// display refuses the whole database over one such line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "navdb/navaid_kind.h"

namespace navdb {

// Why `line` is not a list line of `kind`, or nothing when it is one: its
// exact length, no control bytes, spaces at the separator columns and the
// blanks of its layout, coordinate texts that read back within -90..90 and
// -180..180, and digits in every numeric column (an elevation may carry a
// minus sign). The reason names the column and the text found there.
[[nodiscard]] std::optional<std::string> LineLayoutProblem(NavaidKind kind, std::string_view line);

// Whether a coordinate text (from its hemisphere letter) is one that
// FormatLatitude or FormatLongitude writes for an angle within range.
bool IsLatitudeText(std::string_view text);
bool IsLongitudeText(std::string_view text);

}  // namespace navdb
