// Packets of the FlightGear feed for the tests: one as FlightGear 2020.3 sent
// it (the ufo on the ground at Paris-Charles de Gaulle, NAV 1 on CGN 115.35,
// NAV 2 on PGS 117.05, ADF on CGO 343), and variations of it.
#pragma once

#include <string>
#include <vector>

namespace fgfs_test {

inline const std::string kFlightGearPacket =
    "SKND1\t48.9987538\t2.6105347\t-1.0\t265.42\t262.18\t0.0\t0.0\t270.0\t3.0\t0.0\t"
    "115.35\tCGN\t1\t284.0\t0.2201\t0\t0.0000\t1\t0\t286.3\t8415\t1\t"
    "117.05\tPGS\t1\t326.0\t1.0000\t0\t0.0000\t0\t1\t85.3\t980\t1\t"
    "1\t4.54\t343.0\tCGO\t1\t362.3\t0\t0\t0\n";

// The fields of a packet line (tag first), without its line end.
inline std::vector<std::string> Fields(const std::string& packet) {
  std::vector<std::string> fields;
  std::string line = packet.substr(0, packet.find('\n'));
  for (size_t start = 0;;) {
    size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

// The FlightGear packet with field `index` (0 is the tag) replaced.
inline std::string WithField(size_t index, const std::string& value,
                             const std::string& packet = kFlightGearPacket) {
  std::vector<std::string> fields = Fields(packet);
  fields.at(index) = value;
  std::string line;
  for (size_t at = 0; at < fields.size(); ++at) line += (at == 0 ? "" : "\t") + fields[at];
  return line + "\n";
}

// Field numbers in the packet (see host/fgfs/skyatlas-nd.xml).
enum Field : size_t {
  kLatitude = 1,
  kLongitude = 2,
  kAltitude = 3,
  kHeadingTrue = 4,
  kHeadingMagnetic = 5,
  kGroundSpeed = 6,
  kTrueAirspeed = 7,
  kWindFrom = 8,
  kHeadingBug = 10,
  kNav1Frequency = 11,
  kNav1Ident = 12,
  kNav1InRange = 13,
  kNav1CourseNeedle = 15,
  kNav1GlideSlopeInRange = 16,
  kNav1GlideSlopeNeedle = 17,
  kNav1ToFlag = 18,
  kNav1FromFlag = 19,
  kNav2InRange = 25,
  kDmeInRange = 35,
  kAdfIdent = 38,
  kAdfInRange = 39,
  kMarkerOuter = 41,
  kMarkerMiddle = 42,
  kMarkerInner = 43,
};

}  // namespace fgfs_test
