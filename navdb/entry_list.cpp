#include "navdb/entry_list.h"

#include <algorithm>

#include "navdb/list_order.h"

namespace navdb {

std::string_view EntryList::GetLine(size_t row) const {
  Position at = Locate(row);
  return LineAt(chunks_[at.chunk], at.offset);
}

EntryList::Position EntryList::Locate(size_t row) const {
  // Descend the Fenwick tree to the last chunk that starts at or before `row`.
  size_t chunk = 0, rest = row;
  size_t step = 1;
  while (step * 2 <= chunks_.size()) step *= 2;
  for (; step > 0; step /= 2) {
    if (chunk + step <= chunks_.size() && chunkSums_[chunk + step] <= rest) {
      chunk += step;
      rest -= chunkSums_[chunk];
    }
  }
  return {chunk, rest};
}

size_t EntryList::ChunkStart(size_t chunk) const {
  size_t sum = 0;
  for (size_t i = chunk; i > 0; i -= i & (~i + 1)) sum += chunkSums_[i];
  return sum;
}

void EntryList::ChunkGrew(size_t chunk, long lines) {
  for (size_t i = chunk + 1; i < chunkSums_.size(); i += i & (~i + 1)) {
    chunkSums_[i] = static_cast<size_t>(static_cast<long>(chunkSums_[i]) + lines);
  }
}

void EntryList::AppendChunkSum() {
  // The new node covers the chunks (i - lowbit(i), i]; all but the last,
  // empty one are already counted in the prefix sums.
  if (chunkSums_.empty()) chunkSums_.push_back(0);
  const size_t i = chunks_.size();
  const size_t lowest = i & (~i + 1);
  chunkSums_.push_back(ChunkStart(i - 1) - ChunkStart(i - lowest));
}

void EntryList::RebuildChunkSums() {
  chunkSums_.assign(chunks_.size() + 1, 0);
  for (size_t i = 1; i <= chunks_.size(); ++i) {
    chunkSums_[i] += LinesIn(chunks_[i - 1]);
    const size_t parent = i + (i & (~i + 1));
    if (parent <= chunks_.size()) chunkSums_[parent] += chunkSums_[i];
  }
}

// Lowest index in [0, count) for which `after(i)` holds, for a predicate
// that is false and then true.
template <class Predicate>
static size_t PartitionPoint(size_t count, Predicate after) {
  size_t low = 0, high = count;
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    if (after(middle))
      high = middle;
    else
      low = middle + 1;
  }
  return low;
}

EntryList::Position EntryList::UpperBound(std::string_view line) const {
  if (chunks_.empty()) return {0, 0};
  // First chunk whose last line sorts after `line`; the insertion point lies in it.
  const size_t chunk = PartitionPoint(
      chunks_.size(), [&](size_t c) { return ListOrderLess(line, LastLineOf(chunks_[c])); });
  if (chunk == chunks_.size()) return {chunks_.size() - 1, LinesIn(chunks_.back())};
  const Chunk& in = chunks_[chunk];
  const size_t offset =
      PartitionPoint(LinesIn(in), [&](size_t i) { return ListOrderLess(line, LineAt(in, i)); });
  return {chunk, offset};
}

size_t EntryList::InsertAt(Position at, std::string_view line) {
  if (chunks_.empty()) {
    chunks_.emplace_back().reserve(kChunkLines * slotBytes_);
    RebuildChunkSums();
  }
  Chunk& chunk = chunks_[at.chunk];
  if (at.offset == LinesIn(chunk)) {
    AppendSlot(chunk, line);
  } else {
    Chunk slot;
    AppendSlot(slot, line);
    chunk.insert(chunk.begin() + static_cast<std::ptrdiff_t>(at.offset * slotBytes_), slot.begin(),
                 slot.end());
  }
  ++count_;
  const size_t row = ChunkStart(at.chunk) + at.offset;
  if (LinesIn(chunk) > kChunkLines) {
    // Split the full chunk in two halves.
    const auto middle = chunk.begin() + static_cast<std::ptrdiff_t>(kChunkLines / 2 * slotBytes_);
    Chunk upper;
    upper.reserve(kChunkLines * slotBytes_);
    upper.assign(middle, chunk.end());
    chunk.erase(middle, chunk.end());
    chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(at.chunk) + 1, std::move(upper));
    RebuildChunkSums();
  } else {
    ChunkGrew(at.chunk, 1);
  }
  return row;
}

