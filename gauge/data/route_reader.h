// The active route: read from the ND plan text that the flight-management
// component publishes in "fltplanMap0" / "fltplanMap1".
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "data/display_data.h"
#include "platform/shared_memory.h"

namespace lumaro {

inline constexpr size_t kRouteRowBytes = 105;
// A route block is read up to this many bytes; its text must end inside
// them. A plan of the 256 rows the display shows is about 30,000 bytes.
inline constexpr size_t kRouteBlockMaxBytes = 1 << 20;

using RunwayRecord = LumaroRunwayRecord;
using RouteTable = std::array<DisplayRecord, LUMARO_ROUTE_CAPACITY>;

struct RouteData {
  RunwayRecord departure{};
  RunwayRecord arrival{};
  RouteTable points{};
};

enum class RouteReadOutcome { Complete, Fault };

// Reads runways and waypoint rows from a block. The text must end with a NUL
// inside the block; without one the read ends as a fault, with the runway
// records cleared and the route table left as it was.
RouteReadOutcome ReadRouteText(std::span<const char> block, RouteData& route);

// Name of route block 0 or 1: "fltplanMap%d".
std::string RouteBlockName(int blockNumber);

struct RoutePoller {
  int blockNumber = 0;  // the number the next poll opens
  bool notYetFound = true;
  uint32_t reads = 0;
};

// One poll; true when a route block was found (the display must redraw).
// The block is copied as it is at that moment and read from the copy, so
// another program shrinking it cannot fault the read.
bool PollRoute(RoutePoller& poller, RouteData& route);

}  // namespace lumaro
