// skat-cli on database folders that someone or something left odd: a linked
// lock file, an index out of step, a save killed between its renames, named
// pipes in place of files.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "navdb/coordinates.h"
#include "navdb/database.h"
#include "navdb/entry_lines.h"
#include "tests/shell/cli_process.h"
#include "tests/shell/cli_runner.h"
#include "tests/shell/scenery_ndb.h"
#include "tests/support/temp_folder.h"
#include "tools/scenery_writer/bgl_writer.h"

namespace {

namespace fs = std::filesystem;
using navdb::NavaidKind;
using testing_support::CliProcess;
using testing_support::CliRun;
using testing_support::Finished;
using testing_support::FinishWithin;
using testing_support::RunCli;
using testing_support::SpawnCli;
using testing_support::TempFolder;

const std::array<std::string, 5> kFiles = {"ndb.dat", "vor.dat", "apt.dat", "int.dat", "idx.dat"};
// Long enough for a loaded machine, far shorter than a hang.
constexpr std::chrono::seconds kPrompt{20};

std::string NdbLine(const std::string& identifier, double latitudeDeg) {
  return navdb::BuildNdbLine({identifier, "NAME " + identifier, "375.0",
                              navdb::FormatLatitude(latitudeDeg), navdb::FormatLongitude(2.0), 100,
                              25});
}

// Saves NDBs at the given latitudes (named N0, N1, ... in that order) and
// one intersection, with their index.
navdb::Database SaveDatabase(const TempFolder& folder, const std::vector<double>& latitudes) {
  navdb::Database db;
  db.folder = folder.path();
  for (size_t i = 0; i < latitudes.size(); ++i) {
    db.List(NavaidKind::Ndb).AddLine(NdbLine("N" + std::to_string(i), latitudes[i]));
  }
  db.List(NavaidKind::Intersection)
      .AddLine(navdb::BuildIntersectionLine(
          {"OKRIX", "", navdb::FormatLatitude(48.5), navdb::FormatLongitude(-1.5), 0}));
  navdb::RebuildIndex(db.lists, db.index, {});
  EXPECT_TRUE(navdb::SaveDatabase(db, {}));
  return db;
}

std::string SceneryWithNdb(const std::string& identifier) {
  scenery_writer::BglScenery scenery;
  scenery.ndbs.push_back(testing_support::SceneryNdb(identifier, 49.0));
  const std::vector<uint8_t> bytes = scenery_writer::WriteBglImage(scenery);
  return {bytes.begin(), bytes.end()};
}

// The database files' bytes; a named pipe is not opened (that would wait).
std::array<std::string, 5> ReadFiles(const TempFolder& folder) {
  std::array<std::string, 5> contents;
  for (size_t i = 0; i < kFiles.size(); ++i) {
    if (fs::is_fifo(folder / kFiles[i])) {
      contents[i] = "(named pipe)";
    } else {
      contents[i] = folder.Read(kFiles[i]);
    }
  }
  return contents;
}

TEST(CliDatabaseFiles, ALinkedLockFileIsRefusedAndWhatItPointsAtIsKept) {
  TempFolder navData, outside, root;
  SaveDatabase(navData, {48.0});
  root.Write("a.bgl", SceneryWithNdb("AB"));
  outside.Write("notes.txt", "the user's notes\n");
  fs::create_symlink(outside / "notes.txt", navData / "skat.lock");
  const std::array<std::string, 5> before = ReadFiles(navData);
  for (const std::vector<std::string>& command : {std::vector<std::string>{"check"},
                                                  {"index"},
                                                  {"find", "ndb", "N0"},
                                                  {"scan", root.path().string()},
                                                  {"restore", "--yes"}}) {
    SCOPED_TRACE(command.front());
    std::vector<std::string> args = {"--navdata", navData.path().string()};
    args.insert(args.end(), command.begin(), command.end());
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Error: The database lock file " + (navData / "skat.lock").string() +
                           " is a symbolic link, not a plain file.\n\nNothing was changed. "
                           "Remove it and try again.\n");
    EXPECT_EQ(outside.Read("notes.txt"), "the user's notes\n");
    EXPECT_EQ(ReadFiles(navData), before);
  }
}

