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
  const platform::Result<ndhost::FgfsSample> result = ndhost::ParseFgfsPacket(bytes);
  if (!result) {
    if (result.error().message.empty()) __builtin_trap();
    return 0;
  }
  // Numbers may come back longer (".5" as "0.5"), past the packet size limit.
  const std::string formatted = ndhost::FormatFgfsPacket(*result);
  if (formatted.size() <= ndhost::kFgfsMaxPacketBytes) {
    const platform::Result<ndhost::FgfsSample> again = ndhost::ParseFgfsPacket(formatted);
    if (!again || ndhost::FormatFgfsPacket(*again) != formatted) __builtin_trap();
  }

  ndhost::FgfsSample state;
  ndhost::MergeFgfsSample(state, *result);
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
