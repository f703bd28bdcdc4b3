// An ordered list of fixed-column text lines of one kind, addressed by row.
//
// A line is a reference to text the list keeps alive: either a view into a
// loaded file's bytes (a load copies nothing) or a copy in the list's own
// text blocks (lines added or appended one by one). The rows are chunks of
// at most kChunkLines line ids with a Fenwick tree of chunk sizes, so
// sorted insertion into a list of 100,000 lines costs a binary search and a
// short move, and rows stay plain positions.
//
// A list loaded out of list order keeps its rows in file order and beside
// them a sorted permutation of its lines (built when it is first needed,
// then kept up to date by every insert and delete), so that prefix search
// and sorted insertion stay logarithmic on it as well.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "navdb/navaid_kind.h"

namespace navdb {

// Text blocks that lines point into. Copies of a list share the blocks
// (written bytes never change); each copy writes new lines into blocks of
// its own.
class LineStorage {
 public:
  LineStorage() = default;
  LineStorage(const LineStorage& other) : kept_(other.kept_) {}
  LineStorage& operator=(const LineStorage& other);
  LineStorage(LineStorage&& other) noexcept;
  LineStorage& operator=(LineStorage&& other) noexcept;

  // Copies `text` into a block and returns where it now lives.
  const char* Store(std::string_view text);
  // Keeps `bytes` alive as long as this storage (or a copy of it) lives.
  void Keep(std::shared_ptr<const std::string> bytes) { kept_.push_back(std::move(bytes)); }
  void Clear();

 private:
  std::vector<std::shared_ptr<const std::string>> kept_;
  char* free_ = nullptr;  // the unused rest of this storage's own last block
  size_t freeBytes_ = 0;
};

class EntryList {
 public:
  static constexpr size_t kUnlimited = SIZE_MAX;

  // `maxLineLength` is at most 255.
  explicit EntryList(size_t capacityLines = kUnlimited, size_t maxLineLength = kMaxLineLength)
      : capacity_(capacityLines), maxLineLength_(maxLineLength > 255 ? 255 : maxLineLength) {}

  size_t Count() const { return count_; }
  bool Empty() const { return count_ == 0; }
  size_t Capacity() const { return capacity_; }
  size_t MaxLineLength() const { return maxLineLength_; }

  // The line at `row` (row < Count()). The view stays valid as long as the
  // list (or a copy of it) holds the line.
  std::string_view GetLine(size_t row) const;

  // Inserts `line` at its place in list order, after lines that compare
  // equal. Returns its row, or nothing when the list cannot take it (full,
  // or the line is longer than the list's maximum line length). In a list
  // out of list order the line goes right after the last line that sorts
  // at or before it (before the first line when none does).
  std::optional<size_t> AddLine(std::string_view line);

  // Where AddLine would put a line and what FindPrefix would answer for it,
  // found in one search, so that a merge can look a line up and then add it
  // without searching again. Valid until the list changes.
  struct Probe {
    std::optional<size_t> match;  // first row, in list order, that begins with the key
    std::optional<size_t> same;   // first row that begins with the whole line (only with a match)
    size_t sortedChunk = 0;       // the insertion point in list order
    size_t sortedOffset = 0;
  };
  Probe ProbeLine(std::string_view key, std::string_view line) const;
  // AddLine at the point a Probe of `line` found.
  std::optional<size_t> AddProbedLine(const Probe& probe, std::string_view line);

  // Appends `line` without regard to order (used when loading a file); the
  // characters at `blankColumns` are stored as spaces.
  std::optional<size_t> AppendLine(std::string_view line, std::span<const int> blankColumns = {});

  // Keeps `bytes` alive as long as the list (or a copy of it) lives, so
  // that AppendView can take lines that lie in it.
  void KeepBytes(std::shared_ptr<const std::string> bytes) { storage_.Keep(std::move(bytes)); }
  // Makes room for `lines` lines without reallocating.
  void Reserve(size_t lines);
  // Appends a line that lies in bytes given to KeepBytes, without copying.
  std::optional<size_t> AppendView(std::string_view line);

  void DeleteLine(size_t row);
  void Clear();

  // Row of the first line, in list order, that begins with `text` (letter
  // case ignored), or nothing.
  std::optional<size_t> FindPrefix(std::string_view text) const;

  // True while every line is in list order (not so after appending lines
  // out of order).
  bool IsSorted() const;

  // True when the list holds only the placeholder line.
  bool HoldsOnlyPlaceholder() const;
  // Number of entries: the lines, less the placeholder.
  size_t EntryCount() const { return HoldsOnlyPlaceholder() ? 0 : count_; }

  // Calls fn(row, line) for every line in row order.
  template <class Fn>
  void ForEach(Fn&& fn) const {
    size_t row = 0;
    for (const Chunk& chunk : rows_) {
      for (uint32_t id : chunk.ids) fn(row++, TextOf(id));
    }
  }

  // Replaces the contents with lines[first, last), which must already be in
  // list order and fit the capacity. Used to rebuild a list in one step.
  // Elements convert to std::string_view.
  template <class Iterator>
  void AssignSorted(Iterator first, Iterator last) {
    Clear();
    for (; first != last; ++first) PushRow(Text(std::string_view(*first)));
    FinishAssign();
  }
  template <class Range>
  void AssignSorted(const Range& lines) {
    AssignSorted(std::begin(lines), std::end(lines));
  }
  // AssignSorted of lines that lie in bytes given to KeepBytes since the
  // last Clear; they are not copied.
  void AssignSortedViews(std::span<const std::string_view> lines);

