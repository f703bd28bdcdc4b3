#include "shell/core/edit_history.h"

#include <string_view>
#include <utility>

#include "navdb/entry_lines.h"
#include "navdb/journal_file.h"
#include "platform/text_columns.h"
#include "shell/core/entry_search.h"
#include "shell/core/journal_replay.h"

namespace shell {
namespace {

using navdb::Database;
using navdb::EntryList;
using navdb::JournalAction;
using navdb::NavaidKind;

// The list's name as the editors' messages say it.
std::string_view ListName(NavaidKind kind) {
  switch (kind) {
    case NavaidKind::Ndb:
      return "NDB list";
    case NavaidKind::Vor:
      return "VOR list";
    case NavaidKind::Airport:
      return "Airport list";
    case NavaidKind::Intersection:
      return "Intersection list";
  }
  return "list";
}

// What names an entry for the user: its identifier (its name when it has
// none), and for a runway its designations.
std::string EntryLabel(NavaidKind kind, std::string_view line) {
  const navdb::EntryFields fields = navdb::ParseEntryLine(kind, line);
  std::string label = fields.identifier.empty() ? fields.name : fields.identifier;
  if (kind == NavaidKind::Airport) {
    label += ' ';
    label += platform::TrimEnd(fields.designation);
    label += '/';
    label += platform::TrimEnd(fields.oppositeDesignation);
  }
  return label;
}

JournalAction Opposite(JournalAction action) {
  switch (action) {
    case JournalAction::Add:
      return JournalAction::Delete;
    case JournalAction::Delete:
      return JournalAction::Add;
    case JournalAction::Modify:
      break;
  }
  return JournalAction::Modify;
}

// One turn of a step: the line that leaves its list and the line that
// comes (an empty text: none), and the words of a failure.
struct Turn {
  NavaidKind kind;
  std::string_view leaving;
  std::string_view coming;
  std::string failureHead;  // "Can't undo modify NDB ABC"
};

platform::Error TurnFailure(const Turn& turn, const std::string& why) {
  return platform::Failure(turn.failureHead + ": " + why + "\r\rThe database is left as it is.");
}

// Makes the turn in its list, or nothing at all. A list left empty shows
// the placeholder again, as after a load; a line coming into a list that
// holds only the placeholder takes its place, as in the editors.
platform::Result<StepDone> MakeTurn(Database& db, const Turn& turn) {
  EntryList& list = db.List(turn.kind);
  std::optional<size_t> leavingRow;
  if (!turn.leaving.empty()) {
    leavingRow = RowOfLine(list, turn.leaving);
    if (!leavingRow) {
      return TurnFailure(turn, "the " + std::string(ListName(turn.kind)) +
                                   " no longer holds the line it takes out:\r" +
                                   std::string(turn.leaving));
    }
  }
  const bool roomNeeded = !leavingRow && !turn.coming.empty() && !list.HoldsOnlyPlaceholder();
  if (roomNeeded && list.Count() >= list.Capacity()) {
    return TurnFailure(turn, "the " + std::string(ListName(turn.kind)) + " is full. " +
                                 std::string(navdb::kListLimitText));
  }
  StepDone done{turn.kind, leavingRow.value_or(0), turn.coming.empty()};
  if (leavingRow) list.DeleteLine(*leavingRow);
  if (!turn.coming.empty()) {
    if (list.HoldsOnlyPlaceholder()) list.DeleteLine(0);
    const std::optional<size_t> row = list.AddLine(turn.coming);
    if (!row) {
      // Only a line longer than the list takes comes here: a room check
      // above stands for every other refusal. The line that left goes back.
      if (leavingRow) (void)list.AddLine(turn.leaving);
      if (list.Empty()) list.AppendLine(navdb::kPlaceholderLine);
      return TurnFailure(turn, "the " + std::string(ListName(turn.kind)) +
                                   " cannot take the line:\r" + std::string(turn.coming));
    }
    done.row = *row;
  }
  if (list.Empty()) list.AppendLine(navdb::kPlaceholderLine);
  return done;
}

// The journal follows the turn: the step's record not saved yet is taken
// back, as if its change had never been made; else the turn is a change of
// its own.
void NoteTurn(Database& db, EditStep& step, navdb::JournalRecord record) {
  if (step.unsavedRecord && navdb::ForgetUnsavedEdit(db, *step.unsavedRecord)) {
    step.unsavedRecord.reset();
    return;
  }
  db.unsavedEdits.push_back(record);
  step.unsavedRecord = std::move(record);
}

}  // namespace

std::string StepName(const EditStep& step) {
  std::string label;
  switch (step.action) {
    case JournalAction::Add:
      label = EntryLabel(step.kind, step.after);
      break;
    case JournalAction::Delete:
      label = EntryLabel(step.kind, step.before);
      break;
    case JournalAction::Modify: {
      // A change of the identifier names both, the old one first.
      const std::string beforeLabel = EntryLabel(step.kind, step.before);
      label = EntryLabel(step.kind, step.after);
      if (beforeLabel != label) label = beforeLabel + " to " + label;
      break;
    }
  }
  return std::string(navdb::ActionName(step.action)) + ' ' + std::string(EntryNoun(step.kind)) +
         ' ' + label;
}

EditStart EditStartOf(const Database& db) {
  return {db.unsavedEdits.size(), db.databaseModified};
}

void EditHistory::NoteEdits(const Database& db, EditStart start) {
  if (!start.modified) savedAtSteps_ = undoSteps_.size();
  if (db.unsavedEdits.size() <= start.records) return;
  // The steps to redo are dropped: a saved point among them is out of reach.
  if (savedAtSteps_ && *savedAtSteps_ > undoSteps_.size()) savedAtSteps_.reset();
  for (size_t i = start.records; i < db.unsavedEdits.size(); ++i) {
    const navdb::JournalRecord& record = db.unsavedEdits[i];
    undoSteps_.push_back({record.action, record.kind, record.before, record.after, record});
  }
  redoSteps_.clear();
}

platform::Result<StepDone> EditHistory::Undo(Database& db) {
  if (undoSteps_.empty()) return platform::Failure("There is nothing to undo.");
  EditStep& step = undoSteps_.back();
  const Turn turn{step.kind, step.after, step.before, "Can't undo " + StepName(step)};
  NoteSavedPoint(db);
  platform::Result<StepDone> done = MakeTurn(db, turn);
  if (!done) return done;
  NoteTurn(db, step,
           navdb::MakeJournalRecord(Opposite(step.action), step.kind, step.after, step.before));
  redoSteps_.push_back(std::move(step));
  undoSteps_.pop_back();
  SetModified(db);
  return done;
}

platform::Result<StepDone> EditHistory::Redo(Database& db) {
  if (redoSteps_.empty()) return platform::Failure("There is nothing to redo.");
  EditStep& step = redoSteps_.back();
  const Turn turn{step.kind, step.before, step.after, "Can't redo " + StepName(step)};
  NoteSavedPoint(db);
  platform::Result<StepDone> done = MakeTurn(db, turn);
  if (!done) return done;
  NoteTurn(db, step, navdb::MakeJournalRecord(step.action, step.kind, step.before, step.after));
  undoSteps_.push_back(std::move(step));
  redoSteps_.pop_back();
  SetModified(db);
  return done;
}

void EditHistory::Clear() {
  undoSteps_.clear();
  redoSteps_.clear();
  savedAtSteps_.reset();
}

void EditHistory::NoteSavedPoint(const Database& db) {
  if (!db.databaseModified) savedAtSteps_ = undoSteps_.size();
}

void EditHistory::SetModified(Database& db) const {
  db.databaseModified = savedAtSteps_ != undoSteps_.size();
}

}  // namespace shell
