// The edit journal's replay on the command line: the report of what was
// applied, the conflicts with their reasons, and what becomes of each, by
// the --journal=REPLAY of the command or by the user's answer.
#pragma once

#include <optional>
#include <string_view>

#include "navdb/database.h"
#include "navdb/database_lock.h"
#include "navdb/reporter.h"
#include "shell/cli/commands.h"

namespace cli {

// What becomes of a hand edit that cannot be replayed as it was recorded.
enum class JournalPolicy {
  Apply,  // applied anyway: over the other version, or where the entry was
  Skip,   // kept in the journal for later, unapplied
  Ask,    // asked on the terminal, record by record
};

// "apply", "skip" or "ask"; nothing for any other word.
std::optional<JournalPolicy> JournalPolicyFromName(std::string_view name);
// The policy given, else ask on a terminal and skip otherwise: a record not
// applied is never lost, it stays in the journal.
JournalPolicy ChosenPolicy(const CliContext& context, std::optional<JournalPolicy> given);

// The help text of --journal=REPLAY, for the commands that take it.
inline constexpr std::string_view kJournalOptionHelp =
    "Then the hand edits of edits.journal are applied again (see 'journal').\n"
    "REPLAY is apply, skip or ask: what becomes of a change that meets another\n"
    "version of its entry, or no entry: apply makes it anyway, skip keeps its\n"
    "record in the journal for later, ask asks about each (the default on a\n"
    "terminal; skip otherwise). Exits 1 when a record was kept unapplied.\n";

struct HandEditOutcome {
  bool journalRead = true;    // false: edits.journal could not be read, nothing was replayed
  bool listsChanged = false;  // the database needs saving
  size_t keptRecords = 0;     // records left in the journal unapplied
  bool failed = false;        // the journal could not be read, or a dropped record taken out

  bool Complete() const { return !failed && keptRecords == 0; }
};

// After a rebuild, a restore, a scan or "journal replay": replays the
// journal onto `db`, settles the conflicts by `policy` and prints the
// report on standard output (nothing when the journal holds no record).
// The caller re-indexes and saves when the lists changed.
HandEditOutcome ReplayHandEdits(CliContext& context, navdb::Database& db, JournalPolicy policy,
                                const navdb::Reporter& ui);

// At the load of a command that changes the database: hand edits the files
// do not hold (a save cut short, files changed elsewhere) are applied again
// and conflicts kept, each told as a warning. The caller saves anyway.
HandEditOutcome ReplayMissingHandEdits(navdb::Database& db, const navdb::Reporter& ui);

// Loads the database of --navdata under the exclusive lock, which `lock`
// keeps until the command ends, and replays the hand edits its files lack
// (ReplayMissingHandEdits, told in `missing`). Nothing when the lock was
// refused or the folder is missing (the reason has been shown).
std::optional<navdb::Database> LoadForChange(CliContext& context,
                                             std::optional<navdb::DatabaseLock>& lock,
                                             const navdb::Reporter& ui, HandEditOutcome& missing);

// Re-indexes and saves a database the replay changed; true when saved or
// nothing needed saving.
bool SaveReplayed(navdb::Database& db, const HandEditOutcome& outcome, const navdb::Reporter& ui);

}  // namespace cli
