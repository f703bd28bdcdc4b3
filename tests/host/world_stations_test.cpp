// Tuning against the world's stations in a vor.dat where each stand-alone
// DME row of the real data (code 13) is a line of its own: 64 VORs then have
// a DME-only line of the same identifier, frequency and position before them
// in list order ("CHARLES-DE-GAULLE (PARIS)" before "PARIS CHARLES DE
// GAULLE"), as in a world database gathered from several sources.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "navdb/database.h"
#include "radios.h"
#include "station_finder.h"
#include "tests/support/temp_folder.h"
#include "tools/navdata_database.h"

namespace ndhost {
namespace {

std::string Gunzipped(const std::filesystem::path& path) {
  std::string text;
  gzFile file = gzopen(path.c_str(), "rb");
  if (file == nullptr) return text;
  char buffer[1 << 16];
  for (int got; (got = gzread(file, buffer, sizeof(buffer))) > 0;) text.append(buffer, got);
  gzclose(file);
  return text;
}

// The VOR list of the world: the stations of every row but the stand-alone
// DME rows, and those rows as DME-only lines among them.
std::string WorldVorFile() {
  const std::string nav = Gunzipped(navdata_tools::RealNavDataFolder() / "nav.dat.gz");
  std::string stations, standAloneDmes;
  for (size_t at = 0; at < nav.size();) {
    const size_t end = std::min(nav.find('\n', at), nav.size());
    const std::string_view row(nav.data() + at, end - at);
    (row.starts_with("13 ") ? standAloneDmes : stations).append(row).append("\n");
    at = end + 1;
  }
  testing_support::TempFolder first, second;
  first.Write("nav.dat", stations);
  second.Write("nav.dat", standAloneDmes);
  navdb::Database world, dmes;
  EXPECT_TRUE(navdata_tools::BuildDatabaseFromNavData(first.path(), {}, world));
  EXPECT_TRUE(navdata_tools::BuildDatabaseFromNavData(second.path(), {}, dmes));
  navdb::EntryList& vors = world.List(navdb::NavaidKind::Vor);
  const navdb::EntryList& dmeLines = dmes.List(navdb::NavaidKind::Vor);
  EXPECT_GT(dmeLines.Count(), 700u);
  for (size_t row = 0; row < dmeLines.Count(); ++row) vors.AddLine(dmeLines.GetLine(row));
  return navdb::EncodeEntryFile(navdb::NavaidKind::Vor, vors);
}

TEST(WorldStations, AVorAfterItsDmeOnlyTwinIsTunedAsAVor) {
  if (!std::filesystem::exists(navdata_tools::RealNavDataFolder() / "nav.dat.gz"))
    GTEST_SKIP() << "no real-world navdata";
  StationFinder finder;
  ASSERT_TRUE(finder.LoadFileBytes(WorldVorFile(), "", "", "NavData").problems.empty());

  // Every VOR with a DME-only line of its identifier and frequency before it.
  std::map<std::pair<std::string, long>, const Station*> firstDme;
  size_t twinsFirst = 0, tunedAsVor = 0;
  std::vector<std::string> pictured;
  for (const Station& station : finder.Stations()) {
    const std::pair<std::string, long> key{station.ident, std::lround(station.frequency * 100)};
    if (station.kind == StationKind::Dme) {
      firstDme.emplace(key, &station);
      continue;
    }
    if (station.kind != StationKind::Vor) continue;
    auto twin = firstDme.find(key);
    if (twin == firstDme.end() || DistanceNm(twin->second->position, station.position) > 0.01)
      continue;
    ++twinsFirst;
    if (station.ident == "PGS" || station.ident == "RBT") pictured.push_back(station.ident);
    char frequency[16];
    std::snprintf(frequency, sizeof(frequency), "%.2f", station.frequency);
    const Station* byIdent = finder.Find(Band::Nav, station.ident, twin->second->position);
    const Station* byFrequency = finder.Find(Band::Nav, frequency, twin->second->position);
    if (byIdent == &station && byFrequency == &station && station.hasDme) {
      ++tunedAsVor;
    } else if (twinsFirst - tunedAsVor <= 3) {
      ADD_FAILURE() << station.ident << " " << frequency << " tuned as "
                    << (byIdent == nullptr ? "nothing" : byIdent->name);
    }
  }
  EXPECT_EQ(twinsFirst, 64u);
  EXPECT_EQ(tunedAsVor, twinsFirst);
  EXPECT_EQ(pictured, (std::vector<std::string>{"PGS", "RBT"}));

  // The stations of the README's pictures: a course and a distance each.
  for (const char* ident : {"PGS", "RBT"}) {
    SCOPED_TRACE(ident);
    const Station* station = finder.Find(Band::Nav, ident, {48.8, 2.4});
    ASSERT_NE(station, nullptr);
    EXPECT_EQ(station->kind, StationKind::Vor);
    FlightState flight;
    flight.position = {48.72, 2.38};  // over Orly
    flight.altitudeFt = 3000;
    RadioTuning tuning{station, DefaultCourseDeg(*station, flight.position), nullptr, nullptr};
    AircraftState aircraft;
    ComputeRadios(flight, {}, tuning, aircraft);
    EXPECT_EQ(aircraft.nav1Flags, kNavFlagDme);
    EXPECT_EQ(aircraft.deviationRange, 0);
    EXPECT_GT(aircraft.dmeNm, 10);
  }
}

}  // namespace
}  // namespace ndhost
