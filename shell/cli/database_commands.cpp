#include <algorithm>
#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "navdb/database.h"
#include "navdb/database_check.h"
#include "platform/win1252.h"
#include "shell/cli/cli_ui.h"
#include "shell/cli/commands.h"
#include "shell/cli/hand_edits.h"
#include "shell/cli/options.h"
#include "shell/core/restore.h"

namespace cli {
namespace {

int RunCheck(CliContext& context, const std::vector<std::string>& args);
int RunIndex(CliContext& context, const std::vector<std::string>& args);
int RunRestore(CliContext& context, const std::vector<std::string>& args);
int RunFind(CliContext& context, const std::vector<std::string>& args);

const CliCommand kCheck{"check", "load the database and print its counts",
                        "check\n\n"
                        "Loads the database and prints five lines: NDB, VOR, APT and INT with\n"
                        "their entry counts, and IDX with the line counts of the primary,\n"
                        "following and preceding index lists. Then compares every index row\n"
                        "with the entry it points at (kind, row and position). Exits 1 when\n"
                        "the folder does not exist, a database file exists but cannot be\n"
                        "read, or index rows do not match the entry files.\n",
                        RunCheck};
const CliCommand kIndex{"index", "rebuild the geographic index and save the database",
                        "index\n\n"
                        "Loads the database, rebuilds the geographic index and saves all five\n"
                        "files. Exits 1 when a file could not be written.\n",
                        RunIndex};
const std::string kRestoreUsage =
    "restore [--yes] [--journal=REPLAY]\n\n"
    "Copies the reference database in Original/ over the working files,\n"
    "loads it and prints the counts as 'check' does. Without --yes the\n"
    "question is asked on the terminal (answered No without one). Exits\n"
    "1 when the answer was No or a reference copy could not be read or\n"
    "copied; the working files are then left as they were.\n" +
    std::string(kJournalOptionHelp);
const CliCommand kRestore{"restore", "restore the reference copies from Original/", kRestoreUsage,
                          RunRestore};
const CliCommand kFind{"find", "print the first entry that begins with a text",
                       "find KIND TEXT [--raw]\n\n"
                       "KIND is ndb, vor, apt or int. Prints the first line in list order that\n"
                       "begins with TEXT (letter case ignored); exits 1 when none does. Lines\n"
                       "are printed in UTF-8, or as stored (Windows-1252) with --raw.\n",
                       RunFind};

// Loads the database under the lock `use` asks for; nothing when the lock
// was refused or the folder is missing (the reason has been shown). The
// lock stays with `lock` until the command ends.
std::optional<navdb::Database> LoadedDatabase(CliContext& context, DatabaseUse use,
                                              std::optional<navdb::DatabaseLock>& lock,
                                              const navdb::Reporter& ui) {
  if (!LockDatabase(context, use, lock)) return std::nullopt;
  navdb::Database db;
  db.folder = context.navData;
  navdb::LoadDatabase(db, ui);
  return db;
}

bool AllFilesRead(const navdb::Database& db) {
  return std::all_of(db.readFailures.begin(), db.readFailures.end(),
                     [](const std::string& failure) { return failure.empty(); });
}

void PrintCounts(CliContext& context, const navdb::Database& db) {
  static constexpr std::string_view kLabels[] = {"NDB", "VOR", "APT", "INT"};
  for (navdb::NavaidKind kind : navdb::kAllKinds) {
    context.out << kLabels[navdb::IndexOf(kind)] << ' ' << db.List(kind).EntryCount() << '\n';
  }
  context.out << "IDX " << db.index.primary.Count() << ' ' << db.index.following.Count() << ' '
              << db.index.preceding.Count() << '\n';
}

// Parses the arguments of a command that takes no free ones; anything not
// in `rules`, options too, is refused as "unexpected argument".
std::optional<Options> ParseWithoutPositional(CliContext& context, const CliCommand& command,
                                              const std::vector<std::string>& args,
                                              OptionRules rules, int& exitCode) {
  rules.unknownOptionsArePositional = true;
  platform::Result<Options> options = ParseOptions(args, 0, rules);
  if (!options) {
    exitCode = UsageError(context, command, options.error().message);
    return std::nullopt;
  }
  if (!options->positional.empty()) {
    exitCode =
        UsageError(context, command, "unexpected argument '" + options->positional.front() + "'");
    return std::nullopt;
  }
  return std::move(options).value();
}

int RunCheck(CliContext& context, const std::vector<std::string>& args) {
  int exitCode = kExitUsage;
  if (!ParseWithoutPositional(context, kCheck, args, {}, exitCode)) return exitCode;
  const CliUi ui(context, {});
  std::optional<navdb::DatabaseLock> lock;
  const std::optional<navdb::Database> db = LoadedDatabase(context, DatabaseUse::Reads, lock, ui);
  if (!db) return kExitFailure;
  PrintCounts(context, *db);
  // A file that could not be read loaded as nothing: all its rows would count.
  if (!AllFilesRead(*db)) return kExitFailure;
  const size_t outOfStep = navdb::CountIndexRowsOutOfStep(*db);
  if (outOfStep == 0) return kExitOk;
  navdb::ShowMessage(ui, "Error",
                     std::to_string(outOfStep) +
                         (outOfStep == 1 ? " index row does not match the entry files."
                                         : " index rows do not match the entry files.") +
                         " Run \"skat-cli index\" to rebuild the index.",
                     navdb::MessageIcon::Error, navdb::MessageButtons::Ok);
  return kExitFailure;
}

int RunIndex(CliContext& context, const std::vector<std::string>& args) {
  int exitCode = kExitUsage;
  if (!ParseWithoutPositional(context, kIndex, args, {}, exitCode)) return exitCode;
  const CliUi ui(context, {});
  std::optional<navdb::DatabaseLock> lock;
  std::optional<navdb::Database> db = LoadedDatabase(context, DatabaseUse::Changes, lock, ui);
  if (!db) return kExitFailure;
  navdb::RebuildIndex(db->lists, db->index, ui);
  return navdb::SaveDatabase(*db, ui) ? kExitOk : kExitFailure;
}

int RunRestore(CliContext& context, const std::vector<std::string>& args) {
  int exitCode = kExitUsage;
  const std::optional<Options> options = ParseWithoutPositional(
      context, kRestore, args, {.flags = {"--yes", "-y"}, .joinedValueOptions = {"--journal"}},
      exitCode);
  if (!options) return exitCode;
  std::optional<JournalPolicy> policy;
  if (options->Has("--journal")) {
    policy = JournalPolicyFromName(options->Get("--journal"));
    if (!policy) {
      return UsageError(context, kRestore,
                        "unknown journal policy '" + options->Get("--journal") + "'");
    }
  }
  const bool yes = options->Has("--yes") || options->Has("-y");
  // On a terminal, without --yes, the restore's question is the user's.
  const AskingCliUi ui(context, yes);
  std::optional<navdb::DatabaseLock> lock;
  if (!LockDatabase(context, DatabaseUse::Changes, lock)) return kExitFailure;
  navdb::Database db;
  db.folder = context.navData;
  if (!shell::RestoreOriginalDatabase(db, ui)) return kExitFailure;
  // The hand edits are applied to the restored database, which is saved
  // with them before its counts are printed.
  const HandEditOutcome replayed = ReplayHandEdits(context, db, ChosenPolicy(context, policy), ui);
  if (!SaveReplayed(db, replayed, ui)) return kExitFailure;
  PrintCounts(context, db);
  return replayed.Complete() ? kExitOk : kExitFailure;
}

bool KindFromName(const std::string& name, navdb::NavaidKind& kind) {
  static constexpr std::pair<std::string_view, navdb::NavaidKind> kNames[] = {
      {"ndb", navdb::NavaidKind::Ndb},
      {"vor", navdb::NavaidKind::Vor},
      {"apt", navdb::NavaidKind::Airport},
      {"int", navdb::NavaidKind::Intersection}};
  for (const auto& [text, value] : kNames) {
    if (name == text) {
      kind = value;
      return true;
    }
  }
  return false;
}

int RunFind(CliContext& context, const std::vector<std::string>& args) {
  const platform::Result<Options> options = ParseOptions(args, 0, {.flags = {"--raw"}});
  if (!options) return UsageError(context, kFind, options.error().message);
  const std::vector<std::string>& positional = options->positional;
  const bool raw = options->Has("--raw");
  if (positional.size() != 2) return UsageError(context, kFind, "expected KIND and TEXT");
  navdb::NavaidKind kind;
  if (!KindFromName(positional[0], kind)) {
    return UsageError(context, kFind, "unknown kind '" + positional[0] + "'");
  }
  const CliUi ui(context, {});
  std::optional<navdb::DatabaseLock> lock;
  const std::optional<navdb::Database> db = LoadedDatabase(context, DatabaseUse::Reads, lock, ui);
  if (!db) return kExitFailure;
  const navdb::EntryList& list = db->List(kind);
  const std::string text = platform::Utf8ToWin1252(positional[1]);
  const std::optional<size_t> row =
      list.HoldsOnlyPlaceholder() ? std::nullopt : list.FindPrefix(text);
  if (!row) return kExitFailure;
  const std::string line(list.GetLine(*row));
  context.out << (raw ? line : platform::Win1252ToUtf8(line)) << '\n';
  return kExitOk;
}

}  // namespace

std::vector<CliCommand> DatabaseCommands() {
  return {kCheck, kIndex, kRestore, kFind};
}

}  // namespace cli
