#include "shell/skat/qt_text.h"

#include "platform/win1252.h"

QString QStringFromWin1252(std::string_view bytes) {
  return QString::fromStdString(platform::Win1252ToUtf8(bytes));
}

std::string Win1252FromQString(const QString& text) {
  return platform::Utf8ToWin1252(text.toStdString());
}

QString MessageTextToQt(std::string_view bytes) {
  std::string broken;
  broken.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r') {
      broken += '\n';
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      broken += bytes[i];
    }
  }
  return QStringFromWin1252(broken);
}