std::optional<size_t> EntryList::AddLine(std::string_view line) {
  if (count_ >= capacity_ || line.size() > maxLineLength_) return std::nullopt;
  return InsertAt(UpperBound(line), line);
}

std::optional<size_t> EntryList::AppendLine(std::string_view line,
                                            std::span<const int> blankColumns) {
  if (count_ >= capacity_ || line.size() > maxLineLength_) return std::nullopt;
  if (count_ > 0) sortedKnown_ = false;
  if (chunks_.empty() || LinesIn(chunks_.back()) >= kChunkLines) {
    // Start a fresh chunk rather than splitting a full one: appended lists stay dense.
    chunks_.emplace_back().reserve(kChunkLines * slotBytes_);
    AppendChunkSum();
  }
  Chunk& chunk = chunks_.back();
  AppendSlot(chunk, line);
  ChunkGrew(chunks_.size() - 1, 1);
  const size_t row = count_++;
  char* text = chunk.data() + chunk.size() - slotBytes_ + 1;
  for (int column : blankColumns) {
    if (column >= 0 && static_cast<size_t>(column) < line.size()) text[column] = ' ';
  }
  return row;
}

void EntryList::DeleteLine(size_t row) {
  if (row >= count_) return;
  Position at = Locate(row);
  Chunk& chunk = chunks_[at.chunk];
  const auto slot = chunk.begin() + static_cast<std::ptrdiff_t>(at.offset * slotBytes_);
  chunk.erase(slot, slot + static_cast<std::ptrdiff_t>(slotBytes_));
  --count_;
  if (chunk.empty()) {
    chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(at.chunk));
    RebuildChunkSums();
  } else {
    ChunkGrew(at.chunk, -1);
  }
  if (count_ == 0) sorted_ = sortedKnown_ = true;
}

void EntryList::Clear() {
  chunks_.clear();
  chunkSums_.clear();
  count_ = 0;
  sorted_ = true;
  sortedKnown_ = true;
}

bool EntryList::IsSorted() const {
  if (!sortedKnown_) {
    sorted_ = true;
    std::string_view previous;
    bool first = true;
    ForEach([&](size_t, std::string_view line) {
      if (!first && sorted_ && ListOrderLess(line, previous)) sorted_ = false;
      previous = line;
      first = false;
    });
    sortedKnown_ = true;
  }
  return sorted_;
}

size_t EntryList::LowerBoundPrimary(std::string_view prefix) const {
  // Lines whose key begins with the key of `prefix` form one run in list order.
  const size_t chunk = PartitionPoint(chunks_.size(), [&](size_t c) {
    return ComparePrimaryKeyToPrefix(LastLineOf(chunks_[c]), prefix) >= 0;
  });
  if (chunk == chunks_.size()) return count_;
  const Chunk& in = chunks_[chunk];
  const size_t offset = PartitionPoint(
      LinesIn(in), [&](size_t i) { return ComparePrimaryKeyToPrefix(LineAt(in, i), prefix) >= 0; });
  return ChunkStart(chunk) + offset;
}

std::optional<size_t> EntryList::FindPrefix(std::string_view text) const {
  std::optional<size_t> found;
  if (!IsSorted()) {
    ForEach([&](size_t row, std::string_view line) {
      if (!found && StartsWithIgnoringCase(line, text)) found = row;
    });
    return found;
  }
  for (size_t row = LowerBoundPrimary(text); row < count_; ++row) {
    std::string_view line = GetLine(row);
    if (ComparePrimaryKeyToPrefix(line, text) != 0) break;
    if (StartsWithIgnoringCase(line, text)) return row;
  }
  return std::nullopt;
}

bool EntryList::HoldsOnlyPlaceholder() const {
  return count_ == 1 && GetLine(0) == kPlaceholderLine;
}

}  // namespace navdb
