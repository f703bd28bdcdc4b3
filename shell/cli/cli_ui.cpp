#include "shell/cli/cli_ui.h"

#include <istream>
#include <memory>
#include <mutex>
#include <ostream>
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

navdb::UiCallbacks MakeCliUi(CliContext& context, const CliAnswers& answers) {
  // Workers may report while the main thread waits: keep their lines whole.
  auto lock = std::make_shared<std::mutex>();
  std::ostream& err = context.err;
  std::shared_ptr<MessageTally> tally = context.tally;
  if (!tally) tally = context.tally = std::make_shared<MessageTally>();
  navdb::UiCallbacks ui;
  ui.messageBox = [&err, answers, lock, tally,
                   verbose = context.verbose](const navdb::MessageRequest& request) {
    std::lock_guard guard(*lock);
    const std::string text = TerminalText(request.caption) + ": " + TerminalText(request.text);
    if (tally->Count(text, verbose)) {
      err << text << '\n';
      err.flush();
    }
    switch (request.buttons) {
      case navdb::MessageButtons::Ok:
        return navdb::MessageAnswer::Ok;
      case navdb::MessageButtons::YesNo:
        return answers.yesNo;
      case navdb::MessageButtons::RetryCancel:
        return answers.retryCancel;
      case navdb::MessageButtons::OkCancel:
        return navdb::MessageAnswer::Ok;
      case navdb::MessageButtons::YesNoCancel:
        return answers.yesNo;
    }
    return navdb::MessageAnswer::Ok;
  };
  if (answers.printStatus) {
    ui.setStatus = [&err, lock](navdb::StatusIcon, const std::string& text) {
      std::lock_guard guard(*lock);
      err << TerminalText(text) << '\n';
    };
  }
  return ui;
}

navdb::UiCallbacks MakeAskingCliUi(CliContext& context, bool yes, CliAnswers answers) {
  answers.yesNo = yes ? navdb::MessageAnswer::Yes : navdb::MessageAnswer::No;
  navdb::UiCallbacks ui = MakeCliUi(context, answers);
  if (yes || !context.inputIsTerminal) return ui;
  ui.messageBox = [&context, print = ui.messageBox](const navdb::MessageRequest& request) {
    const navdb::MessageAnswer shown = print(request);
    if (request.buttons != navdb::MessageButtons::YesNo) return shown;
    context.err << "[y/N] " << std::flush;
    std::string reply;
    std::getline(context.in, reply);
    return (reply == "y" || reply == "Y" || reply == "yes") ? navdb::MessageAnswer::Yes
                                                            : navdb::MessageAnswer::No;
  };
  return ui;
}

}  // namespace cli
