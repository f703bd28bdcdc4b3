// The radio stations of the simulator's navaid database: VOR, ILS and DME
// stations of vor.dat, NDBs of ndb.dat, and for each ILS the runway of
// apt.dat it serves, read once when ndhost starts.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "great_circle.h"

namespace ndhost {

enum class StationKind { Vor, Ils, Dme, Ndb };

// Where an ILS puts its glide path: the approach end of its runway and the
// glide-slope antenna beside the runway past it.
struct GlidePath {
  GeoPoint threshold;
  GeoPoint antenna;
  double thresholdElevationFt = 0;
  bool fromRunway = false;  // false: placed from the localizer alone
};

// A DME antenna apart from the station's own position.
struct DmeAntenna {
  GeoPoint position;
  double elevationFt = 0;
};

struct Station {
  StationKind kind = StationKind::Vor;
  std::string ident;
  std::string name;
  double frequency = 0;  // MHz, or kHz for an NDB
  bool hasDme = false;
  bool hasGlideSlope = false;
  double localizerCourseDeg = 0;  // ILS: the inbound course as the database holds it
  GeoPoint position;
  double elevationFt = 0;
  double rangeNm = 0;
  double variationDeg = 0;  // magnetic variation, east positive
  GlidePath glidePath;      // ILS only
  // A VOR or ILS line without a DME of its own takes the distance of a
  // DME-only line of the same identifier and frequency beside it: the
  // database then holds the facility as two lines.
  std::optional<DmeAntenna> twinDme;
  bool isTwinDme = false;  // a DME-only line that gives its distance to such a station
};

// Stations of the same identifier this close together are one facility: a
// DME line stands up to 2.1 NM from the VOR it belongs to in the world's data.
inline constexpr double kCollocatedNm = 3;

enum class Band { Nav, Adf };

struct StationLoad {
  std::vector<std::string> problems;  // unreadable files and set-aside lines
};

class StationFinder {
 public:
  // Reads vor.dat, ndb.dat and apt.dat of `navDataFolder`; missing files
  // give no stations of their kind, problems are listed in the result.
  StationLoad Load(const std::filesystem::path& navDataFolder);
  // The same from the three files' bytes; `navDataFolder` names them in problems.
  StationLoad LoadFileBytes(std::string_view vorBytes, std::string_view ndbBytes,
                            std::string_view aptBytes, const std::filesystem::path& navDataFolder);
  // Stations given directly (tests); twins are paired as when loading.
  void SetStations(std::vector<Station> stations);

  const std::vector<Station>& Stations() const { return stations_; }

  // A station of the band by identifier (letter case ignored) or by a
  // frequency text ("110.30" MHz for NAV, "349" kHz for ADF), the nearest to
  // `near` when several match; `frequencyMhz` > 0 must match as well. The
  // station that gives the most is preferred among those of one facility:
  // a VOR or ILS over a DME-only line beside it.
  const Station* Find(Band band, const std::string& identOrFrequency, const GeoPoint& near,
                      double frequency = 0) const;

  // Stations of the band that `from` is within range of, nearest first; a
  // twin DME is not listed apart from its station.
  std::vector<const Station*> InRange(Band band, const GeoPoint& from) const;

  // The station after (or before) `current` among those in range; the
  // nearest when `current` is not among them, nothing when none is in range.
  const Station* Cycle(Band band, const GeoPoint& from, const Station* current,
                       bool backwards) const;

 private:
  std::vector<Station> stations_;
};

// A station's range, with a stand-in for a database range of 0.
double ReceptionRangeNm(const Station& station);
bool InBand(const Station& station, Band band);

}  // namespace ndhost
