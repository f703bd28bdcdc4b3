#include "xplane/navdata_reader.h"

#include <cmath>
#include <map>
#include <system_error>
#include <utility>

#include "platform/great_circle.h"
#include "platform/numbers.h"
#include "platform/text_lines.h"
#include "xplane/row_reader.h"

namespace xplane {
namespace {

using Fields = std::vector<std::string_view>;

constexpr double kFeetPerMetre = 3.280839895013123;
// Rows of one station lie within this many degrees of each other.
constexpr double kSameStationDeg = 0.5;

double Number(std::string_view field) {
  return platform::ReadDouble(field);
}
long Whole(std::string_view field) {
  return platform::ReadLong(field);
}

bool ContainsWord(const std::string& name, std::string_view word) {
  return name.find(word) != std::string::npos;
}

NdbRecord ReadNdbRow(const Fields& f) {
  NdbRecord ndb;
  ndb.latitudeDeg = Number(f[1]);
  ndb.longitudeDeg = Number(f[2]);
  ndb.elevationFt = Whole(f[3]);
  ndb.frequencyKhz = Whole(f[4]);
  ndb.rangeNm = Whole(f[5]);
  ndb.identifier = std::string(f[7]);
  ndb.name = JoinFields(f, 8);
  return ndb;
}

// Stations by identifier and frequency; several per key when far apart.
class StationMerger {
 public:
  explicit StationMerger(std::vector<StationRecord>& stations) : stations_(stations) {}

  void Add(long code, const Fields& f) {
    const double latitudeDeg = Number(f[1]);
    const double longitudeDeg = Number(f[2]);
    StationRecord& station = Find(std::string(f[7]), Whole(f[4]), latitudeDeg, longitudeDeg);
    const bool fresh = station.name.empty();
    if (fresh) {
      station.name = JoinFields(f, 8);
      station.latitudeDeg = latitudeDeg;
      station.longitudeDeg = longitudeDeg;
      station.elevationFt = Whole(f[3]);
      station.rangeNm = Whole(f[5]);
    }
    const double extra = Number(f[6]);
    switch (code) {
      case 3:
        SetPrimary(station, f, fresh);
        station.hasVor = true;
        station.magneticVariationDeg = extra;
        station.hasTacan = station.hasTacan || ContainsWord(station.name, "VORTAC");
        break;
      case 4:
      case 5:
        SetPrimary(station, f, fresh);
        station.hasLocalizer = true;
        station.localizerCourseDeg = extra;
        break;
      case 6:
        station.hasGlideSlope = true;
        station.glideSlopeLatitudeDeg = latitudeDeg;
        station.glideSlopeLongitudeDeg = longitudeDeg;
        station.glideSlopeElevationFt = Whole(f[3]);
        break;
      default:  // 12 and 13, DME
        station.hasDme = true;
        station.hasTacan = station.hasTacan || ContainsWord(JoinFields(f, 8), "TACAN");
        break;
    }
  }

 private:
  // A VOR or localizer row owns the station's position, name and range.
  static void SetPrimary(StationRecord& station, const Fields& f, bool fresh) {
    if (fresh || station.hasVor || station.hasLocalizer) return;
    station.name = JoinFields(f, 8);
    station.latitudeDeg = Number(f[1]);
    station.longitudeDeg = Number(f[2]);
    station.elevationFt = Whole(f[3]);
    station.rangeNm = Whole(f[5]);
  }

  StationRecord& Find(const std::string& identifier, long frequency10Khz, double latitudeDeg,
                      double longitudeDeg) {
    auto& candidates = byKey_[{identifier, frequency10Khz}];
    for (size_t index : candidates) {
      StationRecord& station = stations_[index];
      if (std::fabs(station.latitudeDeg - latitudeDeg) < kSameStationDeg &&
          std::fabs(station.longitudeDeg - longitudeDeg) < kSameStationDeg) {
        return station;
      }
    }
    candidates.push_back(stations_.size());
    StationRecord& station = stations_.emplace_back();
    station.identifier = identifier;
    station.frequency10Khz = frequency10Khz;
    return station;
  }

