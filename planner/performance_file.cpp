#include "planner/performance_file.h"

#include <array>
#include <cstdint>

#include "planner/number_ranges.h"
#include "planner/text_lines.h"
#include "platform/file_io.h"
#include "platform/text_columns.h"

namespace planner {
namespace {

enum class Field { Aircraft, ClimbRate, ClimbSpeed, DescentRate, DescentSpeed, Altitude, Cruise };

struct Key {
  std::string_view text;
  Field field;
};

constexpr std::array<Key, 7> kKeys = {{
    {"AIRCRAFT=", Field::Aircraft},
    {"CLIMB_RATE=", Field::ClimbRate},
    {"CLIMB_SPEED=", Field::ClimbSpeed},
    {"DESCENT_RATE=", Field::DescentRate},
    {"DESCENT_SPEED=", Field::DescentSpeed},
    {"CRUISE_ALTITUDE=", Field::Altitude},
    {"CRUISE_SPEED=", Field::Cruise},
}};

int32_t* NumberOf(AircraftPerformance& performance, Field field) {
  switch (field) {
    case Field::ClimbRate:
      return &performance.climbRateFpm;
    case Field::ClimbSpeed:
      return &performance.climbSpeedKt;
    case Field::DescentRate:
      return &performance.descentRateFpm;
    case Field::DescentSpeed:
      return &performance.descentSpeedKt;
    case Field::Altitude:
      return &performance.cruiseAltitudeFt;
    default:
      return nullptr;
  }
}

struct NumberField {
  Field field;
  std::string_view name;
  const WholeRange& range;
};

constexpr std::array<NumberField, 5> kNumberFields = {{
    {Field::ClimbRate, "climb rate", kRateRange},
    {Field::ClimbSpeed, "climb speed", kSpeedRange},
    {Field::DescentRate, "descent rate", kRateRange},
    {Field::DescentSpeed, "descent speed", kSpeedRange},
    {Field::Altitude, "cruise altitude", kCruiseAltitudeRange},
}};

// The digit-only fields show their values as unsigned numbers.
std::string FieldText(int32_t value) {
  return std::to_string(static_cast<uint32_t>(value));
}

}  // namespace

int32_t ReadLeadingDigits(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT32_MAX) return INT32_MAX;
  }
  return static_cast<int32_t>(value);
}

platform::Status CheckPerformanceRanges(const AircraftPerformance& performance) {
  AircraftPerformance values = performance;
  for (const NumberField& number : kNumberFields) {
    const int32_t value = *NumberOf(values, number.field);
    if (value >= number.range.min && value <= number.range.max) continue;
    return platform::Failure("the " + std::string(number.name) + " " + std::to_string(value) +
                             " is outside " + std::to_string(number.range.min) + " to " +
                             std::to_string(number.range.max) + " (" +
                             std::string(number.range.unit) + ")");
  }
  return {};
}

void WritePerformanceKeys(std::string& out, const AircraftPerformance& performance) {
  AppendLine(out, "AIRCRAFT=" + performance.aircraftName);
  AppendLine(out, "CLIMB_RATE=" + FieldText(performance.climbRateFpm));
  AppendLine(out, "CLIMB_SPEED=" + FieldText(performance.climbSpeedKt));
  AppendLine(out, "DESCENT_RATE=" + FieldText(performance.descentRateFpm));
  AppendLine(out, "DESCENT_SPEED=" + FieldText(performance.descentSpeedKt));
  AppendLine(out, "CRUISE_ALTITUDE=" + FieldText(performance.cruiseAltitudeFt));
  AppendLine(out, "CRUISE_SPEED=" + performance.cruiseSpeed);
}

bool ReadPerformanceKey(std::string_view line, AircraftPerformance& performance) {
  for (const Key& key : kKeys) {
    if (!line.starts_with(key.text)) continue;
    const std::string_view value = line.substr(key.text.size());
    if (key.field == Field::Aircraft) {
      performance.aircraftName = std::string(platform::Columns(value, 0, kMaxNameChars));
    } else if (key.field == Field::Cruise) {
      performance.cruiseSpeed = std::string(platform::Columns(value, 0, kMaxCruiseSpeedChars));
    } else {
      *NumberOf(performance, key.field) = ReadLeadingDigits(value);
    }
    return true;
  }
  return false;
}

void DecodePerformanceFile(std::string_view bytes, AircraftPerformance& performance) {
  TextLineReader reader(bytes);
  while (auto line = reader.Next()) ReadPerformanceKey(*line, performance);
}

std::filesystem::path PerformanceFilePath(const PlannerState& state,
                                          std::string_view aircraftName) {
  return PlanFolder(state) / (std::string(aircraftName) + ".perf");
}

bool SavePerformanceFile(const PlannerState& state, const navdb::Reporter& ui) {
  const std::string name =
      std::string(platform::Columns(state.plan.performance.aircraftName, 0, kMaxNameChars));
  if (name.empty()) {
    navdb::ShowMessage(ui, std::string(kErrorCaption), "You must specify a name for the aircraft.",
                       navdb::MessageIcon::Error, navdb::MessageButtons::Ok);
    return false;
  }
  if (const platform::Status named = CheckFileName("aircraft", name); !named) {
    navdb::ShowMessage(ui, std::string(kErrorCaption), named.error().message,
                       navdb::MessageIcon::Error, navdb::MessageButtons::Ok);
    return false;
  }
  std::string bytes;
  WritePerformanceKeys(bytes, state.plan.performance);
  return WriteAskingOverwrite(
      PerformanceFilePath(state, name), bytes,
      "The specified aircraft performance file already exists.\n\nOverwrite ?",
      "Can't create this aircraft performance file", ui);
}

bool LoadPerformanceFile(PlannerState& state, const std::filesystem::path& path,
                         const navdb::Reporter& ui) {
  // A named pipe or a device is refused at once, never waited on.
  std::string bytes;
  if (const platform::Status read = platform::ReadWholeFile(path, bytes); !read.ok()) {
    navdb::ShowMessage(ui, std::string(kErrorCaption), CannotOpenText(path, read.error().message),
                       navdb::MessageIcon::Error, navdb::MessageButtons::Ok);
    return false;
  }
  AircraftPerformance read = state.plan.performance;
  DecodePerformanceFile(bytes, read);
  // Values the plan's columns cannot hold would be written into its rows.
  if (const platform::Status ranges = CheckPerformanceRanges(read); !ranges) {
    navdb::ShowMessage(
        ui, std::string(kErrorCaption),
        "The aircraft performance file cannot be used: " + ranges.error().message + ".",
        navdb::MessageIcon::Error, navdb::MessageButtons::Ok);
    return false;
  }
  state.plan.performance = std::move(read);
  return true;
}

}  // namespace planner
