// Arbitrary bytes as a route block ("fltplanMap%d").
#include <cstddef>
#include <cstdint>

#include "data/route_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumaro::RouteData route;
  lumaro::ReadRouteText({reinterpret_cast<const char*>(data), size}, route);
  // Every point read is terminated text and a known kind.
  for (const lumaro::DisplayRecord& point : route.points) {
    if (point.shown == 0) break;
    if (point.label[sizeof(point.label) - 1] != '\0' || point.kind < 0 || point.kind > 10)
      __builtin_trap();
  }
  if (route.departure.airport[5] != '\0' || route.arrival.designation[5] != '\0') __builtin_trap();
  return 0;
}
