// Arbitrary bytes as a performance file: values stay within their fields
// and what is read writes back and reads again to the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "planner/performance_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  planner::AircraftPerformance read;
  planner::DecodePerformanceFile(bytes, read);
  if (read.aircraftName.size() > planner::kMaxNameChars) std::abort();
  if (read.cruiseSpeed.size() > planner::kMaxCruiseSpeedChars) std::abort();
  if (read.climbRateFpm < 0 || read.cruiseAltitudeFt < 0) std::abort();
  std::string written;
  planner::WritePerformanceKeys(written, read);
  planner::AircraftPerformance again;
  planner::DecodePerformanceFile(written, again);
  if (again.climbRateFpm != read.climbRateFpm || again.climbSpeedKt != read.climbSpeedKt ||
      again.descentRateFpm != read.descentRateFpm || again.descentSpeedKt != read.descentSpeedKt ||
      again.cruiseAltitudeFt != read.cruiseAltitudeFt) {
    std::abort();
  }
  return 0;
}