TEST(CliDatabaseFiles, CheckCountsTheIndexRowsOutOfStepAndIndexMendsThem) {
  TempFolder navData;
  SaveDatabase(navData, {40.0, 41.0});
  const std::string oldIndex = navData.Read("idx.dat");
  // A new beacon south of the others takes row 0: every NDB row moves, and
  // the old idx.dat beside the new ndb.dat points at the wrong ones.
  SaveDatabase(navData, {39.0, 40.0, 41.0});
  navData.Write("idx.dat", oldIndex);
  const std::string folder = navData.path().string();
  CliRun run = RunCli({"--navdata", folder, "check"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "NDB 3\nVOR 0\nAPT 0\nINT 1\nIDX 3 0 0\n");
  EXPECT_EQ(run.err,
            "Error: 3 index rows do not match the entry files. Run \"skat-cli index\" to rebuild "
            "the index.\n");

  ASSERT_EQ(RunCli({"--navdata", folder, "index"}).exitCode, 0);
  run = RunCli({"--navdata", folder, "check"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");

  // One position changed by a millionth of a degree is found too.
  const std::string good = navData.Read("idx.dat");
  std::string moved = good;
  const size_t row = moved.find("NDB00001");
  ASSERT_NE(row, std::string::npos);
  moved[row - 3] = moved[row - 3] == '9' ? '8' : '9';
  navData.Write("idx.dat", moved);
  run = RunCli({"--navdata", folder, "check"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            "Error: 1 index row does not match the entry files. Run \"skat-cli index\" to "
            "rebuild the index.\n");

  // So is a line longer than its layout, set aside at the load: the rows
  // after it no longer point where the index says.
  navData.Write("idx.dat", good);
  std::string ndb = navData.Read("ndb.dat");
  const size_t firstEnd = ndb.find("\r\n", ndb.find("\r\n") + 2);
  ndb.insert(firstEnd, "X");
  navData.Write("ndb.dat", ndb);
  run = RunCli({"--navdata", folder, "check"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "NDB 2\nVOR 0\nAPT 0\nINT 1\nIDX 4 0 0\n");
  EXPECT_EQ(run.err,
            "Warning: ndb.dat: 1 malformed line(s) skipped, the first at line 2.\n"
            "1 of them is longer than the 79 characters of an entry line.\n"
            "They are kept in ndb.dat.rejected when the database is saved.\n"
            "Error: 3 index rows do not match the entry files. Run \"skat-cli index\" to rebuild "
            "the index.\n");
  ASSERT_EQ(RunCli({"--navdata", folder, "index"}).exitCode, 0);
  EXPECT_EQ(navData.Read("ndb.dat.rejected").substr(0, 2), "N0");
  EXPECT_EQ(navData.Read("ndb.dat.rejected").size(), 79u + 1 + 2);
  run = RunCli({"--navdata", folder, "check"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "NDB 2\nVOR 0\nAPT 0\nINT 1\nIDX 3 0 0\n");
}

// The state a kill leaves between two renames, taken as it stands: the
// copy holds the manifest, the renamed and unrenamed files, the temporary
// and kept files.
TEST(CliDatabaseFiles, ASaveKilledBetweenItsRenamesIsFinishedByTheNextCommand) {
  TempFolder navData, killed;
  navdb::Database db = SaveDatabase(navData, {40.0, 41.0});
  db.List(NavaidKind::Ndb).AddLine(NdbLine("A0", 39.0));
  navdb::RebuildIndex(db.lists, db.index, {});
  bool copied = false;
  EXPECT_FALSE(navdb::SaveDatabase(db, {}, [&](platform::FileStep step, const fs::path& path) {
    if (step != platform::FileStep::Rename || path.filename() != "apt.dat") return 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(navData.path())) {
      fs::copy_file(entry.path(), killed / entry.path().filename().string());
    }
    copied = true;
    return EIO;
  }));
  ASSERT_TRUE(copied);
  ASSERT_TRUE(killed.Exists("skat.save"));
  const std::string folder = killed.path().string();
  CliRun run = RunCli({"--navdata", folder, "check"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "NDB 3\nVOR 0\nAPT 0\nINT 1\nIDX 4 0 0\n");
  EXPECT_EQ(run.err,
            "Warning: The last save of the database was interrupted before all its files were in "
            "place. It has now been finished: the database holds the files of that save.\n");
  EXPECT_EQ(testing_support::FileNamesIn(killed.path()),
            (std::vector<std::string>{"apt.dat", "idx.dat", "int.dat", "ndb.dat", "skat.lock",
                                      "vor.dat"}));
  run = RunCli({"--navdata", folder, "check"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
}

// Named pipes in place of database files or reference copies: every command
// ends at once, reports the file and writes nothing over it.
TEST(CliDatabaseFiles, NamedPipesNeitherHangACommandNorAreSavedOver) {
  TempFolder navData, root;
  SaveDatabase(navData, {48.0});
  root.Write("a.bgl", SceneryWithNdb("AB"));
  fs::remove(navData / "vor.dat");
  ASSERT_EQ(::mkfifo((navData / "vor.dat").c_str(), 0644), 0);
  const std::array<std::string, 5> before = ReadFiles(navData);
  const std::string unreadable =
      "Error: Could not open vor.dat\n\nNot a regular file (a named pipe, a device or a "
      "socket)\n\nThe file is left as it is and is not saved over until it has been read.\n";

  CliProcess check = SpawnCli({"--navdata", navData.path().string(), "check"});
  Finished done = FinishWithin(check, kPrompt);
  EXPECT_FALSE(done.timedOut);
  EXPECT_EQ(done.exitCode, 1);
  EXPECT_EQ(done.err, unreadable);
  const std::vector<std::string> names = testing_support::FileNamesIn(navData.path());

  CliProcess scan = SpawnCli({"--navdata", navData.path().string(), "scan", root.path().string()});
  done = FinishWithin(scan, kPrompt);
  EXPECT_FALSE(done.timedOut);
  EXPECT_EQ(done.exitCode, 1);
  EXPECT_NE(done.err.find(unreadable), std::string::npos) << done.err;
  EXPECT_NE(done.err.find("Error: vor.dat was not saved: it could not be read when the database "
                          "was loaded (Not a regular file (a named pipe, a device or a socket)). "
                          "idx.dat and the other files were not saved either"),
            std::string::npos)
      << done.err;
  struct stat info {};
  ASSERT_EQ(::lstat((navData / "vor.dat").c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_EQ(ReadFiles(navData), before);
  EXPECT_EQ(testing_support::FileNamesIn(navData.path()), names);

  // The restore reads the reference copies the same way.
  TempFolder restored;
  SaveDatabase(restored, {48.0});
  for (const std::string& name : kFiles) restored.Write("Original/" + name, restored.Read(name));
  fs::remove(restored / "Original" / "vor.dat");
  ASSERT_EQ(::mkfifo((restored / "Original" / "vor.dat").c_str(), 0644), 0);
  restored.Write("ndb.dat", "// NDB database for Skyatlas\r\n");
  const std::array<std::string, 5> working = ReadFiles(restored);
  CliProcess restore = SpawnCli({"--navdata", restored.path().string(), "restore", "--yes"});
  done = FinishWithin(restore, kPrompt);
  EXPECT_FALSE(done.timedOut);
  EXPECT_EQ(done.exitCode, 1);
  EXPECT_NE(done.err.find("Error : vor.dat: Not a regular file (a named pipe, a device or a "
                          "socket)\n"),
            std::string::npos)
      << done.err;
  EXPECT_NE(done.err.find("Error: The original database could not be restored. The database "
                          "files were left as they were.\n"),
            std::string::npos);
  EXPECT_EQ(ReadFiles(restored), working);
}

}  // namespace
