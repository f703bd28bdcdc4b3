#include "planner/plan_export_text.h"

#include <array>
#include <charconv>

namespace planner {
namespace {

// Adding zero turns a negative zero into a positive one, so that a point on
// the equator is not written as "-0.000000".
double WithoutNegativeZero(double value) {
  return value + 0.0;
}

}  // namespace

std::string FixedDecimal(double value, int decimals) {
  std::array<char, 64> buffer;
  const auto [end, error] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), WithoutNegativeZero(value),
                    std::chars_format::fixed, decimals);
  if (error != std::errc{}) return "0";
  std::string text(buffer.data(), end);
  // A value that rounds to zero ("-0.0000001") must not keep its sign either.
  if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

std::string SignificantDecimal(double value, int digits) {
  std::array<char, 64> buffer;
  const auto [end, error] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), WithoutNegativeZero(value),
                    std::chars_format::general, digits);
  if (error != std::errc{}) return "0";
  return std::string(buffer.data(), end);
}

std::string XmlText(std::string_view utf8) {
  std::string out;
  for (const char c : utf8) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
      out += '?';
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace planner
