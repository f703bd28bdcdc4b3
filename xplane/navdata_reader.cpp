#include "xplane/navdata_reader.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <map>
#include <system_error>
#include <utility>

#include "platform/great_circle.h"
#include "platform/numbers.h"
#include "platform/text_lines.h"
#include "xplane/row_fields.h"
#include "xplane/row_reader.h"

namespace xplane {
namespace {

using Fields = std::vector<std::string_view>;

constexpr double kFeetPerMetre = 3.280839895013123;
// Rows of one station lie within this many degrees of each other.
constexpr double kSameStationDeg = 0.5;
// Of a refused row, this much is kept to be set aside.
constexpr size_t kKeptRowBytes = 256;

long Whole(std::string_view field) {
  return platform::ReadLong(field);
}

bool ContainsWord(const std::string& name, std::string_view word) {
  return name.find(word) != std::string::npos;
}

// Counts and keeps the rows a file's reader refuses, with their line numbers.
class RowRefusals {
 public:
  RowRefusals(NavData& data, const std::string& fileName) : data_(data), fileName_(fileName) {}

  void Refuse(RowList list, size_t lineNumber, std::string reason, std::string_view row) {
    ++data_.refusedRows;
    if (data_.refused.size() >= kMaxKeptRefusals) return;
    std::string kept(row.substr(0, kKeptRowBytes));
    if (row.size() > kKeptRowBytes) kept += "...";
    data_.refused.push_back({list, fileName_ + " line " + std::to_string(lineNumber),
                             std::move(reason), std::move(kept)});
  }
  // True when a row of a known code can be read further: not cut, and with
  // at least `fieldCount` fields.
  bool Whole(RowList list, size_t lineNumber, const Fields& f, size_t fieldCount,
             std::string_view line, bool cut) {
    if (cut) {
      Refuse(list, lineNumber, "the row is longer than " + std::to_string(kMaxRowBytes) + " bytes",
             line);
      return false;
    }
    if (f.size() >= fieldCount) return true;
    Refuse(list, lineNumber,
           "the row has " + std::to_string(f.size()) + " fields, fewer than " +
               std::to_string(fieldCount),
           line);
    return false;
  }
  // True when `list` can take one more record; else the row is passed over.
  bool Room(RowList list, size_t kept) {
    if (kept < data_.recordsPerList) return true;
    PassOver(list);
    return false;
  }
  void PassOver(RowList list) { ++data_.passedOver[static_cast<size_t>(list)]; }

 private:
  NavData& data_;
  const std::string& fileName_;
};

// The fields of a nav.dat row every code shares.
struct NavRow {
  long code = 0;
  double latitudeDeg = 0;
  double longitudeDeg = 0;
  long elevationFt = 0;
  long frequency = 0;
  long rangeNm = 0;
  double extra = 0;  // magnetic variation of a VOR, localizer course of an ILS
  std::string identifier;
  std::string name;
};

// An angle within -180..180.
double SignedAngleDeg(double angleDeg) {
  if (angleDeg > 180) return angleDeg - 360;
  if (angleDeg < -180) return angleDeg + 360;
  return angleDeg;
}

NavRow ReadNavRow(long code, RowFields& r) {
  NavRow row;
  row.code = code;
  row.latitudeDeg = r.LatitudeDeg(1);
  row.longitudeDeg = r.LongitudeDeg(2);
  row.elevationFt = r.Whole(3, "elevation");
  row.frequency = r.Whole(4, "frequency");
  row.rangeNm = r.Whole(5, "range");
  // Some rows give a variation of 356.7 for 3.3 west, or a course of
  // 360.2: the same angles, taken back into their usual ranges.
  if (code == 3) row.extra = SignedAngleDeg(r.Number(6, "magnetic variation", -360, 360));
  if (code == 4 || code == 5) {
    // Below 0 the line's conversion adds 360 itself; up to 360.5 it rounds to 360.
    row.extra = r.Number(6, "localizer course", -360, 720);
    if (row.extra >= 360.5) row.extra -= 360;
  }
  row.identifier = r.Text(7, "identifier");
  row.name = r.JoinedText(8, "name");
  return row;
}

// Stations by identifier and frequency; several per key when far apart.
class StationMerger {
 public:
  explicit StationMerger(std::vector<StationRecord>& stations) : stations_(stations) {}

