// Labels that never overlap: each label tries a few places about its
// symbol (to the right, as the display puts it, then left, above, below and
// the corners) and takes the first that is free and inside the image; the
// labels go in order of priority, so when the map is crowded the less
// important ones are the ones left out.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "map/glyph_atlas.h"
#include "map/map_palette.h"
#include "symbols/navaid_shapes.h"

namespace navmap {

// Pixels left <= x < right, top <= y < bottom.
struct PixelBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool Overlaps(const PixelBox& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
};

// Where a label tries first: beside its symbol, or centred above it (the
// top of climb and of descent, the upper end of a runway) or below it (the
// lower end).
enum class LabelAnchor { Beside, Above, Below };

// Label priorities above every navaid's: the highlighted entry first, then
// the route's points, its runways and its runway turns.
inline constexpr int kHighlightPriority = 1000;
inline constexpr int kRoutePriority = 500;
inline constexpr int kRouteRunwayPriority = 490;
inline constexpr int kRouteTurnPriority = 480;

struct LabelRequest {
  int priority = 0;         // higher goes first
  double distanceSqPx = 0;  // among equals, nearer the view's centre goes first
  int x = 0;                // the symbol's pixel
  int y = 0;
  int gapPx = symbols::kIdentGapPx;  // from the symbol's pixel to the label
  std::string text;                  // Windows-1252
  Rgb colour = 0;
  LabelAnchor anchor = LabelAnchor::Beside;
};

struct PlacedLabel {
  int penX = 0;
  int baselineY = 0;
  PixelBox box;  // the text with its halo
  const LabelRequest* request = nullptr;
};

// How firmly a pixel is held. A label may cover the pixels of symbols less
// important than itself (an airport's name may cover an intersection's
// triangle), never another label, the route or the scale bar.
inline constexpr uint8_t kHeldByLabel = 255;
inline constexpr uint8_t kHeldByRoute = 200;
// The hold a label of `priority` gives way to.
uint8_t HoldOf(int priority);
// The hold of a symbol whose label would have `priority`: a hair less, so
// that labels of its rank may cover it, its own among them.
uint8_t SymbolHoldOf(int priority);

// The pixels of the image taken so far, by labels and by the symbols and
// lines that labels must not cover.
//
// The holds are kept in tiles of 8 x 8 pixels, a tile to a cache line, so
// that a symbol's or a label's box touches a few lines instead of one or
// two per row. A tile exists once first taken, and the tiles lie side by
// side in the order they were taken: a space costs nothing for the parts
// of the image no symbol or label reaches, and a new tile is written next
// to the last rather than somewhere in a picture-sized block that the
// drawing has pushed out of the cache.
class LabelSpace {
 public:
  LabelSpace(int widthPx, int heightPx);
  // True when the box lies inside the image and none of its pixels is held
  // as firmly as `hold` or more.
  bool Free(const PixelBox& box, uint8_t hold = 1) const;
  // Raises the holds of the box's pixels in the image to at least `hold`.
  void Take(const PixelBox& box, uint8_t hold = kHeldByLabel);
  // The pixels of a line, a pixel wider on each side (only its part in the image).
  void TakeLine(int fromX, int fromY, int toX, int toY, uint8_t hold);
  int WidthPx() const { return widthPx_; }
  int HeightPx() const { return heightPx_; }
  // The `WidthPx()` holds of row y.
  void ReadRow(int y, uint8_t* holds) const;

  static constexpr int kTilePx = 8;
  struct alignas(64) Tile {
    uint8_t holds[kTilePx * kTilePx];  // row by row
  };
  // The tiles taken so far, for a cache of the space to keep, and put back
  // into a space of the same size in place of what it held.
  void KeepTaken(std::vector<uint32_t>& tiles, std::vector<Tile>& holds) const;
  void PutBack(const std::vector<uint32_t>& tiles, const std::vector<Tile>& holds);

 private:
  // Calls fn(tile, firstRow, endRow, lanes) for each tile the box of the
  // image reaches, with the rows and the byte lanes of the box in it;
  // stops, returning false, at the first call that returns false.
  template <class Fn>
  bool ForEachTileOf(int left, int top, int right, int bottom, Fn&& fn) const;
  size_t TileAt(int tileX, int tileY) const {
    return static_cast<size_t>(tileY) * static_cast<size_t>(tilesX_) + static_cast<size_t>(tileX);
  }
  // The tile's holds, made (all 0) if it was never taken.
  uint8_t* TakenTile(size_t tile);
  // Take of the pixels left <= x < right of row y: a line takes a row at
  // a time, one or two tiles, where Take walks a box's rows and tiles.
  void TakeRow(int y, int left, int right, uint8_t hold);

  int widthPx_;
  int heightPx_;
  int tilesX_;
  int tilesY_;
  std::vector<uint32_t> slotOf_;  // per tile of the image: 0 if never taken, else 1 + its slot
  std::vector<Tile> holds_;       // per slot, in the order taken
  std::vector<uint32_t> tileOf_;  // per slot
};

// The places a label tries, in order, for a text of `widthPx`: the four
// sides, first the anchor's, then the four corners.
inline constexpr size_t kLabelPlaces = 8;
std::array<PlacedLabel, kLabelPlaces> LabelCandidates(const LabelRequest& request, int widthPx,
                                                      const GlyphAtlas& atlas);

// Places the requests by priority into `space` (which may hold boxes taken
// before, such as the scale bar's). A request with the text of a label
// already placed for a symbol within a few pixels is left out. The result
// points into `requests`.
std::vector<PlacedLabel> PlaceLabels(std::span<const LabelRequest> requests, LabelSpace& space,
                                     const GlyphAtlas& atlas);

}  // namespace navmap
