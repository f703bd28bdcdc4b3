#include "navdb/reporter.h"

namespace navdb {

MessageAnswer Reporter::Message(const MessageRequest& request) const {
  // Without anyone to ask, take the answer that changes nothing.
  switch (request.buttons) {
    case MessageButtons::Ok:
      return MessageAnswer::Ok;
    case MessageButtons::YesNo:
      return MessageAnswer::No;
    default:
      return MessageAnswer::Cancel;
  }
}

MessageAnswer ShowMessage(const Reporter& ui, std::string caption, std::string text,
                          MessageIcon icon, MessageButtons buttons, bool topmost) {
  return ui.Message(MessageRequest{std::move(caption), std::move(text), icon, buttons, topmost});
}

}  // namespace navdb
