// The stations read from the database files, found by identifier or
// frequency, and cycled in range.
#include "station_finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "test_environment.h"
#include "tests/support/database_writer.h"

namespace ndhost {
namespace {

constexpr double kNmPerDeg = 60;  // along the equator

class StationFiles : public ::testing::Test {
 protected:
  void Write(const std::vector<gauge_test::TestNavaid>& navaids, const std::string& extraVor = "") {
    gauge_test::DatabaseFiles files = gauge_test::BuildDatabase(navaids);
    files.vor += extraVor;
    gauge_test::WriteDatabase(folder_.path(), files);
  }
  std::filesystem::path NavData() const { return folder_.path() / "NavData"; }
  gauge_test::SimulatorFolder folder_;
};

TEST_F(StationFiles, ReadsStationsAndPlacesTheGlidePathOnTheRunway) {
  // Runway 09 of 9000 ft whose far end is 500 ft short of the localizer.
  double centreLonDeg = 0.1 - 5000 / kFeetPerNm / kNmPerDeg;
  Write({{'V', "PGS", 48.95, 2.4, "VOR/DME"},
         {'V', "IEA", 0, 0.1, "ILS/DME/GS ", 90},
         {'V', "INO", 10, 10, "ILS", 270},
         {'A', "TEST", 0, centreLonDeg, "", 90, 9000},
         {'N', "AB", 48.9, 2.3}},
        "garbage line\r\n");
  StationFinder finder;
  StationLoad load = finder.Load(NavData());
  ASSERT_EQ(load.problems.size(), 1u);
  EXPECT_EQ(load.problems[0],
            (NavData() / "vor.dat").string() + ": 1 lines without the file's layout left out");
  ASSERT_EQ(finder.Stations().size(), 4u);

  const Station& pgs = finder.Stations()[0];
  EXPECT_EQ(pgs.ident, "PGS");
  EXPECT_EQ(pgs.name, "PGS STATION");
  EXPECT_EQ(pgs.kind, StationKind::Vor);
  EXPECT_TRUE(pgs.hasDme);
  EXPECT_FALSE(pgs.hasGlideSlope);
  EXPECT_DOUBLE_EQ(pgs.frequency, 113.9);
  EXPECT_NEAR(pgs.position.latitudeDeg, 48.95, 1e-6);
  EXPECT_NEAR(pgs.position.longitudeDeg, 2.4, 1e-6);
  EXPECT_DOUBLE_EQ(pgs.elevationFt, 200);
  EXPECT_DOUBLE_EQ(pgs.rangeNm, 130);
  EXPECT_DOUBLE_EQ(pgs.variationDeg, 1.0);

  const Station& ils = finder.Stations()[1];
  EXPECT_EQ(ils.kind, StationKind::Ils);
  EXPECT_TRUE(ils.hasDme && ils.hasGlideSlope);
  EXPECT_DOUBLE_EQ(ils.localizerCourseDeg, 90);
  ASSERT_TRUE(ils.glidePath.fromRunway);
  EXPECT_NEAR(ils.glidePath.threshold.longitudeDeg, 0.1 - 9500 / kFeetPerNm / kNmPerDeg, 1e-5);
  EXPECT_NEAR(ils.glidePath.antenna.longitudeDeg, 0.1 - 8500 / kFeetPerNm / kNmPerDeg, 1e-5);
  EXPECT_NEAR(ils.glidePath.threshold.latitudeDeg, 0, 1e-6);

  // An ILS without a runway of its course nearby: 9000 ft of runway assumed.
  const Station& lone = finder.Stations()[2];
  EXPECT_FALSE(lone.glidePath.fromRunway);
  EXPECT_FALSE(lone.hasGlideSlope);
  EXPECT_NEAR(DistanceNm(lone.glidePath.threshold, lone.position), 9000 / kFeetPerNm, 1e-9);
  EXPECT_NEAR(InitialBearingDeg(lone.position, lone.glidePath.threshold), 90, 1e-6);

  const Station& ndb = finder.Stations()[3];
  EXPECT_EQ(ndb.kind, StationKind::Ndb);
  EXPECT_DOUBLE_EQ(ndb.frequency, 375.0);
  EXPECT_DOUBLE_EQ(ndb.rangeNm, 25);
}

TEST_F(StationFiles, MissingAndUnreadableFiles) {
  StationFinder finder;
  EXPECT_TRUE(finder.Load(NavData()).problems.empty());
  EXPECT_TRUE(finder.Stations().empty());
  std::filesystem::create_directories(NavData() / "ndb.dat");
  StationLoad load = finder.Load(NavData());
  ASSERT_EQ(load.problems.size(), 1u);
  EXPECT_EQ(load.problems[0].rfind("cannot read " + (NavData() / "ndb.dat").string() + ": ", 0), 0u)
      << load.problems[0];
}

TEST(StationFinder, FindsByIdentOrFrequencyTheNearest) {
  Station paris, lyon, ndb;
  paris.ident = lyon.ident = "ABC";
  paris.frequency = 113.9;
  lyon.frequency = 115.5;
  paris.position = {48.9, 2.3};
  lyon.position = {45.7, 4.9};
  ndb.kind = StationKind::Ndb;
  ndb.ident = "ABC";
  ndb.frequency = 349;
  StationFinder finder;
  finder.SetStations({paris, lyon, ndb});
  const std::vector<Station>& all = finder.Stations();
  EXPECT_EQ(finder.Find(Band::Nav, "abc", {48, 2}), &all[0]);
  EXPECT_EQ(finder.Find(Band::Nav, "ABC", {45, 5}), &all[1]);
  EXPECT_EQ(finder.Find(Band::Nav, "ABC", {48, 2}, 115.5), &all[1]);
  EXPECT_EQ(finder.Find(Band::Nav, "ABC", {48, 2}, 110.0), nullptr);
  EXPECT_EQ(finder.Find(Band::Nav, "115.50", {48, 2}), &all[1]);
  EXPECT_EQ(finder.Find(Band::Nav, "115.51", {48, 2}), nullptr);
  EXPECT_EQ(finder.Find(Band::Adf, "ABC", {48, 2}), &all[2]);
  EXPECT_EQ(finder.Find(Band::Adf, "349", {48, 2}), &all[2]);
  EXPECT_EQ(finder.Find(Band::Adf, "113.9", {48, 2}), nullptr);
  EXPECT_EQ(finder.Find(Band::Nav, "", {48, 2}), nullptr);
  EXPECT_EQ(finder.Find(Band::Nav, "XYZ", {48, 2}), nullptr);
}

TEST(StationFinder, CyclesTheStationsInRangeNearestFirst) {
  auto at = [](const std::string& ident, double longitudeDeg, double rangeNm) {
    Station station;
    station.ident = ident;
    station.position = {0, longitudeDeg};
    station.rangeNm = rangeNm;
    return station;
  };
  StationFinder finder;
  // 6, 12 and 30 NM away; C reaches only 20 NM, D has no range (40 assumed).
  finder.SetStations({at("B", 0.2, 50), at("A", 0.1, 50), at("C", 0.5, 20), at("D", -0.5, 0)});
  const std::vector<Station>& all = finder.Stations();
  std::vector<const Station*> inRange = finder.InRange(Band::Nav, {0, 0});
  EXPECT_EQ(inRange, (std::vector<const Station*>{&all[1], &all[0], &all[3]}));
  EXPECT_EQ(finder.Cycle(Band::Nav, {0, 0}, nullptr, false), &all[1]);
  EXPECT_EQ(finder.Cycle(Band::Nav, {0, 0}, &all[1], false), &all[0]);
  EXPECT_EQ(finder.Cycle(Band::Nav, {0, 0}, &all[3], false), &all[1]);
  EXPECT_EQ(finder.Cycle(Band::Nav, {0, 0}, &all[1], true), &all[3]);
  // Out of range now: the nearest in range.
  EXPECT_EQ(finder.Cycle(Band::Nav, {0, 0}, &all[2], false), &all[1]);
  EXPECT_EQ(finder.Cycle(Band::Adf, {0, 0}, nullptr, false), nullptr);
}

// One facility written as two lines, the DME-only line first (as list order
// puts "CHARLES-DE-GAULLE (PARIS) DME" before "PARIS CHARLES DE GAULLE"):
// tuning picks the VOR by identifier and by frequency, a VOR line without a
// DME of its own takes its twin's distance, and the twin is not cycled to
// apart from it. A DME-only station of its own is still found.
TEST(StationFinder, AVorIsTunedBeforeItsDmeOnlyTwin) {
  auto make = [](StationKind kind, const std::string& ident, double frequency, GeoPoint position,
                 bool hasDme) {
    Station station;
    station.kind = kind;
    station.ident = ident;
    station.frequency = frequency;
    station.position = position;
    station.hasDme = hasDme;
    station.rangeNm = 100;
    return station;
  };
  StationFinder finder;
  finder.SetStations({
      make(StationKind::Dme, "PGS", 117.05, {49.0, 2.62}, true),
      make(StationKind::Vor, "PGS", 117.05, {49.0, 2.62}, true),
      // A plain VOR whose DME line stands 0.5 NM east, elevated.
      make(StationKind::Dme, "RBT", 114.70, {48.65, 2.0 + 0.5 / 60 / std::cos(48.65 * M_PI / 180)},
           true),
      make(StationKind::Vor, "RBT", 114.70, {48.65, 2.0}, false),
      // An ILS without DME and the DME of another frequency beside it: no twin.
      make(StationKind::Dme, "ILX", 108.80, {48.0, 3.0}, true),
      make(StationKind::Ils, "ILX", 110.10, {48.0, 3.0}, false),
      // A DME alone.
      make(StationKind::Dme, "BTY", 110.40, {48.59, 2.32}, true),
  });
  const std::vector<Station>& all = finder.Stations();
  EXPECT_EQ(finder.Find(Band::Nav, "PGS", {49.0, 2.62}), &all[1]);
  EXPECT_EQ(finder.Find(Band::Nav, "117.05", {49.0, 2.62}), &all[1]);
  EXPECT_EQ(finder.Find(Band::Nav, "pgs", {48.0, 2.0}, 117.05), &all[1]);
  // Nearer to the DME line than to the VOR line: still the VOR.
  EXPECT_EQ(finder.Find(Band::Nav, "RBT", {48.65, 2.1}), &all[3]);
  EXPECT_EQ(finder.Find(Band::Nav, "114.70", {48.65, 2.1}), &all[3]);
  EXPECT_EQ(finder.Find(Band::Nav, "ILX", {48.0, 2.9}), &all[5]);
  EXPECT_EQ(finder.Find(Band::Nav, "108.80", {48.0, 2.9}), &all[4]);
  EXPECT_EQ(finder.Find(Band::Nav, "BTY", {48.0, 2.0}), &all[6]);

  EXPECT_TRUE(all[3].hasDme);
  ASSERT_TRUE(all[3].twinDme);
  EXPECT_NEAR(DistanceNm(all[3].twinDme->position, all[3].position), 0.5, 1e-3);
  EXPECT_TRUE(all[2].isTwinDme);
  EXPECT_FALSE(all[1].twinDme);  // a DME of its own
  EXPECT_FALSE(all[0].isTwinDme);
  EXPECT_FALSE(all[5].hasDme);
  EXPECT_FALSE(all[4].isTwinDme);
  const std::vector<const Station*> inRange = finder.InRange(Band::Nav, {48.65, 2.0});
  EXPECT_EQ(std::count(inRange.begin(), inRange.end(), &all[2]), 0);
  EXPECT_EQ(std::count(inRange.begin(), inRange.end(), &all[3]), 1);

  // Twins are one facility only within kCollocatedNm.
  finder.SetStations({make(StationKind::Dme, "FAR", 112.0, {10.0, 10.0}, true),
                      make(StationKind::Vor, "FAR", 112.0, {10.0 + 3.5 / 60, 10.0}, false)});
  EXPECT_FALSE(finder.Stations()[1].hasDme);
  EXPECT_EQ(finder.Find(Band::Nav, "FAR", {9.0, 10.0}), &finder.Stations()[0]);
}

}  // namespace
}  // namespace ndhost
