// Database and message texts are Windows-1252 bytes; Qt wants Unicode. These
// are the only places where the two meet.
#pragma once

#include <QString>

#include <string>
#include <string_view>

QString QStringFromWin1252(std::string_view bytes);

// Characters without a Windows-1252 form become '?'.
std::string Win1252FromQString(const QString& text);

// A message text for a Qt label: "\r\n", '\r' and '\n' each break the line
// once, so "\r\r" leaves an empty line between two paragraphs.
QString MessageTextToQt(std::string_view bytes);
