#include "shell/core/edit_history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "navdb/database.h"
#include "navdb/journal_file.h"
#include "shell/core/editor_boxes.h"
#include "shell/core/entry_editor.h"
#include "shell/core/journal_replay.h"
#include "tests/support/navaid_lines.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace shell {
namespace {

using namespace navdb;
using testing_support::AirportLine;
using testing_support::NdbLine;
using testing_support::RecordingUi;
using testing_support::TempFolder;
using testing_support::VorLine;

const std::string kNdbAlpha = NdbLine("ABC", "ALPHA", 48.0, 2.0);
const std::string kNdbDelta = NdbLine("DEF", "DELTA", 47.0, 2.0);
const std::string kVorPon = VorLine("PON", "PONTOISE", "VOR/DME", 49.1, 2.0);
const std::string kVorNew = VorLine("XYZ", "NEW VOR", "VOR", 46.0, 3.0);
const std::string kRunwayGg = AirportLine("LFPG", "CHARLES DE GAULLE", "09L/27R", 90, 49.0, 2.5);
const std::string kRunwayOb = AirportLine("LFOB", "BEAUVAIS", "04 /22", 40, 49.4, 2.1);

std::vector<std::string> Lines(const Database& db, NavaidKind kind) {
  std::vector<std::string> lines;
  db.List(kind).ForEach([&](size_t, std::string_view line) { lines.emplace_back(line); });
  return lines;
}

std::array<std::vector<std::string>, 4> AllLines(const Database& db) {
  std::array<std::vector<std::string>, 4> all;
  for (NavaidKind kind : kAllKinds) all[IndexOf(kind)] = Lines(db, kind);
  return all;
}

// The lists a load shows: two NDBs, a VOR, two runways and, with no
// intersection, the placeholder.
Database Loaded() {
  Database db;
  for (const std::string& line : {kNdbAlpha, kNdbDelta}) db.List(NavaidKind::Ndb).AddLine(line);
  db.List(NavaidKind::Vor).AddLine(kVorPon);
  for (const std::string& line : {kRunwayGg, kRunwayOb}) db.List(NavaidKind::Airport).AddLine(line);
  AddPlaceholdersToEmptyLists(db);
  return db;
}

std::optional<size_t> RowOf(const Database& db, NavaidKind kind, const std::string& line) {
  std::optional<size_t> found;
  db.List(kind).ForEach([&](size_t row, std::string_view each) {
    if (each == line) found = row;
  });
  return found;
}

// The editors' changes, each noted as the window notes them.
struct Session {
  Database& db;
  EditHistory& history;
  RecordingUi ui;

  Session(Database& database, EditHistory& edits) : db(database), history(edits) {
    ui.defaultAnswer = MessageAnswer::Yes;
  }

  template <class Button>
  void Press(Button button, EditorSession& session) {
    const EditStart editStart = EditStartOf(db);
    ASSERT_EQ(button(db, session, ui), EditorOutcome::Close);
    history.NoteEdits(db, editStart);
  }
  void SetAltitude(NavaidKind kind, const std::string& line, const char* altitude) {
    EditorSession session = OpenEntryEditor(db, kind, RowOf(db, kind, line));
    UserEditsBox(kind, session.fields, EditorBox::Altitude, altitude);
    Press(ValidateEntry, session);
  }
  void Validate(NavaidKind kind, const std::string& line) {
    EditorSession session = OpenEntryEditor(db, kind, RowOf(db, kind, line));
    Press(ValidateEntry, session);
  }
  void Add(NavaidKind kind, const std::string& line) {
    Database source;
    source.List(kind).AddLine(line);
    EditorSession session = OpenEntryEditor(source, kind, 0);
    Press(AddEntry, session);
  }
  void Delete(NavaidKind kind, const std::string& line) {
    EditorSession session = OpenEntryEditor(db, kind, RowOf(db, kind, line));
    Press(DeleteEntry, session);
  }
};

std::string Replace(std::string line, size_t column, std::string_view text) {
  return line.replace(column, text.size(), text);
}

// The NDB's line after its altitude became 777 (columns 69-73).
const std::string kNdbAlpha777 = Replace(kNdbAlpha, 69, "00777");

TEST(EditHistory, ModifyAddDeleteUndoneToTheLoadedListsAndRedoneAgain) {
  Database db = Loaded();
  const auto loaded = AllLines(db);
  EditHistory history;
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());
  Session session(db, history);
  session.SetAltitude(NavaidKind::Ndb, kNdbAlpha, "777");
  session.Add(NavaidKind::Vor, kVorNew);
  session.Delete(NavaidKind::Airport, kRunwayGg);
  const auto edited = AllLines(db);
  const std::vector<JournalRecord> editRecords = db.unsavedEdits;
  ASSERT_EQ(editRecords.size(), 3u);
  ASSERT_EQ(history.UndoCount(), 3u);
  EXPECT_EQ(Lines(db, NavaidKind::Ndb), (std::vector{kNdbAlpha777, kNdbDelta}));