  // False when the row would begin a station and the list has no room.
  bool Add(const NavRow& row, size_t lineNumber, size_t mostStations) {
    StationRecord* const found =
        Find(row.identifier, row.frequency, row.latitudeDeg, row.longitudeDeg, mostStations);
    if (found == nullptr) return false;
    StationRecord& station = *found;
    const bool fresh = station.lineNumber == 0;
    if (fresh) {
      station.lineNumber = lineNumber;
      SetPosition(station, row);
    }
    switch (row.code) {
      case 3:
        SetPrimary(station, row, fresh);
        station.hasVor = true;
        station.magneticVariationDeg = row.extra;
        station.hasTacan = station.hasTacan || ContainsWord(station.name, "VORTAC");
        break;
      case 4:
      case 5:
        SetPrimary(station, row, fresh);
        station.hasLocalizer = true;
        station.localizerCourseDeg = row.extra;
        break;
      case 6:
        station.hasGlideSlope = true;
        station.glideSlopeLatitudeDeg = row.latitudeDeg;
        station.glideSlopeLongitudeDeg = row.longitudeDeg;
        station.glideSlopeElevationFt = row.elevationFt;
        break;
      default:  // 12 and 13, DME
        station.hasDme = true;
        station.hasTacan = station.hasTacan || ContainsWord(row.name, "TACAN");
        break;
    }
    return true;
  }

 private:
  static void SetPosition(StationRecord& station, const NavRow& row) {
    station.name = row.name;
    station.latitudeDeg = row.latitudeDeg;
    station.longitudeDeg = row.longitudeDeg;
    station.elevationFt = row.elevationFt;
    station.rangeNm = row.rangeNm;
  }
  // A VOR or localizer row owns the station's position, name and range.
  static void SetPrimary(StationRecord& station, const NavRow& row, bool fresh) {
    if (fresh || station.hasVor || station.hasLocalizer) return;
    SetPosition(station, row);
  }

  StationRecord* Find(const std::string& identifier, long frequency10Khz, double latitudeDeg,
                      double longitudeDeg, size_t mostStations) {
    auto& candidates = byKey_[{identifier, frequency10Khz}];
    for (size_t index : candidates) {
      StationRecord& station = stations_[index];
      if (std::fabs(station.latitudeDeg - latitudeDeg) < kSameStationDeg &&
          std::fabs(station.longitudeDeg - longitudeDeg) < kSameStationDeg) {
        return &station;
      }
    }
    if (stations_.size() >= mostStations) return nullptr;
    candidates.push_back(stations_.size());
    StationRecord& station = stations_.emplace_back();
    station.identifier = identifier;
    station.frequency10Khz = frequency10Khz;
    return &station;
  }

  std::vector<StationRecord>& stations_;
  std::map<std::pair<std::string, long>, std::vector<size_t>> byKey_;
};

// "09L" -> 9 and 'L'. A number too wide for the line's two digits is kept
// wide (within an int) so that the line's check names it.
void ReadRunwayNumber(std::string_view text, RunwayRecord& runway) {
  runway.number = static_cast<int>(std::clamp(Whole(text), -1000L, 1000L));
  const char last = text.empty() ? ' ' : text.back();
  runway.side = (last == 'L' || last == 'R' || last == 'C') ? last : ' ';
}

RunwayRecord ReadRunwayRow(RowFields& r) {
  RunwayRecord runway;
  runway.widthFt = r.Number(1, "width", 0, kLargestRowNumber) * kFeetPerMetre;
  ReadRunwayNumber(r.Text(8, "runway number"), runway);
  const double lat1 = r.LatitudeDeg(9), lon1 = r.LongitudeDeg(10);
  const double lat2 = r.LatitudeDeg(18), lon2 = r.LongitudeDeg(19);
  runway.latitudeDeg = (lat1 + lat2) / 2;
  double deltaLon = lon2 - lon1;
  if (deltaLon > 180) deltaLon -= 360;
  if (deltaLon < -180) deltaLon += 360;
  runway.longitudeDeg = lon1 + deltaLon / 2;
  if (runway.longitudeDeg > 180) runway.longitudeDeg -= 360;
  if (runway.longitudeDeg < -180) runway.longitudeDeg += 360;
  runway.headingDeg = platform::InitialBearingDeg({lat1, lon1}, {lat2, lon2});
  runway.lengthFt = platform::DistanceMetres({lat1, lon1}, {lat2, lon2}) * kFeetPerMetre;
  return runway;
}

// The rows of nav.dat: NDBs, and the VOR, ILS and DME rows merged into stations.
class NavRows {
 public:
  explicit NavRows(NavData& data)
      : data_(data), refusals_(data, data.navFile), merger_(data.stations) {}

