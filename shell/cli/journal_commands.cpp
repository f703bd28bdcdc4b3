// skat-cli journal: the hand edits kept in edits.journal.
#include <optional>
#include <ostream>
#include <string>

#include "navdb/database.h"
#include "navdb/journal_file.h"
#include "platform/file_io.h"
#include "platform/win1252.h"
#include "shell/cli/cli_ui.h"
#include "shell/cli/commands.h"
#include "shell/cli/hand_edits.h"
#include "shell/cli/options.h"

namespace cli {
namespace {

int RunJournal(CliContext& context, const std::vector<std::string>& args);

const std::string kJournalUsage =
    "journal list\n"
    "       journal show N\n"
    "       journal drop N\n"
    "       journal replay [--journal=REPLAY]\n"
    "       journal export FILE\n\n"
    "The hand edits of the database (every add, modify and delete of an entry,\n"
    "from the editors or from 'entry'), kept in edits.journal so that they are\n"
    "applied again after a rebuild, a restore or a rescan.\n"
    "list prints one line per record: its number, time (UTC), action, kind and\n"
    "entry. show prints record N as the journal holds it. drop takes record N\n"
    "out of the journal (the database keeps the edit; it is only no longer\n"
    "applied again). replay applies the journal to the database now and saves.\n"
    "export writes the journal's records to FILE.\n"
    "A journal damaged from some line is read up to it; the rest is moved to\n"
    "edits.journal.rejected and a warning says so.\n\n" +
    std::string(kJournalOptionHelp);

const CliCommand& JournalCommand() {
  static const CliCommand command{"journal", "list, show, drop, replay or export the hand edits",
                                  kJournalUsage, RunJournal};
  return command;
}

const OptionRules kJournalOptions{.joinedValueOptions = {"--journal"}};

// The record's entry in a few words: its line (the line after, or the line
// before for a delete) without its trailing blanks.
std::string EntryText(const navdb::JournalRecord& record) {
  std::string line = record.action == navdb::JournalAction::Delete ? record.before : record.after;
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return platform::Win1252ToUtf8(line);
}

// The journal under the exclusive lock, its damaged rest set aside (told).
std::optional<std::vector<navdb::JournalRecord>> OpenJournal(
    CliContext& context, std::optional<navdb::DatabaseLock>& lock, const navdb::Reporter& ui) {
  if (!LockDatabase(context, DatabaseUse::Changes, lock)) return std::nullopt;
  platform::Result<navdb::JournalUpdate> opened = navdb::OpenJournalFile(context.navData);
  if (!opened) {
    navdb::ShowMessage(ui, "Error", opened.error().message, navdb::MessageIcon::Error,
                       navdb::MessageButtons::Ok);
    return std::nullopt;
  }
  if (opened->setAside) {
    navdb::ShowMessage(ui, "Warning",
                       navdb::SetAsideText(*opened->setAside, opened->records.size()),
                       navdb::MessageIcon::Warning, navdb::MessageButtons::Ok);
  }
  return std::move(opened->records);
}

// Record N (from 1) of `records`; else says there is none.
std::optional<size_t> RecordIndex(CliContext& context, const std::string& text, size_t count) {
  const bool digits = !text.empty() && text.size() <= 9 &&
                      text.find_first_not_of("0123456789") == std::string::npos;
  const size_t number = digits ? std::stoul(text) : 0;
  if (number == 0 || number > count) {
    context.err << "skat-cli journal: no record " << text << ": the journal holds " << count
                << (count == 1 ? " record\n" : " records\n");
    return std::nullopt;
  }
  return number - 1;
}

int JournalList(CliContext& context, const std::vector<navdb::JournalRecord>& records) {
  for (size_t i = 0; i < records.size(); ++i) {
    const navdb::JournalRecord& record = records[i];
    context.out << i + 1 << "  " << record.timeUtc << ' ' << navdb::ActionName(record.action) << ' '
                << navdb::JournalKindWord(record.kind) << "  " << EntryText(record) << '\n';
  }
  return kExitOk;
}

int JournalShow(CliContext& context, const navdb::JournalRecord& record) {
  std::string text = navdb::EncodeJournalRecord(record);
  std::string shown;
  for (const char c : text) {
    if (c != '\r') shown += c;
  }
  shown.pop_back();  // the blank line that parts records
  context.out << platform::Win1252ToUtf8(shown);
  return kExitOk;
}

int JournalDrop(CliContext& context, size_t index, const navdb::JournalRecord& record,
                const navdb::Reporter& ui) {
  const platform::Result<bool> changed = navdb::DropJournalRecord(context.navData, index, record);
  if (!changed) {
    navdb::ShowMessage(ui, "Error", changed.error().message, navdb::MessageIcon::Error,
                       navdb::MessageButtons::Ok);
    return kExitFailure;
  }
  context.out << "Dropped record " << index + 1 << ": " << record.timeUtc << ' '
              << navdb::ActionName(record.action) << ' ' << navdb::JournalKindWord(record.kind)
              << "  " << EntryText(record) << '\n';
  return kExitOk;
}

int JournalReplay(CliContext& context, JournalPolicy policy, const navdb::Reporter& ui) {
  std::optional<navdb::DatabaseLock> lock;
  if (!LockDatabase(context, DatabaseUse::Changes, lock)) return kExitFailure;
  navdb::Database db;
  db.folder = context.navData;
  navdb::LoadDatabase(db, ui);
  const HandEditOutcome outcome = ReplayHandEdits(context, db, policy, ui);
  if (!SaveReplayed(db, outcome, ui)) return kExitFailure;
  return outcome.Complete() ? kExitOk : kExitFailure;
}

int JournalExport(CliContext& context, const std::filesystem::path& file,
                  const std::vector<navdb::JournalRecord>& records) {
  std::error_code error;
  if (std::filesystem::equivalent(file, context.navData / navdb::kJournalFileName, error)) {
    context.err << "skat-cli journal: " << file.string() << " is the journal itself\n";
    return kExitFailure;
  }
  const platform::Status written =
      platform::ReplaceFileAtomically(file, navdb::EncodeJournal(records));
  if (!written.ok()) {
    context.err << "skat-cli journal: cannot write " << file.string() << ": "
                << written.error().message << '\n';
    return kExitFailure;
  }
  context.out << records.size() << (records.size() == 1 ? " record" : " records") << " written to "
              << file.string() << '\n';
  return kExitOk;
}

int RunJournal(CliContext& context, const std::vector<std::string>& args) {
  const CliCommand& command = JournalCommand();
  const platform::Result<Options> options = ParseOptions(args, 0, kJournalOptions);
  if (!options) return UsageError(context, command, options.error().message);
  const std::vector<std::string>& positional = options->positional;
  if (positional.empty()) return UsageError(context, command, "missing subcommand");
  const std::string& subcommand = positional[0];
  const size_t wanted = subcommand == "list" || subcommand == "replay" ? 1 : 2;
  if (subcommand != "list" && subcommand != "show" && subcommand != "drop" &&
      subcommand != "replay" && subcommand != "export") {
    return UsageError(context, command, "unknown subcommand '" + subcommand + "'");
  }
  if (positional.size() != wanted) {
    return UsageError(context, command,
                      subcommand + (wanted == 1              ? " takes no argument"
                                    : subcommand == "export" ? " needs FILE"
                                                             : " needs the record number N"));
  }
  if (options->Has("--journal") && subcommand != "replay") {
    return UsageError(context, command, "only replay takes --journal");
  }
  const CliUi ui(context, {});
  if (subcommand == "replay") {
    std::optional<JournalPolicy> policy;
    if (options->Has("--journal")) {
      policy = JournalPolicyFromName(options->Get("--journal"));
      if (!policy) {
        return UsageError(context, command,
                          "unknown journal policy '" + options->Get("--journal") + "'");
      }
    }
    return JournalReplay(context, ChosenPolicy(context, policy), ui);
  }
  std::optional<navdb::DatabaseLock> lock;
  const std::optional<std::vector<navdb::JournalRecord>> records = OpenJournal(context, lock, ui);
  if (!records) return kExitFailure;
  if (subcommand == "list") return JournalList(context, *records);
  if (subcommand == "export") return JournalExport(context, positional[1], *records);
  const std::optional<size_t> index = RecordIndex(context, positional[1], records->size());
  if (!index) return kExitFailure;
  if (subcommand == "show") return JournalShow(context, (*records)[*index]);
  return JournalDrop(context, *index, (*records)[*index], ui);
}

}  // namespace

std::vector<CliCommand> JournalCommands() {
  return {JournalCommand()};
}

}  // namespace cli
