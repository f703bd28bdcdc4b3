#include "navdb/database.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <span>
#include <vector>

#include "navdb/list_order.h"
#include "platform/file_io.h"
#include "platform/numbers.h"
#include "platform/text_lines.h"

namespace navdb {
namespace {

bool HasControlBytes(std::string_view line) {
  return std::any_of(line.begin(), line.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// True when a file line has the kind's layout: its length, ';' at every
// separator column, no control bytes.
bool HasFileLayout(const KindInfo& info, std::string_view fileLine) {
  if (fileLine.size() < info.lineLength || fileLine.size() > kMaxLineLength) return false;
  if (HasControlBytes(fileLine)) return false;
  for (size_t i = 0; i < info.separatorCount; ++i) {
    if (fileLine[static_cast<size_t>(info.separatorColumns[i])] != ';') return false;
  }
  return true;
}

struct MalformedLines {
  std::vector<std::string>& lines;
  size_t count = 0;
  size_t firstLineNumber = 0;
  void Note(size_t lineNumber, std::string_view line) {
    if (count++ == 0) firstLineNumber = lineNumber;
    lines.emplace_back(line);
  }
};

void ReportMalformed(const UiCallbacks& ui, std::string_view fileName, const MalformedLines& bad) {
  if (bad.count == 0) return;
  char text[256];
  const std::string keptIn = RejectedFileName(fileName);
  std::snprintf(text, sizeof text,
                "%.*s: %zu malformed line(s) skipped, the first at line %zu.\r"
                "They are kept in %s when the database is saved.",
                static_cast<int>(fileName.size()), fileName.data(), bad.count, bad.firstLineNumber,
                keptIn.c_str());
  ShowMessage(ui, "Warning", text, MessageIcon::Warning, MessageButtons::Ok, true);
}

void SetLoadingProgress(const UiCallbacks& ui, int percent) {
  if (ui.setLoadingProgress) ui.setLoadingProgress(percent);
}

// Reads one database file. A missing file is no file, silently; a file that
// exists but cannot be read is reported and remembered in `readFailure`, so
// that no save of this run writes over it.
bool ReadDatabaseFile(const std::filesystem::path& folder, std::string_view fileName,
                      std::string& bytes, std::string& readFailure, const UiCallbacks& ui) {
  const platform::FileResult read = platform::ReadWholeFile(folder / fileName, bytes);
  if (read.ok()) return true;
  if (read.errorNumber == ENOENT) return false;
  readFailure = read.error;
  ShowMessage(ui, "Error",
              "Could not open " + std::string(fileName) + "\r\r" + read.error + "\r\r" +
                  std::string(kUnreadableFileKept),
              MessageIcon::Error, MessageButtons::Ok);
  return false;
}

// Lines of idx.dat are written west lines first (most western first), then
// east lines ascending; in index order east lines come first. Restore that
// order cheaply when the file has it, sort otherwise.
void PutInIndexOrder(std::vector<IndexKey>& keys) {
  auto isWest = [](const IndexKey& k) { return k.text[0] == '-'; };
  const auto firstEast = std::partition_point(keys.begin(), keys.end(), isWest);
  if (std::none_of(firstEast, keys.end(), isWest)) {
    std::reverse(keys.begin(), firstEast);
    std::rotate(keys.begin(), firstEast, keys.end());
    if (std::is_sorted(keys.begin(), keys.end(), IndexKeyLess)) return;
  }
  std::sort(keys.begin(), keys.end(), IndexKeyLess);
}
}  // namespace

std::string EncodeEntryFile(NavaidKind kind, const EntryList& list) {
  const KindInfo& info = InfoOf(kind);
  std::string out;
  out.reserve(info.fileHeader.size() + 2 + list.Count() * (info.lineLength + 2));
  out.append(info.fileHeader).append("\r\n");
  std::string fileLine;
  list.ForEach([&](size_t, std::string_view line) {
    if (line == kPlaceholderLine) return;
    fileLine.assign(line);
    for (size_t i = 0; i < info.separatorCount; ++i) {
      const auto column = static_cast<size_t>(info.separatorColumns[i]);
      if (column < fileLine.size()) fileLine[column] = ';';
    }
    out.append(fileLine).append("\r\n");
  });
  return out;
}

bool DecodeEntryFile(NavaidKind kind, std::string_view bytes, EntryList& list,
                     std::vector<std::string>& rejected, const UiCallbacks& ui) {
  const KindInfo& info = InfoOf(kind);
  MalformedLines bad{rejected};
  bool completed = true;
  const std::span<const int> separators(info.separatorColumns.data(), info.separatorCount);
  platform::ForEachTextLine(bytes, [&](size_t lineNumber, std::string_view fileLine) {
    if (lineNumber == 1 || fileLine.empty()) return true;
    if (!HasFileLayout(info, fileLine)) {
      bad.Note(lineNumber, fileLine);
      return true;
    }
    if (!completed) {
      rejected.emplace_back(fileLine);
      return true;
    }
    // The list line is the file line with spaces at the separator columns.
    if (list.AppendLine(fileLine, separators)) return true;
    rejected.emplace_back(fileLine);
    const MessageAnswer answer =
        ShowMessage(ui, std::string(info.loadErrorCaption), "Can't add entry to list.",
                    MessageIcon::Error, MessageButtons::RetryCancel, true);
    // Cancel stops taking lines; the rest is still kept with the rejected ones.
    completed = answer != MessageAnswer::Cancel;
    return true;
  });
  ReportMalformed(ui, info.fileName, bad);
  return completed;
}

void DecodeIndexFile(std::string_view bytes, IndexLists& index, size_t entryTotal,
                     std::vector<std::string>& rejected, const UiCallbacks& ui) {
  MalformedLines bad{rejected};
  std::vector<IndexKey> lines;
  lines.reserve(bytes.size() / (kIndexLineLength + 2) + 1);
  IndexKey key;
  platform::ForEachTextLine(bytes, [&](size_t lineNumber, std::string_view fileLine) {
    if (lineNumber == 1 || fileLine.empty()) return true;
    if (NormalizeIndexFileLine(fileLine, key))
      lines.push_back(key);
    else
      bad.Note(lineNumber, fileLine);
    return true;
  });
  ReportMalformed(ui, kIndexFileName, bad);

  const bool unlimited = index.primary.Capacity() == EntryList::kUnlimited &&
                         index.following.Capacity() == EntryList::kUnlimited;
  int lastPercent = -1;
  auto progressAfter = [&](size_t n) {
    if (entryTotal == 0) return;
    const int percent = static_cast<int>(platform::RoundHalfAwayFromZero(
        30 + 70.0 * static_cast<double>(n) / static_cast<double>(entryTotal)));
    if (percent != lastPercent) SetLoadingProgress(ui, lastPercent = percent);
  };
  if (unlimited) {
    // Adding the lines one by one would leave the smallest in the primary
    // list and the rest in the following one; do that in one step.
    for (size_t n = 1; n <= lines.size(); ++n) progressAfter(n);
    PutInIndexOrder(lines);
    AssignInIndexOrder(index, lines);
    return;
  }
  for (size_t n = 0; n < lines.size(); ++n) {
    if (!AddIndexLine(index, lines[n])) {
      const MessageAnswer answer = ShowMessage(ui, "Index Error", "Can't add index to list.",
                                               MessageIcon::Error, MessageButtons::RetryCancel);
      if (answer == MessageAnswer::Cancel) return;
    }
    progressAfter(n + 1);
  }
}

void AddPlaceholdersToEmptyLists(Database& db) {
  for (EntryList& list : db.lists) {
    if (list.Empty()) list.AppendLine(kPlaceholderLine);
  }
}

void ShowEntryCounts(const Database& db, const UiCallbacks& ui) {
  if (!ui.showEntryCount) return;
  for (NavaidKind kind : kAllKinds) {
    ui.showEntryCount(kind, static_cast<int>(db.list(kind).EntryCount()));
  }
}

void LoadDatabase(Database& db, const UiCallbacks& ui) {
  db.index.Clear();
  for (EntryList& list : db.lists) list.Clear();
  for (auto& rejected : db.rejectedLines) rejected.clear();
  for (auto& failure : db.readFailures) failure.clear();
  std::string bytes;
  int percent = 0;
  for (NavaidKind kind : kAllKinds) {
    SetLoadingProgress(ui, percent);
    percent += 10;
    if (!ReadDatabaseFile(db.folder, InfoOf(kind).fileName, bytes, db.readFailures[IndexOf(kind)],
                          ui)) {
      continue;
    }
    DecodeEntryFile(kind, bytes, db.list(kind), db.rejectedLines[IndexOf(kind)], ui);
  }
  ShowEntryCounts(db, ui);
  size_t entryTotal = 0;
  for (const EntryList& list : db.lists) entryTotal += list.Count();
  if (ReadDatabaseFile(db.folder, kIndexFileName, bytes, db.readFailures[kIndexFileSlot], ui)) {
    DecodeIndexFile(bytes, db.index, entryTotal, db.rejectedLines[4], ui);
  }
  AddPlaceholdersToEmptyLists(db);
}

}  // namespace navdb