  std::vector<StationRecord>& stations_;
  std::map<std::pair<std::string, long>, std::vector<size_t>> byKey_;
};

// "09L" -> 9 and 'L'.
void ReadRunwayNumber(std::string_view text, RunwayRecord& runway) {
  runway.number = static_cast<int>(Whole(text));
  const char last = text.empty() ? ' ' : text.back();
  runway.side = (last == 'L' || last == 'R' || last == 'C') ? last : ' ';
}

RunwayRecord ReadRunwayRow(const Fields& f) {
  RunwayRecord runway;
  runway.widthFt = Number(f[1]) * kFeetPerMetre;
  ReadRunwayNumber(f[8], runway);
  const double lat1 = Number(f[9]), lon1 = Number(f[10]);
  const double lat2 = Number(f[18]), lon2 = Number(f[19]);
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
  explicit NavRows(NavData& data) : data_(data), merger_(data.stations) {}

  void operator()(std::string_view line) {
    const Fields f = SplitFields(line);
    if (f.empty()) return;
    const long code = Whole(f[0]);
    const bool known = code == 2 || (code >= 3 && code <= 6) || code == 12 || code == 13;
    if (!known) return;
    if (f.size() < 9) {
      ++data_.malformedRows;
      return;
    }
    if (code == 2)
      data_.ndbs.push_back(ReadNdbRow(f));
    else
      merger_.Add(code, f);
  }

 private:
  NavData& data_;
  StationMerger merger_;
};

// The rows of apt.dat: an airport row, then its land runways and ATIS.
class AirportRows {
 public:
  explicit AirportRows(NavData& data) : data_(data) {}

  void operator()(std::string_view line) {
    const Fields f = SplitFields(line);
    if (f.empty()) return;
    const long code = Whole(f[0]);
    if (code == 1 || code == 16 || code == 17) {
      if (f.size() < 5) {
        ++data_.malformedRows;
        current_ = nullptr;
        return;
      }
      current_ = &data_.airports.emplace_back();
      current_->rowCode = static_cast<int>(code);
      current_->elevationFt = Whole(f[1]);
      current_->identifier = std::string(f[4]);
      current_->name = JoinFields(f, 5);
    } else if (code == 100) {
      if (current_ == nullptr || f.size() < 20) {
        ++data_.malformedRows;
        return;
      }
      current_->runways.push_back(ReadRunwayRow(f));
    } else if (code == 50) {
      if (current_ == nullptr || f.size() < 2) {
        ++data_.malformedRows;
        return;
      }
      if (current_->atisFrequency10Khz == 0) current_->atisFrequency10Khz = Whole(f[1]);
    } else if (code == 99) {
      current_ = nullptr;
    }
  }

 private:
  NavData& data_;
  // The airport whose rows follow; only the newest airport is ever changed,
  // so growing the vector cannot leave this pointing at a moved element.
  AirportRecord* current_ = nullptr;
};

// The rows of fix.dat after its two header lines, up to "99".
class FixRows {
 public:
  explicit FixRows(NavData& data) : data_(data) {}

  void operator()(std::string_view line) {
    ++lineNumber_;
    if (ended_ || lineNumber_ <= 2) return;  // "I"/"A" and the version line
    const Fields f = SplitFields(line);
    if (f.empty()) return;
    if (f.size() == 1 && f[0] == "99") {
      ended_ = true;
      return;
    }
    if (f.size() < 3) {
      ++data_.malformedRows;
      return;
    }
    data_.fixes.push_back({std::string(f[2]), Number(f[0]), Number(f[1])});
  }

 private:
  NavData& data_;
  bool ended_ = false;
  size_t lineNumber_ = 0;
};

template <class Rows>
std::string ReadFileRows(const std::filesystem::path& path, NavData& data) {
  Rows rows(data);
  return ForEachLine(path, [&rows](std::string_view line) { rows(line); });
}

template <class Rows>
void ReadByteRows(std::string_view bytes, NavData& data) {
  Rows rows(data);
  platform::ForEachTextLine(bytes, [&rows](size_t, std::string_view line) {
    rows(line);
    return true;
  });
}

}  // namespace

std::string ReadNavFile(const std::filesystem::path& path, NavData& data) {
  return ReadFileRows<NavRows>(path, data);
}
std::string ReadAirportFile(const std::filesystem::path& path, NavData& data) {
  return ReadFileRows<AirportRows>(path, data);
}
std::string ReadFixFile(const std::filesystem::path& path, NavData& data) {
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

std::string ReadNavDataFolder(const std::filesystem::path& folder, NavData& data) {
  using Reader = std::string (*)(const std::filesystem::path&, NavData&);
  const std::pair<const char*, Reader> files[] = {
      {"nav.dat", ReadNavFile}, {"apt.dat", ReadAirportFile}, {"fix.dat", ReadFixFile}};
  bool foundAny = false;
  for (const auto& [name, reader] : files) {
    for (const char* suffix : {"", ".gz"}) {
      const std::filesystem::path path = folder / (std::string(name) + suffix);
      std::error_code error;
      if (!std::filesystem::is_regular_file(path, error)) continue;
      foundAny = true;
      const std::string problem = reader(path, data);
      if (!problem.empty()) return path.string() + ": " + problem;
      break;
    }
  }
  if (!foundAny) return folder.string() + ": no nav.dat, apt.dat or fix.dat found";
  return {};
}

}  // namespace xplane
