// skat-cli entry and journal: hand edits on the command line, their journal,
// and its replay after "restore".
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "navdb/coordinates.h"
#include "navdb/database.h"
#include "navdb/edit_journal.h"
#include "navdb/entry_lines.h"
#include "navdb/journal_file.h"
#include "platform/win1252.h"
#include "tests/shell/cli_runner.h"
#include "tests/shell/scenery_ndb.h"
#include "tests/support/temp_folder.h"
#include "tools/scenery_writer/bgl_writer.h"

namespace {

namespace fs = std::filesystem;
using navdb::NavaidKind;
using testing_support::CliRun;
using testing_support::RunCli;
using testing_support::TempFolder;

std::string NdbLine(const std::string& identifier, const std::string& name, double latitudeDeg) {
  return navdb::BuildNdbLine({identifier, name, "375.0", navdb::FormatLatitude(latitudeDeg),
                              navdb::FormatLongitude(2.0), 100, 25});
}

std::string Utf8(const std::string& line) {
  return platform::Win1252ToUtf8(line);
}

// Two NDBs named ABC (one per name) and one XYZ, saved; with their
// reference copies in Original/ when asked.
void SaveDatabase(const TempFolder& folder, bool withOriginal = false) {
  navdb::Database db;
  db.folder = folder.path();
  db.List(NavaidKind::Ndb).AddLine(NdbLine("ABC", "ALPHA", 48.0));
  db.List(NavaidKind::Ndb).AddLine(NdbLine("ABC", "BRAVO", 40.0));
  db.List(NavaidKind::Ndb).AddLine(NdbLine("XYZ", "XRAY", 45.0));
  navdb::RebuildIndex(db.lists, db.index, {});
  ASSERT_TRUE(navdb::SaveDatabase(db, {}));
  if (!withOriginal) return;
  fs::create_directory(folder / "Original");
  for (const char* name : {"ndb.dat", "vor.dat", "apt.dat", "int.dat", "idx.dat"}) {
    fs::copy_file(folder / name, folder / "Original" / name);
  }
}

CliRun Cli(const TempFolder& folder, std::vector<std::string> args, const std::string& input = "",
           bool terminal = false) {
  args.insert(args.begin(), {"--navdata", folder.path().string()});
  return RunCli(args, input, terminal);
}

std::vector<navdb::JournalRecord> Journal(const TempFolder& folder) {
  return navdb::ReadJournalFile(folder.path())->records;
}

TEST(EntryCli, ModifyAddAndDeleteGoThroughTheEditorAndTheJournal) {
  TempFolder folder;
  SaveDatabase(folder);
  const std::string alpha = NdbLine("ABC", "ALPHA", 48.0);
  const std::string moved = navdb::BuildNdbLine(
      {"ABC", "ALPHA", "376.5", navdb::FormatLatitude(48.0), navdb::FormatLongitude(2.0), 100, 25});

  // An identifier of two entries: listed with their --line numbers, nothing changed.
  const std::string ndbBefore = folder.Read("ndb.dat");
  CliRun run = Cli(folder, {"entry", "modify", "ndb", "ABC", "freq=376.5"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err,
            "skat-cli entry: 2 NDBs have the identifier ABC; choose one with --name "
            "NAME or --line N:\n  --line 1  " +
                Utf8(alpha) + "\n  --line 2  " + Utf8(NdbLine("ABC", "BRAVO", 40.0)) + "\n");
  EXPECT_EQ(folder.Read("ndb.dat"), ndbBefore);
  EXPECT_FALSE(folder.Exists("edits.journal"));

  run = Cli(folder, {"entry", "modify", "ndb", "ABC", "--name", "alpha", "freq=376.5"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Before: " + Utf8(alpha) + "\nAfter:  " + Utf8(moved) + "\n");
  std::vector<navdb::JournalRecord> journal = Journal(folder);
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].action, navdb::JournalAction::Modify);
  EXPECT_EQ(journal[0].before, alpha);
  EXPECT_EQ(journal[0].after, moved);

  // Decimal degrees and the DMS forms give the same line.
  const std::string added = navdb::BuildNdbLine({"NEW", "NEW ONE", "400.0",
                                                 "N48"
                                                 "\xB0"
                                                 "51'24.00",
                                                 "W001"
                                                 "\xB0"
                                                 "30'00.00",
                                                 50, 20});
  for (const std::string lat : {"lat=48.856666667", "lat=N48°51'24.00", "lat=N48 51 24.00"}) {
    SCOPED_TRACE(lat);
    run = Cli(folder, {"entry", "add", "ndb", "id=NEW", "name=NEW ONE", "freq=400", lat, "lon=-1.5",
                       "alt=50", "range=20"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Added: " + Utf8(added) + "\n");
    run = Cli(folder, {"entry", "delete", "ndb", "NEW", "--yes"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Deleted: " + Utf8(added) + "\n");
  }
  journal = Journal(folder);
  ASSERT_EQ(journal.size(), 7u);
  EXPECT_EQ(journal[5].action, navdb::JournalAction::Add);
  EXPECT_EQ(journal[6].action, navdb::JournalAction::Delete);
  EXPECT_EQ(journal[6].before, added);

  // A delete without --yes and without a terminal is the editor's No.
  run = Cli(folder, {"entry", "delete", "ndb", "XYZ"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(Journal(folder).size(), 7u);

  run = Cli(folder, {"entry", "show", "ndb", "ABC", "--line", "1"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "line 1: " + Utf8(moved) +
                         "\n  id=ABC name=ALPHA freq=376.5 lat=N48:00:00.00 lon=E002:00:00.00 "
                         "alt=00100 range=025\n");
}

TEST(EntryCli, AValueTheBoxesCannotHoldChangesNothing) {
  TempFolder folder;
  SaveDatabase(folder);
  const std::string ndbBefore = folder.Read("ndb.dat");
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"modify", "ndb", "XYZ", "name=A NAME FAR TOO LONG FOR ITS BOX"},
       "name: 'A NAME FAR TOO LONG FOR ITS BOX' is too long: the box holds 24 characters"},
      {{"modify", "ndb", "XYZ", "alt=123456"}, "alt: '123456' is too long"},
      {{"modify", "ndb", "XYZ", "freq=37x"}, "freq: '37x' is not a frequency"},
      {{"modify", "ndb", "XYZ", "lat=91"}, "lat: '91' is not a latitude"},
      {{"modify", "ndb", "XYZ", "lat=N48°61'00.00"}, "lat: 'N48°61'00.00' is not a latitude"},
      {{"modify", "ndb", "XYZ", "name=日本"}, "cannot hold"},
      {{"modify", "ndb", "XYZ", "runway=09"}, "no field 'runway' for ndb"},
      {{"add", "ndb", "id=AB", "id=CD"}, "field 'id' given twice"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    std::vector<std::string> args = {"entry"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliRun run = Cli(folder, args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  // A refused value is told alone, without the usage that a wrong form gets.
  EXPECT_EQ(Cli(folder, {"entry", "modify", "ndb", "XYZ", "range=1000"}).err,
            "skat-cli entry: range: '1000' is too long: the box holds 3 characters\n");
  EXPECT_EQ(folder.Read("ndb.dat"), ndbBefore);
  EXPECT_FALSE(folder.Exists("edits.journal"));
  EXPECT_EQ(Cli(folder, {"entry", "modify", "ndb", "QQQ", "alt=1"}).exitCode, 1);
}

TEST(JournalCli, ListShowDropAndExport) {
  TempFolder folder;
  SaveDatabase(folder);
  ASSERT_EQ(Cli(folder, {"entry", "modify", "ndb", "XYZ", "alt=777"}).exitCode, 0);
  ASSERT_EQ(Cli(folder, {"entry", "delete", "ndb", "ABC", "--line", "2", "--yes"}).exitCode, 0);
  const std::vector<navdb::JournalRecord> records = Journal(folder);
  ASSERT_EQ(records.size(), 2u);
  std::string xyz = records[0].after;
  while (xyz.back() == ' ') xyz.pop_back();
  std::string bravo = records[1].before;

  CliRun run = Cli(folder, {"journal", "list"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "1  " + records[0].timeUtc + " modify ndb  " + Utf8(xyz) + "\n2  " +
                         records[1].timeUtc + " delete ndb  " + Utf8(bravo) + "\n");
  run = Cli(folder, {"journal", "show", "2"});
  EXPECT_EQ(run.out, records[1].timeUtc + " delete ndb\n- " + Utf8(bravo) + "\n");
  EXPECT_EQ(Cli(folder, {"journal", "show", "3"}).err,
            "skat-cli journal: no record 3: the journal holds 2 records\n");

  run = Cli(folder, {"journal", "export", (folder / "copy.journal").string()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(folder.Read("copy.journal"), folder.Read("edits.journal"));

  run = Cli(folder, {"journal", "drop", "1"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(Journal(folder), std::vector{records[1]});
}

// "restore" brings back the reference copies; the hand edits are applied
// to them, and one that meets another version is settled by --journal.
TEST(JournalCli, RestoreReplaysTheJournalAndSettlesConflictsByPolicy) {
  for (const std::string policy : {"skip", "apply", "ask"}) {
    SCOPED_TRACE(policy);
    TempFolder folder;
    SaveDatabase(folder, true);
    ASSERT_EQ(Cli(folder, {"entry", "modify", "ndb", "XYZ", "alt=777"}).exitCode, 0);
    ASSERT_EQ(Cli(folder, {"entry", "modify", "ndb", "ABC", "--name", "ALPHA", "alt=555"}).exitCode,
              0);
    const std::string edited = folder.Read("ndb.dat");
    // The reference ALPHA is another version than the one edited.
    navdb::Database original;
    original.folder = folder / "Original";
    original.List(NavaidKind::Ndb).AddLine(NdbLine("ABC", "ALPHA", 48.001));
    original.List(NavaidKind::Ndb).AddLine(NdbLine("ABC", "BRAVO", 40.0));
    original.List(NavaidKind::Ndb).AddLine(NdbLine("XYZ", "XRAY", 45.0));
    navdb::RebuildIndex(original.lists, original.index, {});
    ASSERT_TRUE(navdb::SaveDatabase(original, {}));

    const CliRun run = Cli(folder, {"restore", "--yes", "--journal=" + policy}, "a\n", true);
    const std::string conflict =
        "Record 2 (modify ndb, " + Journal(folder)[1].timeUtc +
        ") could not be replayed: the NDB is there in another version than the one edited.\n";
    EXPECT_NE(run.out.find(conflict), std::string::npos) << run.out;
    navdb::Database db;
    db.folder = folder.path();
    navdb::LoadDatabase(db, {});
    EXPECT_EQ(db.List(NavaidKind::Ndb).GetLine(2).substr(69, 5), "00777");  // XYZ, replayed
    const std::string alphaAlt(db.List(NavaidKind::Ndb).GetLine(0).substr(69, 5));
    if (policy == "skip") {
      EXPECT_EQ(run.exitCode, 1);
      EXPECT_NE(run.out.find("  Kept in the journal for later.\n"), std::string::npos);
      EXPECT_NE(run.out.find("Hand edits of edits.journal: 1 applied, 0 already in the database, "
                             "1 kept for later, 0 dropped.\n"),
                std::string::npos)
          << run.out;
      EXPECT_EQ(alphaAlt, "00100");
    } else {
      EXPECT_EQ(run.exitCode, 0) << run.err;
      EXPECT_NE(run.out.find("  Applied anyway.\n"), std::string::npos);
      EXPECT_EQ(alphaAlt, "00555");
      EXPECT_EQ(folder.Read("ndb.dat"), edited);
    }
    if (policy == "ask") {
      EXPECT_NE(run.err.find("Apply anyway, drop the record, or keep it for later? [a/d/K] "),
                std::string::npos);
    }
    EXPECT_EQ(Journal(folder).size(), 2u);  // nothing lost
  }
}

// "Rebuild database" on the command line: the scan writes the NDB list anew
// from the scenery, and the hand edits of its NDBs are applied again.
TEST(JournalCli, AnEditSurvivesARebuildingScan) {
  TempFolder navData, root;
  scenery_writer::BglScenery scenery;
  scenery.ndbs.push_back(testing_support::SceneryNdb("AB", 49.0));
  scenery.ndbs.push_back(testing_support::SceneryNdb("CD", 48.0));
  const std::vector<uint8_t> bytes = scenery_writer::WriteBglImage(scenery);
  root.Write("a.bgl", std::string(bytes.begin(), bytes.end()));
  const std::vector<std::string> rebuild = {"scan", root.path().string(), "--rebuild",
                                            "--journal=skip"};
  ASSERT_EQ(Cli(navData, {"scan", root.path().string()}).exitCode, 0);
  ASSERT_EQ(Cli(navData, {"entry", "modify", "ndb", "AB", "alt=777"}).exitCode, 0);
  ASSERT_EQ(Cli(navData, {"entry", "delete", "ndb", "CD", "--yes"}).exitCode, 0);
  const std::string edited = navData.Read("ndb.dat");

  const CliRun run = Cli(navData, rebuild);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("(The Intersection list will not be lost)\n\n2 hand edits of "
                         "edits.journal will be applied again after the rebuild.\n\nProceed ?\n"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.out.find("Hand edits of edits.journal: 2 applied, 0 already in the database, 0 "
                         "kept for later, 0 dropped.\n"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(navData.Read("ndb.dat"), edited);
  EXPECT_EQ(Journal(navData).size(), 2u);
}

}  // namespace
