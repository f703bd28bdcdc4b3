// Arbitrary bytes as a UDP packet from FlightGear: a packet is taken whole or
// rejected with a reason, a taken packet reads back the same, and the values
// applied to the aircraft stay within what the display can draw.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fgfs_feed.h"
#include "fgfs_packet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ndhost::FgfsParseResult result = ndhost::ParseFgfsPacket(bytes);
  if (!result.sample) {
    if (result.error.empty()) __builtin_trap();
    return 0;
  }
  if (!result.error.empty()) __builtin_trap();
  // Numbers may come back longer (".5" as "0.5"), past the packet size limit.
  const std::string formatted = ndhost::FormatFgfsPacket(*result.sample);
  if (formatted.size() <= ndhost::kFgfsMaxPacketBytes) {
    const ndhost::FgfsParseResult again = ndhost::ParseFgfsPacket(formatted);
    if (!again.sample || ndhost::FormatFgfsPacket(*again.sample) != formatted) __builtin_trap();
  }

  ndhost::FgfsSample state;
  ndhost::MergeFgfsSample(state, *result.sample);
  ndhost::AircraftState aircraft;
  ndhost::ApplyFgfsSample(state, aircraft);
  const double angles[] = {aircraft.headingDeg,     aircraft.selectedHeadingDeg,
                           aircraft.navCourseDeg,   aircraft.adfBearingDeg,
                           aircraft.nav2BearingDeg, aircraft.windDirectionDeg};
  for (double angle : angles) {
    if (!(angle >= 0 && angle < 360)) __builtin_trap();
  }
  if (std::fabs(aircraft.courseDeviation) > 127 || std::fabs(aircraft.verticalDeviation) > 120 ||
      !std::isfinite(aircraft.latitudeDeg) || !std::isfinite(aircraft.longitudeDeg) ||
      aircraft.nav1Ident.size() > 16 || aircraft.marker < 0 || aircraft.marker > 3) {
    __builtin_trap();
  }
  return 0;
}
