#include "navdb/ui_callbacks.h"

namespace navdb {

MessageAnswer ShowMessage(const UiCallbacks& ui, std::string caption, std::string text,
                          MessageIcon icon, MessageButtons buttons, bool topmost) {
  if (ui.messageBox) {
    return ui.messageBox(
        MessageRequest{std::move(caption), std::move(text), icon, buttons, topmost});
  }
  // Without anyone to ask, take the answer that changes nothing.
  switch (buttons) {
    case MessageButtons::Ok:
      return MessageAnswer::Ok;
    case MessageButtons::YesNo:
      return MessageAnswer::No;
    default:
      return MessageAnswer::Cancel;
  }
}

void SetStatus(const UiCallbacks& ui, StatusIcon icon, const std::string& text) {
  if (ui.setStatus) ui.setStatus(icon, text);
}

}  // namespace navdb
