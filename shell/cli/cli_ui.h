// The command-line face of the user-interface callbacks: message boxes
// become "Caption: text" on standard error, questions are answered by the
// policy the command's flags chose.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "navdb/ui_callbacks.h"

namespace cli {

struct CliAnswers {
  navdb::MessageAnswer yesNo = navdb::MessageAnswer::No;
  navdb::MessageAnswer retryCancel = navdb::MessageAnswer::Retry;
  bool printStatus = true;
};

// Text of a message for the terminal: '\r' and '\n' become line breaks
// (a "\r\n" pair is one break), Windows-1252 becomes UTF-8.
std::string TerminalText(const std::string& text);

navdb::UiCallbacks MakeCliUi(std::ostream& err, const CliAnswers& answers);

}  // namespace cli