  // Back, the latest first; each record not saved yet is taken back.
  db.databaseModified = false;
  const std::vector<std::string> undoNames = {"delete runway LFPG 09L/27R", "add VOR XYZ",
                                              "modify NDB ABC"};
  const std::vector<std::pair<NavaidKind, size_t>> undoneRows = {
      {NavaidKind::Airport, 1}, {NavaidKind::Vor, 1}, {NavaidKind::Ndb, 0}};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(undoNames[i]);
    ASSERT_TRUE(history.CanUndo());
    EXPECT_EQ(StepName(history.NextUndo()), undoNames[i]);
    const platform::Result<StepDone> done = history.Undo(db);
    ASSERT_TRUE(done) << done.error().message;
    EXPECT_EQ(done->kind, undoneRows[i].first);
    EXPECT_EQ(done->row, undoneRows[i].second);
    EXPECT_EQ(done->entryRemoved, i == 1);  // the added VOR leaves; the others come back
    EXPECT_EQ(db.unsavedEdits.size(), 2 - i);
    EXPECT_EQ(StepName(history.NextRedo()), undoNames[i]);
  }
  EXPECT_EQ(AllLines(db), loaded);
  EXPECT_TRUE(db.unsavedEdits.empty());
  EXPECT_TRUE(db.databaseModified);
  EXPECT_FALSE(history.CanUndo());
  EXPECT_EQ(history.RedoCount(), 3u);
  EXPECT_FALSE(history.Undo(db));
  EXPECT_EQ(AllLines(db), loaded);

  // Forward again, the earliest first: the same changes, newly recorded.
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(undoNames[2 - i]);
    EXPECT_EQ(StepName(history.NextRedo()), undoNames[2 - i]);
    ASSERT_TRUE(history.Redo(db));
  }
  EXPECT_EQ(AllLines(db), edited);
  ASSERT_EQ(db.unsavedEdits.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(db.unsavedEdits[i].action, editRecords[i].action);
    EXPECT_EQ(db.unsavedEdits[i].kind, editRecords[i].kind);
    EXPECT_EQ(db.unsavedEdits[i].before, editRecords[i].before);
    EXPECT_EQ(db.unsavedEdits[i].after, editRecords[i].after);
  }
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.UndoCount(), 3u);
}

