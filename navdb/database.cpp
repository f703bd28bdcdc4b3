#include "navdb/database.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iterator>
#include <system_error>
#include <vector>

#include "navdb/list_order.h"
#include "platform/file_io.h"
#include "platform/memory_pages.h"
#include "platform/numbers.h"
#include "platform/worker_thread.h"

namespace navdb {
namespace {

constexpr std::string_view kListFullText =
    "Can't add entry to list.\r\rA list holds at most 100,000 entries.";

// Offset of the first byte below 0x20 (a line end or a control byte) at or
// after `pos`, or `size`. Sixteen bytes at a time where the processor has
// them, else eight: a byte b < 0x20 makes b - 0x20 borrow into its top bit
// while its own top bit is clear; borrows only run towards later bytes, so
// the lowest flag is the first such byte.
size_t FindControlByte(const char* data, size_t pos, size_t size) {
#if defined(__SSE2__)
  const __m128i highest = _mm_set1_epi8(0x1F);
  for (; pos + 16 <= size; pos += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
    // b <= 0x1F exactly where min(b, 0x1F) == b.
    const int below = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(bytes, highest), bytes));
    if (below) return pos + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(below)));
  }
#endif
  if constexpr (std::endian::native == std::endian::little) {
    for (; pos + 8 <= size; pos += 8) {
      uint64_t word;
      std::memcpy(&word, data + pos, 8);
      const uint64_t flags = (word - 0x2020202020202020ULL) & ~word & 0x8080808080808080ULL;
      if (flags) return pos + static_cast<size_t>(std::countr_zero(flags) / 8);
    }
  }
  while (pos < size && static_cast<unsigned char>(data[pos]) >= 0x20) ++pos;
  return pos;
}

// Calls fn(lineNumber, line, hasControlBytes) for every line, counting from
// 1, with the line ends of platform::ForEachTextLine (CR LF, LF, bare CR),
// finding line ends and control bytes in one pass.
template <class Fn>
void ForEachFileLine(std::string_view bytes, Fn&& fn) {
  const char* data = bytes.data();
  const size_t size = bytes.size();
  size_t pos = 0, lineNumber = 0;
  while (pos < size) {
    size_t end = FindControlByte(data, pos, size);
    const bool hasControlBytes = end < size && data[end] != '\r' && data[end] != '\n';
    if (hasControlBytes) end = std::min(bytes.find_first_of("\r\n", end), size);
    const std::string_view line(data + pos, end - pos);
    pos = end;
    if (pos < size) pos += (data[pos] == '\r' && pos + 1 < size && data[pos + 1] == '\n') ? 2 : 1;
    fn(++lineNumber, line, hasControlBytes);
  }
}

// True when a file line without control bytes has the kind's layout: its
// length and ';' at every separator column. A longer line is refused too:
// the display reads the files by fixed line lengths.
bool HasFileLayout(const KindInfo& info, std::string_view fileLine) {
  if (fileLine.size() != info.lineLength) return false;
  for (size_t i = 0; i < info.separatorCount; ++i) {
    if (fileLine[static_cast<size_t>(info.separatorColumns[i])] != ';') return false;
  }
  return true;
}

// Line 1 of a file this program wrote is a comment; a file made elsewhere
// may begin with its first entry instead, which is then read as one.
bool IsHeaderLine(size_t lineNumber, std::string_view fileLine) {
  return lineNumber == 1 && fileLine.starts_with("//");
}

void SetSeparators(const KindInfo& info, char* line, char separator) {
  for (size_t i = 0; i < info.separatorCount; ++i) {
    line[static_cast<size_t>(info.separatorColumns[i])] = separator;
  }
}

struct MalformedLines {
  std::vector<std::string>& lines;
  size_t count = 0;
  size_t firstLineNumber = 0;
  size_t tooLong = 0;  // of them, lines longer than the kind's layout
  void Note(size_t lineNumber, std::string_view line) {
    if (count++ == 0) firstLineNumber = lineNumber;
    lines.emplace_back(line);
  }
};

void ReportMalformed(const Reporter& ui, std::string_view fileName, const MalformedLines& bad,
                     size_t lineLength = 0) {
  if (bad.count == 0) return;
  char text[384];
  const std::string keptIn = RejectedFileName(fileName);
  char why[128] = "";
  if (bad.tooLong > 0) {
    std::snprintf(why, sizeof why,
                  "%zu of them %s longer than the %zu characters of an entry line.\r", bad.tooLong,
                  bad.tooLong == 1 ? "is" : "are", lineLength);
  }
  std::snprintf(text, sizeof text,
                "%.*s: %zu malformed line(s) skipped, the first at line %zu.\r%s"
                "They are kept in %s when the database is saved.",
                static_cast<int>(fileName.size()), fileName.data(), bad.count, bad.firstLineNumber,
                why, keptIn.c_str());
  ShowMessage(ui, "Warning", text, MessageIcon::Warning, MessageButtons::Ok, true);
}

