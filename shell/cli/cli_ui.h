// The command-line front end: messages become "Caption: text" on standard
// error, questions are answered by the policy the command's flags chose.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "navdb/reporter.h"
#include "planner/plan_reporter.h"
#include "scanner/scan_reporter.h"
#include "shell/cli/commands.h"

namespace cli {

struct CliAnswers {
  navdb::MessageAnswer yesNo = navdb::MessageAnswer::No;
  navdb::MessageAnswer retryCancel = navdb::MessageAnswer::Retry;
  bool printStatus = true;
};

// Text of a message for the terminal: '\r' and '\n' become line breaks
// (a "\r\n" pair is one break), Windows-1252 becomes UTF-8.
std::string TerminalText(const std::string& text);

// Counts the messages a command shows. A long run can show one message
// thousands of times (a line refused in every file); the terminal gets it
// once and, at the end, how often it came.
class MessageTally {
 public:
  // Counts `text`; true when it is to be printed now: its first time, or
  // every time when `verbose`.
  bool Count(const std::string& text, bool verbose);
  // Prints every message that came more than once, in the order of their
  // first showing, as "TEXT (N times in all)".
  void PrintRepeats(std::ostream& stream) const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::pair<std::string, size_t>> counts_;
  std::unordered_map<std::string, size_t> slots_;
};

// Messages become "Caption: text" lines on the context's standard error,
// repeated ones counted by its tally unless --verbose; status texts follow
// them when `printStatus`. Commands that ask more (a scan, a plan import)
// derive from it.
class CliUi : public scanner::ScanReporter, public planner::PlanReporter {
 public:
  CliUi(CliContext& context, const CliAnswers& answers);

  navdb::MessageAnswer Message(const navdb::MessageRequest& request) const override;
  void Status(navdb::StatusIcon icon, const std::string& text) const override;

 protected:
  CliContext& context_;

 private:
  CliAnswers answers_;
  std::shared_ptr<MessageTally> tally_;
  // Workers may report while the main thread waits: keep their lines whole.
  mutable std::mutex lineMutex_;
};

// A CliUi whose Yes/No questions are answered Yes with `yes`, else asked on
// a terminal ("[y/N]" on standard error), else answered No.
class AskingCliUi : public CliUi {
 public:
  AskingCliUi(CliContext& context, bool yes, CliAnswers answers = {});
  navdb::MessageAnswer Message(const navdb::MessageRequest& request) const override;

 private:
  bool askTerminal_;
};

}  // namespace cli
