#include "shell/core/journal_replay.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "navdb/database.h"
#include "navdb/journal_file.h"
#include "shell/core/editor_boxes.h"
#include "shell/core/entry_editor.h"
#include "tests/support/navaid_lines.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace shell {
namespace {

using namespace navdb;
using testing_support::RecordingUi;
using testing_support::TempFolder;

constexpr int kKilled = 86;

// Per kind: an entry to modify, one to delete, and one the user adds.
struct KindLines {
  NavaidKind kind;
  std::string modified, deleted, added;
};

std::array<KindLines, 4> Lines() {
  using namespace testing_support;
  return {{{NavaidKind::Ndb, NdbLine("ABC", "ALPHA", 48.0, 2.0), NdbLine("DEF", "DELTA", 47.0, 2.0),
            NdbLine("GHI", "GOLF", 46.0, 2.0)},
           {NavaidKind::Vor, VorLine("ABV", "ALPHA VOR", "VOR/DME", 48.0, 3.0),
            VorLine("DEV", "DELTA VOR", "VOR", 47.0, 3.0),
            VorLine("GHV", "GOLF VOR", "VOR", 46.0, 3.0)},
           {NavaidKind::Airport, AirportLine("LFAA", "ALPHA FIELD", "09", 90, 48.0, 4.0),
            AirportLine("LFDD", "DELTA FIELD", "18", 180, 47.0, 4.0),
            AirportLine("LFGG", "GOLF FIELD", "05", 50, 46.0, 4.0)},
           {NavaidKind::Intersection, IntersectionLine("ALFIX", 48.0, 5.0),
            IntersectionLine("DEFIX", 47.0, 5.0), IntersectionLine("GOFIX", 46.0, 5.0)}}};
}

// The database as a scan builds it: every kind's entry to modify and to delete.
void SaveScanned(const TempFolder& folder) {
  Database db;
  db.folder = folder.path();
  for (const KindLines& lines : Lines()) {
    db.List(lines.kind).AddLine(lines.modified);
    db.List(lines.kind).AddLine(lines.deleted);
  }
  RebuildIndex(db.lists, db.index, {});
  ASSERT_TRUE(SaveDatabase(db, {}));
}

Database Loaded(const TempFolder& folder) {
  Database db;
  db.folder = folder.path();
  LoadDatabase(db, {});
  return db;
}

std::optional<size_t> Row(const Database& db, NavaidKind kind, std::string_view line) {
  std::optional<size_t> found;
  db.List(kind).ForEach([&](size_t row, std::string_view each) {
    if (each == line) found = row;
  });
  return found;
}

// In every kind, through the editors: the altitude of one entry changed to
// 777, one entry deleted, one added.
void EditEveryKind(Database& db) {
  RecordingUi ui;
  ui.defaultAnswer = MessageAnswer::Yes;
  for (const KindLines& lines : Lines()) {
    EditorSession modify = OpenEntryEditor(db, lines.kind, Row(db, lines.kind, lines.modified));
    UserEditsBox(lines.kind, modify.fields, EditorBox::Altitude, "777");
    ASSERT_EQ(ValidateEntry(db, modify, ui), EditorOutcome::Close);
    EditorSession remove = OpenEntryEditor(db, lines.kind, Row(db, lines.kind, lines.deleted));
    ASSERT_EQ(DeleteEntry(db, remove, ui), EditorOutcome::Close);
    Database source;
    source.List(lines.kind).AddLine(lines.added);
    EditorSession add = OpenEntryEditor(source, lines.kind, 0);
    ASSERT_EQ(AddEntry(db, add, ui), EditorOutcome::Close);
  }
}

std::vector<std::string> ListLines(const Database& db, NavaidKind kind) {
  std::vector<std::string> lines;
  db.List(kind).ForEach([&](size_t, std::string_view line) { lines.emplace_back(line); });
  std::sort(lines.begin(), lines.end());
  return lines;
}

TEST(JournalReplay, EveryEditOfEveryKindSurvivesARebuild) {
  TempFolder folder;
  SaveScanned(folder);
  Database db = Loaded(folder);
  EditEveryKind(db);
  ASSERT_EQ(db.unsavedEdits.size(), 12u);
  RebuildIndex(db.lists, db.index, {});
  ASSERT_TRUE(SaveDatabase(db, {}));
  ASSERT_TRUE(db.unsavedEdits.empty());
  std::array<std::vector<std::string>, 4> edited;
  for (const NavaidKind kind : kAllKinds) edited[IndexOf(kind)] = ListLines(db, kind);
  EXPECT_EQ(ReadJournalFile(folder.path())->records.size(), 12u);

  SaveScanned(folder);  // the rebuild brings back the scanned versions
  Database rebuilt = Loaded(folder);
  int asked = 0;
  const platform::Result<JournalReplay> replay =
      ReplayJournalFile(rebuilt, [&](const ReplayConflict&) {
        ++asked;
        return ConflictChoice::KeepForLater;
      });
  ASSERT_TRUE(replay);
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(replay->report.appliedRecords, 12u);
  EXPECT_TRUE(replay->report.listsChanged);
  EXPECT_TRUE(rebuilt.databaseModified);
  for (const NavaidKind kind : kAllKinds) {
    EXPECT_EQ(ListLines(rebuilt, kind), edited[IndexOf(kind)]) << JournalKindWord(kind);
  }
  // Replayed again onto the edited lists, nothing changes.
  const platform::Result<JournalReplay> again = ReplayJournalFile(rebuilt, {});
  EXPECT_EQ(again->report.carriedRecords, 12u);
  EXPECT_FALSE(again->report.listsChanged);
  EXPECT_EQ(ReadJournalFile(folder.path())->records.size(), 12u);  // the journal keeps them all
}

// A rescan that brought another version of an edited entry: the change is
// a conflict, told with what was found, and the decision is carried out.
TEST(JournalReplay, AConflictingRescanIsReportedAndTheChoiceApplied) {
  using testing_support::NdbLine;
  const std::string scanned = NdbLine("ABC", "ALPHA", 48.0, 2.0);
  const std::string rescanned = NdbLine("ABC", "ALPHA", 48.001, 2.0);  // moved 0.06 NM
  const std::string edited = NdbLine("ABC", "ALPHA", 48.0, 2.5);
  const std::string deleted = NdbLine("XYZ", "XRAY", 10.0, 2.0);
  const std::vector<JournalRecord> records = {
      {"2026-12-08T09:00:00Z", JournalAction::Modify, NavaidKind::Ndb, scanned, edited},
      {"2026-12-08T09:01:00Z", JournalAction::Delete, NavaidKind::Ndb, deleted, ""}};
  for (const ConflictChoice choice :
       {ConflictChoice::ApplyAnyway, ConflictChoice::DropRecord, ConflictChoice::KeepForLater}) {
    SCOPED_TRACE(static_cast<int>(choice));
    TempFolder folder;
    folder.Write("edits.journal", EncodeJournal(records));
    Database db;
    db.folder = folder.path();
    db.List(NavaidKind::Ndb).AddLine(rescanned);
    std::vector<ReplayConflict> seen;
    const platform::Result<JournalReplay> replay =
        ReplayJournalFile(db, [&](const ReplayConflict& conflict) {
          seen.push_back(conflict);
          return choice;
        });
    ASSERT_TRUE(replay);
    ASSERT_EQ(seen.size(), 1u);  // the delete of an entry that is not there is done
    EXPECT_EQ(seen[0].recordNumbers, std::vector<size_t>{1});
    EXPECT_EQ(seen[0].problem, ReplayProblem::OtherVersion);
    EXPECT_EQ(seen[0].foundLine, rescanned);
    EXPECT_EQ(ProblemText(seen[0]), "the NDB is there in another version than the one edited");
    EXPECT_EQ(replay->report.carriedRecords, 1u);
    const std::vector<JournalRecord> kept = ReadJournalFile(folder.path())->records;
    switch (choice) {
      case ConflictChoice::ApplyAnyway:
        EXPECT_EQ(ListLines(db, NavaidKind::Ndb), std::vector{edited});
        EXPECT_EQ(kept, records);
        EXPECT_EQ(replay->report.KeptRecords(), 0u);
        break;
      case ConflictChoice::DropRecord:
        EXPECT_EQ(ListLines(db, NavaidKind::Ndb), std::vector{rescanned});
        EXPECT_EQ(kept, std::vector{records[1]});
        break;
      case ConflictChoice::KeepForLater:
        EXPECT_EQ(ListLines(db, NavaidKind::Ndb), std::vector{rescanned});
        EXPECT_EQ(kept, records);
        EXPECT_EQ(replay->report.KeptRecords(), 1u);
        EXPECT_FALSE(db.databaseModified);
        break;
    }
  }

  // The entry gone altogether, and an add that meets a namesake 0.06 NM
  // away, are conflicts too; a namesake farther than 0.5 NM is another entry.
  Database empty;
  const std::string far = NdbLine("ABC", "ALPHA", 48.01, 2.0);  // 0.6 NM
  empty.List(NavaidKind::Ndb).AddLine(far);
  const ReplayReport gone = ReplayRecords(
      empty,
      std::vector<JournalRecord>{
          {"2026-12-08T09:00:00Z", JournalAction::Modify, NavaidKind::Ndb, deleted, edited},
          {"2026-12-08T09:02:00Z", JournalAction::Add, NavaidKind::Ndb, "", scanned},
          {"2026-12-08T09:03:00Z", JournalAction::Add, NavaidKind::Ndb, "", rescanned}},
      {});
  ASSERT_EQ(gone.conflicts.size(), 2u);
  EXPECT_EQ(ProblemText(gone.conflicts[0]),
            "the NDB is gone: no NDB of this identifier and name is where it was");
  EXPECT_EQ(gone.conflicts[1].recordNumbers, std::vector<size_t>{3});
  EXPECT_EQ(gone.conflicts[1].foundLine, scanned);
  EXPECT_EQ(ListLines(empty, NavaidKind::Ndb), (std::vector{scanned, far}));
}

// The journal is written and synced before the database files: a save killed
// right after it leaves files without the edit, and the next load's replay
// puts it back.
TEST(JournalReplay, AKillBetweenTheJournalAndTheSaveLosesNoEdit) {
  TempFolder folder;
  SaveScanned(folder);
  const std::string ndbBefore = folder.Read("ndb.dat");
  Database db = Loaded(folder);
  EditEveryKind(db);
  RebuildIndex(db.lists, db.index, {});
  std::array<std::vector<std::string>, 4> edited;
  for (const NavaidKind kind : kAllKinds) edited[IndexOf(kind)] = ListLines(db, kind);
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(SaveDatabase(db, {},
                           [](platform::FileStep step, const std::filesystem::path& path) {
                             if (step == platform::FileStep::Create && path.filename() == "ndb.dat")
                               ::_exit(kKilled);
                             return 0;
                           }),
              testing::ExitedWithCode(kKilled), "");
  ASSERT_EQ(folder.Read("ndb.dat"), ndbBefore);  // killed before any database file

  Database next = Loaded(folder);
  const platform::Result<JournalReplay> replay = ReplayJournalFile(next, {});
  ASSERT_TRUE(replay);
  EXPECT_EQ(replay->report.appliedRecords, 12u);
  for (const NavaidKind kind : kAllKinds) {
    EXPECT_EQ(ListLines(next, kind), edited[IndexOf(kind)]) << JournalKindWord(kind);
  }
}

// Records that undo each other, and an entry edited twice, are one change.
TEST(JournalReplay, AnEntryEditedSeveralTimesIsLookedForOnce) {
  using testing_support::NdbLine;
  const std::string a = NdbLine("ABC", "ALPHA", 48.0, 2.0);
  const std::string b = NdbLine("ABC", "ALPHA", 48.0, 2.1);
  const std::string c = NdbLine("ABC", "ALPHA", 48.0, 2.2);
  const std::string x = NdbLine("XYZ", "XRAY", 10.0, 2.0);
  Database db;
  db.List(NavaidKind::Ndb).AddLine(a);
  const ReplayReport report =
      ReplayRecords(db,
                    std::vector<JournalRecord>{
                        {"2026-12-08T09:00:00Z", JournalAction::Modify, NavaidKind::Ndb, a, b},
                        {"2026-12-08T09:01:00Z", JournalAction::Add, NavaidKind::Ndb, "", x},
                        {"2026-12-08T09:02:00Z", JournalAction::Modify, NavaidKind::Ndb, b, c},
                        {"2026-12-08T09:03:00Z", JournalAction::Delete, NavaidKind::Ndb, x, ""}},
                    {});
  EXPECT_EQ(report.appliedRecords, 2u);
  EXPECT_EQ(report.carriedRecords, 2u);  // the add and its delete
  EXPECT_TRUE(report.conflicts.empty());
  EXPECT_EQ(ListLines(db, NavaidKind::Ndb), std::vector{c});
}

}  // namespace
}  // namespace shell