void SetLoadingProgress(const Reporter& ui, int percent) {
  ui.Progress(ProgressTask::DatabaseLoad, percent);
}

// Reads one database file into `bytes`, sized from the file: the bytes stay
// as the lines' storage, and room for all of them at once spares the copies
// and the fresh memory of growing by doubling. (A size that changes before
// the read only costs that saving.)
platform::Status ReadDatabaseBytes(const std::filesystem::path& path, std::string& bytes) {
  std::error_code sizeError;
  const std::uintmax_t sizeBytes = std::filesystem::file_size(path, sizeError);
  if (!sizeError) bytes.reserve(static_cast<size_t>(sizeBytes));
  return platform::ReadWholeFile(path, bytes);
}

// What became of reading a database file. A missing file is no file,
// silently; a file that exists but cannot be read is reported and
// remembered in `readFailure`, so that no save of this run writes over it.
bool TakeReadResult(const platform::Status& read, std::string_view fileName,
                    std::string& readFailure, const Reporter& ui) {
  if (read.ok()) return true;
  if (read.error().errorNumber == ENOENT) return false;
  readFailure = read.error().message;
  ShowMessage(ui, "Error",
              "Could not open " + std::string(fileName) + "\r\r" + read.error().message + "\r\r" +
                  std::string(kUnreadableFileKept),
              MessageIcon::Error, MessageButtons::Ok);
  return false;
}

// Lines of idx.dat are written west lines first (most western first), then
// east lines ascending; in index order east lines come first. Restore that
// order cheaply when the file has it, sort otherwise.
void PutInIndexOrder(std::vector<std::string_view>& lines) {
  auto isWest = [](std::string_view line) { return line[0] == '-'; };
  // Index lines are all 32 characters, and for their shape byte order is index order.
  auto less = [](std::string_view a, std::string_view b) {
    return std::memcmp(a.data(), b.data(), kIndexLineLength) < 0;
  };
  const auto firstEast = std::partition_point(lines.begin(), lines.end(), isWest);
  if (std::none_of(firstEast, lines.end(), isWest)) {
    std::reverse(lines.begin(), firstEast);
    std::rotate(lines.begin(), firstEast, lines.end());
    if (std::is_sorted(lines.begin(), lines.end(), less)) return;
  }
  std::sort(lines.begin(), lines.end(), less);
}

// NormalizeIndexFileLine where the line lies, so that the index keeps the
// file's bytes: the space put back in front of a non-negative longitude
// takes the place of a leading blank or of the previous line's end.
std::optional<std::string_view> NormalizeInPlace(char* data, std::string_view fileLine) {
  size_t start = 0;
  while (start < fileLine.size() && (fileLine[start] == ' ' || fileLine[start] == '\t')) ++start;
  const std::string_view rest = fileLine.substr(start);
  const size_t lead = (rest.empty() || rest[0] != '-') ? 1 : 0;
  if (lead + rest.size() != kIndexLineLength) return std::nullopt;
  // The very first byte of the file has no room in front of it.
  if (lead && rest.data() == data) return std::nullopt;
  char* const first = data + (rest.data() - data) - lead;
  if (lead && *first != ' ') {
    // Only a line that has the shape is changed: one set aside keeps its bytes.
    IndexKey key;
    key.text[0] = ' ';
    rest.copy(key.text + 1, rest.size());
    if (!HasIndexLineShape(key)) return std::nullopt;
    *first = ' ';
  } else if (!HasIndexLineShape(first)) {
    return std::nullopt;
  }
  return std::string_view(first, kIndexLineLength);
}
}  // namespace

std::string EncodeEntryFile(NavaidKind kind, const EntryList& list) {
  const KindInfo& info = InfoOf(kind);
  std::string out;
  out.reserve(info.fileHeader.size() + 2 + list.Count() * (info.lineLength + 2));
  out.append(info.fileHeader).append("\r\n");
  list.ForEach([&](size_t, std::string_view line) {
    if (line == kPlaceholderLine) return;
    const size_t start = out.size();
    out.append(line);
    for (size_t i = 0; i < info.separatorCount; ++i) {
      const auto column = static_cast<size_t>(info.separatorColumns[i]);
      if (column < line.size()) out[start + column] = ';';
    }
    out.append("\r\n");
  });
  return out;
}