TEST(EditHistory, TheListsAreModifiedExactlyWhenTheyDifferFromTheLastLoadOrSave) {
  Database db = Loaded();  // as loaded: not modified
  EditHistory history;
  Session session(db, history);
  session.SetAltitude(NavaidKind::Ndb, kNdbAlpha, "777");
  session.Add(NavaidKind::Vor, kVorNew);
  EXPECT_TRUE(db.databaseModified);
  ASSERT_TRUE(history.Undo(db));
  EXPECT_TRUE(db.databaseModified);
  ASSERT_TRUE(history.Undo(db));
  EXPECT_FALSE(db.databaseModified);  // back to the loaded lists: nothing to save
  ASSERT_TRUE(history.Redo(db));
  EXPECT_TRUE(db.databaseModified);

  // Saved with the altitude changed: that is now the point without a *.
  db.databaseModified = false;
  ASSERT_TRUE(history.Undo(db));
  EXPECT_TRUE(db.databaseModified);  // the files hold the change just undone
  ASSERT_TRUE(history.Redo(db));
  EXPECT_FALSE(db.databaseModified);
  ASSERT_TRUE(history.Redo(db));
  EXPECT_TRUE(db.databaseModified);
  ASSERT_TRUE(history.Undo(db));
  EXPECT_FALSE(db.databaseModified);

  // A new change made below the saved point leaves it out of reach.
  ASSERT_TRUE(history.Undo(db));
  session.Delete(NavaidKind::Ndb, kNdbDelta);
  ASSERT_TRUE(history.Undo(db));
  EXPECT_TRUE(db.databaseModified);
  EXPECT_FALSE(history.CanUndo());

  // A failed undo changes nothing, the flag neither.
  session.SetAltitude(NavaidKind::Ndb, kNdbAlpha, "777");
  db.List(NavaidKind::Ndb).Clear();
  db.List(NavaidKind::Ndb).AddLine(kNdbAlpha);
  db.databaseModified = false;
  EXPECT_FALSE(history.Undo(db));
  EXPECT_FALSE(db.databaseModified);
}

TEST(EditHistory, ANewChangeAfterAnUndoDropsTheStepsToRedo) {
  Database db = Loaded();
  EditHistory history;
  Session session(db, history);
  session.SetAltitude(NavaidKind::Ndb, kNdbAlpha, "777");
  session.Delete(NavaidKind::Ndb, kNdbDelta);
  ASSERT_TRUE(history.Undo(db));
  EXPECT_EQ(history.RedoCount(), 1u);

  // A Validate that changes no line is no change: the redo stays.
  session.Validate(NavaidKind::Vor, kVorPon);
  EXPECT_EQ(Lines(db, NavaidKind::Vor), std::vector{kVorPon});
  EXPECT_EQ(history.UndoCount(), 1u);
  EXPECT_EQ(history.RedoCount(), 1u);

  session.Add(NavaidKind::Vor, kVorNew);
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(StepName(history.NextUndo()), "add VOR XYZ");
  ASSERT_TRUE(history.Undo(db));
  EXPECT_EQ(StepName(history.NextUndo()), "modify NDB ABC");
  ASSERT_TRUE(history.Undo(db));
  EXPECT_EQ(Lines(db, NavaidKind::Ndb), (std::vector{kNdbAlpha, kNdbDelta}));
  EXPECT_EQ(Lines(db, NavaidKind::Vor), std::vector{kVorPon});
  EXPECT_TRUE(db.unsavedEdits.empty());
  // The delete undone before the new change is not reachable any more.
  EXPECT_EQ(StepName(history.NextRedo()), "modify NDB ABC");
  ASSERT_TRUE(history.Redo(db));
  EXPECT_EQ(StepName(history.NextRedo()), "add VOR XYZ");
  ASSERT_TRUE(history.Redo(db));
  EXPECT_FALSE(history.CanRedo());
  EXPECT_FALSE(history.Redo(db));

  history.Clear();
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());
}

