#include "platform/numbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <utility>

namespace platform {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Skips blanks and an optional sign; returns true for a minus sign.
bool SkipBlanksAndSign(std::string_view text, size_t& pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  return negative;
}

// The value of `c` as a digit of `base`, or -1.
int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

// The power of ten of the first significant digit of a decimal text that
// from_chars found out of range; below zero means the value underflowed.
long DecimalMagnitude(std::string_view number) {
  long digitsBeforePoint = 0;
  long leadingZerosAfterPoint = 0;
  bool afterPoint = false;
  bool significant = false;
  size_t pos = 0;
  for (; pos < number.size() && (IsDigit(number[pos]) || number[pos] == '.'); ++pos) {
    const char c = number[pos];
    if (c == '.') {
      afterPoint = true;
    } else if (c != '0' || significant) {
      significant = true;
      if (!afterPoint) ++digitsBeforePoint;
    } else if (afterPoint) {
      ++leadingZerosAfterPoint;
    }
  }
  long exponent = 0;
  if (pos + 1 < number.size() && (number[pos] == 'e' || number[pos] == 'E')) {
    const char* first = number.data() + pos + 1 + (number[pos + 1] == '+' ? 1 : 0);
    const auto [end, error] = std::from_chars(first, number.data() + number.size(), exponent);
    (void)end;
    // An exponent beyond a long is only ever a huge or a vanishing value.
    if (error == std::errc::result_out_of_range)
      exponent = *first == '-' ? -LONG_MAX / 2 : LONG_MAX / 2;
  }
  const long leading = digitsBeforePoint > 0 ? digitsBeforePoint - 1 : -leadingZerosAfterPoint - 1;
  return leading + exponent;
}

// The decimal number at `offset` and how many characters it took from there
// (0 when there is none).
std::pair<double, size_t> ReadDecimal(std::string_view text, size_t offset) {
  if (offset >= text.size()) return {0.0, 0};
  size_t pos = offset;
  const bool negative = SkipBlanksAndSign(text, pos);
  // std::from_chars takes no leading sign; it stops where strtod would for
  // plain decimal text.
  double value = 0.0;
  const char* first = text.data() + pos;
  const char* last = text.data() + text.size();
  if (first == last || !(IsDigit(*first) || *first == '.')) return {0.0, 0};
  auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    // Like strtod: too large is HUGE_VAL, too small is zero.
    value = DecimalMagnitude(std::string_view(first, static_cast<size_t>(end - first))) < 0
                ? 0.0
                : HUGE_VAL;
  } else if (error != std::errc()) {
    return {0.0, 0};
  }
  return {negative ? -value : value, static_cast<size_t>(end - text.data()) - offset};
}

}  // namespace

long ReadLong(std::string_view text, size_t offset, int base) {
  if (offset >= text.size()) return 0;
  size_t pos = offset;
  const bool negative = SkipBlanksAndSign(text, pos);
  // "0x" counts as a prefix only when a hex digit follows; else the 0 is read.
  if (base == 16 && pos + 2 < text.size() && text[pos] == '0' &&
      (text[pos + 1] == 'x' || text[pos + 1] == 'X') && DigitValue(text[pos + 2], 16) >= 0) {
    pos += 2;
  }
  long value = 0;
  bool saturated = false;
  for (int digit; pos < text.size() && (digit = DigitValue(text[pos], base)) >= 0; ++pos) {
    if (value > (LONG_MAX - digit) / base) {
      saturated = true;
      break;
    }
    value = value * base + digit;
  }
  if (saturated) return negative ? LONG_MIN : LONG_MAX;
  return negative ? -value : value;
}

double ReadDouble(std::string_view text, size_t offset) {
  return ReadDecimal(text, offset).first;
}

std::optional<double> ReadWholeDouble(std::string_view text) {
  const auto [value, usedChars] = ReadDecimal(text, 0);
  if (usedChars == 0 || usedChars != text.size()) return std::nullopt;
  return value;
}

long RoundHalfAwayFromZero(double value) {
  const double shifted = value >= 0 ? value + 0.5 : value - 0.5;
  if (!(shifted > static_cast<double>(LONG_MIN) && shifted < static_cast<double>(LONG_MAX))) {
    return shifted > 0 ? LONG_MAX : (shifted < 0 ? LONG_MIN : 0);
  }
  return static_cast<long>(shifted);
}

}  // namespace platform
