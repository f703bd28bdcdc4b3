// Writes scenery images and packed scenery files for tests and tools,
// laid out exactly as the scanner reads them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace scenery_writer {

struct BglNdb {
  uint8_t tensUnits = 0x52, hundreds = 0x03, tenths = 0x05;  // frequency bytes: 352.5 kHz
  int32_t latitude24 = 0, longitude24 = 0;
  int16_t altitudeM = 0;
  uint8_t rangeUnits = 10;
  std::string identifier, name;
};

struct BglVor {
  int channel = 0;   // frequency 108.00 + 0.05 x channel MHz
  uint8_t type = 4;  // 4 VOR/DME, 5 or 6 ILS
  uint8_t rangeUnits = 0;
  int16_t magneticVariation16 = 0;
  uint8_t flags = 0;
  int32_t latitude24 = 0, longitude24 = 0;
  int16_t altitudeM = 0;
  int16_t course16 = 0;
  std::string identifier, name;
  int32_t latitude24Second = 0, longitude24Second = 0;  // types 5 and 6
  int16_t altitudeMSecond = 0;
};

struct BglRunway {
  int32_t latitude32 = 0, longitude32 = 0;
  int32_t elevation = 0;  // metres x 65535
  int32_t heading32 = 0;
  uint32_t lengthFt = 0, widthFt = 0, designatorKind = 0, number = 0;
};

struct BglFrequency {
  uint8_t hundredths = 0, tensUnits = 0, hundreds = 0;  // BCD bytes +9, +10, +11
  uint32_t use = 1;                                     // 1: ATIS
};

struct BglAirport {
  std::string identifier;  // empty: no identifier record
  std::string name;
  uint32_t blockKind = 1;
  std::vector<BglFrequency> frequencies;
  std::vector<BglRunway> runways;
};

struct BglScenery {
  std::vector<BglNdb> ndbs;
  std::vector<BglVor> vors;
  std::vector<BglAirport> airports;
  bool extendedHeader = false;    // forced on when there are airports
  bool frenchChunkFirst = false;  // a language chunk other than English before it
  size_t recordsPerRun = 3;       // NDB and VOR records per run of the tables
};

// Unit conversions of the record fields (rounded to the nearest unit).
int32_t Latitude24(double latitudeDeg);
int32_t Longitude24(double longitudeDeg);
int32_t Latitude32(double latitudeDeg);
int32_t Angle32(double angleDeg);
int16_t Angle16(double angleDeg);

// A plain scenery image.
std::vector<uint8_t> WriteBglImage(const BglScenery& scenery);

struct JStreamOptions {
  bool useMatches = true;
  size_t blockMarkEvery = 0;  // extra block marks after this many tokens (ignored by decoders)
};

// The 'J' stream of `bytes`, ending in a block mark.
std::vector<uint8_t> EncodeJStream(const std::vector<uint8_t>& bytes, JStreamOptions options = {});

// A packed file of a plain image: the header in the clear (128 bytes, or
// 168 with the extended mark), the block header, and the stream. The image
// must not carry an airport section.
std::vector<uint8_t> WritePackedBgl(const std::vector<uint8_t>& image, uint32_t checkValue = 0,
                                    JStreamOptions options = {});

}  // namespace scenery_writer
