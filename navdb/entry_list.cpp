#include "navdb/entry_list.h"

#include <algorithm>
#include <cstring>

#include "navdb/list_order.h"

namespace navdb {

void EntryList::StoredLine::assign(std::string_view line) {
  length = static_cast<uint8_t>(line.size());
  std::memcpy(text, line.data(), line.size());
}

std::string_view EntryList::GetLine(size_t row) const {
  Position at = Locate(row);
  return chunks_[at.chunk][at.offset].view();
}

EntryList::Position EntryList::Locate(size_t row) const {
  auto it = std::upper_bound(chunkStart_.begin(), chunkStart_.end(), row);
  size_t chunk = static_cast<size_t>(it - chunkStart_.begin()) - 1;
  return {chunk, row - chunkStart_[chunk]};
}

EntryList::Position EntryList::UpperBound(std::string_view line) const {
  if (chunks_.empty()) return {0, 0};
  // First chunk whose last line sorts after `line`; the insertion point lies in it.
  auto chunkIt = std::partition_point(chunks_.begin(), chunks_.end(), [&](const Chunk& c) {
    return !ListOrderLess(line, c.back().view());
  });
  if (chunkIt == chunks_.end()) return {chunks_.size() - 1, chunks_.back().size()};
  auto lineIt = std::partition_point(chunkIt->begin(), chunkIt->end(), [&](const StoredLine& s) {
    return !ListOrderLess(line, s.view());
  });
  return {static_cast<size_t>(chunkIt - chunks_.begin()),
          static_cast<size_t>(lineIt - chunkIt->begin())};
}

size_t EntryList::InsertAt(Position at, std::string_view line) {
  if (chunks_.empty()) {
    chunks_.emplace_back();
    chunks_.back().reserve(kChunkLines);
    chunkStart_.push_back(0);
  }
  Chunk& chunk = chunks_[at.chunk];
  if (at.offset == chunk.size()) {
    chunk.emplace_back().assign(line);
  } else {
    StoredLine stored;
    stored.assign(line);
    chunk.insert(chunk.begin() + static_cast<std::ptrdiff_t>(at.offset), stored);
  }
  ++count_;
  const size_t row = chunkStart_[at.chunk] + at.offset;
  if (chunk.size() > kChunkLines) {
    // Split the full chunk in two halves.
    Chunk upper(chunk.begin() + kChunkLines / 2, chunk.end());
    upper.reserve(kChunkLines);
    chunk.erase(chunk.begin() + kChunkLines / 2, chunk.end());
    chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(at.chunk) + 1, std::move(upper));
    chunkStart_.insert(chunkStart_.begin() + static_cast<std::ptrdiff_t>(at.chunk) + 1, 0);
  }
  RecountFrom(at.chunk);
  return row;
}

void EntryList::RecountFrom(size_t chunk) {
  for (size_t i = chunk + 1; i < chunks_.size(); ++i) {
    chunkStart_[i] = chunkStart_[i - 1] + chunks_[i - 1].size();
  }
}

std::optional<size_t> EntryList::AddLine(std::string_view line) {
  if (count_ >= capacity_ || line.size() > kMaxLineLength) return std::nullopt;
  return InsertAt(UpperBound(line), line);
}

std::optional<size_t> EntryList::AppendLine(std::string_view line) {
  if (count_ >= capacity_ || line.size() > kMaxLineLength) return std::nullopt;
  if (count_ > 0) sortedKnown_ = false;
  if (chunks_.empty() || chunks_.back().size() >= kChunkLines) {
    // Start a fresh chunk rather than splitting a full one: appended lists stay dense.
    chunkStart_.push_back(count_);
    chunks_.emplace_back();
    chunks_.back().reserve(kChunkLines);
  }
  return InsertAt({chunks_.size() - 1, chunks_.back().size()}, line);
}

void EntryList::DeleteLine(size_t row) {
  if (row >= count_) return;
  Position at = Locate(row);
  Chunk& chunk = chunks_[at.chunk];
  chunk.erase(chunk.begin() + static_cast<std::ptrdiff_t>(at.offset));
  --count_;
  if (chunk.empty()) {
    chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(at.chunk));
    chunkStart_.erase(chunkStart_.begin() + static_cast<std::ptrdiff_t>(at.chunk));
    if (at.chunk > 0) RecountFrom(at.chunk - 1);
    else if (!chunks_.empty()) {
      chunkStart_[0] = 0;
      RecountFrom(0);
    }
  } else {
    RecountFrom(at.chunk);
  }
  if (count_ == 0) sorted_ = sortedKnown_ = true;
}

void EntryList::Clear() {
  chunks_.clear();
  chunkStart_.clear();
  count_ = 0;
  sorted_ = true;
  sortedKnown_ = true;
}

size_t EntryList::LowerBoundPrimary(std::string_view prefix) const {
  // Lines whose key begins with the key of `prefix` form one run in list order.
  auto chunkIt = std::partition_point(chunks_.begin(), chunks_.end(), [&](const Chunk& c) {
    return ComparePrimaryKeyToPrefix(c.back().view(), prefix) < 0;
  });
  if (chunkIt == chunks_.end()) return count_;
  auto lineIt = std::partition_point(chunkIt->begin(), chunkIt->end(), [&](const StoredLine& s) {
    return ComparePrimaryKeyToPrefix(s.view(), prefix) < 0;
  });
  const size_t chunk = static_cast<size_t>(chunkIt - chunks_.begin());
  return chunkStart_[chunk] + static_cast<size_t>(lineIt - chunkIt->begin());
}

bool EntryList::IsSorted() const {
  if (!sortedKnown_) {
    sorted_ = true;
    const StoredLine* previous = nullptr;
    for (const Chunk& chunk : chunks_) {
      for (const StoredLine& stored : chunk) {
        if (previous && ListOrderLess(stored.view(), previous->view())) sorted_ = false;
        previous = &stored;
      }
      if (!sorted_) break;
    }
    sortedKnown_ = true;
  }
  return sorted_;
}

std::optional<size_t> EntryList::FindPrefix(std::string_view text) const {
  if (!IsSorted()) {
    std::optional<size_t> found;
    ForEach([&](size_t row, std::string_view line) {
      if (!found && StartsWithIgnoringCase(line, text)) found = row;
    });
    return found;
  }
  size_t row = LowerBoundPrimary(text);
  if (row >= count_) return std::nullopt;
  Position at = Locate(row);
  for (size_t c = at.chunk; c < chunks_.size(); ++c) {
    for (size_t o = (c == at.chunk ? at.offset : 0); o < chunks_[c].size(); ++o, ++row) {
      std::string_view line = chunks_[c][o].view();
      if (ComparePrimaryKeyToPrefix(line, text) != 0) return std::nullopt;
      if (StartsWithIgnoringCase(line, text)) return row;
    }
  }
  return std::nullopt;
}

bool EntryList::HoldsOnlyPlaceholder() const {
  return count_ == 1 && GetLine(0) == kPlaceholderLine;
}


}  // namespace navdb
