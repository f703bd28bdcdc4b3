#include "shell/cli/cli_ui.h"

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

navdb::UiCallbacks MakeCliUi(std::ostream& err, const CliAnswers& answers) {
  // Workers may report while the main thread waits: keep their lines whole.
  auto lock = std::make_shared<std::mutex>();
  navdb::UiCallbacks ui;
  ui.messageBox = [&err, answers, lock](const navdb::MessageRequest& request) {
    std::lock_guard guard(*lock);
    err << TerminalText(request.caption) << ": " << TerminalText(request.text) << '\n';
    err.flush();
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

}  // namespace cli
