// The module's database, loader and route through its exported interface.
#include <filesystem>
#include <fstream>
#include <span>

#include "module_fixture.h"
#include "plan_text.h"

namespace gauge_test {
namespace {

std::vector<TestNavaid> NavaidsAroundParis() {
  std::vector<TestNavaid> navaids = {
      {'I', "WEST", 48.0, -100.0}, {'I', "EAST", 48.0, 100.0}, {'I', "NORTH", 80.0, 2.9}};
  for (int index = 0; index < 12; ++index) {
    navaids.push_back({'N', "N" + std::to_string(index), 48.8 + index * 0.01, 2.3 + index * 0.01});
  }
  navaids.push_back({'V', "PGS", 48.9, 2.4, "VOR/DME"});
  navaids.push_back({'V', "ILP", 48.95, 2.45, "ILS/DME"});
  navaids.push_back({'A', "LFPG", 49.0, 2.55, "", 87, 13829});
  return navaids;
}

class ModuleDatabaseTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    WriteDatabase(folder_.path(), BuildDatabase(NavaidsAroundParis()));
  }
  ndhost::ModuleHost& StartAtParis() {
    ndhost::ModuleHost& host = Start();
    host.Aircraft().latitudeDeg = 48.85;
    host.Aircraft().longitudeDeg = 2.35;
    return host;
  }
};

TEST_F(ModuleDatabaseTest, StatusCodesOfMissingFiles) {
  struct Case {
    std::vector<const char*> missing;
    int status;
  };
  for (const Case& testCase :
       {Case{{}, 0}, Case{{"idx.dat"}, 101}, Case{{"ndb.dat", "int.dat"}, 118}}) {
    SCOPED_TRACE(testCase.status);
    WriteDatabase(folder_.path(), BuildDatabase(NavaidsAroundParis()));
    for (const char* name : testCase.missing)
      std::filesystem::remove(folder_.path() / "NavData" / name);
    Start();
    Run(1);
    EXPECT_EQ(State().databaseStatus, testCase.status);
    host_.reset();
  }
}

TEST_F(ModuleDatabaseTest, UnusableDatabaseShowsItsErrorAndNeverLoads) {
  std::filesystem::remove(folder_.path() / "NavData" / "idx.dat");
  ndhost::ModuleHost& host = StartAtParis();
  Settle();
  host.PressKey('M', true, true);
  Run(3);
  EXPECT_EQ(State().mapMode, 1);
  EXPECT_EQ(State().loaderRuns, 0u);
  EXPECT_EQ(ShownCount(State().lists[LUMARO_LIST_NDB], LUMARO_LIST_CAPACITY), 0);
  // "NAV", "DATABASE", "ERROR 101" in red: palette entry 250 of the module's bitmaps.
  const std::vector<uint8_t>& pixels = host.DisplayImage()->pixels;
  EXPECT_GT(std::count(pixels.begin(), pixels.end(), 250), 20);
}

TEST_F(ModuleDatabaseTest, LoaderFillsTheListsAroundTheAircraft) {
  ndhost::ModuleHost& host = StartAtParis();
  host.Aircraft().nav1Ident = "PGS";
  Settle();
  ASSERT_EQ(State().databaseStatus, 0);
  EXPECT_EQ(State().loaderRuns, 1u);
  EXPECT_EQ(ShownCount(State().lists[LUMARO_LIST_NDB], LUMARO_LIST_CAPACITY), 12);
  // Range 320: the ILS is not listed; the tuned VOR is kept apart.
  EXPECT_EQ(ShownCount(State().lists[LUMARO_LIST_VOR], LUMARO_LIST_CAPACITY), 0);
  EXPECT_EQ(State().tuned.shown, 1);
  EXPECT_EQ(State().tuned.kind, LUMARO_KIND_VOR);
  EXPECT_EQ(State().tuned.row, 0);
  EXPECT_EQ(ShownCount(State().lists[LUMARO_LIST_AIRPORT], LUMARO_LIST_CAPACITY), 1);
  EXPECT_EQ(State().lists[LUMARO_LIST_AIRPORT][0].kind, LUMARO_KIND_AIRPORT);
  EXPECT_EQ(ShownCount(State().lists[LUMARO_LIST_INTERSECTION], LUMARO_LIST_CAPACITY), 0);
}

