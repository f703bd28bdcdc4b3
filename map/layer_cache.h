// The lower layers of the last view drawn: sea and land, coasts and
// borders and the database's entries, as the picture stood before the
// route, the highlight, the scale bar and the labels went on, with the
// label space and the label requests of that moment. The map window
// redraws the same view on every selection, hover and route edit; from the
// cache such a redraw writes the layers back at the speed of a fill
// instead of tessellating coastlines and drawing some hundred symbols.
//
// The pixels are kept as runs of one value along each row: the picture is
// mostly wide areas of sea and land, so the runs are a fraction of its
// size and writing them back costs about what clearing the image does,
// where copying a whole picture would cost more than drawing its sea and
// land again. The label space is kept as the tiles its symbols took.
//
// A view is taken into the cache the second time it is drawn in a row, so
// that panning and zooming, where no view comes twice, pay nothing for it.
// One cache serves one drawing thread. What a key points to (the database,
// its index, the coastlines) must stay alive and unchanged while the cache
// holds it: a caller that draws from something new calls Clear().
#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

#include "map/canvas.h"
#include "map/coastline_file.h"
#include "map/label_placement.h"
#include "map/navaid_layer.h"
#include "map/projection.h"
#include "map/spatial_index.h"

namespace navmap {

// Everything the cached layers depend on.
struct LayerKey {
  MapView view;  // its size is the surface's
  cairo_format_t format = CAIRO_FORMAT_INVALID;
  const CoastlineLevel* coastlines = nullptr;
  const navdb::Database* database = nullptr;
  const SpatialIndex* index = nullptr;
  bool operator==(const LayerKey& other) const;
};

// A row-by-row sequence of values as runs of one value; a run never
// crosses the end of a row, so rows are written back one by one.
template <class Value>
class RowRuns {
 public:
  // Lets go of the memory too: a cache that missed holds nothing.
  void Clear() {
    values_ = std::vector<Value>();
    lengths_ = std::vector<uint32_t>();
  }
  void AddRow(const Value* row, int widthPx);
  // Writes the next row of `widthPx` values, in the order they were added.
  void WriteRow(Value* row, int widthPx, size_t& nextRun) const;
  size_t RunCount() const { return values_.size(); }
  size_t HeldBytes() const {
    return values_.capacity() * sizeof(Value) + lengths_.capacity() * sizeof(uint32_t);
  }

 private:
  std::vector<Value> values_;
  std::vector<uint32_t> lengths_;
};

// The lower layers in the state DrawMap goes on from.
struct LowerLayers {
  std::vector<DrawnSymbol> symbols;
  std::vector<LabelRequest> requests;
};

class LayerCache {
 public:
  void Clear();
  bool Holds(const LayerKey& key) const { return held_ && key == lastKey_; }
  // True when the cache holds `key`: the canvas, `space` (of the canvas's
  // size) and `layers` are then as the lower layers left them.
  bool Restore(const LayerKey& key, Canvas& canvas, LabelSpace& space, LowerLayers& layers) const;
  // Notes the lower layers just drawn for `key`; keeps them when the same
  // key was drawn the time before.
  void Offer(const LayerKey& key, Canvas& canvas, const LabelSpace& space,
             const LowerLayers& layers);
  size_t HeldBytes() const;

 private:
  bool held_ = false;      // the layers below are `lastKey_`'s
  bool seenOnce_ = false;  // `lastKey_` was drawn once and not kept
  LayerKey lastKey_;
  RowRuns<uint32_t> pixels_;
  std::vector<uint32_t> takenTiles_;  // the label space's, as KeepTaken gives them
  std::vector<LabelSpace::Tile> takenHolds_;
  LowerLayers layers_;
};

}  // namespace navmap
