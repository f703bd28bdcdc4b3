// Aircraft performance files ("<aircraft>.perf" in FlightPlans): the seven
// key lines that also form the "[PERFORMANCE]" section of a plan file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "navdb/reporter.h"
#include "planner/flight_plan.h"
#include "platform/result.h"

namespace planner {

// Appends the seven "KEY=value" lines (CR LF) as the dialog fields show them.
void WritePerformanceKeys(std::string& out, const AircraftPerformance& performance);

// Applies one line to `performance` when it begins with one of the seven
// keys; returns false when it matches none.
bool ReadPerformanceKey(std::string_view line, AircraftPerformance& performance);

// Reads every line of a performance file's bytes; keys that do not occur
// leave their values unchanged.
void DecodePerformanceFile(std::string_view bytes, AircraftPerformance& performance);

// The "Save" button of the "Aircraft performance" group. Returns true when
// the file was written; an aircraft name that is not a file name
// (CheckFileName) is refused.
bool SavePerformanceFile(const PlannerState& state, const navdb::Reporter& ui);

// Fails when a number of `performance` cannot be held by the plan's columns
// (number_ranges.h), saying which as "the cruise altitude 999999 is outside
// 0 to 99999 (ft)".
platform::Status CheckPerformanceRanges(const AircraftPerformance& performance);

// The "Load" button, after the open dialog returned `path`. On success the
// values are replaced and the caller recomputes the legs; a file that cannot
// be read, or whose numbers do not fit their columns, changes nothing.
bool LoadPerformanceFile(PlannerState& state, const std::filesystem::path& path,
                         const navdb::Reporter& ui);

std::filesystem::path PerformanceFilePath(const PlannerState& state, std::string_view aircraftName);

// Integer of the leading decimal digits after leading blanks; 0 when there
// are none.
int32_t ReadLeadingDigits(std::string_view text);

}  // namespace planner
