// Number reading in the manner of C's strtol/strtod: leading blanks are
// skipped, reading stops at the first character that cannot belong to the
// number, and text without a number reads as 0. Never throws.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Reads an integer in `base` (10 or 16) starting at `offset` of `text` (an
// offset past the end reads as 0). Base 16 takes an optional "0x" or "0X"
// before its digits, as strtol does. Values beyond the range of long saturate.
long ReadLong(std::string_view text, size_t offset = 0, int base = 10);

// Reads a decimal number with optional fraction and exponent at `offset`.
// The point is always ".", whatever the locale of the process says.
double ReadDouble(std::string_view text, size_t offset = 0);

// The number that the whole of `text` is (leading blanks allowed, as
// ReadDouble skips them); nothing when no number is there or anything is
// left after it.
std::optional<double> ReadWholeDouble(std::string_view text);

// Rounds half away from zero: adds +-0.5 and cuts toward zero.
long RoundHalfAwayFromZero(double value);

}  // namespace platform
