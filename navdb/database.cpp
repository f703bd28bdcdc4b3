#include "navdb/database.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <span>
#include <thread>
#include <vector>

#include "navdb/list_order.h"
#include "platform/file_io.h"
#include "platform/numbers.h"

namespace navdb {
namespace {

// Splits bytes into lines at '\n', dropping a '\r' before it.
template <class Fn>
void ForEachTextLine(std::string_view bytes, Fn&& fn) {
  size_t lineNumber = 0;
  while (!bytes.empty()) {
    size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!fn(++lineNumber, line)) return;
  }
}

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

bool ReadFileIfPresent(const std::filesystem::path& path, std::string& bytes) {
  return platform::ReadWholeFile(path, bytes).ok();
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

std::string RejectedFileName(std::string_view fileName) {
  return std::string(fileName) + ".rejected";
}

namespace {

// Writes the lines a load could not take to "<file>.rejected", so that
// saving over the file they came from loses nothing. Returns the name of a
// file that could not be written, or an empty text.
std::string SaveRejectedLines(const Database& db) {
  for (size_t i = 0; i < db.rejectedLines.size(); ++i) {
    if (db.rejectedLines[i].empty()) continue;
    const std::string_view fileName = i < 4 ? kKindInfo[i].fileName : kIndexFileName;
    std::string bytes;
    for (const std::string& line : db.rejectedLines[i]) bytes.append(line).append("\r\n");
    const std::filesystem::path path = db.folder / RejectedFileName(fileName);
    if (!platform::ReplaceFileAtomically(path, bytes).ok()) return RejectedFileName(fileName);
  }
  return {};
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
  ForEachTextLine(bytes, [&](size_t lineNumber, std::string_view fileLine) {
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
  ForEachTextLine(bytes, [&](size_t lineNumber, std::string_view fileLine) {
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
  std::string bytes;
  int percent = 0;
  for (NavaidKind kind : kAllKinds) {
    SetLoadingProgress(ui, percent);
    percent += 10;
    if (!ReadFileIfPresent(db.folder / InfoOf(kind).fileName, bytes)) continue;
    DecodeEntryFile(kind, bytes, db.list(kind), db.rejectedLines[IndexOf(kind)], ui);
  }
  ShowEntryCounts(db, ui);
  size_t entryTotal = 0;
  for (const EntryList& list : db.lists) entryTotal += list.Count();
  if (ReadFileIfPresent(db.folder / kIndexFileName, bytes)) {
    DecodeIndexFile(bytes, db.index, entryTotal, db.rejectedLines[4], ui);
  }
  AddPlaceholdersToEmptyLists(db);
}

bool SaveDatabase(const Database& db, const UiCallbacks& ui) {
  SetStatus(ui, StatusIcon::Saving, "Status : saving data...");
  auto fail = [&](std::string_view fileName) {
    ShowMessage(ui, "Error", "Can't create file " + std::string(fileName), MessageIcon::Error,
                MessageButtons::Ok);
    SetStatus(ui, StatusIcon::Problem, "Status : a problem occurs while saving !");
    return false;
  };
  for (NavaidKind kind : kAllKinds) {
    const KindInfo& info = InfoOf(kind);
    if (!platform::ReplaceFileAtomically(db.folder / info.fileName,
                                         EncodeEntryFile(kind, db.list(kind)))
             .ok()) {
      return fail(info.fileName);
    }
  }
  std::string indexBytes(kIndexFileHeader);
  indexBytes.append("\r\n").append(WriteIndex(db.index));
  if (!platform::ReplaceFileAtomically(db.folder / kIndexFileName, indexBytes).ok()) {
    return fail(kIndexFileName);
  }
  const std::string rejectedFailure = SaveRejectedLines(db);
  if (!rejectedFailure.empty()) return fail(rejectedFailure);
  SetStatus(ui, StatusIcon::Ready, "Status : done");
  return true;
}

bool RestoreOriginalDatabase(Database& db, const UiCallbacks& ui) {
  const MessageAnswer answer =
      ShowMessage(ui, "Warning",
                  "You are going to lose any modification you've done on the database, \r"
                  "INCLUDING the Intersection list !\r\rProceed ?",
                  MessageIcon::Warning, MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return false;

  const std::string_view order[] = {kIndexFileName, "ndb.dat", "vor.dat", "apt.dat", "int.dat"};
  for (std::string_view fileName : order) {
    const platform::FileResult copied =
        platform::CopyFileReplacing(db.folder / kOriginalFolder / fileName, db.folder / fileName);
    if (!copied.ok()) {
      ShowMessage(ui, "Error : " + std::string(fileName), copied.error, MessageIcon::Error,
                  MessageButtons::Ok);
    }
  }

  std::atomic<bool> loaded{false};
  std::jthread loader([&] {
    LoadDatabase(db, ui);
    loaded = true;
    loaded.notify_all();
  });
  if (ui.showIndexWindow) ui.showIndexWindow(true);
  // The wait message comes back each time it is closed while the load runs.
  for (;;) {
    ShowMessage(ui, "Please wait", "Restoring original database...", MessageIcon::Information,
                MessageButtons::Ok);
    for (int waited = 0; waited < 25 && !loaded; ++waited) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (loaded) break;
  }
  loader.join();
  if (ui.showIndexWindow) ui.showIndexWindow(false);
  ShowMessage(ui, "Information", "Original database restored.", MessageIcon::Information,
              MessageButtons::Ok);
  return true;
}

}  // namespace navdb
