#include "platform/numbers.h"

#include <charconv>
#include <climits>
#include <cmath>

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
  if (offset >= text.size()) return 0.0;
  size_t pos = offset;
  const bool negative = SkipBlanksAndSign(text, pos);
  // std::from_chars takes no leading sign; it stops where strtod would for
  // plain decimal text.
  double value = 0.0;
  const char* first = text.data() + pos;
  const char* last = text.data() + text.size();
  if (first == last || !(IsDigit(*first) || *first == '.')) return 0.0;
  auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    value = HUGE_VAL;
  } else if (error != std::errc()) {
    return 0.0;
  }
  (void)end;
  return negative ? -value : value;
}

long RoundHalfAwayFromZero(double value) {
  const double shifted = value >= 0 ? value + 0.5 : value - 0.5;
  if (!(shifted > static_cast<double>(LONG_MIN) && shifted < static_cast<double>(LONG_MAX))) {
    return shifted > 0 ? LONG_MAX : (shifted < 0 ? LONG_MIN : 0);
  }
  return static_cast<long>(shifted);
}

}  // namespace platform
