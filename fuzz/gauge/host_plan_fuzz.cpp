// Arbitrary bytes as the ND plan file ndhost flies along, and as its key list.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "aircraft.h"
#include "command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<ndhost::Waypoint> waypoints = ndhost::ReadPlanWaypoints(text);
  ndhost::RouteFlight flight(waypoints);
  ndhost::AircraftState aircraft;
  aircraft.groundSpeedKt = 480;
  flight.PlaceAtStart(aircraft);
  for (int second = 0; second < 8; ++second) flight.Advance(aircraft, 60);
  std::string error;
  std::optional<std::vector<ndhost::ScheduledKey>> keys = ndhost::ParseKeyList(text, error);
  if (keys) {
    for (const ndhost::ScheduledKey& key : *keys) {
      if (key.virtualKey == 0 || key.virtualKey > 254 || key.frame < 0) __builtin_trap();
    }
  } else if (error.empty()) {
    __builtin_trap();
  }
  return 0;
}
