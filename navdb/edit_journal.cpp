#include "navdb/edit_journal.h"

#include <time.h>

#include <array>
#include <cstdio>

#include "platform/text_lines.h"

namespace navdb {
namespace {

constexpr std::array<std::string_view, 3> kActionNames = {"add", "modify", "delete"};
constexpr std::array<std::string_view, 4> kKindWords = {"ndb", "vor", "apt", "int"};
constexpr std::string_view kBeforeMark = "- ";
constexpr std::string_view kAfterMark = "+ ";
// A quoted piece of a damaged line is cut here, so that a reason stays one line.
constexpr size_t kQuotedChars = 40;

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendEscaped(std::string& out, std::string_view line) {
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (byte < 0x20) {
      out += "\\x";
      out += kHexDigits[byte >> 4];
      out += kHexDigits[byte & 0xF];
    } else {
      out += c;
    }
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The line an escaped text stands for; nothing for an escape that is not
// "\\" or "\xHH".
std::optional<std::string> Unescaped(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      line += text[i];
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '\\') {
      line += '\\';
      ++i;
      continue;
    }
    if (i + 3 >= text.size() || text[i + 1] != 'x') return std::nullopt;
    const int high = HexValue(text[i + 2]);
    const int low = HexValue(text[i + 3]);
    if (high < 0 || low < 0) return std::nullopt;
    line += static_cast<char>(high * 16 + low);
    i += 3;
  }
  return line;
}

// A piece of a damaged line for a reason: escaped, and cut.
std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  AppendEscaped(quoted, text.substr(0, kQuotedChars));
  if (text.size() > kQuotedChars) quoted += "...";
  return quoted + "'";
}

bool DigitsAt(std::string_view text, size_t at, size_t count, int most) {
  int value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return value <= most;
}

// "YYYY-MM-DDTHH:MM:SSZ" with each field within its range.
bool IsTimeText(std::string_view text) {
  if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':' || text[19] != 'Z') {
    return false;
  }
  return DigitsAt(text, 0, 4, 9999) && DigitsAt(text, 5, 2, 12) && text.substr(5, 2) != "00" &&
         DigitsAt(text, 8, 2, 31) && text.substr(8, 2) != "00" && DigitsAt(text, 11, 2, 23) &&
         DigitsAt(text, 14, 2, 59) && DigitsAt(text, 17, 2, 60);
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

// The head line's time, action and kind, or nothing.
std::optional<JournalRecord> ReadHead(std::string_view head) {
  const size_t first = head.find(' ');
  if (first == std::string_view::npos) return std::nullopt;
  const size_t second = head.find(' ', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const std::string_view time = head.substr(0, first);
  const std::optional<JournalAction> action =
      ActionFromName(head.substr(first + 1, second - first - 1));
  const std::optional<NavaidKind> kind = KindFromJournalWord(head.substr(second + 1));
  if (!IsTimeText(time) || !action || !kind) return std::nullopt;
  JournalRecord record;
  record.timeUtc = std::string(time);
  record.action = *action;
  record.kind = *kind;
  return record;
}

// Reads the line of a record marked by `mark` ("- " before, "+ " after)
// into `line`; false with `problem` set when it is missing or not whole.
bool ReadEntryLine(platform::TextLineSplitter& lines, size_t& lineNumber, NavaidKind kind,
                   std::string_view mark, std::string& line, std::string& problem) {
  const std::string_view which =
      mark == kBeforeMark ? "the line before the change" : "the line after the change";
  const std::optional<std::string_view> text = lines.Next();
  if (!text) {
    problem = "the journal ends before " + std::string(which) + " (line " +
              std::to_string(lineNumber + 1) + ")";
    return false;
  }
  ++lineNumber;
  const std::string where = "line " + std::to_string(lineNumber) + ": ";
  if (!text->starts_with(mark)) {
    problem = where + "expected " + std::string(which) + ", beginning with '" + std::string(mark) +
              "', found " + Quoted(*text);
    return false;
  }
  std::optional<std::string> unescaped = Unescaped(text->substr(mark.size()));
  if (!unescaped) {
    problem = where + "a '\\' that is neither \"\\\\\" nor \"\\x\" and two hex digits";
    return false;
  }
  if (!IsStorableLine(kind, *unescaped)) {
    const KindInfo& info = InfoOf(kind);
    problem = where + std::string(which) + " does not have the layout of a line of " +
              std::string(info.fileName) + " (" + std::to_string(info.lineLength) +
              " characters, a space at every separator column, no control bytes): it has " +
              std::to_string(unescaped->size()) + " characters";
    return false;
  }
  line = std::move(*unescaped);
  return true;
}

std::string HeaderProblem(std::string_view first) {
  constexpr std::string_view kFormatPrefix = "// Edit journal for Skyatlas, format ";
  if (first.starts_with(kFormatPrefix)) {
    return "edits.journal is written in format " + Quoted(first.substr(kFormatPrefix.size())) +
           ", which this version of the program does not read. It is left as it is.";
  }
  return "edits.journal does not begin with the line \"" + std::string(kJournalHeader) +
         "\": it is not an edit journal of this program, and it is left as it is.";
}

}  // namespace

