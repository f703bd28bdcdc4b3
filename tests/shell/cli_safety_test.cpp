// skat-cli under the database lock, with two real processes, and its exit
// codes and messages after failures.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "navdb/coordinates.h"
#include "navdb/database.h"
#include "navdb/database_lock.h"
#include "navdb/entry_lines.h"
#include "tests/shell/cli_process.h"
#include "tests/shell/cli_runner.h"
#include "tests/shell/scenery_ndb.h"
#include "tests/support/lock_acquire.h"
#include "tests/support/temp_folder.h"
#include "tools/scenery_writer/bgl_writer.h"

namespace {

using navdb::NavaidKind;
using testing_support::CliProcess;
using testing_support::CliRun;
using testing_support::Finish;
using testing_support::Finished;
using testing_support::ReadFrom;
using testing_support::RunCli;
using testing_support::SpawnCli;
using testing_support::TempFolder;

std::string InUseText(std::string_view program, pid_t pid) {
  return "Error: The database is in use by " + std::string(program) + " (process " +
         std::to_string(pid) + "). Try again when it has finished.\n";
}

std::string NdbFile(const std::string& identifier, double latitudeDeg, uint8_t tensUnits) {
  scenery_writer::BglScenery scenery;
  scenery.ndbs.push_back(testing_support::SceneryNdb(identifier, latitudeDeg, tensUnits));
  const std::vector<uint8_t> bytes = scenery_writer::WriteBglImage(scenery);
  return {bytes.begin(), bytes.end()};
}

navdb::Database Load(const std::filesystem::path& folder) {
  navdb::Database db;
  db.folder = folder;
  navdb::LoadDatabase(db, {});
  return db;
}

std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
  return testing_support::FileNamesIn(folder);
}

TEST(CliSafety, ARefusedLockChangesNothingAndExitsOne) {
  TempFolder root, navData;
  root.Write("a.bgl", NdbFile("AB", 49.0, 0x52));
  const std::string navDataOption = "--navdata=" + navData.path().string();
  std::string refusal;
  {
    auto lock = testing_support::AcquireLock(navData.path(), navdb::LockMode::Exclusive,
                                             "lock-test", refusal);
    ASSERT_TRUE(lock);
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"scan", root.path().string()},
          {"index"},
          {"check"},
          {"find", "ndb", "AB"},
          {"restore", "--yes"}}) {
      SCOPED_TRACE(command.front());
      std::vector<std::string> args = {navDataOption};
      args.insert(args.end(), command.begin(), command.end());
      const CliRun run = RunCli(args);
      EXPECT_EQ(run.exitCode, 1);
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(run.err, InUseText("lock-test", ::getpid()));
      EXPECT_EQ(FolderNames(navData.path()), std::vector<std::string>{"skat.lock"});
    }
  }
  // A reader lets other readers in but keeps writers out.
  auto reader =
      testing_support::AcquireLock(navData.path(), navdb::LockMode::Shared, "reader-test", refusal);
  ASSERT_TRUE(reader);
  EXPECT_EQ(RunCli({navDataOption, "check"}).exitCode, 0);
  const CliRun scan = RunCli({navDataOption, "scan", root.path().string()});
  EXPECT_EQ(scan.exitCode, 1);
  EXPECT_EQ(scan.err, InUseText("reader-test", ::getpid()));
  reader.reset();
  EXPECT_EQ(RunCli({navDataOption, "scan", root.path().string()}).exitCode, 0);
  EXPECT_EQ(Load(navData.path()).List(NavaidKind::Ndb).EntryCount(), 1u);
}

TEST(CliSafety, ASecondProcessIsRefusedWhileTheFirstScans) {
  TempFolder root, navData;
  root.Write("a.bgl", NdbFile("AB", 49.0, 0x52));
  // Another version of AB: the first scan stops at the double-entry question
  // and holds the lock while it waits for the answer.
  std::filesystem::create_directory(root / "b");
  root.Write("b/b.bgl", NdbFile("AB", 49.2, 0x75));
  TempFolder other;
  other.Write("c.bgl", NdbFile("CD", 48.0, 0x52));
  const std::string navDataOption = "--navdata=" + navData.path().string();

  CliProcess first = SpawnCli({navDataOption, "scan", "--duplicates=ask", root.path().string()});
  const std::string prompt = ReadFrom(first.err, "Choice [1-6, a]: ");
  ASSERT_NE(prompt.find("Double entry warning !"), std::string::npos) << prompt;

  CliProcess second = SpawnCli({navDataOption, "scan", other.path().string()});
  const Finished refused = Finish(second);
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(refused.err, InUseText("skat-cli", first.pid));
  EXPECT_EQ(FolderNames(navData.path()), std::vector<std::string>{"skat.lock"});

  ASSERT_EQ(::write(first.in, "2\n", 2), 2);  // keep both
  const Finished done = Finish(first);
  EXPECT_EQ(done.exitCode, 0);
  EXPECT_NE(done.out.find("Added to the database :\n\n2\tNDB,\n"), std::string::npos);

  // The lock went with the first process: the second scan now runs.
  CliProcess again = SpawnCli({navDataOption, "scan", other.path().string()});
  EXPECT_EQ(Finish(again).exitCode, 0);
  const navdb::Database db = Load(navData.path());
  EXPECT_EQ(db.List(NavaidKind::Ndb).EntryCount(), 3u);
  EXPECT_EQ(db.index.Count(), 3u);
}

