#include "shell/core/journal_replay.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <utility>

#include "navdb/journal_file.h"
#include "shell/core/entry_search.h"

namespace shell {
namespace {

using navdb::EntryList;
using navdb::JournalAction;
using navdb::JournalRecord;
using navdb::NavaidKind;

// Indices of the records of one entry's history, in journal order: each
// record's line before is the line after of the record before it.
using Chain = std::vector<size_t>;

// The histories in the order of their first records.
std::vector<Chain> ChainsOf(std::span<const JournalRecord> records) {
  std::vector<Chain> chains;
  // Per kind, a history's last line after -> the history; the keys are
  // views of the records' own lines.
  std::array<std::unordered_map<std::string_view, size_t>, navdb::kAllKinds.size()> open;
  for (size_t i = 0; i < records.size(); ++i) {
    const JournalRecord& record = records[i];
    size_t chain = chains.size();
    if (record.action != JournalAction::Add) {
      auto& ofKind = open[navdb::IndexOf(record.kind)];
      const auto continued = ofKind.find(record.before);
      if (continued != ofKind.end()) {
        chain = continued->second;
        ofKind.erase(continued);
      }
    }
    if (chain == chains.size()) chains.emplace_back();
    chains[chain].push_back(i);
    if (record.action != JournalAction::Delete)
      open[navdb::IndexOf(record.kind)][record.after] = chain;
  }
  return chains;
}

// A history as one change, or nothing when it ends where it began.
std::optional<JournalRecord> ChangeOf(const Chain& chain, std::span<const JournalRecord> records) {
  const JournalRecord& first = records[chain.front()];
  const JournalRecord& last = records[chain.back()];
  if (first.before == last.after) return std::nullopt;
  const JournalAction action = first.before.empty() ? JournalAction::Add
                               : last.after.empty() ? JournalAction::Delete
                                                    : JournalAction::Modify;
  return JournalRecord{last.timeUtc, action, first.kind, first.before, last.after};
}

enum class Effect { Applied, Carried, Conflict };

struct Outcome {
  Effect effect = Effect::Applied;
  ReplayProblem problem = ReplayProblem::EntryGone;
  std::optional<size_t> otherRow;
};

Outcome Carried() {
  return {Effect::Carried, ReplayProblem::EntryGone, std::nullopt};
}

Outcome Conflict(ReplayProblem problem, std::optional<size_t> otherRow = std::nullopt) {
  return {Effect::Conflict, problem, otherRow};
}

// Makes the changes in the lists and notes whether it made any. Records
// that undo each other were joined into no change before, so a change made
// is nearly always a difference worth a save.
class Replayer {
 public:
  explicit Replayer(navdb::Database& db) : db_(db) {}

  Outcome Replay(const JournalRecord& change) {
    EntryList& list = db_.List(change.kind);
    switch (change.action) {
      case JournalAction::Modify:
        if (const std::optional<size_t> row = RowOfLine(list, change.before)) {
          // The line after may be there already: a rescan brought the old
          // line back beside the edit, and only the old line goes.
          Remove(change.kind, *row);
          if (RowOfLine(list, change.after) || Add(change.kind, change.after)) return {};
          Add(change.kind, change.before);
          return Conflict(ReplayProblem::ListFull);
        }
        if (RowOfLine(list, change.after)) return Carried();
        if (const std::optional<size_t> other =
                FindSameEntry(list, change.kind, change.before, false))
          return Conflict(ReplayProblem::OtherVersion, other);
        return Conflict(ReplayProblem::EntryGone);
      case JournalAction::Delete:
        if (const std::optional<size_t> row = RowOfLine(list, change.before)) {
          Remove(change.kind, *row);
          return {};
        }
        // Only an entry near where it was can be the deleted one again: a
        // namesake elsewhere is another entry.
        if (const std::optional<size_t> other =
                FindSameEntry(list, change.kind, change.before, true))
          return Conflict(ReplayProblem::OtherVersion, other);
        return Carried();
      case JournalAction::Add:
        if (RowOfLine(list, change.after)) return Carried();
        if (const std::optional<size_t> other =
                FindSameEntry(list, change.kind, change.after, true))
          return Conflict(ReplayProblem::OtherVersion, other);
        if (Add(change.kind, change.after)) return {};
        return Conflict(ReplayProblem::ListFull);
    }
    return Carried();
  }

