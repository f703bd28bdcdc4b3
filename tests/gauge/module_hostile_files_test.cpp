// Files the running module reads that are not what they should be: the
// database files shortened in place, copied over with other contents,
// removed and made whole again, and named pipes where any of its files
// belong. The display must never fault or wait on them; it shows the
// database error until the five files agree again, then picks the navaids
// up anew.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "module_fixture.h"
#include "named_pipes.h"
#include "plan_text.h"

namespace gauge_test {
namespace {

namespace fs = std::filesystem;

// Enough intersections that the index spans many pages: a read past the end
// of a shortened file would touch pages the file no longer has.
std::vector<TestNavaid> NavaidsAroundParis() {
  std::vector<TestNavaid> navaids;
  for (int index = 0; index < 12; ++index) {
    navaids.push_back({'N', "N" + std::to_string(index), 48.8 + index * 0.01, 2.3 + index * 0.01});
  }
  for (int index = 0; index < 4000; ++index) {
    navaids.push_back(
        {'I', "I" + std::to_string(index), 40.0 + (index % 160) * 0.1, -8.0 + index * 0.005});
  }
  navaids.push_back({'V', "PGS", 48.9, 2.4, "VOR/DME"});
  return navaids;
}

// Writes into the existing files, as cp does: the same inodes, new sizes.
void OverwriteInPlace(const fs::path& root, const DatabaseFiles& files) {
  const std::pair<const char*, const std::string*> named[] = {{"idx.dat", &files.index},
                                                              {"ndb.dat", &files.ndb},
                                                              {"vor.dat", &files.vor},
                                                              {"apt.dat", &files.airports},
                                                              {"int.dat", &files.intersections}};
  for (const auto& [name, text] : named) {
    std::ofstream(root / "NavData" / name, std::ios::binary | std::ios::trunc) << *text;
  }
}

class ModuleHostileFilesTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    files_ = BuildDatabase(NavaidsAroundParis());
    WriteDatabase(folder_.path(), files_);
  }
  // Started over Paris in MAP mode, the first lists drawn.
  ndhost::ModuleHost& StartOnTheMap() {
    ndhost::ModuleHost& host = Start();
    host.Aircraft().latitudeDeg = 48.85;
    host.Aircraft().longitudeDeg = 2.35;
    Settle();
    host.PressKey('M', true, true);
    Settle();
    EXPECT_EQ(State().mapMode, 1);
    EXPECT_EQ(State().databaseStatus, 0);
    EXPECT_EQ(ShownCount(State().lists[LUMARO_LIST_NDB], LUMARO_LIST_CAPACITY), 12);
    return host;
  }
  // Moving on the map asks for a loader run and a redraw.
  void MoveAndSettle(ndhost::ModuleHost& host) {
    host.Aircraft().latitudeDeg += 0.01;
    Settle();
  }
  int ErrorPixels() const {
    // "NAV", "DATABASE", "ERROR nnn" in red: palette entry 250 of the module's bitmaps.
    const std::vector<uint8_t>& pixels = host_->DisplayImage()->pixels;
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), 250));
  }
  fs::path NavData(const char* name) const { return folder_.path() / "NavData" / name; }

  DatabaseFiles files_;
};

TEST_F(ModuleHostileFilesTest, ShortenedFilesShowTheErrorUntilTheyAreWholeAgain) {
  ndhost::ModuleHost& host = StartOnTheMap();
  const int pixelsBefore = ErrorPixels();

  // truncate(1) on the index in the middle of a record, and a smaller vor.dat copied over.
  fs::resize_file(NavData("idx.dat"), 300);
  std::ofstream(NavData("vor.dat"), std::ios::binary | std::ios::trunc) << files_.vor.substr(0, 40);
  MoveAndSettle(host);
  EXPECT_EQ(State().databaseStatus, 401);
  EXPECT_EQ(ShownCount(State().lists[LUMARO_LIST_NDB], LUMARO_LIST_CAPACITY), 0);
  EXPECT_GT(ErrorPixels(), pixelsBefore + 20);
  const uint32_t runs = State().loaderRuns;
  MoveAndSettle(host);
  EXPECT_EQ(State().loaderRuns, runs);  // no search over files that do not agree

  OverwriteInPlace(folder_.path(), files_);
  MoveAndSettle(host);
  EXPECT_EQ(State().databaseStatus, 0);
  EXPECT_GT(State().loaderRuns, runs);
  EXPECT_EQ(ShownCount(State().lists[LUMARO_LIST_NDB], LUMARO_LIST_CAPACITY), 12);
  EXPECT_EQ(ErrorPixels(), pixelsBefore);
}

TEST_F(ModuleHostileFilesTest, AWholeSetCopiedOverIsReadAnewAndItsNavaidsShown) {
  ndhost::ModuleHost& host = StartOnTheMap();
  // A smaller database copied over the files: one NDB between two far
  // intersections, no VOR; the rows the lists held point past its ends.
  const DatabaseFiles smaller = BuildDatabase(
      {{'I', "WEST", 48.0, -100.0}, {'N', "ONLY", 48.86, 2.36}, {'I', "EAST", 48.0, 100.0}});
  OverwriteInPlace(folder_.path(), smaller);
  MoveAndSettle(host);
  EXPECT_EQ(State().databaseStatus, 0);
  ASSERT_EQ(ShownCount(State().lists[LUMARO_LIST_NDB], LUMARO_LIST_CAPACITY), 1);
  EXPECT_EQ(State().lists[LUMARO_LIST_NDB][0].row, 0);
  EXPECT_EQ(ShownCount(State().lists[LUMARO_LIST_INTERSECTION], LUMARO_LIST_CAPACITY), 0);
}