TEST(CliSafety, TwoScansAtOnceNeverMixTheDatabase) {
  TempFolder rootA, rootB;
  for (int i = 0; i < 40; ++i) {
    rootA.Write("a" + std::to_string(i) + ".bgl",
                NdbFile("A" + std::to_string(i), 40 + i * 0.1, 0x52));
    rootB.Write("b" + std::to_string(i) + ".bgl",
                NdbFile("B" + std::to_string(i), 40 + i * 0.1, 0x60));
  }
  for (int trial = 0; trial < 5; ++trial) {
    SCOPED_TRACE(trial);
    TempFolder navData;
    const std::string navDataOption = "--navdata=" + navData.path().string();
    CliProcess a = SpawnCli({navDataOption, "scan", rootA.path().string()});
    CliProcess b = SpawnCli({navDataOption, "scan", rootB.path().string()});
    const Finished doneA = Finish(a);
    const Finished doneB = Finish(b);
    size_t expected = 0;
    for (const auto& [done, other] : {std::pair{&doneA, b.pid}, std::pair{&doneB, a.pid}}) {
      if (done->exitCode == 0) {
        expected += 40;
        EXPECT_NE(done->out.find("Added to the database :\n\n40\tNDB,\n"), std::string::npos);
      } else {
        EXPECT_EQ(done->exitCode, 1);
        // A holder that finished right after the refusal has taken its name out.
        if (done->err != InUseText("skat-cli", other)) {
          EXPECT_EQ(done->err,
                    "Error: The database is in use by another program. Try again "
                    "when it has finished.\n");
        }
        EXPECT_EQ(done->out, "");
      }
    }
    // Whatever ran, its additions are all there and the index matches them.
    ASSERT_GE(expected, 40u);
    const navdb::Database db = Load(navData.path());
    EXPECT_EQ(db.List(NavaidKind::Ndb).EntryCount(), expected);
    EXPECT_EQ(db.index.Count(), expected);
  }
}

TEST(CliSafety, RestoreWithoutReferenceCopiesFails) {
  TempFolder navData;
  navData.Write("ndb.dat", "// NDB database for Skyatlas\r\n");
  const CliRun run = RunCli({"--navdata", navData.path().string(), "restore", "--yes"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.find("Original database restored."), std::string::npos);
  EXPECT_NE(run.err.find("Error : idx.dat: No such file or directory\n"), std::string::npos);
  EXPECT_NE(run.err.find("Error: The original database could not be restored. The database "
                         "files were left as they were.\n"),
            std::string::npos);
  EXPECT_EQ(navData.Read("ndb.dat"), "// NDB database for Skyatlas\r\n");
  EXPECT_EQ(FolderNames(navData.path()), (std::vector<std::string>{"ndb.dat", "skat.lock"}));
}

TEST(CliSafety, AFailedSaveEndsTheScanWithoutASummary) {
  TempFolder root, navData;
  root.Write("a.bgl", NdbFile("AB", 49.0, 0x52));
  std::filesystem::create_directory(navData / "vor.dat");
  const CliRun run = RunCli({"--navdata", navData.path().string(), "scan", root.path().string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out.find("Added to the database"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Status : a problem occurs while saving !\n"), std::string::npos);
  EXPECT_NE(run.err.find("Error: vor.dat was not saved: it could not be read when the database "
                         "was loaded (Is a directory). idx.dat and the other files were not "
                         "saved either: the index must match the entry files.\n"),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(navData / "vor.dat"));
  // No idx.dat with rows for a vor.dat that was never written.
  EXPECT_EQ(FolderNames(navData.path()), (std::vector<std::string>{"skat.lock", "vor.dat"}));
}

TEST(CliSafety, RepeatedMessagesArePrintedOnceWithTheirCount) {
  TempFolder navData;
  // Three lines more than a list holds: three refusals of the same text.
  std::string intFile = "// Intersection database for Skyatlas\r\n";
  const navdb::KindInfo& info = navdb::InfoOf(NavaidKind::Intersection);
  std::string line = navdb::BuildIntersectionLine(
      {"FIX", "", navdb::FormatLatitude(45.0), navdb::FormatLongitude(5.0), 0});
  for (size_t i = 0; i < info.separatorCount; ++i)
    line[static_cast<size_t>(info.separatorColumns[i])] = ';';
  intFile.reserve((navdb::kMaxEntryRows + 3) * (line.size() + 2));
  for (size_t i = 0; i < navdb::kMaxEntryRows + 3; ++i) intFile.append(line).append("\r\n");
  navData.Write("int.dat", intFile);

  const std::string full =
      "Error - Intersections: Can't add entry to list.\n\nA list holds at most 100,000 entries.";
  const std::string refused = full + "\n";
  // Without an idx.dat no entry has its index row.
  const std::string unindexed =
      "Error: 100000 index rows do not match the entry files. Run \"skat-cli index\" to "
      "rebuild the index.\n";
  const CliRun run = RunCli({"--navdata", navData.path().string(), "check"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, refused + unindexed + full + " (3 times in all)\n");
  const CliRun verbose = RunCli({"--navdata", navData.path().string(), "--verbose", "check"});
  EXPECT_EQ(verbose.err, refused + refused + refused + unindexed);
  EXPECT_EQ(verbose.out, run.out);
}

}  // namespace