TEST_F(ModuleDatabaseTest, MovementRestartsTheLoaderOnlyWithAMap) {
  ndhost::ModuleHost& host = StartAtParis();
  Settle();
  ASSERT_EQ(State().loaderRuns, 1u);
  host.Aircraft().latitudeDeg += 0.5;
  Settle();
  EXPECT_EQ(State().loaderRuns, 1u);  // MapMode 0: no map, no search
  host.PressKey('M', true, true);
  Settle();
  EXPECT_EQ(State().mapMode, 1);
  EXPECT_EQ(State().loaderRuns, 2u);
  host.Aircraft().latitudeDeg += 0.5;
  Settle();
  EXPECT_EQ(State().loaderRuns, 3u);
  // Standing still asks for nothing more.
  Settle();
  EXPECT_EQ(State().loaderRuns, 3u);
  // A range change with a map restarts it, and at range 20 the ILS is listed.
  for (int step = 0; step < 4; ++step) {
    host.PressKey('G', true, true);
    Settle();
  }
  EXPECT_EQ(State().rangeNm, 20);
  host.Aircraft().latitudeDeg = 48.95;
  host.Aircraft().longitudeDeg = 2.45;
  Settle();
  bool ilsListed = false;
  for (int index = 0; index < LUMARO_LIST_CAPACITY; ++index) {
    if (State().lists[LUMARO_LIST_VOR][index].kind == LUMARO_KIND_ILS) ilsListed = true;
  }
  EXPECT_TRUE(ilsListed);
}

// A save replaces each database file by writing a new file and renaming it
// over the old one. The running gauge goes on with the files it read while
// the renames come, and reads the new set once it has stopped changing.
TEST_F(ModuleDatabaseTest, SaveByRenameIsReadOnceTheWholeSetIsInPlace) {
  ndhost::ModuleHost& host = StartAtParis();
  Settle();
  host.PressKey('M', true, true);
  Settle();
  ASSERT_EQ(State().mapMode, 1);
  ASSERT_EQ(State().databaseStatus, 0);
  ASSERT_EQ(ShownCount(State().lists[LUMARO_LIST_NDB], LUMARO_LIST_CAPACITY), 12);
  const uint32_t runs = State().loaderRuns;

  const DatabaseFiles saved = BuildDatabase(
      {{'I', "WEST", 48.0, -100.0}, {'N', "SAVED", 48.86, 2.36}, {'I', "EAST", 48.0, 100.0}});
  const std::pair<const char*, const std::string*> files[] = {{"idx.dat", &saved.index},
                                                              {"ndb.dat", &saved.ndb},
                                                              {"vor.dat", &saved.vor},
                                                              {"apt.dat", &saved.airports},
                                                              {"int.dat", &saved.intersections}};
  auto install = [this](const char* name, const std::string& text) {
    const std::filesystem::path path = folder_.path() / "NavData" / name;
    std::ofstream(path.string() + ".tmp", std::ios::binary) << text;
    std::filesystem::rename(path.string() + ".tmp", path);
  };
  // The index renamed a second before the others: the check that sees it
  // waits for the set to stop changing, so the old lists stay.
  install(files[0].first, *files[0].second);
  Run(4);
  EXPECT_EQ(State().databaseStatus, 0);
  EXPECT_EQ(ShownCount(State().lists[LUMARO_LIST_NDB], LUMARO_LIST_CAPACITY), 12);
  for (const auto& [name, text] : std::span(files).subspan(1)) install(name, *text);
  Run(4);
  EXPECT_EQ(ShownCount(State().lists[LUMARO_LIST_NDB], LUMARO_LIST_CAPACITY), 12);

  Settle();
  EXPECT_GT(State().loaderRuns, runs);
  EXPECT_EQ(State().databaseStatus, 0);
  EXPECT_EQ(ShownCount(State().lists[LUMARO_LIST_NDB], LUMARO_LIST_CAPACITY), 1);
  EXPECT_EQ(ShownCount(State().lists[LUMARO_LIST_AIRPORT], LUMARO_LIST_CAPACITY), 0);
  (void)host;
}

