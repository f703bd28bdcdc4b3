#include <algorithm>
#include <ostream>

#include "shell/cli/commands.h"

namespace cli {
namespace {

constexpr std::string_view kProgramUsage =
    "Usage: skat-cli [--navdata DIR] COMMAND [ARGS...]\n"
    "\n"
    "Works on the navaid database in DIR (default: the current directory, the\n"
    "simulator's NavData folder). Every command takes --help.\n"
    "\n"
    "Commands:\n";

std::vector<CliCommand> AllCommands() {
  std::vector<CliCommand> commands = DatabaseCommands();
  for (const CliCommand& command : PlanCommands()) commands.push_back(command);
  for (const CliCommand& command : ScanCommands()) commands.push_back(command);
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

}  // namespace

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
  CliContext context{std::filesystem::current_path(), in, out, err, inputIsTerminal};
  std::vector<std::string> rest;
  std::string commandName;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (commandName.empty() && (arg == "--help" || arg == "-h")) {
      PrintProgramUsage(out, commands);
      return kExitOk;
    }
    if (arg == "--navdata" || arg.rfind("--navdata=", 0) == 0) {
      if (arg == "--navdata") {
        if (i + 1 >= args.size()) {
          err << "skat-cli: --navdata needs a folder\n";
          PrintProgramUsage(err, commands);
          return kExitUsage;
        }
        context.navData = args[++i];
      } else {
        context.navData = arg.substr(10);
      }
      continue;
    }
    if (commandName.empty())
      commandName = arg;
    else
      rest.push_back(arg);
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
    return command.run(context, rest);
  }
  err << "skat-cli: unknown command '" << commandName << "'\n";
  PrintProgramUsage(err, commands);
  return kExitUsage;
}

}  // namespace cli
