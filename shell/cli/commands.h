// The command table of skat-cli. Each group of commands lives in its own
// file and hands its entries to the dispatcher.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct CliContext {
  std::filesystem::path navData;  // --navdata, default the current directory
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool inputIsTerminal;
};

// Exit codes shared by the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct CliCommand {
  std::string_view name;
  std::string_view summary;  // one line for the command list
  std::string_view usage;    // the --help text, after "Usage: skat-cli "
  int (*run)(CliContext& context, const std::vector<std::string>& args);
};

std::vector<CliCommand> DatabaseCommands();
std::vector<CliCommand> PlanCommands();
std::vector<CliCommand> ScanCommands();

// Prints "Usage: ..." of `command` to `stream`.
void PrintUsage(std::ostream& stream, const CliCommand& command);
// Reports a bad argument with the command's usage; returns kExitUsage.
int UsageError(CliContext& context, const CliCommand& command, const std::string& problem);
// True when `args` asks for help.
bool WantsHelp(const std::vector<std::string>& args);

// Runs skat-cli with `args` (without the program name); returns the exit code.
int RunSkatCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err, bool inputIsTerminal);

}  // namespace cli