TEST(EditHistory, AStepWhoseLineChangedUnderItFailsAndChangesNothing) {
  Database db = Loaded();
  EditHistory history;
  Session session(db, history);
  session.SetAltitude(NavaidKind::Ndb, kNdbAlpha, "777");
  // The edited line changes by another hand.
  const std::string other = Replace(kNdbAlpha, 69, "00888");
  db.List(NavaidKind::Ndb).DeleteLine(*RowOf(db, NavaidKind::Ndb, kNdbAlpha777));
  db.List(NavaidKind::Ndb).AddLine(other);
  const auto before = AllLines(db);
  const std::vector<JournalRecord> records = db.unsavedEdits;
  db.databaseModified = false;

  const platform::Result<StepDone> undone = history.Undo(db);
  ASSERT_FALSE(undone);
  EXPECT_EQ(undone.error().message,
            "Can't undo modify NDB ABC: the NDB list no longer holds the line it takes out:\r" +
                kNdbAlpha777 + "\r\rThe database is left as it is.");
  EXPECT_EQ(AllLines(db), before);
  EXPECT_EQ(db.unsavedEdits, records);
  EXPECT_FALSE(db.databaseModified);
  EXPECT_EQ(history.UndoCount(), 1u);
  EXPECT_EQ(history.RedoCount(), 0u);

  // The same for a redo: the line it replaces is gone.
  db.List(NavaidKind::Ndb).DeleteLine(*RowOf(db, NavaidKind::Ndb, other));
  db.List(NavaidKind::Ndb).AddLine(kNdbAlpha777);
  ASSERT_TRUE(history.Undo(db));
  db.List(NavaidKind::Ndb).DeleteLine(*RowOf(db, NavaidKind::Ndb, kNdbAlpha));
  const platform::Result<StepDone> redone = history.Redo(db);
  ASSERT_FALSE(redone);
  EXPECT_EQ(redone.error().message,
            "Can't redo modify NDB ABC: the NDB list no longer holds the line it takes out:\r" +
                kNdbAlpha + "\r\rThe database is left as it is.");
  EXPECT_EQ(Lines(db, NavaidKind::Ndb), std::vector{kNdbDelta});
  EXPECT_EQ(history.RedoCount(), 1u);
}

TEST(EditHistory, AFullListRefusesTheDeletedEntryBack) {
  Database db = Loaded();
  EditHistory history;
  Session session(db, history);
  session.Delete(NavaidKind::Ndb, kNdbDelta);
  EntryList& ndbs = db.List(NavaidKind::Ndb);
  while (ndbs.Count() < ndbs.Capacity()) ndbs.AppendLine(kNdbAlpha);
  const size_t records = db.unsavedEdits.size();
  const platform::Result<StepDone> undone = history.Undo(db);
  ASSERT_FALSE(undone);
  EXPECT_EQ(undone.error().message,
            "Can't undo delete NDB DEF: the NDB list is full. A list holds at most 100,000 "
            "entries.\r\rThe database is left as it is.");
  EXPECT_EQ(ndbs.Count(), kMaxEntryRows);
  EXPECT_FALSE(RowOf(db, NavaidKind::Ndb, kNdbDelta));
  EXPECT_EQ(db.unsavedEdits.size(), records);
  EXPECT_TRUE(history.CanUndo());
}

TEST(EditHistory, AnEmptiedListShowsThePlaceholderAsAfterALoad) {
  Database db = Loaded();
  EditHistory history;
  Session session(db, history);
  const std::string fix = testing_support::IntersectionLine("ROMEO", 45.5, -73.1);
  session.Add(NavaidKind::Intersection, fix);
  EXPECT_EQ(Lines(db, NavaidKind::Intersection), std::vector{fix});
  ASSERT_TRUE(history.Undo(db));
  EXPECT_EQ(Lines(db, NavaidKind::Intersection), std::vector<std::string>{"(no data found)"});
  EXPECT_EQ(db.List(NavaidKind::Intersection).EntryCount(), 0u);
  ASSERT_TRUE(history.Redo(db));
  EXPECT_EQ(Lines(db, NavaidKind::Intersection), std::vector{fix});
}

