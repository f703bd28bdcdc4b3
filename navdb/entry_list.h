// An ordered list of fixed-column text lines of one kind, addressed by row.
//
// Lines live in chunks of at most kChunkLines lines, each line stored inline
// (no allocation per line), so sorted insertion into a list of 100,000 lines
// costs a binary search and a short move, and rows stay plain positions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "navdb/navaid_kind.h"

namespace navdb {

class EntryList {
 public:
  static constexpr size_t kUnlimited = SIZE_MAX;

  explicit EntryList(size_t capacityLines = kUnlimited) : capacity_(capacityLines) {}

  size_t Count() const { return count_; }
  bool Empty() const { return count_ == 0; }
  size_t Capacity() const { return capacity_; }

  // The line at `row` (row < Count()). The view stays valid until the list changes.
  std::string_view GetLine(size_t row) const;

  // Inserts `line` at its place in list order, after lines that compare
  // equal. Returns its row, or nothing when the list cannot take it (full,
  // or the line is longer than kMaxLineLength).
  std::optional<size_t> AddLine(std::string_view line);

  // Appends `line` without regard to order (used when loading a file).
  std::optional<size_t> AppendLine(std::string_view line);

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
      for (const StoredLine& stored : chunk) fn(row++, stored.view());
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
      chunk.reserve(kChunkLines);
      for (size_t n = 0; n < kChunkLines / 2 && first != last; ++n, ++first) {
        chunk.emplace_back().assign(std::string_view(*first).substr(0, kMaxLineLength));
      }
      chunkStart_.push_back(count_);
      count_ += chunk.size();
      chunks_.push_back(std::move(chunk));
    }
  }
  template <class Range>
  void AssignSorted(const Range& lines) {
    AssignSorted(std::begin(lines), std::end(lines));
  }

 private:
  struct StoredLine {
    uint8_t length = 0;
    char text[kMaxLineLength];
    std::string_view view() const { return {text, length}; }
    void assign(std::string_view line);
  };
  using Chunk = std::vector<StoredLine>;
  static constexpr size_t kChunkLines = 256;

  struct Position {
    size_t chunk;
    size_t offset;
  };
  Position Locate(size_t row) const;
  Position UpperBound(std::string_view line) const;
  size_t LowerBoundPrimary(std::string_view prefix) const;
  size_t InsertAt(Position at, std::string_view line);
  void RecountFrom(size_t chunk);

  std::vector<Chunk> chunks_;
  std::vector<size_t> chunkStart_;  // row of each chunk's first line
  size_t count_ = 0;
  size_t capacity_;
  // Whether the lines are in list order; appending leaves it to be found
  // out when it is first needed.
  mutable bool sorted_ = true;
  mutable bool sortedKnown_ = true;
};

}  // namespace navdb
