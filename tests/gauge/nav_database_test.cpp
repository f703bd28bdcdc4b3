#include "data/nav_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "named_pipes.h"
#include "test_environment.h"
#include "tests/support/database_writer.h"

namespace lumaro {
namespace {

using gauge_test::BuildDatabase;
using gauge_test::DatabaseFiles;
using gauge_test::SimulatorFolder;
using gauge_test::TestNavaid;

DatabaseFiles SmallDatabase() {
  return BuildDatabase({{'N', "AB", 48.0, 2.0},
                        {'V', "PAR", 48.5, 2.5},
                        {'A', "LFPG", 49.0, 2.55},
                        {'I', "OKRIX", 47.5, 1.5}});
}

int OpenIn(const SimulatorFolder& folder) {
  NavDatabase database;
  return OpenNavDatabase(database, folder.path().string());
}

TEST(NavDatabase, UsableDatabaseHasStatusZeroAndRecordLengths) {
  SimulatorFolder folder;
  gauge_test::WriteDatabase(folder.path(), SmallDatabase());
  NavDatabase database;
  ASSERT_EQ(OpenNavDatabase(database, folder.path().string()), 0);
  EXPECT_EQ(database.views[DatabaseFile::Index].recordLengthBytes, 34u);
  EXPECT_EQ(database.views[DatabaseFile::Ndb].recordLengthBytes, 81u);
  EXPECT_EQ(database.views[DatabaseFile::Vor].recordLengthBytes, 111u);
  EXPECT_EQ(database.views[DatabaseFile::Airport].recordLengthBytes, 107u);
  EXPECT_EQ(database.views[DatabaseFile::Intersection].recordLengthBytes, 69u);
  EXPECT_EQ(database.views[DatabaseFile::Index].RecordCount(), 4u);
  std::optional<std::string_view> record = database.views[DatabaseFile::Index].Record(0);
  ASSERT_TRUE(record);
  EXPECT_EQ(IndexKindLetter(*record), 'I');
  EXPECT_NEAR(IndexLongitudeDeg(*record), 1.5, 1e-6);
  EXPECT_FALSE(database.views[DatabaseFile::Index].Record(4));
}

TEST(NavDatabase, MissingFilesNameTheirBits) {
  struct Case {
    std::vector<const char*> missing;
    int expected;
  };
  const std::vector<Case> cases = {
      {{"idx.dat"}, 101},
      {{"ndb.dat", "int.dat"}, 118},
      {{"idx.dat", "ndb.dat", "vor.dat", "apt.dat", "int.dat"}, 131},
  };
  for (const Case& testCase : cases) {
    SCOPED_TRACE(testCase.expected);
    SimulatorFolder folder;
    gauge_test::WriteDatabase(folder.path(), SmallDatabase());
    for (const char* name : testCase.missing)
      std::filesystem::remove(folder.path() / "NavData" / name);
    EXPECT_EQ(OpenIn(folder), testCase.expected);
  }
}

TEST(NavDatabase, EmptyFileCannotBeMapped) {
  SimulatorFolder folder;
  gauge_test::WriteDatabase(folder.path(), SmallDatabase());
  folder.Write("NavData/vor.dat", "");
  EXPECT_EQ(OpenIn(folder), 204);
}

// A named pipe or a device in place of a file is refused at once with the
// code of an empty file; a folder does not open.
TEST(NavDatabase, OnlyRegularFilesAreReadAndNothingWaits) {
  SimulatorFolder folder;
  gauge_test::WriteDatabase(folder.path(), SmallDatabase());
  std::filesystem::remove(folder / "NavData/vor.dat");
  gauge_test::NamedPipes pipe({folder / "NavData/vor.dat"});
  ASSERT_TRUE(pipe.Made());
  int status = 0;
  EXPECT_TRUE(pipe.ReturnsWithin([&] { status = OpenIn(folder); }));
  EXPECT_EQ(status, 204);

  std::filesystem::remove(folder / "NavData/vor.dat");
  std::filesystem::create_symlink("/dev/zero", folder / "NavData/vor.dat");
  EXPECT_EQ(OpenIn(folder), 204);
  std::filesystem::remove(folder / "NavData/vor.dat");
  std::filesystem::create_directory(folder / "NavData/vor.dat");
  EXPECT_EQ(OpenIn(folder), 104);
}

// The database is the module's own copy: files shortened, rewritten or
// removed after the read leave every record as it was read, and change
// the stamps of exactly the files touched.
TEST(NavDatabase, FilesChangedAfterTheReadChangeTheStampsOnly) {
  SimulatorFolder folder;
  const DatabaseFiles files = SmallDatabase();
  gauge_test::WriteDatabase(folder.path(), files);
  NavDatabase database;
  const std::string root = folder.path().string();
  ASSERT_EQ(OpenNavDatabase(database, root), 0);
  EXPECT_EQ(StampDatabaseFiles(root), database.stamps);
  EXPECT_TRUE(database.stamps[DatabaseFile::Index].present);
  EXPECT_EQ(database.stamps[DatabaseFile::Index].sizeBytes,
            static_cast<int64_t>(files.index.size()));

  std::filesystem::resize_file(folder / "NavData/idx.dat", 10);
  std::ofstream(folder / "NavData/vor.dat", std::ios::binary | std::ios::trunc) << "// VOR\r\n";
  std::filesystem::remove(folder / "NavData/int.dat");
  const DatabaseStamps now = StampDatabaseFiles(root);
  EXPECT_NE(now[DatabaseFile::Index], database.stamps[DatabaseFile::Index]);
  EXPECT_NE(now[DatabaseFile::Vor], database.stamps[DatabaseFile::Vor]);
  EXPECT_FALSE(now[DatabaseFile::Intersection].present);
  EXPECT_EQ(now[DatabaseFile::Ndb], database.stamps[DatabaseFile::Ndb]);
  EXPECT_EQ(now[DatabaseFile::Airport], database.stamps[DatabaseFile::Airport]);

  const DatabaseView& index = database.views[DatabaseFile::Index];
  ASSERT_EQ(index.RecordCount(), 4u);
  const size_t firstRecord = files.index.find("\r\n") + 2;
  EXPECT_EQ(*index.Record(3), std::string_view(files.index).substr(firstRecord + 3 * 34, 34));
  std::optional<std::string_view> vor = database.views[DatabaseFile::Vor].Record(0);
  ASSERT_TRUE(vor);
  EXPECT_TRUE(vor->starts_with("PAR"));
}

TEST(NavDatabase, RecordLengthAndCountChecks) {
  DatabaseFiles files = SmallDatabase();
  {
    SCOPED_TRACE("ragged ndb.dat and vor.dat add their bits");
    SimulatorFolder folder;
    DatabaseFiles broken = files;
    broken.ndb += "X";
    broken.vor += "YY";
    gauge_test::WriteDatabase(folder.path(), broken);
    EXPECT_EQ(OpenIn(folder), 406);
  }
  {
    SCOPED_TRACE("a ragged index sets 401");
    SimulatorFolder folder;
    DatabaseFiles broken = files;
    broken.index += "Z";
    gauge_test::WriteDatabase(folder.path(), broken);
    EXPECT_EQ(OpenIn(folder), 401);
  }
  {
    SCOPED_TRACE("one index record too many");
    SimulatorFolder folder;
    DatabaseFiles broken = files;
    broken.index += broken.index.substr(broken.index.find("\r\n") + 2, 34);
    gauge_test::WriteDatabase(folder.path(), broken);
    EXPECT_EQ(OpenIn(folder), 500);
  }
  {
    SCOPED_TRACE("an index of its header line only");
    SimulatorFolder folder;
    DatabaseFiles broken = BuildDatabase({});
    gauge_test::WriteDatabase(folder.path(), broken);
    EXPECT_EQ(OpenIn(folder), 500);
  }
}

TEST(NavDatabase, LineEndStaysInsideTheView) {
  std::string text = "ab\ncd";
  std::span<const char> view(text.data(), text.size());
  EXPECT_EQ(LineEnd(view, 0, 5), 3u);
  EXPECT_EQ(LineEnd(view, 3, 2), 5u);
  EXPECT_EQ(LineEnd(view, 3, 100), 5u);
  EXPECT_EQ(LineEnd(view, 0, 2), 2u);
  EXPECT_EQ(LineEnd(view, 9, 4), 5u);
  DatabaseView noLineFeed = MakeDatabaseView(view.subspan(0, 2));
  EXPECT_EQ(noLineFeed.firstRecordOffsetBytes, 2u);
  EXPECT_EQ(noLineFeed.recordLengthBytes, 0u);
  EXPECT_EQ(noLineFeed.RecordCount(), 0u);
}

TEST(NavDatabase, IndexFieldsReadFromTheirColumns) {
  std::string record = "-151.175000 -33.933333  VOR00007\r\n";
  EXPECT_DOUBLE_EQ(IndexLongitudeDeg(record), -151.175);
  EXPECT_DOUBLE_EQ(IndexLatitudeDeg(record), -33.933333);
  EXPECT_EQ(IndexKindLetter(record), 'V');
  EXPECT_EQ(IndexRow(record), 7);
  EXPECT_EQ(IndexKindLetter("short"), '\0');
  EXPECT_EQ(IndexRow("short"), 0);
}

}  // namespace
}  // namespace lumaro