  void operator()(std::string_view line, bool cut) {
    ++lineNumber_;
    const Fields f = SplitFields(line);
    if (f.empty()) return;
    const long code = Whole(f[0]);
    const bool known = code == 2 || (code >= 3 && code <= 6) || code == 12 || code == 13;
    if (!known) return;
    const RowList list = code == 2 ? RowList::Ndb : RowList::Station;
    if (!refusals_.Whole(list, lineNumber_, f, 9, line, cut)) return;
    RowFields r(f);
    const NavRow row = ReadNavRow(code, r);
    if (!r.ok()) return refusals_.Refuse(list, lineNumber_, r.problem(), line);
    if (code != 2) {
      if (!merger_.Add(row, lineNumber_, data_.recordsPerList)) refusals_.PassOver(list);
      return;
    }
    if (!refusals_.Room(list, data_.ndbs.size())) return;
    NdbRecord& ndb = data_.ndbs.emplace_back();
    ndb.lineNumber = lineNumber_;
    ndb.latitudeDeg = row.latitudeDeg;
    ndb.longitudeDeg = row.longitudeDeg;
    ndb.elevationFt = row.elevationFt;
    ndb.frequencyKhz = row.frequency;
    ndb.rangeNm = row.rangeNm;
    ndb.identifier = row.identifier;
    ndb.name = row.name;
  }
  void Finish() {}

 private:
  NavData& data_;
  RowRefusals refusals_;
  StationMerger merger_;
  size_t lineNumber_ = 0;
};

// The rows of apt.dat: an airport row, then its land runways and ATIS.
class AirportRows {
 public:
  explicit AirportRows(NavData& data) : data_(data), refusals_(data, data.airportFile) {}

  void operator()(std::string_view line, bool cut) {
    ++lineNumber_;
    const Fields f = SplitFields(line);
    if (f.empty()) return;
    const long code = Whole(f[0]);
    if (code == 1 || code == 16 || code == 17) {
      DropAirportWithoutRunways();
      current_ = nullptr;
      if (!refusals_.Whole(RowList::Runway, lineNumber_, f, 5, line, cut)) return;
      RowFields r(f);
      AirportRecord airport;
      airport.rowCode = static_cast<int>(code);
      airport.elevationFt = r.Whole(1, "elevation");
      airport.identifier = r.Text(4, "identifier");
      airport.name = r.JoinedText(5, "name");
      if (!r.ok()) return refusals_.Refuse(RowList::Runway, lineNumber_, r.problem(), line);
      current_ = &data_.airports.emplace_back(std::move(airport));
    } else if (code == 100) {
      if (current_ == nullptr) {
        return refusals_.Refuse(RowList::Runway, lineNumber_, "a runway row outside an airport",
                                line);
      }
      if (!refusals_.Whole(RowList::Runway, lineNumber_, f, 20, line, cut)) return;
      RowFields r(f);
      RunwayRecord runway = ReadRunwayRow(r);
      if (!r.ok()) return refusals_.Refuse(RowList::Runway, lineNumber_, r.problem(), line);
      if (!refusals_.Room(RowList::Runway, runwaysKept_)) return;
      runway.lineNumber = lineNumber_;
      current_->runways.push_back(runway);
      ++runwaysKept_;
    } else if (code == 50) {
      if (current_ == nullptr) {
        return refusals_.Refuse(RowList::Runway, lineNumber_, "a frequency row outside an airport",
                                line);
      }
      if (!refusals_.Whole(RowList::Runway, lineNumber_, f, 2, line, cut)) return;
      RowFields r(f);
      const long frequency = r.Whole(1, "frequency", 0, kLargestRowNumber);
      if (!r.ok()) return refusals_.Refuse(RowList::Runway, lineNumber_, r.problem(), line);
      if (current_->atisFrequency10Khz == 0) current_->atisFrequency10Khz = frequency;
    } else if (code == 99) {
      current_ = nullptr;
    }
  }
  void Finish() { DropAirportWithoutRunways(); }

 private:
  // An airport without land runways adds no line: keeping it would only
  // let a file of airport rows fill the memory.
  void DropAirportWithoutRunways() {
    if (!data_.airports.empty() && data_.airports.back().runways.empty()) {
      if (current_ == &data_.airports.back()) current_ = nullptr;
      data_.airports.pop_back();
    }
  }

