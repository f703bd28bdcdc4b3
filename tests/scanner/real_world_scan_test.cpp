// A scan of real-world scenery written from the X-Plane data gives one line
// for every navaid of the data, built from the values the files store.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "navdb/database.h"
#include "navdb/line_layout.h"
#include "scanner/bgl_decoder.h"
#include "scanner/merge.h"
#include "scanner/scan_driver.h"
#include "tests/support/temp_folder.h"
#include "tools/scenery_writer/navdata_scenery.h"

namespace {

using navdb::NavaidKind;

std::filesystem::path NavDataFolder() {
  return std::filesystem::path(SKAT_SHARED_DATA) / "navdata";
}

// The region of the test: Europe, a plain and a packed navaid tile and more.
bool InRegion(double latitudeDeg, double longitudeDeg) {
  return latitudeDeg >= 35 && latitudeDeg < 60 && longitudeDeg >= -10 && longitudeDeg < 20;
}

xplane::NavData RegionalNavData() {
  xplane::NavData data;
  EXPECT_TRUE(xplane::ReadNavDataFolder(NavDataFolder(), data));
  std::erase_if(data.ndbs, [](const auto& r) { return !InRegion(r.latitudeDeg, r.longitudeDeg); });
  std::erase_if(data.stations,
                [](const auto& r) { return !InRegion(r.latitudeDeg, r.longitudeDeg); });
  std::erase_if(data.airports, [](const xplane::AirportRecord& r) {
    return r.runways.empty() ||
           !InRegion(r.runways.front().latitudeDeg, r.runways.front().longitudeDeg);
  });
  return data;
}

std::string ExpectedNdbLine(const scenery_writer::BglNdb& ndb) {
  const std::string frequency = scanner::NdbFrequencyText(ndb.tensUnits, ndb.hundreds, ndb.tenths);
  if (frequency == "000.0" || ndb.name.rfind("     ", 0) == 0) return {};
  return scanner::ScannedNdbLine({ndb.identifier, ndb.name, frequency,
                                  ndb.latitude24 * scanner::kLatitude24Deg,
                                  ndb.longitude24 * scanner::kLongitude24Deg,
                                  static_cast<int16_t>(ndb.altitudeM < -3000 ? 0 : ndb.altitudeM),
                                  static_cast<int16_t>(ndb.rangeUnits * 2048 / 1852)});
}

std::string ExpectedVorLine(const scenery_writer::BglVor& vor) {
  if (vor.identifier.empty() || vor.altitudeM < -3000 || vor.altitudeM > 10000) return {};
  return scanner::ScannedVorLine(
      {vor.identifier, vor.name, vor.channel * 0.05 + 108.0, vor.flags,
       vor.course16 * scanner::kAngle16Deg, vor.latitude24 * scanner::kLatitude24Deg,
       vor.longitude24 * scanner::kLongitude24Deg, vor.magneticVariation16 * scanner::kAngle16Deg,
       vor.altitudeM, vor.rangeUnits * 2048 / 1852});
}

std::vector<std::string> ExpectedRunwayLines(const scenery_writer::BglAirport& airport) {
  std::string atis = "000.00";
  if (!airport.frequencies.empty()) {
    const scenery_writer::BglFrequency& f = airport.frequencies.front();
    const std::string text = scanner::AtisFrequencyText(f.hundredths, f.tensUnits, f.hundreds);
    const double mhz = std::stod(text);
    if (mhz >= 118.0 && mhz <= 136.95) atis = text;
  }
  std::string name = airport.name, identifier = airport.identifier;
  name.resize(24, ' ');
  identifier.resize(5, ' ');
  std::vector<std::string> lines;
  for (const scenery_writer::BglRunway& r : airport.runways) {
    lines.push_back(scanner::ScannedRunwayLine(
        {identifier, name, static_cast<int>(r.number),
         scanner::RunwayDesignatorOfCode(r.designatorKind), r.heading32 * scanner::kAngle32Deg,
         r.latitude32 * scanner::kLatitude32Deg, r.longitude32 * scanner::kAngle32Deg,
         r.elevation / 65535, static_cast<int16_t>(r.lengthFt),
         static_cast<long>(r.widthFt & 0xFFFF), atis}));
  }
  return lines;
}

void ExpectLines(const navdb::EntryList& list, const std::set<std::string>& expected) {
  EXPECT_EQ(list.EntryCount(), expected.size());
  size_t missing = 0;
  for (const std::string& line : expected) {
    bool found = false;
    for (std::optional<size_t> row = list.FindPrefix(line); row && !found; row.reset()) {
      found = list.GetLine(*row) == line;
    }
    if (!found && ++missing <= 3) ADD_FAILURE() << "missing: " << line;
  }
  EXPECT_EQ(missing, 0u);
}

TEST(RealWorldScan, CountsAndLinesAgreeWithTheNavData) {
  if (!std::filesystem::exists(NavDataFolder() / "nav.dat.gz")) {
    GTEST_SKIP() << "no real-world navdata beside the source tree";
  }
  const xplane::NavData data = RegionalNavData();
  ASSERT_GT(data.ndbs.size(), 500u);
  testing_support::TempFolder scenery, navData;
  scenery_writer::SceneryTreeCounts counts;
  ASSERT_TRUE(scenery_writer::WriteSceneryTree(data, scenery.path(), counts));
  EXPECT_GT(counts.packedFiles, 0u);

  navdb::Database db;
  db.folder = navData.path();
  const scanner::ScanReporter ui;  // no dialog: both versions of a duplicate stay
  scanner::ScanSession session{db, ui};
  session.minRunwayLengthFt = 0;
  scanner::ScanSceneryThread(session, scenery.path());

  // A line without its layout (a glide slope alone has no frequency a VOR
  // line can hold) is set aside in its kind's ".rejected" file instead.
  std::set<std::string> ndbs, vors, runways, setAside[3];
  const auto expect = [&](NavaidKind kind, std::set<std::string>& lines, const std::string& line) {
    if (line.empty()) return;
    (navdb::LineLayoutProblem(kind, line) ? setAside[navdb::IndexOf(kind)] : lines).insert(line);
  };
  for (const xplane::NdbRecord& record : data.ndbs) {
    expect(NavaidKind::Ndb, ndbs, ExpectedNdbLine(scenery_writer::NdbOf(record)));
  }
  for (const xplane::StationRecord& record : data.stations) {
    expect(NavaidKind::Vor, vors, ExpectedVorLine(scenery_writer::VorOf(record)));
  }
  for (const xplane::AirportRecord& record : data.airports) {
    for (const std::string& line : ExpectedRunwayLines(scenery_writer::AirportOf(record))) {
      expect(NavaidKind::Airport, runways, line);
    }
  }
  ExpectLines(db.List(NavaidKind::Ndb), ndbs);
  ExpectLines(db.List(NavaidKind::Vor), vors);
  ExpectLines(db.List(NavaidKind::Airport), runways);
  for (NavaidKind kind : {NavaidKind::Ndb, NavaidKind::Vor, NavaidKind::Airport}) {
    const std::vector<std::string>& kept = db.rejectedLines[navdb::IndexOf(kind)];
    for (const std::string& line : setAside[navdb::IndexOf(kind)]) {
      EXPECT_TRUE(std::any_of(kept.begin(), kept.end(), [&](const std::string& text) {
        return text.ends_with(line);
      })) << line;
    }
  }

  // What was saved loads back to the same lists and an index over all of them.
  navdb::Database saved;
  saved.folder = navData.path();
  navdb::LoadDatabase(saved, {});
  for (NavaidKind kind : {NavaidKind::Ndb, NavaidKind::Vor, NavaidKind::Airport}) {
    EXPECT_EQ(saved.List(kind).EntryCount(), db.List(kind).EntryCount());
  }
  EXPECT_EQ(saved.index.primary.Count(), db.index.primary.Count());
  EXPECT_EQ(saved.index.primary.Count(), ndbs.size() + vors.size() + runways.size());
}

}  // namespace
