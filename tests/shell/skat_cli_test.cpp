#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "navdb/coordinates.h"
#include "navdb/database.h"
#include "navdb/entry_lines.h"
#include "shell/cli/cli_ui.h"
#include "tests/shell/cli_runner.h"
#include "tests/support/temp_folder.h"

namespace {

using testing_support::TempFolder;

using testing_support::CliRun;
using testing_support::RunCli;

// A small database: two NDBs, one VOR, one runway, one intersection, saved with its index.
void WriteDemoDatabase(const TempFolder& folder) {
  navdb::Database db;
  db.folder = folder.path();
  using navdb::NavaidKind;
  db.List(NavaidKind::Ndb)
      .AddLine(navdb::BuildNdbLine({"PGS", "PARIS NORD", "375.0", navdb::FormatLatitude(49.1),
                                    navdb::FormatLongitude(2.5), 300, 25}));
  db.List(NavaidKind::Ndb)
      .AddLine(navdb::BuildNdbLine({"AB", "ABBEVILLE", "400.0", navdb::FormatLatitude(50.1),
                                    navdb::FormatLongitude(1.8), 200, 25}));
  db.List(NavaidKind::Vor)
      .AddLine(navdb::BuildVorLine({"CGN", "CHARLES DE GAULLE", "VOR/DME", "115.35", "",
                                    navdb::FormatLatitude(49.0), navdb::FormatLongitude(2.6), 400,
                                    130, 0}));
  db.List(NavaidKind::Airport)
      .AddLine(navdb::BuildRunwayLine({"LFPG", "CHARLES DE GAULLE", "09L/27R  ", 87, 267,
                                       navdb::FormatLatitude(49.02), navdb::FormatLongitude(2.52),
                                       392, 13829, 197, "128.00"}));
  db.List(NavaidKind::Intersection)
      .AddLine(navdb::BuildIntersectionLine(
          {"OKRIX", "", navdb::FormatLatitude(48.5), navdb::FormatLongitude(-1.5), 0}));
  navdb::RebuildIndex(db.lists, db.index, {});
  ASSERT_TRUE(navdb::SaveDatabase(db, {}));
}

TEST(SkatCli, CheckPrintsFiveLines) {
  TempFolder folder;
  WriteDemoDatabase(folder);
  const CliRun run = RunCli({"--navdata", folder.path().string(), "check"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "NDB 2\nVOR 1\nAPT 1\nINT 1\nIDX 5 0 0\n");
  EXPECT_EQ(run.err, "");
  // A folder that does not exist holds no database: that is a failure, not zero counts.
  const std::string nothing = (folder.path() / "nothing").string();
  const CliRun missing = RunCli({"check", "--navdata=" + nothing});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "Error: The folder " + nothing + " does not exist.\n");
  EXPECT_FALSE(std::filesystem::exists(nothing));
  // An empty folder is an empty database.
  std::filesystem::create_directory(nothing);
  const CliRun empty = RunCli({"check", "--navdata=" + nothing});
  EXPECT_EQ(empty.exitCode, 0);
  EXPECT_EQ(empty.out, "NDB 0\nVOR 0\nAPT 0\nINT 0\nIDX 0 0 0\n");
}

TEST(SkatCli, FindFirstLineInListOrder) {
  TempFolder folder;
  WriteDemoDatabase(folder);
  const std::string navData = "--navdata=" + folder.path().string();
  CliRun run = RunCli({navData, "find", "ndb", "p"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "PGS    PARIS NORD                375.0  N49\u00B006'00.00  E002\u00B030'00.00  00300  "
            "025\n");
  run = RunCli({navData, "find", "apt", "lfpg", "--raw"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out.substr(0, 4), "LFPG");
  EXPECT_NE(run.out.find("N49\xB0"
                         "01'12.00"),
            std::string::npos);
  EXPECT_EQ(RunCli({navData, "find", "vor", "XYZ"}).exitCode, 1);
  // The placeholder of an empty list is no entry.
  TempFolder empty;
  EXPECT_EQ(RunCli({"--navdata", empty.path().string(), "find", "int", "(no"}).exitCode, 1);
}

TEST(SkatCli, IndexRebuildsAndSaves) {
  TempFolder folder;
  WriteDemoDatabase(folder);
  const std::string before = folder.Read("idx.dat");
  folder.Write("idx.dat", "// Index for Skyatlas 99\r\n");
  CliRun run = RunCli({"--navdata", folder.path().string(), "index"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(folder.Read("idx.dat"), before);
  EXPECT_EQ(
      run.err,
      "Status : sorting index...\nStatus : index sorted\nStatus : saving data...\nStatus : done\n");
  // A folder in place of apt.dat is reported at the load and not saved over;
  // nor is any other file, idx.dat above all, whose rows point into apt.dat.
  std::filesystem::remove(folder / "apt.dat");
  std::filesystem::create_directory(folder / "apt.dat");
  run = RunCli({"--navdata", folder.path().string(), "index"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            "Error: Could not open apt.dat\n\nIs a directory\n\nThe file is left as it is and "
            "is not saved over until it has been read.\n"
            "Status : sorting index...\nStatus : index sorted\nStatus : saving data...\n"
            "Error: apt.dat was not saved: it could not be read when the database was loaded "
            "(Is a directory). idx.dat and the other files were not saved either: the index "
            "must match the entry files.\n"
            "Status : a problem occurs while saving !\n");
  EXPECT_TRUE(std::filesystem::is_directory(folder / "apt.dat"));
  EXPECT_EQ(folder.Read("idx.dat"), before);
  const CliRun check = RunCli({"--navdata", folder.path().string(), "check"});
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_EQ(check.out, "NDB 2\nVOR 1\nAPT 0\nINT 1\nIDX 5 0 0\n");
}

TEST(SkatCli, RestoreAnswersTheQuestion) {
  TempFolder folder;
  WriteDemoDatabase(folder);
  for (const char* name : {"ndb.dat", "vor.dat", "apt.dat", "int.dat", "idx.dat"}) {
    folder.Write(std::string("Original/") + name, folder.Read(name));
  }
  folder.Write("ndb.dat", "// NDB database for Skyatlas\r\n");
  CliRun run = RunCli({"--navdata", folder.path().string(), "restore"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            "Warning: You are going to lose any modification you've done on the database, \n"
            "INCLUDING the Intersection list !\n\nProceed ?\n");
  EXPECT_EQ(folder.Read("ndb.dat"), "// NDB database for Skyatlas\r\n");

  run = RunCli({"--navdata", folder.path().string(), "restore"}, "y\n", true);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "NDB 2\nVOR 1\nAPT 1\nINT 1\nIDX 5 0 0\n");

  folder.Write("ndb.dat", "// NDB database for Skyatlas\r\n");
  run = RunCli({"--navdata", folder.path().string(), "restore", "--yes"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "NDB 2\nVOR 1\nAPT 1\nINT 1\nIDX 5 0 0\n");
  EXPECT_NE(run.err.find("Please wait: Restoring original database...\n"), std::string::npos);
  EXPECT_NE(run.err.find("Information: Original database restored.\n"), std::string::npos);
}

TEST(SkatCli, HelpAndBadArguments) {
  CliRun run = RunCli({"--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("Usage: skat-cli [--navdata DIR] [--verbose] COMMAND"), std::string::npos);
  for (const char* command : {"check", "index", "restore", "find"}) {
    SCOPED_TRACE(command);
    run = RunCli({command, "--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind(std::string("Usage: skat-cli ") + command, 0), 0u);
  }
  EXPECT_EQ(RunCli({}).exitCode, 2);
  EXPECT_EQ(RunCli({"frobnicate"}).exitCode, 2);
  EXPECT_EQ(RunCli({"check", "extra"}).exitCode, 2);
  EXPECT_EQ(RunCli({"find", "ndb"}).exitCode, 2);
  run = RunCli({"find", "xyz", "A"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("unknown kind 'xyz'"), std::string::npos);
  EXPECT_NE(run.err.find("Usage: skat-cli find KIND TEXT"), std::string::npos);
  EXPECT_EQ(RunCli({"restore", "--no"}).exitCode, 2);
  EXPECT_EQ(RunCli({"--navdata"}).exitCode, 2);
}

TEST(SkatCli, TerminalTextBreaksLines) {
  EXPECT_EQ(cli::TerminalText("a\rb\r\rc"), "a\nb\n\nc");
  EXPECT_EQ(cli::TerminalText("a\r\nb\nc"), "a\nb\nc");
  EXPECT_EQ(cli::TerminalText("N48\xB0"), "N48\u00B0");
}

}  // namespace
