// The command table of skat-cli. Each group of commands lives in its own
// file and hands its entries to the dispatcher.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "navdb/database_lock.h"

namespace cli {

class MessageTally;

struct CliContext {
  std::filesystem::path navData;  // --navdata, default the current directory
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool inputIsTerminal;
  bool verbose = false;                 // --verbose: every message, even repeated ones
  std::shared_ptr<MessageTally> tally;  // messages shown so far, for the repeat summary
};

// Exit codes shared by the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// How a command uses the database, and so which database lock it holds
// from its load to its end.
enum class DatabaseUse {
  None,            // no lock
  Reads,           // shared; the NavData folder must exist
  ReadsIfPresent,  // shared when the NavData folder exists, else nothing to read
  Changes,         // exclusive; the NavData folder must exist
  Creates,         // exclusive; the NavData folder is made when missing
};

struct CliCommand {
  std::string_view name;
  std::string_view summary;  // one line for the command list
  std::string_view usage;    // the --help text, after "Usage: skat-cli "
  int (*run)(CliContext& context, const std::vector<std::string>& args);
};

std::vector<CliCommand> DatabaseCommands();
std::vector<CliCommand> PlanCommands();
std::vector<CliCommand> ScanCommands();
std::vector<CliCommand> MapCommands();
std::vector<CliCommand> EntryCommands();
std::vector<CliCommand> JournalCommands();

// Takes the database lock that `use` asks for (nothing for None). Refused,
// or when the folder is missing where it must exist, shows the reason as an
// "Error" message and returns false.
bool LockDatabase(CliContext& context, DatabaseUse use, std::optional<navdb::DatabaseLock>& lock);

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