  NavData& data_;
  RowRefusals refusals_;
  // The airport whose rows follow; only the newest airport is ever changed,
  // so growing the vector cannot leave this pointing at a moved element.
  AirportRecord* current_ = nullptr;
  size_t lineNumber_ = 0;
  size_t runwaysKept_ = 0;
};

// The rows of fix.dat after its two header lines, up to "99".
class FixRows {
 public:
  explicit FixRows(NavData& data) : data_(data), refusals_(data, data.fixFile) {}

  void operator()(std::string_view line, bool cut) {
    ++lineNumber_;
    if (ended_ || lineNumber_ <= 2) return;  // "I"/"A" and the version line
    const Fields f = SplitFields(line);
    if (f.empty()) return;
    if (f.size() == 1 && f[0] == "99") {
      ended_ = true;
      return;
    }
    if (!refusals_.Whole(RowList::Fix, lineNumber_, f, 3, line, cut)) return;
    RowFields r(f);
    FixRecord fix;
    fix.lineNumber = lineNumber_;
    fix.latitudeDeg = r.LatitudeDeg(0);
    fix.longitudeDeg = r.LongitudeDeg(1);
    fix.identifier = r.Text(2, "identifier");
    if (!r.ok()) return refusals_.Refuse(RowList::Fix, lineNumber_, r.problem(), line);
    if (!refusals_.Room(RowList::Fix, data_.fixes.size())) return;
    data_.fixes.push_back(std::move(fix));
  }
  void Finish() {}

 private:
  NavData& data_;
  RowRefusals refusals_;
  bool ended_ = false;
  size_t lineNumber_ = 0;
};

template <class Rows>
platform::Status ReadFileRows(const std::filesystem::path& path, NavData& data) {
  Rows rows(data);
  platform::Status read =
      ForEachLine(path, [&rows](std::string_view line, bool cut) { rows(line, cut); });
  rows.Finish();
  return read;
}

template <class Rows>
void ReadByteRows(std::string_view bytes, NavData& data) {
  Rows rows(data);
  platform::ForEachTextLine(bytes, [&rows](size_t, std::string_view line) {
    const bool cut = line.size() > kMaxRowBytes;
    rows(cut ? line.substr(0, kMaxRowBytes) : line, cut);
    return true;
  });
  rows.Finish();
}

}  // namespace

platform::Status ReadNavFile(const std::filesystem::path& path, NavData& data) {
  return ReadFileRows<NavRows>(path, data);
}
platform::Status ReadAirportFile(const std::filesystem::path& path, NavData& data) {
  return ReadFileRows<AirportRows>(path, data);
}
platform::Status ReadFixFile(const std::filesystem::path& path, NavData& data) {
  return ReadFileRows<FixRows>(path, data);
}

void ReadNavBytes(std::string_view bytes, NavData& data) {
  ReadByteRows<NavRows>(bytes, data);
}
void ReadAirportBytes(std::string_view bytes, NavData& data) {
  ReadByteRows<AirportRows>(bytes, data);
}
void ReadFixBytes(std::string_view bytes, NavData& data) {
  ReadByteRows<FixRows>(bytes, data);
}

platform::Status ReadNavDataFolder(const std::filesystem::path& folder, NavData& data) {
  using Reader = platform::Status (*)(const std::filesystem::path&, NavData&);
  const std::pair<const char*, Reader> files[] = {
      {"nav.dat", ReadNavFile}, {"apt.dat", ReadAirportFile}, {"fix.dat", ReadFixFile}};
  bool foundAny = false;
  for (const auto& [name, reader] : files) {
    for (const char* suffix : {"", ".gz"}) {
      const std::filesystem::path path = folder / (std::string(name) + suffix);
      std::error_code error;
      if (!std::filesystem::is_regular_file(path, error)) continue;
      foundAny = true;
      const std::string fileName = path.filename().string();
      if (reader == ReadNavFile) data.navFile = fileName;
      if (reader == ReadAirportFile) data.airportFile = fileName;
      if (reader == ReadFixFile) data.fixFile = fileName;
      if (const platform::Status read = reader(path, data); !read) {
        return platform::Error{path.string() + ": " + read.error().message,
                               read.error().errorNumber, path};
      }
      break;
    }
  }
  if (!foundAny) {
    return platform::Error{folder.string() + ": no nav.dat, apt.dat or fix.dat found", ENOENT,
                           folder};
  }
  return {};
}

}  // namespace xplane
