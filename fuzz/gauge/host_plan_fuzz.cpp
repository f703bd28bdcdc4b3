// Arbitrary bytes as the ND plan file ndhost flies along, and as its key list.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "autopilot.h"
#include "command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  // Eight minutes of "follow the plan" at 480 kt along whatever route it reads.
  ndhost::Autopilot pilot(ndhost::ReadPlanRoute(text));
  ndhost::FlightState flight;
  flight.airspeedKt = 480;
  pilot.PlaceAtStart(flight, {});
  for (int second = 0; second < 480 && !pilot.Finished(); ++second) {
    pilot.Steer(flight, {});
    ndhost::StepFlight(flight, {}, 1.0);
  }

  const platform::Result<std::vector<ndhost::ScheduledKey>> keys = ndhost::ParseKeyList(text);
  if (keys) {
    for (const ndhost::ScheduledKey& key : *keys) {
      if (key.virtualKey == 0 || key.virtualKey > 254 || key.frame < 0) __builtin_trap();
    }
  } else if (keys.error().message.empty()) {
    __builtin_trap();
  }
  return 0;
}