TEST(EditHistory, NamesSayTheActionKindAndEntry) {
  const std::string renamed = Replace(kNdbAlpha, 0, "XY   ");  // the identifier's five columns
  const std::string nameOnly = Replace(kNdbAlpha, 0, "     ");
  EXPECT_EQ(StepName({JournalAction::Delete, NavaidKind::Airport, kRunwayOb, "", {}}),
            "delete runway LFOB 04/22");
  EXPECT_EQ(StepName({JournalAction::Modify, NavaidKind::Ndb, kNdbAlpha, renamed, {}}),
            "modify NDB ABC to XY");
  EXPECT_EQ(StepName({JournalAction::Modify, NavaidKind::Ndb, kNdbAlpha, kNdbAlpha777, {}}),
            "modify NDB ABC");
  EXPECT_EQ(StepName({JournalAction::Add, NavaidKind::Ndb, "", nameOnly, {}}), "add NDB ALPHA");
  EXPECT_EQ(StepName({JournalAction::Add,
                      NavaidKind::Intersection,
                      "",
                      testing_support::IntersectionLine("ROMEO", 45.5, -73.1),
                      {}}),
            "add intersection ROMEO");
}

// After a save the records are in the journal: an undo is then a change of
// its own, and a redo before the next save takes that one back. Whatever
// the turns, the journal replays onto the loaded files to the lists shown.
TEST(EditHistory, TheJournalReplaysToTheListsAfterUndoAcrossSaves) {
  TempFolder folder;
  Database db = Loaded();
  db.folder = folder.path();
  RebuildIndex(db.lists, db.index, {});
  ASSERT_TRUE(SaveDatabase(db, {}));
  const std::string loadedNdbFile = folder.Read("ndb.dat");
  const std::string loadedIndexFile = folder.Read("idx.dat");

  EditHistory history;
  Session session(db, history);
  session.SetAltitude(NavaidKind::Ndb, kNdbAlpha, "777");
  session.Add(NavaidKind::Vor, kVorNew);
  session.Delete(NavaidKind::Airport, kRunwayOb);
  RebuildIndex(db.lists, db.index, {});
  ASSERT_TRUE(SaveDatabase(db, {}));
  ASSERT_EQ(ReadJournalFile(folder.path())->records.size(), 3u);

  ASSERT_TRUE(history.Undo(db));  // the runway comes back
  ASSERT_EQ(db.unsavedEdits.size(), 1u);
  EXPECT_EQ(db.unsavedEdits[0].action, JournalAction::Add);
  EXPECT_EQ(db.unsavedEdits[0].after, kRunwayOb);
  ASSERT_TRUE(history.Redo(db));  // and goes again: nothing is left to record
  EXPECT_TRUE(db.unsavedEdits.empty());
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(history.Undo(db));
  ASSERT_EQ(db.unsavedEdits.size(), 3u);
  EXPECT_EQ(db.unsavedEdits[1].action, JournalAction::Delete);
  EXPECT_EQ(db.unsavedEdits[1].before, kVorNew);
  EXPECT_EQ(db.unsavedEdits[2].before, kNdbAlpha777);
  EXPECT_EQ(db.unsavedEdits[2].after, kNdbAlpha);
  ASSERT_TRUE(history.Redo(db));  // the NDB's altitude again: its undo's record goes
  EXPECT_EQ(db.unsavedEdits.size(), 2u);
  RebuildIndex(db.lists, db.index, {});
  ASSERT_TRUE(SaveDatabase(db, {}));
  EXPECT_EQ(ReadJournalFile(folder.path())->records.size(), 5u);

  Database rebuilt = Loaded();
  const ReplayReport report = ReplayRecords(rebuilt, ReadJournalFile(folder.path())->records, {});
  EXPECT_TRUE(report.conflicts.empty());
  EXPECT_EQ(AllLines(rebuilt), AllLines(db));

  // Back to the loaded lists, saved: the files are as they were.
  ASSERT_TRUE(history.Undo(db));
  RebuildIndex(db.lists, db.index, {});
  ASSERT_TRUE(SaveDatabase(db, {}));
  EXPECT_EQ(folder.Read("ndb.dat"), loadedNdbFile);
  EXPECT_EQ(folder.Read("idx.dat"), loadedIndexFile);
  Database replayed = Loaded();
  (void)ReplayRecords(replayed, ReadJournalFile(folder.path())->records, {});
  EXPECT_EQ(AllLines(replayed), AllLines(Loaded()));
}

}  // namespace
}  // namespace shell
