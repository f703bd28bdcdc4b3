#include "navdb/entry_list.h"

#include <algorithm>
#include <cstring>

#include "navdb/list_order.h"
#include "platform/memory_pages.h"

namespace navdb {

namespace {

// Bytes of one text block: about 600 entry lines.
constexpr size_t kBlockBytes = 64 * 1024;

// Lowest index in [0, count) for which `after(i)` holds, for a predicate
// that is false and then true.
template <class Predicate>
size_t PartitionPoint(size_t count, Predicate after) {
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

}  // namespace

LineStorage& LineStorage::operator=(const LineStorage& other) {
  if (this != &other) {
    kept_ = other.kept_;
    free_ = nullptr;
    freeBytes_ = 0;
  }
  return *this;
}

LineStorage::LineStorage(LineStorage&& other) noexcept
    : kept_(std::move(other.kept_)), free_(other.free_), freeBytes_(other.freeBytes_) {
  other.kept_.clear();
  other.free_ = nullptr;
  other.freeBytes_ = 0;
}

LineStorage& LineStorage::operator=(LineStorage&& other) noexcept {
  if (this != &other) {
    kept_ = std::move(other.kept_);
    free_ = other.free_;
    freeBytes_ = other.freeBytes_;
    other.kept_.clear();
    other.free_ = nullptr;
    other.freeBytes_ = 0;
  }
  return *this;
}

const char* LineStorage::Store(std::string_view text) {
  if (text.size() > freeBytes_) {
    auto block = std::make_shared<std::string>(std::max(kBlockBytes, text.size()), '\0');
    free_ = block->data();
    freeBytes_ = block->size();
    kept_.push_back(std::move(block));
  }
  char* at = free_;
  if (!text.empty()) std::memcpy(at, text.data(), text.size());
  free_ += text.size();
  freeBytes_ -= text.size();
  return at;
}

void LineStorage::Clear() {
  kept_.clear();
  free_ = nullptr;
  freeBytes_ = 0;
}

std::string_view EntryList::GetLine(size_t row) const {
  const Position at = Locate(row);
  return TextOf(rows_[at.chunk].ids[at.offset]);
}

EntryList::Position EntryList::Locate(size_t row) const {
  // The first chunk needs no descent (a scan looks at row 0 for every line).
  if (!rows_.empty() && row < rows_[0].ids.size()) return {0, row};
  // Descend the Fenwick tree to the last chunk that starts at or before `row`.
  size_t chunk = 0, rest = row;
  size_t step = 1;
  while (step * 2 <= rows_.size()) step *= 2;
  for (; step > 0; step /= 2) {
    if (chunk + step <= rows_.size() && chunkSums_[chunk + step] <= rest) {
      chunk += step;
      rest -= chunkSums_[chunk];
    }
  }
  // The row just past the end lies at the end of the last chunk.
  if (chunk == rows_.size() && chunk > 0) return {chunk - 1, rows_.back().ids.size()};
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

void EntryList::RebuildRowIndex() {
  chunkSums_.assign(rows_.size() + 1, 0);
  chunkIndex_.assign(nextChunkNumber_, 0);
  for (size_t i = 1; i <= rows_.size(); ++i) {
    chunkSums_[i] += rows_[i - 1].ids.size();
    const size_t parent = i + (i & (~i + 1));
    if (parent <= rows_.size()) chunkSums_[parent] += chunkSums_[i];
    chunkIndex_[rows_[i - 1].number] = static_cast<uint32_t>(i - 1);
  }
}

size_t EntryList::RowOf(uint32_t id) const {
  const size_t chunk = chunkIndex_[lines_[id].rowChunk];
  const std::vector<uint32_t>& ids = rows_[chunk].ids;
  const auto at = std::find(ids.begin(), ids.end(), id);
  return ChunkStart(chunk) + static_cast<size_t>(at - ids.begin());
}

uint32_t EntryList::NewId(LineRef ref) {
  uint32_t id;
  if (!freeIds_.empty()) {
    id = freeIds_.back();
    freeIds_.pop_back();
    lines_[id] = ref;
  } else {
    lines_.push_back(ref);
    id = static_cast<uint32_t>(lines_.size() - 1);
  }
  if (keysPacked_) {
    if (packedKeys_.size() < lines_.size()) packedKeys_.resize(lines_.size());
    packedKeys_[id] = PackPrimaryKey(TextOf(id)).bits;
  }
  return id;
}

void EntryList::EnsurePackedKeys() const {
  if (keysPacked_) return;
  std::lock_guard<std::mutex> building(buildLock_.mutex);
  if (keysPacked_) return;  // another search built them while this one waited
  packedKeys_.resize(lines_.size());
  for (size_t id = 0; id < lines_.size(); ++id) {
    packedKeys_[id] = PackPrimaryKey(TextOf(static_cast<uint32_t>(id))).bits;
  }
  keysPacked_ = true;
}

void EntryList::Reserve(size_t lines) {
  lines_.reserve(std::min(lines, capacity_));
  // A load then writes every reserved line's reference in turn.
  platform::PrefaultForWriting(lines_.data() + lines_.size(),
                               (lines_.capacity() - lines_.size()) * sizeof(LineRef));
}

void EntryList::PushRow(LineRef ref) {
  if (rows_.empty() || rows_.back().ids.size() >= kChunkLines / 2) {
    rows_.push_back({{}, nextChunkNumber_++});
    rows_.back().ids.reserve(kChunkLines + 1);
  }
  ref.rowChunk = rows_.back().number;
  rows_.back().ids.push_back(NewId(ref));
  ++count_;
}

void EntryList::AssignSortedViews(std::span<const std::string_view> lines) {
  // Like Clear, but the bytes the lines lie in stay.
  LineStorage kept = std::move(storage_);
  Clear();
  storage_ = std::move(kept);
  lines_.reserve(lines.size());
  for (std::string_view line : lines) PushRow({line.data(), static_cast<uint32_t>(line.size()), 0});
  FinishAssign();
}

void EntryList::FinishAssign() {
  RebuildRowIndex();
  rowsSorted_ = orderKnown_ = true;
}

size_t EntryList::InsertRow(Position at, uint32_t id) {
  if (rows_.empty()) {
    rows_.push_back({{}, nextChunkNumber_++});
    rows_.back().ids.reserve(kChunkLines + 1);
    RebuildRowIndex();
    at = {0, 0};
  }
  Chunk& chunk = rows_[at.chunk];
  chunk.ids.insert(chunk.ids.begin() + static_cast<std::ptrdiff_t>(at.offset), id);
  lines_[id].rowChunk = chunk.number;
  ++count_;
  const size_t row = ChunkStart(at.chunk) + at.offset;
  if (chunk.ids.size() > kChunkLines) {
    // Split the full chunk in two halves.
    Chunk upper{{}, nextChunkNumber_++};
    upper.ids.reserve(kChunkLines + 1);
    upper.ids.assign(chunk.ids.begin() + kChunkLines / 2, chunk.ids.end());
    chunk.ids.resize(kChunkLines / 2);
    for (uint32_t moved : upper.ids) lines_[moved].rowChunk = upper.number;
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at.chunk) + 1, std::move(upper));
    RebuildRowIndex();
  } else {
    ChunkGrew(at.chunk, 1);
  }
  return row;
}

EntryList::Position EntryList::UpperBound(const std::vector<Chunk>& chunks,
                                          std::string_view line) const {
  if (chunks.empty()) return {0, 0};
  EnsurePackedKeys();
  const uint64_t lineKey = PackPrimaryKey(line).bits;
  const auto sortsBefore = [&](uint32_t id) {
    const uint64_t key = packedKeys_[id];
    if (key != lineKey) return lineKey < key;
    return ListOrderLess(line, TextOf(id));
  };
  // First chunk whose last line sorts after `line`; the insertion point lies in it.
  const size_t chunk =
      PartitionPoint(chunks.size(), [&](size_t c) { return sortsBefore(chunks[c].ids.back()); });
  if (chunk == chunks.size()) return {chunks.size() - 1, chunks.back().ids.size()};
  const std::vector<uint32_t>& ids = chunks[chunk].ids;
  const size_t offset = PartitionPoint(ids.size(), [&](size_t i) { return sortsBefore(ids[i]); });
  return {chunk, offset};
}

EntryList::PrefixKey EntryList::PrefixKeyOf(std::string_view prefix) {
  const PackedKey packed = PackPrimaryKey(prefix);
  PrefixKey key;
  key.bits = packed.bits;
  key.fits = packed.weights <= kPackedWeights;
  key.mask = ~uint64_t{0};
  if (packed.weights == 0)
    key.mask = 0;
  else if (key.fits)
    key.mask <<= 8 * (kPackedWeights - packed.weights);
  return key;
}

EntryList::Position EntryList::LowerBoundPrimary(const std::vector<Chunk>& chunks,
                                                 std::string_view prefix,
                                                 const PrefixKey& prefixKey) const {
  if (chunks.empty()) return {0, 0};
  // A line's packed key cut to the prefix's weights orders it against the
  // prefix; when the prefix has more weights than a key holds, equal keys
  // leave it to the text.
  const bool prefixFits = prefixKey.fits;
  const uint64_t mask = prefixKey.mask;
  const auto atOrAfter = [&](uint32_t id) {
    const uint64_t key = packedKeys_[id] & mask;
    if (key != prefixKey.bits) return key > prefixKey.bits;
    return prefixFits || ComparePrimaryKeyToPrefix(TextOf(id), prefix) >= 0;
  };
  // Lines whose key begins with the key of `prefix` form one run in list order.
  const size_t chunk =
      PartitionPoint(chunks.size(), [&](size_t c) { return atOrAfter(chunks[c].ids.back()); });
  if (chunk == chunks.size()) return {chunks.size(), 0};
  const std::vector<uint32_t>& ids = chunks[chunk].ids;
  const size_t offset = PartitionPoint(ids.size(), [&](size_t i) { return atOrAfter(ids[i]); });
  return {chunk, offset};
}

EntryList::Probe EntryList::ProbeLine(std::string_view key, std::string_view line) const {
  const std::vector<Chunk>& chunks = SortedChunks();
  Probe probe;
  EnsurePackedKeys();
  const PrefixKey prefixKey = PrefixKeyOf(key);
  Position at = LowerBoundPrimary(chunks, key, prefixKey);
  std::optional<Position> insertAt;
  const bool sorted = IsSorted();
  const auto rowAt = [&](Position p) {
    return sorted ? ChunkStart(p.chunk) + p.offset : RowOf(chunks[p.chunk].ids[p.offset]);
  };
  // Walk the run of lines whose key begins with `key`: the first of them
  // that begins with it, the first that begins with `line`, and the first
  // that sorts after `line` (where it goes) all lie in it.
  while (at.chunk < chunks.size()) {
    const uint32_t id = chunks[at.chunk].ids[at.offset];
    if (!MayBeginWith(id, prefixKey)) break;
    const std::string_view text = TextOf(id);
    if (ComparePrimaryKeyToPrefix(text, key) != 0) break;
    if (!probe.match && StartsWithIgnoringCase(text, key)) probe.match = rowAt(at);
    if (!probe.same && StartsWithIgnoringCase(text, line)) probe.same = rowAt(at);
    if (!insertAt && ListOrderLess(line, text)) insertAt = at;
    if (probe.same && insertAt) break;
    if (++at.offset == chunks[at.chunk].ids.size()) at = {at.chunk + 1, 0};
  }
  if (!insertAt) {
    insertAt = at;
    if (at.chunk == chunks.size()) {
      insertAt = chunks.empty() ? Position{0, 0} : Position{at.chunk - 1, chunks.back().ids.size()};
    }
  }
  probe.sortedChunk = insertAt->chunk;
  probe.sortedOffset = insertAt->offset;
  return probe;
}

std::optional<size_t> EntryList::AddProbedLine(const Probe& probe, std::string_view line) {
  if (count_ >= capacity_ || line.size() > maxLineLength_) return std::nullopt;
  const Position at{probe.sortedChunk, probe.sortedOffset};
  const uint32_t id = NewId(Text(line));
  if (IsSorted()) return InsertRow(at, id);
  // Out of list order the line goes beside its neighbour in list order.
  size_t row = count_;
  if (at.offset > 0) {
    row = RowOf(sorted_[at.chunk].ids[at.offset - 1]) + 1;
  } else if (at.chunk > 0) {
    row = RowOf(sorted_[at.chunk - 1].ids.back()) + 1;
  } else if (!sorted_.empty() && !sorted_[0].ids.empty()) {
    row = RowOf(sorted_[0].ids[0]);
  }
  InsertSorted(at, id);
  return InsertRow(Locate(row), id);
}

std::optional<size_t> EntryList::AddLine(std::string_view line) {
  if (count_ >= capacity_ || line.size() > maxLineLength_) return std::nullopt;
  const Position at = UpperBound(SortedChunks(), line);
  return AddProbedLine({std::nullopt, std::nullopt, at.chunk, at.offset}, line);
}

void EntryList::InsertSorted(Position at, uint32_t id) {
  if (sorted_.empty()) {
    sorted_.emplace_back();
    at = {0, 0};
  }
  std::vector<uint32_t>& ids = sorted_[at.chunk].ids;
  ids.insert(ids.begin() + static_cast<std::ptrdiff_t>(at.offset), id);
  if (ids.size() > kChunkLines) {
    Chunk upper;
    upper.ids.assign(ids.begin() + kChunkLines / 2, ids.end());
    ids.resize(kChunkLines / 2);
    sorted_.insert(sorted_.begin() + static_cast<std::ptrdiff_t>(at.chunk) + 1, std::move(upper));
  }
}

void EntryList::EraseSorted(uint32_t id) {
  const std::string_view line = TextOf(id);
  // The first line that does not sort before `line`; identical lines follow it.
  const size_t chunk = PartitionPoint(sorted_.size(), [&](size_t c) {
    return !ListOrderLess(TextOf(sorted_[c].ids.back()), line);
  });
  for (size_t c = chunk; c < sorted_.size(); ++c) {
    std::vector<uint32_t>& ids = sorted_[c].ids;
    const auto at = std::find(ids.begin(), ids.end(), id);
    if (at == ids.end()) continue;
    ids.erase(at);
    if (ids.empty()) sorted_.erase(sorted_.begin() + static_cast<std::ptrdiff_t>(c));
    return;
  }
}

void EntryList::BuildPermutation() const {
  std::vector<uint32_t> ids;
  ids.reserve(count_);
  for (const Chunk& chunk : rows_) ids.insert(ids.end(), chunk.ids.begin(), chunk.ids.end());
  // Stable, so identical lines keep their row order.
  std::stable_sort(ids.begin(), ids.end(),
                   [this](uint32_t a, uint32_t b) { return ListOrderLess(TextOf(a), TextOf(b)); });
  sorted_.clear();
  for (size_t first = 0; first < ids.size(); first += kChunkLines / 2) {
    const size_t last = std::min(ids.size(), first + kChunkLines / 2);
    sorted_.push_back({std::vector<uint32_t>(ids.begin() + static_cast<std::ptrdiff_t>(first),
                                             ids.begin() + static_cast<std::ptrdiff_t>(last)),
                       0});
  }
}

std::optional<size_t> EntryList::AppendRef(LineRef ref) {
  if (count_ > 0) {
    orderKnown_ = false;
    sorted_.clear();
  }
  if (rows_.empty() || rows_.back().ids.size() >= kChunkLines) {
    // Start a fresh chunk rather than splitting a full one: appended lists stay dense.
    rows_.push_back({{}, nextChunkNumber_++});
    rows_.back().ids.reserve(kChunkLines + 1);
    chunkIndex_.push_back(static_cast<uint32_t>(rows_.size() - 1));
    // The new Fenwick node covers the chunks (i - lowbit(i), i]; all but
    // the last, empty one are already counted in the prefix sums.
    if (chunkSums_.empty()) chunkSums_.push_back(0);
    const size_t i = rows_.size();
    const size_t lowest = i & (~i + 1);
    chunkSums_.push_back(ChunkStart(i - 1) - ChunkStart(i - lowest));
  }
  ref.rowChunk = rows_.back().number;
  rows_.back().ids.push_back(NewId(ref));
  ChunkGrew(rows_.size() - 1, 1);
  return count_++;
}

std::optional<size_t> EntryList::AppendLine(std::string_view line,
                                            std::span<const int> blankColumns) {
  if (count_ >= capacity_ || line.size() > maxLineLength_) return std::nullopt;
  const LineRef ref = Text(line);
  char* text = const_cast<char*>(ref.text);  // the storage's own fresh copy
  for (int column : blankColumns) {
    if (column >= 0 && static_cast<size_t>(column) < line.size()) text[column] = ' ';
  }
  return AppendRef(ref);
}

std::optional<size_t> EntryList::AppendView(std::string_view line) {
  if (count_ >= capacity_ || line.size() > maxLineLength_) return std::nullopt;
  return AppendRef({line.data(), static_cast<uint32_t>(line.size()), 0});
}

void EntryList::DeleteLine(size_t row) {
  if (row >= count_) return;
  const Position at = Locate(row);
  Chunk& chunk = rows_[at.chunk];
  const uint32_t id = chunk.ids[at.offset];
  if (orderKnown_ && !rowsSorted_) EraseSorted(id);
  chunk.ids.erase(chunk.ids.begin() + static_cast<std::ptrdiff_t>(at.offset));
  freeIds_.push_back(id);
  --count_;
  if (chunk.ids.empty()) {
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(at.chunk));
    RebuildRowIndex();
  } else {
    ChunkGrew(at.chunk, -1);
  }
  if (count_ == 0) Clear();
}

