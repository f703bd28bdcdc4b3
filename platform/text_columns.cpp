#include "platform/text_columns.h"

#include <cstring>

namespace platform {

std::string_view Columns(std::string_view text, size_t first, size_t count) {
  if (first >= text.size()) return {};
  return text.substr(first, count);
}

std::string Fitted(std::string_view text, size_t width) {
  std::string fitted(text.substr(0, width));
  PadTo(fitted, width);
  return fitted;
}

void PadTo(std::string& text, size_t length) {
  if (text.size() < length) text.append(length - text.size(), ' ');
}

void CutTo(std::string& text, size_t length) {
  if (text.size() > length) text.resize(length);
}

std::string_view TrimEnd(std::string_view text, std::string_view blanks) {
  const size_t last = text.find_last_not_of(blanks);
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string_view Trim(std::string_view text, std::string_view blanks) {
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return TrimEnd(text.substr(first), blanks);
}

namespace {

// Writes "%0*ld" of `value` so that it ends at `end`, in a buffer of 48
// characters, and returns where it begins.
char* ZeroPaddedEndingAt(char* end, long value, int width) {
  char* const text = end - 48;
  char* first = end;
  // Work on the negative magnitude so that LONG_MIN needs no special case.
  long rest = value < 0 ? value : -value;
  do {
    *--first = static_cast<char>('0' - rest % 10);
    rest /= 10;
  } while (rest != 0);
  const int sign = value < 0 ? 1 : 0;
  for (int digits = static_cast<int>(end - first); digits + sign < width && first > text + 1;
       ++digits) {
    *--first = '0';
  }
  if (sign) *--first = '-';
  return first;
}

}  // namespace

void AppendZeroPadded(std::string& out, long value, int width) {
  char text[48];
  char* const end = text + sizeof text;
  const char* first = ZeroPaddedEndingAt(end, value, width);
  out.append(first, static_cast<size_t>(end - first));
}

char* WriteZeroPadded(char* out, long value, int width) {
  // The usual case, a non-negative number in a narrow field, without the detour.
  if (value >= 0 && width <= 20) {
    char digits[20];
    int count = 0;
    auto rest = static_cast<unsigned long>(value);
    do {
      digits[count++] = static_cast<char>('0' + rest % 10);
      rest /= 10;
    } while (rest != 0);
    for (int i = count; i < width; ++i) *out++ = '0';
    while (count > 0) *out++ = digits[--count];
    return out;
  }
  char text[48];
  char* const end = text + sizeof text;
  const char* first = ZeroPaddedEndingAt(end, value, width);
  const size_t length = static_cast<size_t>(end - first);
  std::memcpy(out, first, length);
  return out + length;
}

std::string ZeroPadded(long value, int width) {
  std::string text;
  AppendZeroPadded(text, value, width);
  return text;
}

}  // namespace platform