bool DecodeEntryFile(NavaidKind kind, std::string_view bytes, EntryList& list,
                     std::vector<std::string>& rejected, const Reporter& ui) {
  return DecodeEntryFile(kind, std::make_shared<std::string>(bytes), list, rejected, ui);
}

bool DecodeEntryFile(NavaidKind kind, const std::shared_ptr<std::string>& bytes, EntryList& list,
                     std::vector<std::string>& rejected, const Reporter& ui) {
  const KindInfo& info = InfoOf(kind);
  MalformedLines bad{rejected};
  bool completed = true;
  list.KeepBytes(bytes);
  list.Reserve(list.Count() + bytes->size() / (info.lineLength + 2));
  char* const data = bytes->data();
  ForEachFileLine(*bytes, [&](size_t lineNumber, std::string_view fileLine, bool hasControlBytes) {
    if (fileLine.empty() || IsHeaderLine(lineNumber, fileLine)) return;
    if (hasControlBytes || !HasFileLayout(info, fileLine)) {
      if (!hasControlBytes && fileLine.size() > info.lineLength) ++bad.tooLong;
      bad.Note(lineNumber, fileLine);
      return;
    }
    if (!completed) {
      rejected.emplace_back(fileLine);
      return;
    }
    // The list line is the file line with spaces at the separator columns:
    // the bytes are the list's storage, so blank them where they lie.
    char* const line = data + (fileLine.data() - data);
    SetSeparators(info, line, ' ');
    if (list.AppendView(fileLine)) return;
    SetSeparators(info, line, ';');
    rejected.emplace_back(fileLine);
    const MessageAnswer answer =
        ShowMessage(ui, std::string(info.loadErrorCaption), std::string(kListFullText),
                    MessageIcon::Error, MessageButtons::RetryCancel, true);
    // Cancel stops taking lines; the rest is still kept with the rejected ones.
    completed = answer != MessageAnswer::Cancel;
  });
  ReportMalformed(ui, info.fileName, bad, info.lineLength);
  return completed;
}

void DecodeIndexFile(std::string_view bytes, IndexLists& index, size_t entryTotal,
                     std::vector<std::string>& rejected, const Reporter& ui) {
  DecodeIndexFile(std::make_shared<std::string>(bytes), index, entryTotal, rejected, ui);
}

IndexFileLines SplitIndexLines(std::shared_ptr<std::string> bytes, bool putInIndexOrder) {
  IndexFileLines split;
  MalformedLines bad{split.malformed};
  split.lines.reserve(bytes->size() / (kIndexLineLength + 2) + 1);
  platform::PrefaultForWriting(split.lines.data(),
                               split.lines.capacity() * sizeof(std::string_view));
  char* const data = bytes->data();
  ForEachFileLine(*bytes, [&](size_t lineNumber, std::string_view fileLine, bool) {
    if (fileLine.empty() || IsHeaderLine(lineNumber, fileLine)) return;
    if (const std::optional<std::string_view> line = NormalizeInPlace(data, fileLine))
      split.lines.push_back(*line);
    else
      bad.Note(lineNumber, fileLine);
  });
  split.malformedCount = bad.count;
  split.firstMalformedLine = bad.firstLineNumber;
  if (putInIndexOrder) {
    PutInIndexOrder(split.lines);
    split.inIndexOrder = true;
  }
  split.bytes = std::move(bytes);
  return split;
}

void DecodeIndexFile(std::shared_ptr<std::string> bytes, IndexLists& index, size_t entryTotal,
                     std::vector<std::string>& rejected, const Reporter& ui) {
  const bool unlimited = index.primary.Capacity() == EntryList::kUnlimited &&
                         index.following.Capacity() == EntryList::kUnlimited;
  TakeIndexLines(SplitIndexLines(std::move(bytes), unlimited), index, entryTotal, rejected, ui);
}