std::string_view ActionName(JournalAction action) {
  return kActionNames[static_cast<size_t>(action)];
}

std::optional<JournalAction> ActionFromName(std::string_view name) {
  for (size_t i = 0; i < kActionNames.size(); ++i) {
    if (kActionNames[i] == name) return static_cast<JournalAction>(i);
  }
  return std::nullopt;
}

std::string_view JournalKindWord(NavaidKind kind) {
  return kKindWords[IndexOf(kind)];
}

std::optional<NavaidKind> KindFromJournalWord(std::string_view word) {
  for (const NavaidKind kind : kAllKinds) {
    if (JournalKindWord(kind) == word) return kind;
  }
  return std::nullopt;
}

std::string JournalTimeText(std::chrono::system_clock::time_point time) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
  std::tm utc{};
  ::gmtime_r(&seconds, &utc);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
  return text;
}

JournalRecord MakeJournalRecord(JournalAction action, NavaidKind kind, std::string before,
                                std::string after) {
  return {JournalTimeText(std::chrono::system_clock::now()), action, kind, std::move(before),
          std::move(after)};
}

bool IsStorableLine(NavaidKind kind, std::string_view line) {
  const KindInfo& info = InfoOf(kind);
  if (line.size() != info.lineLength) return false;
  for (size_t i = 0; i < info.separatorCount; ++i) {
    if (line[static_cast<size_t>(info.separatorColumns[i])] != ' ') return false;
  }
  for (const char c : line) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  return true;
}

std::string EncodeJournalRecord(const JournalRecord& record) {
  std::string text = record.timeUtc;
  text.append(" ")
      .append(ActionName(record.action))
      .append(" ")
      .append(JournalKindWord(record.kind));
  text += "\r\n";
  if (record.action != JournalAction::Add) {
    text += kBeforeMark;
    AppendEscaped(text, record.before);
    text += "\r\n";
  }
  if (record.action != JournalAction::Delete) {
    text += kAfterMark;
    AppendEscaped(text, record.after);
    text += "\r\n";
  }
  return text + "\r\n";
}

std::string EncodeJournal(std::span<const JournalRecord> records) {
  std::string text(kJournalHeader);
  text += "\r\n\r\n";
  for (const JournalRecord& record : records) text += EncodeJournalRecord(record);
  return text;
}

platform::Result<JournalContents> DecodeJournal(std::string_view bytes) {
  JournalContents contents;
  if (bytes.empty()) return contents;
  platform::TextLineSplitter lines(bytes);
  const std::string_view first = lines.Next().value_or(std::string_view());
  if (first != kJournalHeader) return platform::Error{HeaderProblem(first), 0, {}};
  size_t lineNumber = 1;
  for (;;) {
    const size_t start = lines.Position();
    const std::optional<std::string_view> head = lines.Next();
    if (!head) break;
    ++lineNumber;
    if (IsBlank(*head)) continue;
    const size_t headLine = lineNumber;
    std::optional<JournalRecord> record = ReadHead(*head);
    std::string problem;
    if (!record) {
      problem = "line " + std::to_string(headLine) + ": " + Quoted(*head) +
                " is not the head of a record (its time in UTC, add, modify or delete, and "
                "ndb, vor, apt or int)";
    } else if ((record->action != JournalAction::Add &&
                !ReadEntryLine(lines, lineNumber, record->kind, kBeforeMark, record->before,
                               problem)) ||
               (record->action != JournalAction::Delete &&
                !ReadEntryLine(lines, lineNumber, record->kind, kAfterMark, record->after,
                               problem))) {
      record.reset();
    }
    if (!record) {
      contents.damage =
          JournalDamage{headLine, std::move(problem), std::string(bytes.substr(start))};
      break;
    }
    contents.records.push_back(std::move(*record));
  }
  return contents;
}

}  // namespace navdb
