// One packet of FlightGear's generic protocol as host/fgfs/skyatlas-nd.xml
// defines it: the tag "SKND1", then 43 values, separated by tabs, ending in a
// newline. Every value is optional: an empty field means "no news", so the
// feed keeps the value it had.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace ndhost {

// One NAV receiver's values (FlightGear's /instrumentation/nav[n]).
struct FgfsNavRadio {
  std::optional<double> frequencyMhz;
  std::optional<std::string> ident;
  std::optional<bool> inRange;
  std::optional<double> selectedCourseDeg;
  std::optional<double> courseNeedle;  // -1 (full left) to 1 (full right)
  std::optional<bool> glideSlopeInRange;
  std::optional<double> glideSlopeNeedle;  // -1 to 1, positive: fly up
  std::optional<bool> toFlag;
  std::optional<bool> fromFlag;
  std::optional<double> bearingTrueDeg;  // from the aircraft to the station
  std::optional<double> distanceM;
  std::optional<bool> dmeInRange;
};

struct FgfsSample {
  std::optional<double> latitudeDeg;
  std::optional<double> longitudeDeg;
  std::optional<double> altitudeFt;
  std::optional<double> headingTrueDeg;
  std::optional<double> headingMagneticDeg;
  std::optional<double> groundSpeedKt;
  std::optional<double> trueAirspeedKt;
  std::optional<double> windFromDeg;  // true
  std::optional<double> windSpeedKt;
  std::optional<double> headingBugDeg;  // magnetic
  FgfsNavRadio nav1;
  FgfsNavRadio nav2;
  std::optional<bool> dmeInRange;
  std::optional<double> dmeDistanceNm;
  std::optional<double> adfFrequencyKhz;
  std::optional<std::string> adfIdent;
  std::optional<bool> adfInRange;
  std::optional<double> adfBearingDeg;  // relative to the heading
  std::optional<bool> markerOuter;
  std::optional<bool> markerMiddle;
  std::optional<bool> markerInner;
};

inline constexpr std::string_view kFgfsPacketTag = "SKND1";
inline constexpr int kFgfsFieldCount = 44;  // the tag and 43 values
inline constexpr size_t kFgfsMaxPacketBytes = 2048;

// Reads one packet. A packet is taken whole or not at all: bytes that are not
// UTF-8, control characters, a wrong tag or number of fields, a number that
// is not finite or outside its field's bounds, a flag that is not 0 or 1, or
// a text over 16 bytes rejects it with a message naming the field.
platform::Result<FgfsSample> ParseFgfsPacket(std::string_view bytes);

// Writes the values of a sample as a packet (empty fields where a value is
// missing); the form FlightGear sends, used by tests and the fuzz seeds.
std::string FormatFgfsPacket(const FgfsSample& sample);

// Each value the newer sample holds replaces the one in `state`.
void MergeFgfsSample(FgfsSample& state, const FgfsSample& newer);

}  // namespace ndhost
