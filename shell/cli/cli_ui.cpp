#include "shell/cli/cli_ui.h"

#include <istream>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/win1252.h"

namespace cli {

std::string TerminalText(const std::string& text) {
  std::string broken;
  broken.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      broken += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      broken += text[i];
    }
  }
  return platform::Win1252ToUtf8(broken);
}

bool MessageTally::Count(const std::string& text, bool verbose) {
  std::lock_guard guard(mutex_);
  const auto [slot, added] = slots_.try_emplace(text, counts_.size());
  if (added) counts_.emplace_back(text, 0);
  return ++counts_[slot->second].second == 1 || verbose;
}

void MessageTally::PrintRepeats(std::ostream& stream) const {
  std::lock_guard guard(mutex_);
  for (const auto& [text, count] : counts_) {
    if (count > 1) stream << text << " (" << count << " times in all)\n";
  }
}

CliUi::CliUi(CliContext& context, const CliAnswers& answers)
    : context_(context), answers_(answers), tally_(context.tally) {
  if (!tally_) tally_ = context.tally = std::make_shared<MessageTally>();
}

navdb::MessageAnswer CliUi::Message(const navdb::MessageRequest& request) const {
  std::lock_guard guard(lineMutex_);
  const std::string text = TerminalText(request.caption) + ": " + TerminalText(request.text);
  if (tally_->Count(text, context_.verbose)) {
    context_.err << text << '\n';
    context_.err.flush();
  }
  switch (request.buttons) {
    case navdb::MessageButtons::Ok:
      return navdb::MessageAnswer::Ok;
    case navdb::MessageButtons::YesNo:
      return answers_.yesNo;
    case navdb::MessageButtons::RetryCancel:
      return answers_.retryCancel;
    case navdb::MessageButtons::OkCancel:
      return navdb::MessageAnswer::Ok;
    case navdb::MessageButtons::YesNoCancel:
      return answers_.yesNo;
  }
  return navdb::MessageAnswer::Ok;
}

void CliUi::Status(navdb::StatusIcon, const std::string& text) const {
  if (!answers_.printStatus) return;
  std::lock_guard guard(lineMutex_);
  context_.err << TerminalText(text) << '\n';
}

namespace {

CliAnswers WithYes(CliAnswers answers, bool yes) {
  answers.yesNo = yes ? navdb::MessageAnswer::Yes : navdb::MessageAnswer::No;
  return answers;
}

}  // namespace

AskingCliUi::AskingCliUi(CliContext& context, bool yes, CliAnswers answers)
    : CliUi(context, WithYes(answers, yes)), askTerminal_(!yes && context.inputIsTerminal) {}

navdb::MessageAnswer AskingCliUi::Message(const navdb::MessageRequest& request) const {
  const navdb::MessageAnswer shown = CliUi::Message(request);
  if (!askTerminal_ || request.buttons != navdb::MessageButtons::YesNo) return shown;
  context_.err << "[y/N] " << std::flush;
  std::string reply;
  std::getline(context_.in, reply);
  return (reply == "y" || reply == "Y" || reply == "yes") ? navdb::MessageAnswer::Yes
                                                          : navdb::MessageAnswer::No;
}

}  // namespace cli