TEST_F(ModuleHostileFilesTest, RemovedFilesShowTheirCodeAndComingBackRecovers) {
  ndhost::ModuleHost& host = StartOnTheMap();
  fs::remove(NavData("ndb.dat"));
  fs::remove(NavData("int.dat"));
  MoveAndSettle(host);
  EXPECT_EQ(State().databaseStatus, 118);
  WriteDatabase(folder_.path(), files_);
  MoveAndSettle(host);
  EXPECT_EQ(State().databaseStatus, 0);
  EXPECT_EQ(ShownCount(State().lists[LUMARO_LIST_NDB], LUMARO_LIST_CAPACITY), 12);
}

// Cuts or grows the shared block `name` as another program may (ftruncate of
// the shared-memory object); false when there is no such block.
bool ResizeBlock(const char* name, off_t sizeBytes) {
  int descriptor = ::shm_open(platform::SharedMemoryName(name).c_str(), O_RDWR, 0);
  if (descriptor < 0) return false;
  bool resized = ::ftruncate(descriptor, sizeBytes) == 0;
  ::close(descriptor);
  return resized;
}

// Shared blocks cut short while the module runs: the display read the mode
// block through a mapping at every update and died with SIGBUS, the
// simulator with it. A short block is now taken as absent: the keys go on
// with the display's own modes, and the block counts again once it is whole.
// A route block cut to nothing is found but read as no route.
TEST_F(ModuleHostileFilesTest, SharedBlocksCutShortWhileItRunsNeverFaultIt) {
  ndhost::RoutePublisher publisher;
  std::vector<PlanRow> rows = {{"APT", "LFPG", 49.0, 2.55, 392}, {"APT", "EGLL", 51.47, -0.46, 83}};
  ASSERT_TRUE(publisher.Publish(PlanText("09L/087/11000", "27R/270/12799", rows)));
  ndhost::ModuleHost& host = StartOnTheMap();
  ASSERT_TRUE(State().passDataMapped);
  ASSERT_EQ(State().routeReads, 1u);
  ASSERT_EQ(ShownCount(State().route, LUMARO_ROUTE_CAPACITY), 2);

  ASSERT_TRUE(ResizeBlock("NDPassData", 0));
  uint32_t redraws = State().redrawCount;
  Run(4);
  host.PressKey('G', true, false);  // range up
  Run(2);
  EXPECT_EQ(State().rangeNm, 640);
  EXPECT_EQ(State().mapMode, 1);
  EXPECT_GT(State().redrawCount, redraws);

  ASSERT_TRUE(ResizeBlock("NDPassData", 17));
  host.PressKey('P', true, true);  // plan mode
  Run(2);
  EXPECT_EQ(State().mapMode, 2);

  // Whole again, with a range another component wrote.
  ASSERT_TRUE(ResizeBlock("NDPassData", 60));
  int descriptor = ::shm_open(platform::SharedMemoryName("NDPassData").c_str(), O_RDWR, 0);
  ASSERT_GE(descriptor, 0);
  char fields[40] = "NDMode=1\0\0MapMode=1\0Item=0x1E\0Range=080";
  ASSERT_EQ(::pwrite(descriptor, fields, sizeof(fields), 0), 40);
  ::close(descriptor);
  Run(2);
  EXPECT_EQ(State().rangeNm, 80);
  EXPECT_EQ(State().mapMode, 1);

  // The next route block, cut to nothing before the display polls it.
  rows.insert(rows.begin() + 1, {"VOR", "ABB", 50.1, 1.8, 0});
  ASSERT_TRUE(publisher.Publish(PlanText("08R/080/9000", "27R/270/12799", rows)));
  ASSERT_TRUE(ResizeBlock("fltplanMap0", 0) || ResizeBlock("fltplanMap1", 0));
  Run(4);
  EXPECT_EQ(State().routeReads, 1u);
  EXPECT_EQ(ShownCount(State().route, LUMARO_ROUTE_CAPACITY), 2);
  EXPECT_EQ(State().databaseStatus, 0);
}

// The simulator's thread never waits on a named pipe: not for the
// configuration, the mode file or the database at install, the error log at
// initialize, nor the mode file's new copy at kill.
TEST_F(ModuleHostileFilesTest, NamedPipesInPlaceOfItsFilesNeverHoldTheSimulator) {
  fs::remove(NavData("apt.dat"));
  NamedPipes pipes({folder_.path() / "FS2002.cfg", folder_.path() / "Gauges/NDmode.tmp",
                    folder_.path() / "Gauges/NDmode.tmp.new",
                    folder_.path() / "Gauges/Vistrel.ND.err", NavData("apt.dat")});
  ASSERT_TRUE(pipes.Made());
  int status = 0;
  EXPECT_TRUE(pipes.ReturnsWithin([&] {
    Start();
    Settle();
    status = State().databaseStatus;
    host_.reset();
  }));
  EXPECT_EQ(status, 208);
}

}  // namespace
}  // namespace gauge_test