  // The change over the other version, or where the entry was.
  bool ApplyAnyway(const JournalRecord& change, const Outcome& outcome) {
    if (outcome.otherRow && change.action != JournalAction::Add) {
      Remove(change.kind, *outcome.otherRow);
    }
    return change.action == JournalAction::Delete || Add(change.kind, change.after);
  }

  bool ListsChanged() const { return changed_; }

 private:
  void Remove(NavaidKind kind, size_t row) {
    EntryList& list = db_.List(kind);
    changed_ = true;
    list.DeleteLine(row);
  }

  bool Add(NavaidKind kind, std::string_view line) {
    EntryList& list = db_.List(kind);
    if (list.HoldsOnlyPlaceholder()) list.DeleteLine(0);
    if (!list.AddLine(line)) return false;
    changed_ = true;
    return true;
  }

  navdb::Database& db_;
  bool changed_ = false;
};

}  // namespace

std::string_view EntryNoun(NavaidKind kind) {
  switch (kind) {
    case NavaidKind::Ndb:
      return "NDB";
    case NavaidKind::Vor:
      return "VOR";
    case NavaidKind::Airport:
      return "runway";
    case NavaidKind::Intersection:
      return "intersection";
  }
  return "entry";
}

std::string ProblemText(const ReplayConflict& conflict) {
  const std::string noun(EntryNoun(conflict.change.kind));
  const std::string identity = conflict.change.kind == NavaidKind::Airport
                                   ? "identifier, name and designation"
                                   : "identifier and name";
  switch (conflict.problem) {
    case ReplayProblem::EntryGone:
      return "the " + noun + " is gone: no " + noun + " of this " + identity + " is where it was";
    case ReplayProblem::OtherVersion:
      return conflict.change.action == JournalAction::Add
                 ? "a " + noun + " of this " + identity + " is there already, in another version"
                 : "the " + noun + " is there in another version than the one edited";
    case ReplayProblem::ListFull:
      return "the " + noun + " list is full. " + std::string(navdb::kListLimitText);
  }
  return {};
}

std::vector<size_t> ReplayReport::DroppedRecords() const {
  std::vector<size_t> dropped;
  for (size_t i = 0; i < conflicts.size(); ++i) {
    if (choices[i] != ConflictChoice::DropRecord) continue;
    dropped.insert(dropped.end(), conflicts[i].recordNumbers.begin(),
                   conflicts[i].recordNumbers.end());
  }
  std::sort(dropped.begin(), dropped.end());
  return dropped;
}

size_t ReplayReport::KeptRecords() const {
  size_t kept = 0;
  for (size_t i = 0; i < conflicts.size(); ++i) {
    if (choices[i] == ConflictChoice::KeepForLater) kept += conflicts[i].recordNumbers.size();
  }
  return kept;
}

ReplayReport ReplayRecords(navdb::Database& db, std::span<const JournalRecord> records,
                           const ConflictDecider& decide) {
  ReplayReport report;
  Replayer replayer(db);
  for (const Chain& chain : ChainsOf(records)) {
    const std::optional<JournalRecord> change = ChangeOf(chain, records);
    if (!change) {
      report.carriedRecords += chain.size();
      continue;
    }
    const Outcome outcome = replayer.Replay(*change);
    if (outcome.effect != Effect::Conflict) {
      (outcome.effect == Effect::Applied ? report.appliedRecords : report.carriedRecords) +=
          chain.size();
      continue;
    }
    ReplayConflict conflict{{}, *change, outcome.problem, {}};
    for (const size_t index : chain) conflict.recordNumbers.push_back(index + 1);
    if (outcome.otherRow) conflict.foundLine = db.List(change->kind).GetLine(*outcome.otherRow);
    ConflictChoice choice = decide ? decide(conflict) : ConflictChoice::KeepForLater;
    if (choice == ConflictChoice::ApplyAnyway) {
      if (replayer.ApplyAnyway(*change, outcome)) {
        report.appliedRecords += chain.size();
      } else {
        choice = ConflictChoice::KeepForLater;  // the list is still full
      }
    }
    report.conflicts.push_back(std::move(conflict));
    report.choices.push_back(choice);
  }
  report.listsChanged = replayer.ListsChanged();
  return report;
}

ConflictDecider DecisionsByRecord(std::vector<std::pair<size_t, ConflictChoice>> choices) {
  return [choices = std::move(choices)](const ReplayConflict& conflict) {
    for (const auto& [recordNumber, choice] : choices) {
      if (recordNumber == conflict.recordNumbers.back()) return choice;
    }
    return ConflictChoice::KeepForLater;
  };
}

std::vector<ReplayConflict> ForeseeConflicts(const navdb::Database& db,
                                             std::span<const JournalRecord> records) {
  // Only the lists take part in a replay: the copy leaves the index out.
  navdb::Database scratch;
  scratch.lists = db.lists;
  std::vector<ReplayConflict> conflicts;
  ReplayRecords(scratch, records, [&](const ReplayConflict& conflict) {
    conflicts.push_back(conflict);
    return ConflictChoice::KeepForLater;
  });
  return conflicts;
}

std::string ReplaySummaryText(const ReplayReport& report) {
  return "Hand edits of " + std::string(navdb::kJournalFileName) + ": " +
         std::to_string(report.appliedRecords) + " applied, " +
         std::to_string(report.carriedRecords) + " already in the database, " +
         std::to_string(report.KeptRecords()) + " kept for later, " +
         std::to_string(report.DroppedRecords().size()) + " dropped.";
}

size_t HandEditsToReplay(const navdb::Database& db) {
  const platform::Result<navdb::JournalContents> read = navdb::ReadJournalFile(db.folder);
  return (read ? read->records.size() : 0) + db.unsavedEdits.size();
}

platform::Result<JournalReplay> ReplayJournalFile(navdb::Database& db,
                                                  const ConflictDecider& decide) {
  platform::Result<navdb::JournalUpdate> opened = navdb::OpenJournalFile(db.folder);
  if (!opened) return opened.error();
  const std::vector<JournalRecord>& read = opened->records;
  JournalReplay replay;
  replay.journalRecords = read.size();
  replay.setAside = opened->setAside;
  replay.report = ReplayRecords(db, read, decide);
  if (replay.report.listsChanged) db.databaseModified = true;
  const std::vector<size_t> dropped = replay.report.DroppedRecords();
  if (dropped.empty()) return replay;
  platform::Result<navdb::JournalUpdate> changed =
      navdb::ChangeJournalFile(db.folder, [&](std::vector<JournalRecord>& records) {
        // From the last, so that the numbers before stay; each only while it
        // is still the record that was replayed.
        for (auto number = dropped.rbegin(); number != dropped.rend(); ++number) {
          const size_t index = *number - 1;
          if (index < records.size() && records[index] == read[index]) {
            records.erase(records.begin() + static_cast<std::ptrdiff_t>(index));
          }
        }
      });
  if (!changed) replay.dropFailure = changed.error();
  return replay;
}

platform::Result<JournalReplay> ReplayMissingEdits(navdb::Database& db, const navdb::Reporter& ui,
                                                   std::string_view keptHint) {
  // Lists that lack a file the load could not read are not what the files
  // hold, and are never saved over them: there is nothing to mend.
  if (std::any_of(db.readFailures.begin(), db.readFailures.end(),
                  [](const std::string& failure) { return !failure.empty(); })) {
    return JournalReplay{};
  }
  const auto warn = [&ui](const std::string& text) {
    navdb::ShowMessage(ui, "Warning", text, navdb::MessageIcon::Warning, navdb::MessageButtons::Ok);
  };
  platform::Result<JournalReplay> replayed =
      ReplayJournalFile(db, [](const ReplayConflict&) { return ConflictChoice::KeepForLater; });
  if (!replayed) {
    warn(replayed.error().message +
         "\r\rThe hand edits it holds were not checked against the database files.");
    return replayed;
  }
  if (replayed->setAside) warn(navdb::SetAsideText(*replayed->setAside, replayed->journalRecords));
  const ReplayReport& report = replayed->report;
  if (report.listsChanged) {
    warn(
        "The database files did not hold every hand edit of edits.journal (a save was cut "
        "short, or the files were changed by another program): " +
        std::to_string(report.appliedRecords) +
        (report.appliedRecords == 1 ? " record was" : " records were") + " applied again.");
  }
  if (report.KeptRecords() > 0) {
    warn(std::to_string(report.KeptRecords()) +
         (report.KeptRecords() == 1 ? " record" : " records") +
         " of edits.journal could not be replayed (the entry is gone, or there in another "
         "version) and stay in the journal for later: " +
         std::string(keptHint));
  }
  return replayed;
}

}  // namespace shell