void EntryList::Clear() {
  storage_.Clear();
  lines_.clear();
  freeIds_.clear();
  rows_.clear();
  chunkSums_.clear();
  chunkIndex_.clear();
  nextChunkNumber_ = 0;
  count_ = 0;
  rowsSorted_ = true;
  orderKnown_ = true;
  sorted_.clear();
  packedKeys_.clear();
  keysPacked_ = false;
}

bool EntryList::IsSorted() const {
  if (!orderKnown_) {
    std::lock_guard<std::mutex> building(buildLock_.mutex);
    if (orderKnown_) return rowsSorted_;  // another search found it out meanwhile
    rowsSorted_ = true;
    std::string_view previous;
    bool first = true;
    for (const Chunk& chunk : rows_) {
      for (uint32_t id : chunk.ids) {
        const std::string_view line = TextOf(id);
        if (!first && ListOrderLess(line, previous)) {
          rowsSorted_ = false;
          break;
        }
        previous = line;
        first = false;
      }
      if (!rowsSorted_) break;
    }
    if (!rowsSorted_) BuildPermutation();
    orderKnown_ = true;
  }
  return rowsSorted_;
}

std::optional<size_t> EntryList::FindPrefix(std::string_view text) const {
  const std::vector<Chunk>& chunks = SortedChunks();
  EnsurePackedKeys();
  const PrefixKey prefixKey = PrefixKeyOf(text);
  Position at = LowerBoundPrimary(chunks, text, prefixKey);
  while (at.chunk < chunks.size()) {
    const uint32_t id = chunks[at.chunk].ids[at.offset];
    if (!MayBeginWith(id, prefixKey)) break;
    const std::string_view line = TextOf(id);
    if (ComparePrimaryKeyToPrefix(line, text) != 0) break;
    if (StartsWithIgnoringCase(line, text)) {
      return IsSorted() ? ChunkStart(at.chunk) + at.offset : RowOf(id);
    }
    if (++at.offset == chunks[at.chunk].ids.size()) at = {at.chunk + 1, 0};
  }
  return std::nullopt;
}

bool EntryList::HoldsOnlyPlaceholder() const {
  return count_ == 1 && GetLine(0) == kPlaceholderLine;
}

}  // namespace navdb