TEST_F(ModuleDatabaseTest, RouteBlocksAreReadInTurn) {
  ndhost::RoutePublisher publisher;
  std::vector<PlanRow> rows = {{"APT", "LFPG", 49.0, 2.55, 392},
                               {"TOC", "*****", 49.2, 2.0, 35000},
                               {"APT", "EGLL", 51.47, -0.46, 83}};
  ASSERT_TRUE(publisher.Publish(PlanText("09L/087/11000", "27R/270/12799", rows)));
  ndhost::ModuleHost& host = StartAtParis();
  Settle();
  EXPECT_EQ(State().routeReads, 1u);
  EXPECT_EQ(ShownCount(State().route, LUMARO_ROUTE_CAPACITY), 3);
  EXPECT_EQ(State().route[0].kind, LUMARO_KIND_DEPARTURE);
  EXPECT_STREQ(State().route[1].label, "FL350");
  EXPECT_EQ(State().route[2].kind, LUMARO_KIND_ARRIVAL);
  EXPECT_STREQ(State().departure.designation, "09L");
  EXPECT_EQ(State().arrival.lengthFt, 12799);
  uint32_t redraws = State().redrawCount;

  rows.insert(rows.begin() + 2, {"VOR", "ABB", 50.1, 1.8, 0});
  ASSERT_TRUE(publisher.Publish(PlanText("08R/080/9000", "27R/270/12799", rows)));
  Run(2);
  EXPECT_EQ(State().routeReads, 2u);
  EXPECT_EQ(ShownCount(State().route, LUMARO_ROUTE_CAPACITY), 4);
  EXPECT_STREQ(State().departure.designation, "08R");
  EXPECT_GT(State().redrawCount, redraws);
  Run(4);
  EXPECT_EQ(State().routeReads, 2u);  // the same block is not read again
  (void)host;
}

TEST_F(ModuleDatabaseTest, RouteTextWithoutItsNulKeepsThePreviousRoute) {
  ndhost::RoutePublisher publisher;
  std::vector<PlanRow> rows = {{"APT", "LFPG", 49.0, 2.55, 392}, {"APT", "EGLL", 51.47, -0.46, 83}};
  ASSERT_TRUE(publisher.Publish(PlanText("09L/087/11000", "27R/270/12799", rows)));
  StartAtParis();
  Settle();
  ASSERT_EQ(ShownCount(State().route, LUMARO_ROUTE_CAPACITY), 2);
  ASSERT_TRUE(publisher.PublishBytes(PlanText("09L/087/11000", "27R/270/12799", {rows[0]})));
  Run(2);
  EXPECT_EQ(State().routeReads, 2u);
  EXPECT_EQ(ShownCount(State().route, LUMARO_ROUTE_CAPACITY), 2);
}

TEST_F(ModuleDatabaseTest, KillWhileTheLoaderRunsStopsAndJoinsIt) {
  std::vector<TestNavaid> navaids;
  for (int index = 0; index < 60000; ++index) {
    navaids.push_back({'I', "I" + std::to_string(index % 10000), 40.0 + (index % 200) * 0.05,
                       -10.0 + index * 0.0004});
  }
  WriteDatabase(folder_.path(), BuildDatabase(navaids));
  ndhost::ModuleHost& host = Start();
  host.Aircraft().latitudeDeg = 45.0;
  host.Aircraft().longitudeDeg = 12.0;
  Run(17);  // the frame after the start-up delay starts the first run
  host.Kill();
  EXPECT_EQ(folder_.Read("Gauges/NDmode.tmp"), "1\r\n0\r\n30\r\n320\r\n");
}

}  // namespace
}  // namespace gauge_test
