#include "xplane/row_fields.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "xplane/row_reader.h"

namespace xplane {
namespace {

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

std::string NumberText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace

bool ReadFiniteNumber(std::string_view field, double& value) {
  if (!field.empty() && field[0] == '+') {
    field.remove_prefix(1);
    if (!field.empty() && field[0] == '-') return false;
  }
  const char* const end = field.data() + field.size();
  const auto [stop, error] = std::from_chars(field.data(), end, value);
  return error == std::errc() && stop == end && std::isfinite(value);
}

double RowFields::Number(size_t index, std::string_view name, double lowest, double highest) {
  if (!ok()) return 0;
  const std::string_view field = index < fields_.size() ? fields_[index] : std::string_view();
  double value = 0;
  if (!ReadFiniteNumber(field, value)) {
    Fail(std::string(name) + " " + Quoted(field) + " is not a finite number");
    return 0;
  }
  if (value < lowest || value > highest) {
    Fail(std::string(name) + " " + Quoted(field) + " is outside " + NumberText(lowest) + " to " +
         NumberText(highest));
    return 0;
  }
  return value;
}

long RowFields::Whole(size_t index, std::string_view name, double lowest, double highest) {
  return static_cast<long>(Number(index, name, lowest, highest));
}

std::string RowFields::Text(size_t index, std::string_view name) {
  std::string text(index < fields_.size() ? fields_[index] : std::string_view());
  CheckText(text, name);
  return text;
}

std::string RowFields::JoinedText(size_t first, std::string_view name) {
  std::string text = JoinFields(fields_, first);
  CheckText(text, name);
  return text;
}

void RowFields::CheckText(const std::string& text, std::string_view name) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20) continue;
    char problem[64];
    std::snprintf(problem, sizeof problem, "control byte 0x%02X in the %.30s", byte,
                  std::string(name).c_str());
    Fail(problem);
    return;
  }
}

void RowFields::Fail(std::string problem) {
  if (problem_.empty()) problem_ = std::move(problem);
}

}  // namespace xplane
