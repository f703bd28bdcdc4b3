#include "station_finder.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <utility>

#include "navdb/coordinates.h"
#include "navdb/database.h"
#include "navdb/entry_lines.h"
#include "navdb/entry_list.h"
#include "platform/file_io.h"
#include "platform/numbers.h"

namespace ndhost {

namespace {

// Where the database has no range (0), a typical one of the kind.
constexpr double kDefaultNavRangeNm = 40;
constexpr double kDefaultNdbRangeNm = 25;
// A runway belongs to an ILS when its heading is this close to the course
// and the localizer stands within this much of the runway's far end.
constexpr double kRunwayHeadingToleranceDeg = 6;
constexpr double kLocalizerBeyondRunwayNm = 1.5;
// The glide-slope antenna stands about 1000 ft past the threshold, so the
// 3-degree path crosses the threshold about 50 ft up.
constexpr double kAntennaPastThresholdFt = 1000;
// Without a runway: a 9000 ft runway ending at the localizer is assumed.
constexpr double kAssumedRunwayFt = 9000;

// The database's decimals have a point whatever the locale says.
double Number(const std::string& text) {
  return platform::ReadDouble(text);
}

std::string Upper(std::string text) {
  for (char& character : text)
    character = static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
  return text;
}

struct RunwayEnd {
  GeoPoint centre;
  double headingDeg = 0;
  double oppositeHeadingDeg = 0;
  double lengthFt = 0;
  double elevationFt = 0;
};

// The file's bytes; empty for a missing file, and a problem noted for one
// that exists but cannot be read.
std::string ReadListFile(const std::filesystem::path& path, StationLoad& load) {
  std::string bytes;
  std::error_code missing;
  if (!std::filesystem::exists(path, missing)) return bytes;
  platform::Status read = platform::ReadWholeFile(path, bytes);
  if (!read.ok()) {
    load.problems.push_back("cannot read " + path.string() + ": " + read.error().message);
    bytes.clear();
  }
  return bytes;
}

void DecodeList(std::string_view fileName, navdb::NavaidKind kind, std::string_view bytes,
                navdb::EntryList& list, StationLoad& load) {
  std::vector<std::string> rejected;
  const navdb::Reporter quiet{};
  navdb::DecodeEntryFile(kind, bytes, list, rejected, quiet);
  if (!rejected.empty()) {
    load.problems.push_back(std::string(fileName) + ": " + std::to_string(rejected.size()) +
                            " lines without the file's layout left out");
  }
}

Station StationFromVorLine(std::string_view line) {
  navdb::EntryFields fields = navdb::ParseEntryLine(navdb::NavaidKind::Vor, line);
  Station station;
  std::string type = fields.typeText;
  station.kind = type.starts_with("ILS")   ? StationKind::Ils
                 : type.starts_with("DME") ? StationKind::Dme
                                           : StationKind::Vor;
  station.hasDme = station.kind == StationKind::Dme || type.find("/DME") != std::string::npos;
  station.hasGlideSlope = type.find("/GS") != std::string::npos;
  station.ident = fields.identifier;
  station.name = fields.name;
  station.frequency = Number(fields.frequencyInteger) + Number(fields.frequencyDecimals) / 100.0;
  station.localizerCourseDeg = Number(fields.courseText);
  station.position = {navdb::ParseLatitude(fields.latitudeText),
                      navdb::ParseLongitude(fields.longitudeText)};
  station.elevationFt = Number(fields.elevation);
  station.rangeNm = Number(fields.range);
  // "-02.3": the sign column, then the magnitude.
  std::string variation = fields.magneticVariation;
  double magnitude = variation.size() > 1 ? Number(variation.substr(1)) : 0.0;
  station.variationDeg = !variation.empty() && variation[0] == '-' ? -magnitude : magnitude;
  return station;
}

Station StationFromNdbLine(std::string_view line) {
  navdb::EntryFields fields = navdb::ParseEntryLine(navdb::NavaidKind::Ndb, line);
  Station station;
  station.kind = StationKind::Ndb;
  station.ident = fields.identifier;
  station.name = fields.name;
  station.frequency = Number(fields.frequencyInteger) + Number(fields.frequencyDecimals) / 10.0;
  station.position = {navdb::ParseLatitude(fields.latitudeText),
                      navdb::ParseLongitude(fields.longitudeText)};
  station.elevationFt = Number(fields.elevation);
  station.rangeNm = Number(fields.range);
  return station;
}

RunwayEnd RunwayFromLine(std::string_view line) {
  navdb::EntryFields fields = navdb::ParseEntryLine(navdb::NavaidKind::Airport, line);
  return {{navdb::ParseLatitude(fields.latitudeText), navdb::ParseLongitude(fields.longitudeText)},
          Number(fields.heading),
          Number(fields.oppositeHeading),
          Number(fields.length),
          Number(fields.elevation)};
}

// The runway end an ILS serves: heading along the localizer course, the
// localizer near the far end. The approach uses the localizer's course.
GlidePath PlaceGlidePath(const Station& ils, const std::vector<RunwayEnd>& runways) {
  const double courseDeg = ils.localizerCourseDeg;
  double bestMissNm = kLocalizerBeyondRunwayNm;
  GlidePath path;
  for (const RunwayEnd& runway : runways) {
    for (double headingDeg : {runway.headingDeg, runway.oppositeHeadingDeg}) {
      if (std::fabs(SignedDifferenceDeg(headingDeg, courseDeg)) > kRunwayHeadingToleranceDeg)
        continue;
      double halfLengthNm = runway.lengthFt / 2 / kFeetPerNm;
      GeoPoint farEnd = Destination(runway.centre, courseDeg, halfLengthNm);
      double missNm = DistanceNm(farEnd, ils.position);
      if (missNm >= bestMissNm) continue;
      bestMissNm = missNm;
      path.threshold = Destination(runway.centre, courseDeg + 180, halfLengthNm);
      path.thresholdElevationFt = runway.elevationFt;
      path.fromRunway = true;
    }
  }
  if (!path.fromRunway) {
    path.threshold = Destination(ils.position, courseDeg + 180, kAssumedRunwayFt / kFeetPerNm);
    path.thresholdElevationFt = ils.elevationFt;
  }
  path.antenna = Destination(path.threshold, courseDeg, kAntennaPastThresholdFt / kFeetPerNm);
  return path;
}

// Gives each VOR or ILS without a DME of its own the DME-only line of the
// same identifier and frequency nearest to it within kCollocatedNm.
void PairTwinDmes(std::vector<Station>& stations) {
  // Frequencies in hundredths of a MHz, so that equal texts give equal keys.
  std::multimap<std::pair<std::string, long>, size_t> dmes;
  auto keyOf = [](const Station& station) {
    return std::make_pair(Upper(station.ident), std::lround(station.frequency * 100));
  };
  for (size_t index = 0; index < stations.size(); ++index) {
    if (stations[index].kind == StationKind::Dme) dmes.emplace(keyOf(stations[index]), index);
  }
  for (Station& station : stations) {
    if (station.kind != StationKind::Vor && station.kind != StationKind::Ils) continue;
    if (station.hasDme) continue;
    auto [first, last] = dmes.equal_range(keyOf(station));
    Station* twin = nullptr;
    double twinNm = kCollocatedNm;
    for (auto at = first; at != last; ++at) {
      Station& dme = stations[at->second];
      const double apartNm = DistanceNm(dme.position, station.position);
      if (apartNm > twinNm) continue;
      twin = &dme;
      twinNm = apartNm;
    }
    if (twin == nullptr) continue;
    station.hasDme = true;
    station.twinDme = DmeAntenna{twin->position, twin->elevationFt};
    twin->isTwinDme = true;
  }
}

// A VOR or ILS gives a course; a DME-only line a distance alone.
bool GivesACourse(const Station& station) {
  return station.kind == StationKind::Vor || station.kind == StationKind::Ils;
}

// The station nearest to `near` of those `keep` takes; the first of equals.
template <typename Keep>
const Station* Nearest(const std::vector<Station>& stations, const GeoPoint& near, Keep keep) {
  const Station* nearest = nullptr;
  double nearestNm = 0;
  for (const Station& station : stations) {
    if (!keep(station)) continue;
    double distanceNm = DistanceNm(near, station.position);
    if (nearest == nullptr || distanceNm < nearestNm) {
      nearest = &station;
      nearestNm = distanceNm;
    }
  }
  return nearest;
}

}  // namespace

double ReceptionRangeNm(const Station& station) {
  if (station.rangeNm > 0) return station.rangeNm;
  return station.kind == StationKind::Ndb ? kDefaultNdbRangeNm : kDefaultNavRangeNm;
}

bool InBand(const Station& station, Band band) {
  return (station.kind == StationKind::Ndb) == (band == Band::Adf);
}

StationLoad StationFinder::Load(const std::filesystem::path& navDataFolder) {
  StationLoad load;
  std::string vor = ReadListFile(navDataFolder / "vor.dat", load);
  std::string ndb = ReadListFile(navDataFolder / "ndb.dat", load);
  std::string apt = ReadListFile(navDataFolder / "apt.dat", load);
  StationLoad decoded = LoadFileBytes(vor, ndb, apt, navDataFolder);
  load.problems.insert(load.problems.end(), decoded.problems.begin(), decoded.problems.end());
  return load;
}

StationLoad StationFinder::LoadFileBytes(std::string_view vorBytes, std::string_view ndbBytes,
                                         std::string_view aptBytes,
                                         const std::filesystem::path& navDataFolder) {
  StationLoad load;
  stations_.clear();
  navdb::EntryList vors, ndbs, airports;
  DecodeList((navDataFolder / "vor.dat").string(), navdb::NavaidKind::Vor, vorBytes, vors, load);
  DecodeList((navDataFolder / "ndb.dat").string(), navdb::NavaidKind::Ndb, ndbBytes, ndbs, load);
  DecodeList((navDataFolder / "apt.dat").string(), navdb::NavaidKind::Airport, aptBytes, airports,
             load);
  std::vector<RunwayEnd> runways;
  for (size_t row = 0; row < airports.Count(); ++row)
    runways.push_back(RunwayFromLine(airports.GetLine(row)));
  for (size_t row = 0; row < vors.Count(); ++row) {
    Station station = StationFromVorLine(vors.GetLine(row));
    if (station.kind == StationKind::Ils) station.glidePath = PlaceGlidePath(station, runways);
    stations_.push_back(std::move(station));
  }
  for (size_t row = 0; row < ndbs.Count(); ++row)
    stations_.push_back(StationFromNdbLine(ndbs.GetLine(row)));
  PairTwinDmes(stations_);
  return load;
}

void StationFinder::SetStations(std::vector<Station> stations) {
  stations_ = std::move(stations);
  PairTwinDmes(stations_);
}

const Station* StationFinder::Find(Band band, const std::string& identOrFrequency,
                                   const GeoPoint& near, double frequency) const {
  std::optional<double> asNumber = platform::ReadWholeDouble(identOrFrequency);
  bool byFrequency = asNumber.has_value();
  std::string ident = Upper(identOrFrequency);
  const double tolerance = band == Band::Adf ? 0.05 : 0.005;
  auto matches = [&](const Station& station) {
    if (!InBand(station, band)) return false;
    bool named = byFrequency ? std::fabs(station.frequency - *asNumber) < tolerance
                             : Upper(station.ident) == ident;
    return named && (frequency <= 0 || std::fabs(station.frequency - frequency) < tolerance);
  };
  const Station* best = Nearest(stations_, near, matches);
  if (best == nullptr || best->kind != StationKind::Dme) return best;
  // A DME-only line found first: a VOR or ILS of the same identifier beside
  // it is the facility the pilot tunes, and the DME is part of it.
  const Station* fuller = Nearest(stations_, near, [&](const Station& station) {
    return GivesACourse(station) && matches(station) &&
           Upper(station.ident) == Upper(best->ident) &&
           DistanceNm(station.position, best->position) <= kCollocatedNm;
  });
  return fuller != nullptr ? fuller : best;
}

std::vector<const Station*> StationFinder::InRange(Band band, const GeoPoint& from) const {
  std::vector<std::pair<double, const Station*>> found;
  for (const Station& station : stations_) {
    if (!InBand(station, band) || station.isTwinDme) continue;
    double distanceNm = DistanceNm(from, station.position);
    if (distanceNm <= ReceptionRangeNm(station)) found.emplace_back(distanceNm, &station);
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<const Station*> stations;
  stations.reserve(found.size());
  for (const auto& entry : found) stations.push_back(entry.second);
  return stations;
}

const Station* StationFinder::Cycle(Band band, const GeoPoint& from, const Station* current,
                                    bool backwards) const {
  std::vector<const Station*> stations = InRange(band, from);
  if (stations.empty()) return nullptr;
  auto at = std::find(stations.begin(), stations.end(), current);
  if (at == stations.end()) return stations.front();
  size_t index = static_cast<size_t>(at - stations.begin());
  size_t count = stations.size();
  return stations[backwards ? (index + count - 1) % count : (index + 1) % count];
}

}  // namespace ndhost