 private:
  static constexpr size_t kChunkLines = 128;

  // Where a line's text lives, and the number of the row chunk it is in.
  struct LineRef {
    const char* text;
    uint32_t length;
    uint32_t rowChunk;
  };
  struct Chunk {
    std::vector<uint32_t> ids;
    uint32_t number = 0;  // stable while the chunk lives (row chunks only)
  };
  struct Position {
    size_t chunk;
    size_t offset;
  };

  std::string_view TextOf(uint32_t id) const { return {lines_[id].text, lines_[id].length}; }
  LineRef Text(std::string_view line) {
    return {storage_.Store(line), static_cast<uint32_t>(line.size()), 0};
  }
  uint32_t NewId(LineRef ref);
  // Appends a line to the last row chunk during AssignSorted.
  void PushRow(LineRef ref);
  void FinishAssign();

  Position Locate(size_t row) const;
  size_t ChunkStart(size_t chunk) const;
  void ChunkGrew(size_t chunk, long lines);
  void RebuildRowIndex();
  size_t RowOf(uint32_t id) const;
  size_t InsertRow(Position at, uint32_t id);
  std::optional<size_t> AppendRef(LineRef ref);

  // The chunks that hold the lines in list order: the rows themselves while
  // the list is sorted, the permutation otherwise.
  const std::vector<Chunk>& SortedChunks() const { return IsSorted() ? rows_ : sorted_; }
  Position UpperBound(const std::vector<Chunk>& chunks, std::string_view line) const;
  // The packed key of a search prefix, and the mask that cuts a line's
  // packed key to as many weights.
  struct PrefixKey {
    uint64_t bits = 0;
    uint64_t mask = 0;
    bool fits = true;  // the prefix has no more weights than a packed key
  };
  static PrefixKey PrefixKeyOf(std::string_view prefix);
  // False when the line cannot begin with the prefix, told from the keys alone.
  bool MayBeginWith(uint32_t id, const PrefixKey& key) const {
    return (packedKeys_[id] & key.mask) == key.bits;
  }
  Position LowerBoundPrimary(const std::vector<Chunk>& chunks, std::string_view prefix,
                             const PrefixKey& prefixKey) const;
  // First line of the primary-key run at `at` that begins with `text`.
  std::optional<uint32_t> FirstWithPrefix(const std::vector<Chunk>& chunks, Position at,
                                          std::string_view text) const;
  void BuildPermutation() const;
  // Packs the keys of every line the first time a search needs them; from
  // then on every new line gets its key when it gets its id.
  void EnsurePackedKeys() const;
  void InsertSorted(Position at, uint32_t id);
  void EraseSorted(uint32_t id);

  LineStorage storage_;
  std::vector<LineRef> lines_;  // by line id
  std::vector<uint32_t> freeIds_;
  std::vector<Chunk> rows_;  // line ids in row order
  // Fenwick tree over the line counts of the row chunks (1-based), so that
  // a row and a chunk's first row are found in logarithmic time.
  std::vector<size_t> chunkSums_;
  // Index in rows_ of each row chunk by its number.
  std::vector<uint32_t> chunkIndex_;
  uint32_t nextChunkNumber_ = 0;
  size_t count_ = 0;
  size_t capacity_;
  size_t maxLineLength_;
  // Searches are const and may run on two threads at once (the Flight Plan
  // dialog's import worker and the main window's Find ID), so the first one
  // that needs the permutation or the keys builds them under this lock and
  // the others wait. Changes to the list never overlap a search.
  struct BuildLock {
    std::mutex mutex;
    BuildLock() = default;
    BuildLock(const BuildLock&) {}
    BuildLock& operator=(const BuildLock&) { return *this; }
  };
  // A flag that searching threads test while the one building sets it.
  class BuiltFlag {
   public:
    BuiltFlag(bool value) : value_(value) {}  // NOLINT: reads as the bool it stands for
    BuiltFlag(const BuiltFlag& other) : value_(other.value_.load()) {}
    BuiltFlag& operator=(const BuiltFlag& other) {
      value_.store(other.value_.load());
      return *this;
    }
    BuiltFlag& operator=(bool value) {
      value_.store(value, std::memory_order_release);
      return *this;
    }
    operator bool() const { return value_.load(std::memory_order_acquire); }  // NOLINT

   private:
    std::atomic<bool> value_;
  };
  mutable BuildLock buildLock_;
  // Whether the rows are in list order; appending leaves it to be found out
  // when it is first needed, and the permutation is built then.
  mutable bool rowsSorted_ = true;
  mutable BuiltFlag orderKnown_ = true;
  mutable std::vector<Chunk> sorted_;  // line ids in list order, while the rows are not
  // The packed primary key of each line by line id (see PackPrimaryKey),
  // kept once a search has needed them; searches compare these and read a
  // line's text only when two keys are equal.
  mutable std::vector<uint64_t> packedKeys_;
  mutable BuiltFlag keysPacked_ = false;
};

}  // namespace navdb
