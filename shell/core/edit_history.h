// Undo and redo of the entry changes of a session: every change an entry
// editor's Validate, Add or Delete (or "Delete entry") made, one step each,
// back to the lists as they were loaded.
//
// A step is the change's kind and the entry's line before and after it, as
// its journal record holds them. Undo makes the inverse change with the
// list operations the editors use, so the list order and counts follow and
// the next save re-indexes the lists as after any edit. The edit journal
// stays in step with the lists: the record of a change not saved yet is
// taken back (it is never written), and a change already saved is answered
// by a record of its own, so a replay after a rebuild ends where the lists
// are. Scans, rebuilds, restores and loads write the lists anew and end the
// history (Clear).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "navdb/database.h"
#include "navdb/edit_journal.h"
#include "navdb/navaid_kind.h"
#include "platform/result.h"

namespace shell {

// One entry change that can be undone and made again.
struct EditStep {
  navdb::JournalAction action = navdb::JournalAction::Modify;
  navdb::NavaidKind kind = navdb::NavaidKind::Ndb;
  std::string before;  // the entry's line before the change; empty for an add
  std::string after;   // the entry's line after the change; empty for a delete
  // The record not saved yet of the step's latest turn, one way or the
  // other: the next turn takes it back instead of adding its opposite.
  std::optional<navdb::JournalRecord> unsavedRecord;
};

// "modify NDB ABC", "delete runway LFPG 09R/27L": what a step does, for
// the menu and the messages.
std::string StepName(const EditStep& step);

// The lists just before an entry change, for NoteEdits.
struct EditStart {
  size_t records = 0;     // the records of db.unsavedEdits then
  bool modified = false;  // db.databaseModified then
};
EditStart EditStartOf(const navdb::Database& db);

// Where an undo or redo left the entry it changed.
struct StepDone {
  navdb::NavaidKind kind = navdb::NavaidKind::Ndb;
  // The entry's row now, or the row it left when it was taken out.
  size_t row = 0;
  bool entryRemoved = false;
};

class EditHistory {
 public:
  // Takes the records an entry change added to `db.unsavedEdits` (those
  // after the first `start.records`) as steps, and drops the steps to redo:
  // a new change starts a new branch. A change that recorded nothing (a
  // Validate that changed no line) adds no step.
  void NoteEdits(const navdb::Database& db, EditStart start);

  bool CanUndo() const { return !undoSteps_.empty(); }
  bool CanRedo() const { return !redoSteps_.empty(); }
  // The step the next Undo (Redo) turns; only when there is one.
  const EditStep& NextUndo() const { return undoSteps_.back(); }
  const EditStep& NextRedo() const { return redoSteps_.back(); }
  size_t UndoCount() const { return undoSteps_.size(); }
  size_t RedoCount() const { return redoSteps_.size(); }

  // Undoes the latest step: the line it made goes, the line it replaced
  // comes back. The database is modified after it unless the lists are
  // back where they were last loaded or saved. Fails, with the lists, the
  // journal records and the history unchanged, when the list no longer
  // holds the line the step made or cannot take the line back (full).
  platform::Result<StepDone> Undo(navdb::Database& db);
  // Makes the latest undone step again, the same way.
  platform::Result<StepDone> Redo(navdb::Database& db);

  // Ends the history: the lists were written anew.
  void Clear();

 private:
  std::vector<EditStep> undoSteps_;
  std::vector<EditStep> redoSteps_;
  // How many steps were done when the lists were last what the files
  // hold (loaded, saved, or a scan's save), as far as the history can tell:
  // whenever a step comes or goes while the database is not modified, the
  // lists are the files. None when no such point is known or a new branch
  // left it behind.
  std::optional<size_t> savedAtSteps_;

  void NoteSavedPoint(const navdb::Database& db);
  void SetModified(navdb::Database& db) const;
};

}  // namespace shell
