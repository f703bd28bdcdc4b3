// Applying the edit journal again, after "Rebuild database", "Restore
// original DB" or a scan, or after a load that finds the database files
// without edits whose save was cut short.
//
// Records that continue each other (a change of the line an earlier record
// made) are replayed as one change of the entry, from its first line to its
// last, so that an entry edited many times is looked for once, in the
// version the files now hold. A change is
// - a modify: the line before is replaced where it is (removed, when the
//   line after is there as well: a rescan brought the old line back beside
//   it); with only the line after there, it is already done; else the entry
//   is looked for by identity (shell/core/entry_search.h): found, it is there
//   in another version; not found, it is gone. Both are conflicts.
// - a delete: the line before is removed where it is; else an entry of the
//   same identity is a conflict (another version), and no entry means done.
// - an add: done when the line is there; a conflict when an entry of the
//   same identity lies within 0.5 NM (another version); else it is added.
// A conflict is settled by the caller's decision: apply the change anyway,
// drop its records from the journal, or keep them for later.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "navdb/database.h"
#include "navdb/edit_journal.h"
#include "platform/result.h"

namespace shell {

enum class ReplayProblem {
  EntryGone,     // no entry of the identity of the line before
  OtherVersion,  // the entry is there, but in another version than recorded
  ListFull,      // the line after could not be added: the list is full
};

// A change that could not be replayed as it was recorded.
struct ReplayConflict {
  std::vector<size_t> recordNumbers;  // its records, numbered from 1 as in the journal
  navdb::JournalRecord change;        // from the first line before to the last line after
  ReplayProblem problem = ReplayProblem::EntryGone;
  std::string foundLine;  // the other version (OtherVersion)
};

// "NDB", "VOR", "runway", "intersection": an entry of `kind` in messages.
std::string_view EntryNoun(navdb::NavaidKind kind);

// "the NDB is gone: no entry with its identifier and name", ...
std::string ProblemText(const ReplayConflict& conflict);

enum class ConflictChoice { ApplyAnyway, DropRecord, KeepForLater };
using ConflictDecider = std::function<ConflictChoice(const ReplayConflict&)>;

struct ReplayReport {
  size_t appliedRecords = 0;  // records whose change was made (conflicts applied anyway too)
  size_t carriedRecords = 0;  // records whose change the lists already held
  std::vector<ReplayConflict> conflicts;
  std::vector<ConflictChoice> choices;  // the decision of each conflict
  // A line was added to or removed from the lists: the database needs a
  // save (the history of an entry that ends where it began changes nothing).
  bool listsChanged = false;

  // Record numbers of the conflicts the decisions dropped, ascending.
  std::vector<size_t> DroppedRecords() const;
  // Records that stay in the journal without their change made.
  size_t KeptRecords() const;
};

// Replays `records` onto the lists of `db`, asking `decide` about each
// conflict in journal order. Does not touch the journal or the files.
ReplayReport ReplayRecords(navdb::Database& db, std::span<const navdb::JournalRecord> records,
                           const ConflictDecider& decide);

// A decider for a front end that has asked its questions already: the
// choice for a conflict by its last record number; KeepForLater for any
// conflict it was not asked about.
ConflictDecider DecisionsByRecord(std::vector<std::pair<size_t, ConflictChoice>> choices);

// The conflicts a replay of `records` onto `db` would meet, found on a copy
// of its lists: a front end that asks about all of them at once does so
// before the replay and answers through DecisionsByRecord. A conflict that
// only an earlier choice brings about is then kept for later.
std::vector<ReplayConflict> ForeseeConflicts(const navdb::Database& db,
                                             std::span<const navdb::JournalRecord> records);

// "Hand edits of edits.journal: 2 applied, 0 already in the database, 1 kept
// for later, 0 dropped." (no line end): what both front ends say after a replay.
std::string ReplaySummaryText(const ReplayReport& report);

// How many hand edits a rebuild or a restore of `db` would replay: the
// records of its journal (up to any damage; none when it cannot be read)
// and the edits not saved yet, which join the journal before.
size_t HandEditsToReplay(const navdb::Database& db);

struct JournalReplay {
  ReplayReport report;
  size_t journalRecords = 0;                     // records the journal held
  std::optional<navdb::JournalDamage> setAside;  // a damaged rest moved to the .rejected file
  std::optional<platform::Error> dropFailure;    // the dropped records could not be taken out
};

// Replays the journal of `db.folder` onto `db` (loaded, under the exclusive
// lock): a damaged rest of the journal is set aside first; the records the
// decisions drop are taken out of the journal; `db` is marked modified when
// its lists changed. The caller rebuilds the index and saves. Fails, with
// nothing changed, when the journal cannot be read.
platform::Result<JournalReplay> ReplayJournalFile(navdb::Database& db,
                                                  const ConflictDecider& decide);

// At a load that may change the database: the hand edits of the journal
// that the files do not hold (a save cut short, files changed by another
// program) are made again, and conflicts kept for later. Each is told
// through `ui` as a warning; `keptHint` says where the kept records can be
// seen. Nothing is done when the load could not read a database file. Fails,
// told as well, when the journal cannot be read. The caller
// re-indexes and saves, or lets the user save, when the lists changed.
platform::Result<JournalReplay> ReplayMissingEdits(navdb::Database& db, const navdb::Reporter& ui,
                                                   std::string_view keptHint);

}  // namespace shell
