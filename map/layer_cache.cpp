#include "map/layer_cache.h"

#include <algorithm>
#include <cstring>

namespace navmap {
namespace {

// Writes `count` copies of `value`, as wide stores do: a loop storing one
// value at a time would take four times as long.
template <class Value>
Value* FillRun(Value* at, uint32_t count, Value value) {
  if constexpr (sizeof(Value) == 1) {
    std::memset(at, value, count);
  } else {
    static_assert(sizeof(Value) == 4);
    FillPixels(at, static_cast<int>(count), value);
  }
  return at + count;
}

}  // namespace

bool LayerKey::operator==(const LayerKey& other) const {
  return view.centreLatDeg == other.view.centreLatDeg &&
         view.centreLonDeg == other.view.centreLonDeg && view.pxPerNm == other.view.pxPerNm &&
         view.widthPx == other.view.widthPx && view.heightPx == other.view.heightPx &&
         format == other.format && coastlines == other.coastlines && database == other.database &&
         index == other.index;
}

template <class Value>
void RowRuns<Value>::AddRow(const Value* row, int widthPx) {
  int x = 0;
  while (x < widthPx) {
    const Value value = row[x];
    int end = x + 1;
    while (end < widthPx && row[end] == value) ++end;
    values_.push_back(value);
    lengths_.push_back(static_cast<uint32_t>(end - x));
    x = end;
  }
}

template <class Value>
void RowRuns<Value>::WriteRow(Value* row, int widthPx, size_t& nextRun) const {
  Value* at = row;
  Value* const end = row + widthPx;
  while (at < end && nextRun < values_.size()) {
    at = FillRun(at, lengths_[nextRun], values_[nextRun]);
    ++nextRun;
  }
}

template class RowRuns<uint32_t>;
template class RowRuns<uint8_t>;

void LayerCache::Clear() {
  held_ = false;
  seenOnce_ = false;
  pixels_.Clear();
  takenTiles_ = std::vector<uint32_t>();
  takenHolds_ = std::vector<LabelSpace::Tile>();
  layers_ = LowerLayers();
}

bool LayerCache::Restore(const LayerKey& key, Canvas& canvas, LabelSpace& space,
                         LowerLayers& layers) const {
  if (!Holds(key) || space.WidthPx() != canvas.WidthPx() || space.HeightPx() != canvas.HeightPx()) {
    return false;
  }
  size_t nextPixelRun = 0;
  for (int y = 0; y < canvas.HeightPx(); ++y) {
    pixels_.WriteRow(canvas.Row(y), canvas.WidthPx(), nextPixelRun);
  }
  space.PutBack(takenTiles_, takenHolds_);
  layers = layers_;
  return true;
}

void LayerCache::Offer(const LayerKey& key, Canvas& canvas, const LabelSpace& space,
                       const LowerLayers& layers) {
  if (held_ && key == lastKey_) return;
  if (!seenOnce_ || !(key == lastKey_)) {
    Clear();
    lastKey_ = key;
    seenOnce_ = true;
    return;
  }
  pixels_.Clear();
  for (int y = 0; y < canvas.HeightPx(); ++y) pixels_.AddRow(canvas.Row(y), canvas.WidthPx());
  space.KeepTaken(takenTiles_, takenHolds_);
  layers_ = layers;
  held_ = true;
  seenOnce_ = false;
}

size_t LayerCache::HeldBytes() const {
  size_t bytes = pixels_.HeldBytes() + takenTiles_.capacity() * sizeof(uint32_t) +
                 takenHolds_.capacity() * sizeof(LabelSpace::Tile);
  bytes += layers_.symbols.capacity() * sizeof(DrawnSymbol);
  for (const LabelRequest& request : layers_.requests) bytes += request.text.capacity();
  return bytes + layers_.requests.capacity() * sizeof(LabelRequest);
}

}  // namespace navmap
