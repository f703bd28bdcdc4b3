// An ordered list of fixed-column text lines of one kind, addressed by row.
//
// Lines live in chunks of at most kChunkLines lines. Each line takes one
// slot of the list's maximum line length plus a length byte, stored inline
// (no allocation per line), so sorted insertion into a list of 100,000
// lines costs a binary search and a short move, and rows stay plain
// positions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "navdb/navaid_kind.h"

namespace navdb {

class EntryList {
 public:
  static constexpr size_t kUnlimited = SIZE_MAX;

  // `maxLineLength` is at most 255.
  explicit EntryList(size_t capacityLines = kUnlimited, size_t maxLineLength = kMaxLineLength)
      : capacity_(capacityLines),
        maxLineLength_(maxLineLength > 255 ? 255 : maxLineLength),
        slotBytes_(maxLineLength_ + 1) {}

  size_t Count() const { return count_; }
  bool Empty() const { return count_ == 0; }
  size_t Capacity() const { return capacity_; }
  size_t MaxLineLength() const { return maxLineLength_; }

  // The line at `row` (row < Count()). The view stays valid until the list changes.
  std::string_view GetLine(size_t row) const;

  // Inserts `line` at its place in list order, after lines that compare
  // equal. Returns its row, or nothing when the list cannot take it (full,
  // or the line is longer than the list's maximum line length).
  std::optional<size_t> AddLine(std::string_view line);

  // Appends `line` without regard to order (used when loading a file); the
  // characters at `blankColumns` are stored as spaces.
  std::optional<size_t> AppendLine(std::string_view line, std::span<const int> blankColumns = {});

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

  // Calls fn(row, line) for every line in list order.
  template <class Fn>
  void ForEach(Fn&& fn) const {
    size_t row = 0;
    for (const Chunk& chunk : chunks_) {
      const size_t lines = LinesIn(chunk);
      for (size_t i = 0; i < lines; ++i) fn(row++, LineAt(chunk, i));
    }
  }

  // Replaces the contents with lines[first, last), which must already be in
  // list order and fit the capacity. Used to rebuild a list in one step.
  // Elements convert to std::string_view.
  template <class Iterator>
  void AssignSorted(Iterator first, Iterator last) {
    Clear();
    while (first != last) {
      Chunk chunk;
      chunk.reserve(kChunkLines * slotBytes_);
      size_t lines = 0;
      for (; lines < kChunkLines / 2 && first != last; ++lines, ++first) {
        AppendSlot(chunk, std::string_view(*first));
      }
      count_ += lines;
      chunks_.push_back(std::move(chunk));
    }
    RebuildChunkSums();
  }
  template <class Range>
  void AssignSorted(const Range& lines) {
    AssignSorted(std::begin(lines), std::end(lines));
  }

 private:
  // A chunk holds its lines back to back, each in a slot of slotBytes_:
  // the length byte, then the text.
  using Chunk = std::vector<char>;
  static constexpr size_t kChunkLines = 128;

  struct Position {
    size_t chunk;
    size_t offset;
  };
  size_t LinesIn(const Chunk& chunk) const { return chunk.size() / slotBytes_; }
  std::string_view LineAt(const Chunk& chunk, size_t i) const {
    const char* slot = chunk.data() + i * slotBytes_;
    return {slot + 1, static_cast<uint8_t>(slot[0])};
  }
  std::string_view LastLineOf(const Chunk& chunk) const {
    return LineAt(chunk, LinesIn(chunk) - 1);
  }
  void AppendSlot(Chunk& chunk, std::string_view line) const {
    const size_t length = line.size() < maxLineLength_ ? line.size() : maxLineLength_;
    const size_t at = chunk.size();
    chunk.resize(at + slotBytes_);
    chunk[at] = static_cast<char>(length);
    std::memcpy(chunk.data() + at + 1, line.data(), length);
  }
  Position Locate(size_t row) const;
  Position UpperBound(std::string_view line) const;
  size_t LowerBoundPrimary(std::string_view prefix) const;
  size_t InsertAt(Position at, std::string_view line);
  // Row of the first line of `chunk`.
  size_t ChunkStart(size_t chunk) const;
  void ChunkGrew(size_t chunk, long lines);
  void RebuildChunkSums();
  // Adds the Fenwick node of a new, empty last chunk.
  void AppendChunkSum();

  std::vector<Chunk> chunks_;
  // Fenwick tree over the line counts of the chunks (1-based), so that a
  // row and a chunk's first row are found in logarithmic time.
  std::vector<size_t> chunkSums_;
  size_t count_ = 0;
  size_t capacity_;
  size_t maxLineLength_;
  size_t slotBytes_;
  // Whether the lines are in list order; appending leaves it to be found
  // out when it is first needed.
  mutable bool sorted_ = true;
  mutable bool sortedKnown_ = true;
};

}  // namespace navdb
