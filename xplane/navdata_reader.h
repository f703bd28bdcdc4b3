// Plain records read from X-Plane format navigation data: nav.dat (810),
// apt.dat (1000, runway rows) and fix.dat (600), each plain or gzip-packed.
//
// VOR, ILS and DME rows that share an identifier and a frequency and lie
// close together are merged into one station, the way the simulator stores
// a VOR/DME or an ILS with its glide slope and DME as one record.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace xplane {

struct NdbRecord {
  size_t lineNumber = 0;  // of its row in the file
  std::string identifier;
  std::string name;
  double latitudeDeg = 0;
  double longitudeDeg = 0;
  long elevationFt = 0;
  long frequencyKhz = 0;  // whole kHz, as nav.dat gives it
  long rangeNm = 0;
};

struct StationRecord {
  size_t lineNumber = 0;  // of the row that began the station
  std::string identifier;
  std::string name;         // name of the first row of the station
  long frequency10Khz = 0;  // 11670 = 116.70 MHz
  double latitudeDeg = 0;   // VOR or localizer, else DME position
  double longitudeDeg = 0;
  long elevationFt = 0;
  long rangeNm = 0;
  bool hasVor = false;
  bool hasLocalizer = false;  // an ILS (or localizer only)
  bool hasGlideSlope = false;
  bool hasDme = false;
  bool hasTacan = false;            // VORTAC or TACAN in the name
  double magneticVariationDeg = 0;  // VOR rows, east positive
  double localizerCourseDeg = 0;    // true course of the localizer
  double glideSlopeLatitudeDeg = 0;
  double glideSlopeLongitudeDeg = 0;
  long glideSlopeElevationFt = 0;

  bool dmeOnly() const { return hasDme && !hasVor && !hasLocalizer; }
  double frequencyMhz() const { return static_cast<double>(frequency10Khz) / 100.0; }
};

struct RunwayRecord {
  size_t lineNumber = 0;
  int number = 0;          // of the first end: 9 for "09L"
  char side = ' ';         // 'L', 'R', 'C' or ' '
  double latitudeDeg = 0;  // centre between the two ends
  double longitudeDeg = 0;
  double headingDeg = 0;  // true, from the first end towards the second
  double lengthFt = 0;
  double widthFt = 0;
};

struct AirportRecord {
  std::string identifier;
  std::string name;
  int rowCode = 1;  // 1 airport, 16 seaplane base, 17 heliport
  long elevationFt = 0;
  long atisFrequency10Khz = 0;        // first row 50, 0 when none
  std::vector<RunwayRecord> runways;  // land runways (rows 100)
};

struct FixRecord {
  size_t lineNumber = 0;
  std::string identifier;
  double latitudeDeg = 0;
  double longitudeDeg = 0;
};

// The database list a row's navaid would go to.
enum class RowList { Ndb = 0, Station = 1, Runway = 2, Fix = 3 };

// A row of a known code that was not taken, and why.
struct RefusedRow {
  RowList list = RowList::Ndb;
  std::string source;  // "nav.dat line 12"
  std::string reason;  // "latitude '91.5' is outside -90 to 90"
  std::string row;     // the row as it stands (its start, for a very long one)
};

// The most records of one list a read keeps: a database list holds no more
// (the five-digit row of an index line bounds it), so rows past them could
// only be refused, and keeping them would let one file take any memory.
inline constexpr size_t kMaxRecordsPerList = 100000;
// The most refused rows kept to be set aside; the rest are only counted.
inline constexpr size_t kMaxKeptRefusals = 10000;

struct NavData {
  std::vector<NdbRecord> ndbs;
  std::vector<StationRecord> stations;
  std::vector<AirportRecord> airports;  // only airports with land runways stay
  std::vector<FixRecord> fixes;
  // Rows of a known code that could not be taken (too few fields, a value
  // that is not a finite number or is out of range, control bytes in a
  // text, a line too long): all counted, the first kMaxKeptRefusals kept.
  size_t refusedRows = 0;
  std::vector<RefusedRow> refused;
  // Rows passed over because their list had `recordsPerList` records
  // already, by RowList.
  std::array<size_t, 4> passedOver{};
  size_t recordsPerList = kMaxRecordsPerList;
  // The names the rows' sources are given in (the file names as found).
  std::string navFile = "nav.dat";
  std::string airportFile = "apt.dat";
  std::string fixFile = "fix.dat";

  size_t PassedOverRows() const {
    return passedOver[0] + passedOver[1] + passedOver[2] + passedOver[3];
  }
};

// Each reader appends to `data`; it fails saying what went wrong with the
// file.
platform::Status ReadNavFile(const std::filesystem::path& path, NavData& data);
platform::Status ReadAirportFile(const std::filesystem::path& path, NavData& data);
platform::Status ReadFixFile(const std::filesystem::path& path, NavData& data);

// The same readers over a file's uncompressed bytes already in memory; they
// cannot fail, as rows that cannot be read are refused.
void ReadNavBytes(std::string_view bytes, NavData& data);
void ReadAirportBytes(std::string_view bytes, NavData& data);
void ReadFixBytes(std::string_view bytes, NavData& data);

// Reads nav.dat, apt.dat and fix.dat (each also as .gz) from `folder`;
// missing files are passed over. Fails when none is there or one cannot be read.
platform::Status ReadNavDataFolder(const std::filesystem::path& folder, NavData& data);

}  // namespace xplane
