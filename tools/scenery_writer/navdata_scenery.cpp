#include "tools/scenery_writer/navdata_scenery.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "platform/file_io.h"
#include "scanner/navdata_import.h"

namespace scenery_writer {
namespace {

namespace fs = std::filesystem;

constexpr int kTileDeg = 10;
constexpr double kMetresPerNm = 1852;
constexpr double kRangeUnitMetres = 2048;
constexpr double kLowestVorChannelMhz = 108.0;
constexpr double kChannelSpacingMhz = 0.05;

uint8_t Bcd(long value) {
  return static_cast<uint8_t>((value / 10 % 10) * 16 + value % 10);
}

int TileCorner(double degrees) {
  const int corner = static_cast<int>(std::floor(degrees / kTileDeg)) * kTileDeg;
  return std::clamp(corner, -180, 170);
}

std::pair<int, int> TileOf(double latitudeDeg, double longitudeDeg) {
  return {std::min(TileCorner(latitudeDeg), 80), TileCorner(longitudeDeg)};
}

// The range byte: the smallest number of 2048 m units that covers the range.
uint8_t RangeUnits(long rangeNm) {
  const double units =
      std::ceil(static_cast<double>(std::max(rangeNm, 0L)) * kMetresPerNm / kRangeUnitMetres);
  return static_cast<uint8_t>(std::min(units, 255.0));
}

int16_t MetresOf(long elevationFt) {
  return static_cast<int16_t>(
      std::clamp<long>(scanner::FeetToMetres(static_cast<double>(elevationFt)), -32768, 32767));
}

// Angles are stored from -180 to +180 degrees.
double SignedAngle(double degrees) {
  const double turned = std::fmod(degrees, 360.0);
  return turned > 180 ? turned - 360 : (turned < -180 ? turned + 360 : turned);
}

std::string Cut(const std::string& text, size_t width) {
  return text.substr(0, width);
}

platform::Status WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes,
                           SceneryTreeCounts& counts) {
  const platform::Status result = platform::ReplaceFileAtomically(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  if (!result.ok()) {
    return platform::Error{path.string() + ": " + result.error().message,
                           result.error().errorNumber, path};
  }
  ++counts.files;
  counts.bytes += bytes.size();
  return {};
}

}  // namespace

BglNdb NdbOf(const xplane::NdbRecord& record) {
  BglNdb ndb;
  const long khz = std::clamp(record.frequencyKhz, 0L, 9999L);
  ndb.hundreds = Bcd(khz / 100);
  ndb.tensUnits = Bcd(khz % 100);
  ndb.tenths = 0;
  ndb.latitude24 = Latitude24(record.latitudeDeg);
  ndb.longitude24 = Longitude24(SignedAngle(record.longitudeDeg));
  ndb.altitudeM = MetresOf(record.elevationFt);
  ndb.rangeUnits = RangeUnits(record.rangeNm);
  ndb.identifier = Cut(record.identifier, 5);
  ndb.name = Cut(record.name, 24);
  return ndb;
}

BglVor VorOf(const xplane::StationRecord& record) {
  BglVor vor;
  vor.channel = static_cast<int>(
      std::lround((record.frequencyMhz() - kLowestVorChannelMhz) / kChannelSpacingMhz));
  vor.flags = scanner::VorFlagsOf(record);
  vor.type = record.hasLocalizer ? 5 : 4;
  vor.rangeUnits = RangeUnits(record.rangeNm);
  vor.magneticVariation16 = Angle16(SignedAngle(record.magneticVariationDeg));
  vor.latitude24 = Latitude24(record.latitudeDeg);
  vor.longitude24 = Longitude24(SignedAngle(record.longitudeDeg));
  vor.altitudeM = MetresOf(record.elevationFt);
  vor.identifier = Cut(record.identifier, 5);
  vor.name = Cut(record.name, 24);
  if (vor.type != 4) {
    vor.course16 = Angle16(SignedAngle(record.localizerCourseDeg));
    vor.latitude24Second = vor.latitude24;
    vor.longitude24Second = vor.longitude24;
    vor.altitudeMSecond = vor.altitudeM;
  }
  return vor;
}

BglAirport AirportOf(const xplane::AirportRecord& record) {
  BglAirport airport;
  airport.identifier = Cut(record.identifier, 5);
  airport.name = Cut(record.name, 24);
  if (record.atisFrequency10Khz > 0) {
    const long frequency = std::min(record.atisFrequency10Khz, 99999L);
    airport.frequencies.push_back({Bcd(frequency % 100), Bcd(frequency / 100 % 100),
                                   static_cast<uint8_t>(frequency / 10000), 1});
  }
  const int32_t elevation =
      static_cast<int32_t>(scanner::FeetToMetres(static_cast<double>(record.elevationFt))) * 65535;
  for (const xplane::RunwayRecord& source : record.runways) {
    BglRunway runway;
    runway.latitude32 = Latitude32(source.latitudeDeg);
    runway.longitude32 = Angle32(SignedAngle(source.longitudeDeg));
    runway.elevation = elevation;
    runway.heading32 = Angle32(SignedAngle(source.headingDeg));
    runway.lengthFt = static_cast<uint32_t>(std::clamp(std::lround(source.lengthFt), 0L, 32767L));
    runway.widthFt = static_cast<uint32_t>(std::clamp(std::lround(source.widthFt), 0L, 32767L));
    runway.designatorKind = scanner::DesignatorCodeOf(source.side);
    runway.number = static_cast<uint32_t>(std::max(source.number, 0));
    airport.runways.push_back(runway);
  }
  return airport;
}

SceneryTiles TilesOfNavData(const xplane::NavData& data) {
  SceneryTiles tiles;
  for (const xplane::NdbRecord& ndb : data.ndbs) {
    tiles[TileOf(ndb.latitudeDeg, ndb.longitudeDeg)].navaids.ndbs.push_back(NdbOf(ndb));
  }
  for (const xplane::StationRecord& station : data.stations) {
    tiles[TileOf(station.latitudeDeg, station.longitudeDeg)].navaids.vors.push_back(VorOf(station));
  }
  for (const xplane::AirportRecord& airport : data.airports) {
    if (airport.runways.empty()) continue;
    const xplane::RunwayRecord& first = airport.runways.front();
    tiles[TileOf(first.latitudeDeg, first.longitudeDeg)].airports.airports.push_back(
        AirportOf(airport));
  }
  for (auto& [corner, tile] : tiles) {
    // Long runs, as the simulator writes them; the table still has several.
    tile.navaids.recordsPerRun = 64;
    tile.airports.recordsPerRun = 64;
  }
  return tiles;
}

std::string TileName(int southDeg, int westDeg) {
  char name[32];
  std::snprintf(name, sizeof name, "%c%02d%c%03d", southDeg < 0 ? 'S' : 'N', std::abs(southDeg),
                westDeg < 0 ? 'W' : 'E', std::abs(westDeg));
  return name;
}

fs::path TileFolder(const fs::path& root, int southDeg, int westDeg) {
  const std::string name = TileName(southDeg, westDeg);
  return root / name.substr(0, 3) / name.substr(3);
}

bool TileIsPacked(int southDeg, int westDeg) {
  return ((southDeg / kTileDeg + westDeg / kTileDeg) & 1) != 0;
}

platform::Status WriteSceneryTree(const xplane::NavData& data, const fs::path& root,
                                  SceneryTreeCounts& counts) {
  for (const auto& [corner, tile] : TilesOfNavData(data)) {
    const auto [south, west] = corner;
    const fs::path folder = TileFolder(root, south, west);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
      return platform::Error{folder.string() + ": " + error.message(), error.value(), folder};
    const std::string name = TileName(south, west);
    if (!tile.navaids.ndbs.empty() || !tile.navaids.vors.empty()) {
      std::vector<uint8_t> bytes = WriteBglImage(tile.navaids);
      if (TileIsPacked(south, west)) {
        bytes = WritePackedBgl(bytes);
        ++counts.packedFiles;
      }
      platform::Status written = WriteFile(folder / (name + "_NAV.bgl"), bytes, counts);
      if (!written) return written;
    }
    if (!tile.airports.airports.empty()) {
      platform::Status written =
          WriteFile(folder / (name + "_APT.bgl"), WriteBglImage(tile.airports), counts);
      if (!written) return written;
    }
  }
  return {};
}

}  // namespace scenery_writer
