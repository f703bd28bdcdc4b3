// Files the running module reads that are not what they should be: the
// database files shortened in place, copied over with other contents,
// removed and made whole again, and named pipes where any of its files
// belong. The display must never fault or wait on them; it shows the
// database error until the five files agree again, then picks the navaids
// up anew.
#include <filesystem>
#include <fstream>

#include "module_fixture.h"
#include "named_pipes.h"

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
