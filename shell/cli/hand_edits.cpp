#include "shell/cli/hand_edits.h"

#include <istream>
#include <ostream>
#include <string>

#include "navdb/geo_index.h"
#include "navdb/journal_file.h"
#include "platform/win1252.h"
#include "shell/core/journal_replay.h"

namespace cli {
namespace {

using shell::ConflictChoice;

// "record 7", "records 3, 5 and 7".
std::string RecordsText(const std::vector<size_t>& numbers) {
  std::string text = numbers.size() == 1 ? "record " : "records ";
  for (size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) text += i + 1 == numbers.size() ? " and " : ", ";
    text += std::to_string(numbers[i]);
  }
  return text;
}

void PrintConflict(std::ostream& out, const shell::ReplayConflict& conflict) {
  const navdb::JournalRecord& change = conflict.change;
  std::string records = RecordsText(conflict.recordNumbers);
  records[0] = 'R';
  out << records << " (" << navdb::ActionName(change.action) << ' '
      << navdb::JournalKindWord(change.kind) << ", " << change.timeUtc
      << ") could not be replayed: " << shell::ProblemText(conflict) << ".\n";
  if (!change.before.empty()) out << "  Before: " << platform::Win1252ToUtf8(change.before) << '\n';
  if (!change.after.empty()) out << "  After:  " << platform::Win1252ToUtf8(change.after) << '\n';
  if (!conflict.foundLine.empty())
    out << "  Found:  " << platform::Win1252ToUtf8(conflict.foundLine) << '\n';
}

std::string_view ChoiceText(ConflictChoice choice) {
  switch (choice) {
    case ConflictChoice::ApplyAnyway:
      return "  Applied anyway.\n";
    case ConflictChoice::DropRecord:
      return "  Dropped from the journal.\n";
    case ConflictChoice::KeepForLater:
      break;
  }
  return "  Kept in the journal for later.\n";
}

// The three choices of a conflict, on the terminal; the end of the input
// keeps the record, as Escape would.
ConflictChoice AskChoice(CliContext& context) {
  for (;;) {
    context.err << "Apply anyway, drop the record, or keep it for later? [a/d/K] " << std::flush;
    std::string reply;
    if (!std::getline(context.in, reply)) return ConflictChoice::KeepForLater;
    if (reply == "a" || reply == "A") return ConflictChoice::ApplyAnyway;
    if (reply == "d" || reply == "D") return ConflictChoice::DropRecord;
    if (reply.empty() || reply == "k" || reply == "K") return ConflictChoice::KeepForLater;
  }
}

void Warn(const navdb::Reporter& ui, const std::string& text) {
  navdb::ShowMessage(ui, "Warning", text, navdb::MessageIcon::Warning, navdb::MessageButtons::Ok);
}

void Fail(const navdb::Reporter& ui, const std::string& text) {
  navdb::ShowMessage(ui, "Error", text, navdb::MessageIcon::Error, navdb::MessageButtons::Ok);
}

HandEditOutcome OutcomeOf(const shell::JournalReplay& replay) {
  HandEditOutcome outcome;
  outcome.listsChanged = replay.report.listsChanged;
  outcome.keptRecords = replay.report.KeptRecords();
  outcome.failed = replay.dropFailure.has_value();
  return outcome;
}

}  // namespace

std::optional<JournalPolicy> JournalPolicyFromName(std::string_view name) {
  if (name == "apply") return JournalPolicy::Apply;
  if (name == "skip") return JournalPolicy::Skip;
  if (name == "ask") return JournalPolicy::Ask;
  return std::nullopt;
}

JournalPolicy ChosenPolicy(const CliContext& context, std::optional<JournalPolicy> given) {
  return given.value_or(context.inputIsTerminal ? JournalPolicy::Ask : JournalPolicy::Skip);
}

HandEditOutcome ReplayHandEdits(CliContext& context, navdb::Database& db, JournalPolicy policy,
                                const navdb::Reporter& ui) {
  const shell::ConflictDecider decide = [&](const shell::ReplayConflict& conflict) {
    PrintConflict(context.out, conflict);
    context.out << std::flush;
    const ConflictChoice choice = policy == JournalPolicy::Apply  ? ConflictChoice::ApplyAnyway
                                  : policy == JournalPolicy::Skip ? ConflictChoice::KeepForLater
                                                                  : AskChoice(context);
    context.out << ChoiceText(choice);
    return choice;
  };
  const platform::Result<shell::JournalReplay> replayed = shell::ReplayJournalFile(db, decide);
  if (!replayed) {
    Fail(ui, replayed.error().message + "\r\rNo hand edit was replayed.");
    return {false, false, 0, true};
  }
  if (replayed->setAside)
    Warn(ui, navdb::SetAsideText(*replayed->setAside, replayed->journalRecords));
  if (replayed->dropFailure) {
    Fail(ui, replayed->dropFailure->message + "\r\rThe records to drop are still in the journal.");
  }
  const shell::ReplayReport& report = replayed->report;
  if (replayed->journalRecords > 0) context.out << shell::ReplaySummaryText(report) << '\n';
  return OutcomeOf(*replayed);
}

HandEditOutcome ReplayMissingHandEdits(navdb::Database& db, const navdb::Reporter& ui) {
  const platform::Result<shell::JournalReplay> replayed = shell::ReplayMissingEdits(
      db, ui, "\"skat-cli journal replay\" shows them and applies or drops them.");
  if (!replayed) return {false, false, 0, true};
  return OutcomeOf(*replayed);
}

std::optional<navdb::Database> LoadForChange(CliContext& context,
                                             std::optional<navdb::DatabaseLock>& lock,
                                             const navdb::Reporter& ui, HandEditOutcome& missing) {
  if (!LockDatabase(context, DatabaseUse::Changes, lock)) return std::nullopt;
  navdb::Database db;
  db.folder = context.navData;
  navdb::LoadDatabase(db, ui);
  missing = ReplayMissingHandEdits(db, ui);
  return db;
}

bool SaveReplayed(navdb::Database& db, const HandEditOutcome& outcome, const navdb::Reporter& ui) {
  if (!outcome.listsChanged) return true;
  navdb::RebuildIndex(db.lists, db.index, ui);
  return navdb::SaveDatabase(db, ui);
}

}  // namespace cli