void TakeIndexLines(IndexFileLines split, IndexLists& index, size_t entryTotal,
                    std::vector<std::string>& rejected, const Reporter& ui) {
  MalformedLines bad{rejected, split.malformedCount, split.firstMalformedLine};
  rejected.insert(rejected.end(), std::make_move_iterator(split.malformed.begin()),
                  std::make_move_iterator(split.malformed.end()));
  ReportMalformed(ui, kIndexFileName, bad);
  std::vector<std::string_view>& lines = split.lines;

  const bool unlimited = index.primary.Capacity() == EntryList::kUnlimited &&
                         index.following.Capacity() == EntryList::kUnlimited;
  int lastPercent = -1;
  auto percentAfter = [&](size_t n) {
    return static_cast<int>(platform::RoundHalfAwayFromZero(
        30 + 70.0 * static_cast<double>(n) / static_cast<double>(entryTotal)));
  };
  auto progressAfter = [&](size_t n) {
    if (entryTotal == 0) return;
    const int percent = percentAfter(n);
    if (percent != lastPercent) SetLoadingProgress(ui, lastPercent = percent);
  };
  if (unlimited) {
    // The values the bar takes line by line, found by jumping to the line
    // where the value changes (it never falls) rather than line by line.
    for (size_t n = 1; n <= lines.size() && entryTotal > 0;) {
      progressAfter(n);
      const double nextValueAt = (lastPercent + 0.5 - 30) * static_cast<double>(entryTotal) / 70;
      size_t next = std::max(n + 1, static_cast<size_t>(std::max(0.0, nextValueAt)));
      while (next > n + 1 && percentAfter(next - 1) > lastPercent) --next;
      while (next <= lines.size() && percentAfter(next) <= lastPercent) ++next;
      n = next;
    }
    // Adding the lines one by one would leave the smallest in the primary
    // list and the rest in the following one; do that in one step.
    if (!split.inIndexOrder) PutInIndexOrder(lines);
    AssignInIndexOrder(index, std::move(split.bytes), lines);
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

void ShowEntryCounts(const Database& db, const Reporter& ui) {
  for (NavaidKind kind : kAllKinds) {
    ui.EntryCountChanged(kind, static_cast<int>(db.List(kind).EntryCount()));
  }
}

void LoadDatabase(Database& db, const Reporter& ui) {
  db.index.Clear();
  for (EntryList& list : db.lists) list.Clear();
  for (auto& rejected : db.rejectedLines) rejected.clear();
  for (auto& failure : db.readFailures) failure.clear();
  // idx.dat is read and its lines checked on a second thread while the entry
  // files load: none of that needs the entry lists or the user, and it is
  // half the work of a load.
  const bool unlimited = db.index.primary.Capacity() == EntryList::kUnlimited &&
                         db.index.following.Capacity() == EntryList::kUnlimited;
  struct ReadIndex {
    platform::Status read;
    IndexFileLines split;
  };
  const auto readIndex = [path = db.folder / kIndexFileName, unlimited] {
    ReadIndex result;
    auto bytes = std::make_shared<std::string>();
    result.read = ReadDatabaseBytes(path, *bytes);
    if (result.read.ok()) result.split = SplitIndexLines(std::move(bytes), unlimited);
    return result;
  };
  ReadIndex index;
  std::exception_ptr indexFailure;  // running out of memory there is thrown here
  platform::WorkerThread indexReader;
  try {
    indexReader = platform::WorkerThread([&index, &indexFailure, &readIndex] {
      try {
        index = readIndex();
      } catch (...) {
        indexFailure = std::current_exception();
      }
    });
  } catch (const std::system_error&) {
    // No thread to be had: idx.dat is read in turn, after the entry files.
  }
  int percent = 0;
  for (NavaidKind kind : kAllKinds) {
    SetLoadingProgress(ui, percent);
    percent += 10;
    // Each file's bytes become the storage of its list's lines.
    auto bytes = std::make_shared<std::string>();
    const std::string_view fileName = InfoOf(kind).fileName;
    if (!TakeReadResult(ReadDatabaseBytes(db.folder / fileName, *bytes), fileName,
                        db.readFailures[IndexOf(kind)], ui)) {
      continue;
    }
    DecodeEntryFile(kind, bytes, db.List(kind), db.rejectedLines[IndexOf(kind)], ui);
  }
  ShowEntryCounts(db, ui);
  size_t entryTotal = 0;
  for (const EntryList& list : db.lists) entryTotal += list.Count();
  if (indexReader.joinable()) {
    indexReader.join();
    if (indexFailure) std::rethrow_exception(indexFailure);
  } else {
    index = readIndex();
  }
  if (TakeReadResult(index.read, kIndexFileName, db.readFailures[kIndexFileSlot], ui)) {
    TakeIndexLines(std::move(index.split), db.index, entryTotal, db.rejectedLines[4], ui);
  }
  AddPlaceholdersToEmptyLists(db);
}

}  // namespace navdb
