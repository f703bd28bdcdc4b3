#include <algorithm>
#include <optional>
#include <ostream>
#include <system_error>

#include "navdb/database_lock.h"
#include "platform/installation.h"
#include "shell/cli/cli_ui.h"
#include "shell/cli/commands.h"
#include "shell/cli/options.h"

namespace cli {
namespace {

constexpr std::string_view kProgramUsage =
    "Usage: skat-cli [--navdata DIR] [--verbose] COMMAND [ARGS...]\n"
    "  or:  skat-cli --help | --version\n"
    "\n"
    "Works on the navaid database in DIR (default: the current directory, the\n"
    "simulator's NavData folder). Every command takes --help. A message that\n"
    "comes again is printed once, and at the end with its count; --verbose\n"
    "prints every one. Commands that change the database lock it for their\n"
    "whole run; when another program holds the lock they change nothing and\n"
    "exit 1. Exit codes: 0 done, 1 failed, 2 bad arguments. A command that\n"
    "refused some of its input (entries a full list could not take, rows or\n"
    "lines that were set aside in the .rejected files) finishes the rest and\n"
    "exits 1.\n"
    "\n"
    "Commands:\n";

std::vector<CliCommand> AllCommands() {
  std::vector<CliCommand> commands = DatabaseCommands();
  for (const CliCommand& command : PlanCommands()) commands.push_back(command);
  for (const CliCommand& command : ScanCommands()) commands.push_back(command);
  for (const CliCommand& command : MapCommands()) commands.push_back(command);
  for (const CliCommand& command : EntryCommands()) commands.push_back(command);
  for (const CliCommand& command : JournalCommands()) commands.push_back(command);
  return commands;
}

void PrintProgramUsage(std::ostream& stream, const std::vector<CliCommand>& commands) {
  stream << kProgramUsage;
  for (const CliCommand& command : commands) {
    // Names are padded to one column; a longer name gets its own line.
    constexpr size_t kNameColumn = 16;
    stream << "  " << command.name
           << std::string(kNameColumn - std::min(kNameColumn - 1, command.name.size()), ' ')
           << command.summary << '\n';
  }
}

int RunCommand(CliContext& context, const CliCommand& command,
               const std::vector<std::string>& args) {
  const int exitCode = command.run(context, args);
  if (context.tally && !context.verbose) context.tally->PrintRepeats(context.err);
  return exitCode;
}

// True when --help or -h stands before the command.
bool AsksProgramHelp(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") return true;
    if (arg != "--verbose") return false;
  }
  return false;
}

}  // namespace

bool LockDatabase(CliContext& context, DatabaseUse use, std::optional<navdb::DatabaseLock>& lock) {
  if (use == DatabaseUse::None) return true;
  const CliUi ui(context, {});
  auto refuse = [&](const std::string& text) {
    navdb::ShowMessage(ui, "Error", text, navdb::MessageIcon::Error, navdb::MessageButtons::Ok);
    return false;
  };
  std::error_code error;
  if (use == DatabaseUse::Creates) {
    std::filesystem::create_directories(context.navData, error);
    if (error)
      return refuse("Can't create folder " + context.navData.string() + "\r\r" + error.message());
  }
  if (!std::filesystem::is_directory(context.navData, error)) {
    if (use == DatabaseUse::ReadsIfPresent) return true;
    return refuse("The folder " + context.navData.string() + " does not exist.");
  }
  const navdb::LockMode mode = use == DatabaseUse::Changes || use == DatabaseUse::Creates
                                   ? navdb::LockMode::Exclusive
                                   : navdb::LockMode::Shared;
  platform::Result<navdb::DatabaseLock> acquired =
      navdb::DatabaseLock::Acquire(context.navData, mode, "skat-cli", ui);
  if (!acquired) return refuse(acquired.error().message);
  lock = std::move(acquired).value();
  return true;
}

void PrintUsage(std::ostream& stream, const CliCommand& command) {
  stream << "Usage: skat-cli " << command.usage;
}

int UsageError(CliContext& context, const CliCommand& command, const std::string& problem) {
  context.err << "skat-cli " << command.name << ": " << problem << '\n';
  PrintUsage(context.err, command);
  return kExitUsage;
}

bool WantsHelp(const std::vector<std::string>& args) {
  return std::find_if(args.begin(), args.end(), [](const std::string& a) {
           return a == "--help" || a == "-h";
         }) != args.end();
}

int RunSkatCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err, bool inputIsTerminal) {
  const std::vector<CliCommand> commands = AllCommands();
  CliContext context{std::filesystem::current_path(), in, out, err, inputIsTerminal, false, {}};
  // --navdata belongs to the program wherever it stands; every other
  // argument keeps its place for the command.
  const OptionRules programOptions{.valueOptions = {"--navdata"},
                                   .unknownOptionsArePositional = true};
  platform::Result<Options> parsed = ParseOptions(args, 0, programOptions);
  if (!parsed) {
    // Only a last "--navdata" without its folder fails; help asked before
    // the command still wins, as it comes first.
    const std::vector<std::string> before(args.begin(), args.end() - 1);
    parsed = ParseOptions(before, 0, programOptions);
    if (!AsksProgramHelp(parsed->positional)) {
      err << "skat-cli: --navdata needs a folder\n";
      PrintProgramUsage(err, commands);
      return kExitUsage;
    }
  }
  for (const std::string& folder : parsed->All("--navdata")) context.navData = folder;
  // Before the command stand the program's own flags; the first other
  // argument names the command.
  std::string commandName;
  std::vector<std::string> rest;
  for (const std::string& arg : parsed->positional) {
    if (!commandName.empty()) {
      rest.push_back(arg);
    } else if (arg == "--help" || arg == "-h") {
      PrintProgramUsage(out, commands);
      return kExitOk;
    } else if (arg == "--version") {
      out << "skat-cli (Skyatlas) " << platform::SkyatlasVersion() << '\n';
      return kExitOk;
    } else if (arg == "--verbose") {
      context.verbose = true;
    } else {
      commandName = arg;
    }
  }
  if (commandName.empty()) {
    err << "skat-cli: no command given\n";
    PrintProgramUsage(err, commands);
    return kExitUsage;
  }
  for (const CliCommand& command : commands) {
    if (command.name != commandName) continue;
    if (WantsHelp(rest)) {
      PrintUsage(out, command);
      return kExitOk;
    }
    return RunCommand(context, command, rest);
  }
  err << "skat-cli: unknown command '" << commandName << "'\n";
  PrintProgramUsage(err, commands);
  return kExitUsage;
}

}  // namespace cli
