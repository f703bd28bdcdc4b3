// skat-cli entry: the entry editors on the command line.
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "navdb/database.h"
#include "navdb/geo_index.h"
#include "navdb/list_order.h"
#include "platform/win1252.h"
#include "shell/cli/cli_ui.h"
#include "shell/cli/commands.h"
#include "shell/cli/entry_fields.h"
#include "shell/cli/hand_edits.h"
#include "shell/cli/options.h"
#include "shell/core/entry_editor.h"
#include "shell/core/entry_search.h"

namespace cli {
namespace {

using navdb::NavaidKind;

int RunEntry(CliContext& context, const std::vector<std::string>& args);

const std::string kEntryUsage =
    "entry add KIND FIELD=VALUE... [--yes]\n"
    "       entry modify KIND ID [--name NAME | --line N] FIELD=VALUE...\n"
    "       entry delete KIND ID [--name NAME | --line N] [--yes]\n"
    "       entry show KIND ID [--name NAME | --line N]\n\n"
    "Changes one entry as its editor does (\"NDB entry edition\", ...), with the\n"
    "editor's checks and messages. KIND is ndb, vor, apt or int. add builds a new\n"
    "entry from the fields given (a box left empty reads as 0, as in the editor);\n"
    "modify opens the entry of identifier ID and changes the fields given, as\n"
    "\"Validate\" does; delete deletes it. show prints every entry of identifier\n"
    "ID with its line number in the list and its fields as modify takes them.\n"
    "When several entries have the identifier (the runways of an airport), --name\n"
    "(their name) or --line (the number show prints) chooses one; without them\n"
    "the entries are listed and the command exits 2.\n"
    "A change holds the database lock exclusively, is written to edits.journal\n"
    "(see 'journal'), and is saved with the whole database; then the line before\n"
    "and the line after are printed. The editor's questions (an entry with the\n"
    "same identifier and name on add, the delete question) are asked on a\n"
    "terminal and answered No without one, unless --yes. A value a box would not\n"
    "take whole, or a line the columns cannot hold, changes nothing and exits 2;\n"
    "an identifier without an entry exits 1, and so does a question answered No.\n\n";

const CliCommand& EntryCommand() {
  static const std::string usage = kEntryUsage + EntryFieldsHelp();
  static const CliCommand command{"entry", "add, modify, delete or show one entry of the database",
                                  usage, RunEntry};
  return command;
}

const OptionRules kEntryOptions{{"--yes", "-y"}, {"--name", "--line"}, {}};

std::string_view PluralNoun(NavaidKind kind) {
  switch (kind) {
    case NavaidKind::Ndb:
      return "NDBs";
    case NavaidKind::Vor:
      return "VOR/ILS/DME stations";
    case NavaidKind::Airport:
      return "runways";
    case NavaidKind::Intersection:
      return "intersections";
  }
  return "entries";
}

std::string Utf8(std::string_view line) {
  return platform::Win1252ToUtf8(line);
}

std::string TrimmedName(std::string_view line) {
  std::string name(line.substr(7, std::min<size_t>(24, line.size() > 7 ? line.size() - 7 : 0)));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

// How the command names its entry: an identifier, and maybe a name or a
// line number among the entries of that identifier.
struct EntryName {
  std::string identifier;  // Windows-1252
  std::optional<std::string> name;
  std::optional<size_t> lineNumber;  // a row counted from 1
};

std::optional<EntryName> ReadEntryName(CliContext& context, const Options& options,
                                       const std::string& identifier, int& exitCode) {
  EntryName named{platform::Utf8ToWin1252(identifier), std::nullopt, std::nullopt};
  if (options.Has("--name") && options.Has("--line")) {
    exitCode = UsageError(context, EntryCommand(), "--name and --line choose the entry: give one");
    return std::nullopt;
  }
  if (options.Has("--name")) named.name = platform::Utf8ToWin1252(options.Get("--name"));
  if (options.Has("--line")) {
    const std::string text = options.Get("--line");
    const bool digits = !text.empty() && text.size() <= 6 &&
                        text.find_first_not_of("0123456789") == std::string::npos;
    if (!digits || std::stoul(text) == 0) {
      exitCode = UsageError(context, EntryCommand(), "--line takes a line number from 1");
      return std::nullopt;
    }
    named.lineNumber = std::stoul(text);
  }
  return named;
}

// The rows of the entries of `named`'s identifier.
std::vector<size_t> RowsOfIdentifier(const navdb::EntryList& list, const EntryName& named) {
  if (named.identifier.empty() || named.identifier.size() > 5) return {};
  std::string prefix = named.identifier;
  prefix.resize(7, ' ');  // the identifier's columns end at 7
  return shell::RowsBeginningWith(list, prefix);
}

// The one row `named` chooses; else tells why there is none (exit 1) or
// lists the rows to choose from (exit 2).
std::optional<size_t> ChooseRow(CliContext& context, const navdb::EntryList& list, NavaidKind kind,
                                const EntryName& named, int& exitCode) {
  const std::vector<size_t> rows = RowsOfIdentifier(list, named);
  const std::string identifier = Utf8(named.identifier);
  if (rows.empty()) {
    context.err << "skat-cli entry: no entry of " << navdb::JournalKindWord(kind)
                << " has the identifier " << identifier << '\n';
    exitCode = kExitFailure;
    return std::nullopt;
  }
  std::vector<size_t> chosen;
  for (const size_t row : rows) {
    const std::string_view line = list.GetLine(row);
    const std::string name = TrimmedName(line);
    if (named.name &&
        !(name.size() == named.name->size() && navdb::StartsWithIgnoringCase(name, *named.name))) {
      continue;
    }
    if (named.lineNumber && *named.lineNumber != row + 1) continue;
    chosen.push_back(row);
  }
  if (chosen.size() == 1) return chosen.front();
  if (chosen.empty()) {
    context.err << "skat-cli entry: none of the " << rows.size() << ' ' << PluralNoun(kind)
                << " of identifier " << identifier << " has "
                << (named.name ? "the name " + Utf8(*named.name)
                               : "the line number " + std::to_string(*named.lineNumber))
                << "; they are:\n";
  } else {
    context.err << "skat-cli entry: " << chosen.size() << ' ' << PluralNoun(kind)
                << " have the identifier " << identifier
                << "; choose one with --name NAME or --line N:\n";
  }
  for (const size_t row : chosen.empty() ? rows : chosen) {
    context.err << "  --line " << row + 1 << "  " << Utf8(list.GetLine(row)) << '\n';
  }
  exitCode = kExitUsage;
  return std::nullopt;
}

// The database of --navdata loaded for a change under `lock`, with the row
// `named` chooses in `kind`'s list; nothing, with `exitCode` set, when
// either cannot be had (the reason has been told).
struct ChosenEntry {
  navdb::Database db;
  size_t row = 0;
};
std::optional<ChosenEntry> LoadAndChoose(CliContext& context, const navdb::Reporter& ui,
                                         NavaidKind kind, const EntryName& named,
                                         std::optional<navdb::DatabaseLock>& lock,
                                         HandEditOutcome& missing, int& exitCode) {
  std::optional<navdb::Database> db = LoadForChange(context, lock, ui, missing);
  if (!db) {
    exitCode = kExitFailure;
    return std::nullopt;
  }
  const std::optional<size_t> row = ChooseRow(context, db->List(kind), kind, named, exitCode);
  if (!row) return std::nullopt;
  return ChosenEntry{std::move(*db), *row};
}

// Re-indexes and saves the changed database with its journal record.
bool SaveEdit(navdb::Database& db, const navdb::Reporter& ui) {
  navdb::RebuildIndex(db.lists, db.index, ui);
  return navdb::SaveDatabase(db, ui);
}

// A value refused is not a mistake in the command's form: only the reason.
int ValueRefused(CliContext& context, const std::string& problem) {
  context.err << "skat-cli entry: " << problem << '\n';
  return kExitUsage;
}

CliAnswers QuietAnswers() {
  CliAnswers answers;
  answers.printStatus = false;
  return answers;
}

int EntryAdd(CliContext& context, NavaidKind kind, const Options& options,
             const std::vector<std::string>& fields) {
  if (fields.empty()) return UsageError(context, EntryCommand(), "add needs FIELD=VALUE");
  if (const platform::Status names = CheckFieldNames(kind, fields); !names) {
    return UsageError(context, EntryCommand(), names.error().message);
  }
  const AskingCliUi ui(context, options.Has("--yes") || options.Has("-y"), QuietAnswers());
  std::optional<navdb::DatabaseLock> lock;
  HandEditOutcome missing;
  std::optional<navdb::Database> db = LoadForChange(context, lock, ui, missing);
  if (!db) return kExitFailure;
  shell::EditorSession session = shell::OpenEntryEditor(*db, kind, std::nullopt);
  if (const platform::Status applied = ApplyFields(kind, session, fields); !applied) {
    return ValueRefused(context, applied.error().message);
  }
  const std::string line = shell::BuildEditorLine(kind, session.fields);
  if (line.substr(0, 30).find_first_not_of(' ') == std::string::npos) {
    return UsageError(context, EntryCommand(), "an entry needs an identifier or a name");
  }
  if (shell::AddEntry(*db, session, ui) == shell::EditorOutcome::StayOpen) {
    if (!shell::LineFitsLayout(kind, line)) return kExitUsage;  // the editor said why
    context.err << "skat-cli entry: nothing was added\n";
    return kExitFailure;
  }
  if (!session.row || db->unsavedEdits.empty()) return kExitFailure;  // the list refused it
  if (!SaveEdit(*db, ui)) return kExitFailure;
  context.out << "Added: " << Utf8(db->List(kind).GetLine(*session.row)) << '\n';
  return kExitOk;
}

int EntryModify(CliContext& context, NavaidKind kind, const EntryName& named,
                const std::vector<std::string>& fields) {
  if (fields.empty()) return UsageError(context, EntryCommand(), "modify needs FIELD=VALUE");
  if (const platform::Status names = CheckFieldNames(kind, fields); !names) {
    return UsageError(context, EntryCommand(), names.error().message);
  }
  const CliUi ui(context, QuietAnswers());
  std::optional<navdb::DatabaseLock> lock;
  HandEditOutcome missing;
  int exitCode = kExitOk;
  std::optional<ChosenEntry> chosen =
      LoadAndChoose(context, ui, kind, named, lock, missing, exitCode);
  if (!chosen) return exitCode;
  navdb::Database* db = &chosen->db;
  const std::optional<size_t> row = chosen->row;
  const std::string before(db->List(kind).GetLine(*row));
  shell::EditorSession session = shell::OpenEntryEditor(*db, kind, row);
  if (const platform::Status applied = ApplyFields(kind, session, fields); !applied) {
    return ValueRefused(context, applied.error().message);
  }
  if (shell::ValidateEntry(*db, session, ui) == shell::EditorOutcome::StayOpen) return kExitUsage;
  if (!session.row) return kExitFailure;  // the list refused it; the editor said so
  const std::string after(db->List(kind).GetLine(*session.row));
  if ((!db->unsavedEdits.empty() || missing.listsChanged) && !SaveEdit(*db, ui)) {
    return kExitFailure;
  }
  context.out << "Before: " << Utf8(before) << '\n' << "After:  " << Utf8(after) << '\n';
  return kExitOk;
}

int EntryDelete(CliContext& context, NavaidKind kind, const EntryName& named, bool yes) {
  const AskingCliUi ui(context, yes, QuietAnswers());
  std::optional<navdb::DatabaseLock> lock;
  HandEditOutcome missing;
  int exitCode = kExitOk;
  std::optional<ChosenEntry> chosen =
      LoadAndChoose(context, ui, kind, named, lock, missing, exitCode);
  if (!chosen) return exitCode;
  navdb::Database* db = &chosen->db;
  const std::optional<size_t> row = chosen->row;
  const std::string before(db->List(kind).GetLine(*row));
  shell::EditorSession session = shell::OpenEntryEditor(*db, kind, row);
  if (shell::DeleteEntry(*db, session, ui) == shell::EditorOutcome::StayOpen) {
    context.err << "skat-cli entry: nothing was deleted\n";
    return kExitFailure;
  }
  if (!SaveEdit(*db, ui)) return kExitFailure;
  context.out << "Deleted: " << Utf8(before) << '\n';
  return kExitOk;
}

int EntryShow(CliContext& context, NavaidKind kind, const EntryName& named) {
  const CliUi ui(context, QuietAnswers());
  std::optional<navdb::DatabaseLock> lock;
  if (!LockDatabase(context, DatabaseUse::Reads, lock)) return kExitFailure;
  navdb::Database db;
  db.folder = context.navData;
  navdb::LoadDatabase(db, ui);
  const navdb::EntryList& list = db.List(kind);
  std::vector<size_t> rows = RowsOfIdentifier(list, named);
  if (named.name || named.lineNumber) {
    int exitCode = kExitOk;
    const std::optional<size_t> row = ChooseRow(context, list, kind, named, exitCode);
    if (!row) return exitCode;
    rows = {*row};
  }
  if (rows.empty()) {
    context.err << "skat-cli entry: no entry of " << navdb::JournalKindWord(kind)
                << " has the identifier " << Utf8(named.identifier) << '\n';
    return kExitFailure;
  }
  for (const size_t row : rows) {
    const shell::EditorSession session = shell::OpenEntryEditor(db, kind, row);
    context.out << "line " << row + 1 << ": " << Utf8(list.GetLine(row)) << '\n'
                << "  " << FieldsText(kind, session.fields) << '\n';
  }
  return kExitOk;
}

int RunEntry(CliContext& context, const std::vector<std::string>& args) {
  const CliCommand& command = EntryCommand();
  if (args.empty()) return UsageError(context, command, "missing subcommand");
  const platform::Result<Options> options = ParseOptions(args, 1, kEntryOptions);
  if (!options) return UsageError(context, command, options.error().message);
  const std::string& subcommand = args[0];
  const std::vector<std::string>& positional = options->positional;
  if (subcommand != "add" && subcommand != "modify" && subcommand != "delete" &&
      subcommand != "show") {
    return UsageError(context, command, "unknown subcommand '" + subcommand + "'");
  }
  if (positional.empty()) return UsageError(context, command, "expected KIND");
  const std::optional<NavaidKind> kind = navdb::KindFromJournalWord(positional[0]);
  if (!kind) return UsageError(context, command, "unknown kind '" + positional[0] + "'");
  const bool yes = options->Has("--yes") || options->Has("-y");
  if (subcommand == "add") {
    if (options->Has("--name") || options->Has("--line")) {
      return UsageError(context, command, "add takes no --name or --line: name=TEXT is a field");
    }
    return EntryAdd(context, *kind, *options, {positional.begin() + 1, positional.end()});
  }
  if (positional.size() < 2) return UsageError(context, command, "expected KIND and ID");
  int exitCode = kExitUsage;
  const std::optional<EntryName> named = ReadEntryName(context, *options, positional[1], exitCode);
  if (!named) return exitCode;
  const std::vector<std::string> fields(positional.begin() + 2, positional.end());
  if (subcommand == "modify") return EntryModify(context, *kind, *named, fields);
  if (!fields.empty()) {
    return UsageError(context, command, subcommand + " takes no FIELD=VALUE");
  }
  if (subcommand == "delete") return EntryDelete(context, *kind, *named, yes);
  if (yes) return UsageError(context, command, "show takes no --yes");
  return EntryShow(context, *kind, *named);
}

}  // namespace

std::vector<CliCommand> EntryCommands() {
  return {EntryCommand()};
}

}  // namespace cli
