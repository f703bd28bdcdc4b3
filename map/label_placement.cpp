#include "map/label_placement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numeric>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace navmap {
namespace {

// A label's halo reaches a pixel past its glyphs. Labels keep a pixel more
// from each other; a symbol they may touch.
constexpr int kHaloPx = 1;
constexpr int kSpacingPx = 1;
// The same text for two symbols this close is one label.
constexpr int kRepeatReachPx = 6;

PixelBox Widened(const PixelBox& box, int px) {
  return {box.left - px, box.top - px, box.right + px, box.bottom + px};
}

// Cuts the line to the box (Liang and Barsky); false when none of it is inside.
bool ClipLine(double& x0, double& y0, double& x1, double& y1, const PixelBox& box) {
  double enter = 0;
  double leave = 1;
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  const double p[] = {-dx, dx, -dy, dy};
  const double q[] = {x0 - box.left, box.right - 1 - x0, y0 - box.top, box.bottom - 1 - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      enter = std::max(enter, t);
    } else {
      leave = std::min(leave, t);
    }
  }
  if (enter > leave) return false;
  const double startX = x0 + enter * dx;
  const double startY = y0 + enter * dy;
  x1 = x0 + leave * dx;
  y1 = y0 + leave * dy;
  x0 = startX;
  y0 = startY;
  return true;
}

// The pixels of a line in one row: Bresenham's walk is 8-connected, so
// they lie side by side.
struct PixelRun {
  int y = 0;
  int left = 0;
  int right = 0;  // the last pixel's, not past it
};

PixelRun Joined(const PixelRun& a, const PixelRun& b) {
  return {a.y, std::min(a.left, b.left), std::max(a.right, b.right)};
}

// Calls fn(run) for the pixels of the line from (x0, y0) to (x1, y1), row
// by row from the first.
template <class Fn>
void ForEachRun(int x0, int y0, int x1, int y1, Fn&& fn) {
  const int dx = std::abs(x1 - x0);
  const int dy = -std::abs(y1 - y0);
  const int stepX = x0 < x1 ? 1 : -1;
  const int stepY = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  PixelRun run{y0, x0, x0};
  while (x0 != x1 || y0 != y1) {
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += stepX;
    }
    if (twice <= dx) {
      error += dx;
      y0 += stepY;
      fn(run);
      run = {y0, x0, x0};
      continue;
    }
    run.left = std::min(run.left, x0);
    run.right = std::max(run.right, x0);
  }
  fn(run);
}

PlacedLabel At(int penX, int baselineY, int widthPx, const GlyphAtlas& atlas) {
  PlacedLabel label;
  label.penX = penX;
  label.baselineY = baselineY;
  label.box = {penX - kHaloPx, baselineY - atlas.AscentPx() - kHaloPx, penX + widthPx + kHaloPx,
               baselineY + atlas.DescentPx() + kHaloPx};
  return label;
}

}  // namespace

uint8_t HoldOf(int priority) {
  return static_cast<uint8_t>(std::clamp(priority, 2, kHeldByRoute - 1));
}

uint8_t SymbolHoldOf(int priority) {
  return static_cast<uint8_t>(HoldOf(priority) - 1);
}

LabelSpace::LabelSpace(int widthPx, int heightPx)
    : widthPx_(std::max(0, widthPx)),
      heightPx_(std::max(0, heightPx)),
      tilesX_((widthPx_ + kTilePx - 1) / kTilePx),
      tilesY_((heightPx_ + kTilePx - 1) / kTilePx),
      slotOf_(static_cast<size_t>(tilesX_) * static_cast<size_t>(tilesY_), 0) {
  // About what a crowded view takes, so that few views grow the slots.
  constexpr size_t kFirstSlots = 2048;
  holds_.reserve(std::min(slotOf_.size(), kFirstSlots));
  tileOf_.reserve(holds_.capacity());
}

uint8_t* LabelSpace::TakenTile(size_t tile) {
  uint32_t& slot = slotOf_[tile];
  if (slot == 0) {
    holds_.emplace_back();
    tileOf_.push_back(static_cast<uint32_t>(tile));
    slot = static_cast<uint32_t>(holds_.size());
  }
  return holds_[slot - 1].holds;
}

namespace {

// The byte lanes from..to - 1 of a tile row, as a mask of 0xFF bytes.
uint64_t LaneMask(int from, int to) {
  const uint64_t upTo = to >= 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * to)) - 1;
  return upTo & ~((uint64_t{1} << (8 * from)) - 1);
}

// True when a lane of `lanes` in the eight holds at `row` is `hold` or more.
bool AnyHeld(const uint8_t* row, uint64_t lanes, uint8_t hold) {
#if defined(__SSE2__)
  const __m128i holds = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row));
  // h >= hold exactly where max(h, hold) == h.
  const __m128i held =
      _mm_cmpeq_epi8(_mm_max_epu8(holds, _mm_set1_epi8(static_cast<char>(hold))), holds);
  const auto heldLanes = static_cast<uint64_t>(_mm_cvtsi128_si64(held));
  return (heldLanes & lanes) != 0;
#else
  for (int i = 0; i < 8; ++i) {
    if ((lanes >> (8 * i) & 0xFF) != 0 && row[i] >= hold) return true;
  }
  return false;
#endif
}

// Raises the lanes of `lanes` in the eight holds at `row` to at least `hold`.
void RaiseLanes(uint8_t* row, uint64_t lanes, uint8_t hold) {
#if defined(__SSE2__)
  // A lane raised to at least 0 is left as it was.
  const __m128i raise = _mm_and_si128(_mm_set1_epi8(static_cast<char>(hold)),
                                      _mm_cvtsi64_si128(static_cast<long long>(lanes)));
  auto* at = reinterpret_cast<__m128i*>(row);
  _mm_storel_epi64(at, _mm_max_epu8(_mm_loadl_epi64(at), raise));
#else
  for (int i = 0; i < 8; ++i) {
    if ((lanes >> (8 * i) & 0xFF) != 0) row[i] = std::max(row[i], hold);
  }
#endif
}

}  // namespace

template <class Fn>
bool LabelSpace::ForEachTileOf(int left, int top, int right, int bottom, Fn&& fn) const {
  for (int tileY = top / kTilePx; tileY <= (bottom - 1) / kTilePx; ++tileY) {
    const int firstRow = std::max(top, tileY * kTilePx) - tileY * kTilePx;
    const int endRow = std::min(bottom, (tileY + 1) * kTilePx) - tileY * kTilePx;
    for (int tileX = left / kTilePx; tileX <= (right - 1) / kTilePx; ++tileX) {
      const uint64_t lanes = LaneMask(std::max(left, tileX * kTilePx) - tileX * kTilePx,
                                      std::min(right, (tileX + 1) * kTilePx) - tileX * kTilePx);
      if (!fn(TileAt(tileX, tileY), firstRow, endRow, lanes)) return false;
    }
  }
  return true;
}

bool LabelSpace::Free(const PixelBox& box, uint8_t hold) const {
  if (box.left < 0 || box.top < 0 || box.right > widthPx_ || box.bottom > heightPx_ ||
      box.left >= box.right || box.top >= box.bottom) {
    return false;
  }
  return ForEachTileOf(box.left, box.top, box.right, box.bottom,
                       [&](size_t at, int firstRow, int endRow, uint64_t lanes) {
                         const uint32_t slot = slotOf_[at];
                         if (slot == 0) return true;  // most of the image is free
                         const uint8_t* holds = holds_[slot - 1].holds;
                         for (int row = firstRow; row < endRow; ++row) {
                           if (AnyHeld(holds + row * kTilePx, lanes, hold)) return false;
                         }
                         return true;
                       });
}

void LabelSpace::Take(const PixelBox& box, uint8_t hold) {
  const int left = std::max(0, box.left);
  const int right = std::min(widthPx_, box.right);
  const int top = std::max(0, box.top);
  const int bottom = std::min(heightPx_, box.bottom);
  if (left >= right || top >= bottom) return;
  ForEachTileOf(left, top, right, bottom,
                [&](size_t tile, int firstRow, int endRow, uint64_t lanes) {
                  uint8_t* holds = TakenTile(tile);
                  for (int row = firstRow; row < endRow; ++row)
                    RaiseLanes(holds + row * kTilePx, lanes, hold);
                  return true;
                });
}

void LabelSpace::TakeRow(int y, int left, int right, uint8_t hold) {
  if (y < 0 || y >= heightPx_) return;
  left = std::max(0, left);
  right = std::min(widthPx_, right);
  if (left >= right) return;
  const int tileY = y / kTilePx;
  const int row = (y - tileY * kTilePx) * kTilePx;
  const int lastTileX = (right - 1) / kTilePx;
  for (int tileX = left / kTilePx; tileX <= lastTileX; ++tileX) {
    const int tileLeft = tileX * kTilePx;
    const uint64_t lanes = LaneMask(std::max(left, tileLeft) - tileLeft,
                                    std::min(right, tileLeft + kTilePx) - tileLeft);
    RaiseLanes(TakenTile(TileAt(tileX, tileY)) + row, lanes, hold);
  }
}

void LabelSpace::ReadRow(int y, uint8_t* holds) const {
  const int tileY = y / kTilePx;
  const int row = y - tileY * kTilePx;
  for (int tileX = 0; tileX < tilesX_; ++tileX) {
    const size_t tile = TileAt(tileX, tileY);
    const auto count = static_cast<size_t>(std::min(kTilePx, widthPx_ - tileX * kTilePx));
    uint8_t* to = holds + static_cast<ptrdiff_t>(tileX) * kTilePx;
    const uint32_t slot = slotOf_[tile];
    if (slot == 0) {
      std::memset(to, 0, count);
    } else {
      std::memcpy(to, holds_[slot - 1].holds + row * kTilePx, count);
    }
  }
}

void LabelSpace::KeepTaken(std::vector<uint32_t>& tiles, std::vector<Tile>& holds) const {
  tiles = tileOf_;
  holds = holds_;
}

void LabelSpace::PutBack(const std::vector<uint32_t>& tiles, const std::vector<Tile>& holds) {
  std::fill(slotOf_.begin(), slotOf_.end(), uint32_t{0});
  holds_.clear();
  tileOf_.clear();
  for (size_t i = 0; i < tiles.size() && i < holds.size(); ++i) {
    if (tiles[i] >= slotOf_.size()) continue;
    uint32_t& slot = slotOf_[tiles[i]];
    if (slot == 0) {
      holds_.push_back(holds[i]);
      tileOf_.push_back(tiles[i]);
      slot = static_cast<uint32_t>(holds_.size());
    } else {
      holds_[slot - 1] = holds[i];  // a tile given twice: the later holds, as before
    }
  }
}

void LabelSpace::TakeLine(int fromX, int fromY, int toX, int toY, uint8_t hold) {
  double ax = fromX, ay = fromY, bx = toX, by = toY;
  if (!ClipLine(ax, ay, bx, by, {-1, -1, widthPx_ + 1, heightPx_ + 1})) return;
  const int x0 = static_cast<int>(std::lround(ax));
  const int y0 = static_cast<int>(std::lround(ay));
  const int x1 = static_cast<int>(std::lround(bx));
  const int y1 = static_cast<int>(std::lround(by));
  const int stepY = y0 < y1 ? 1 : -1;
  // Each pixel of the line takes its eight neighbours. The runs of
  // neighbouring rows touch, so a row of the space takes one span: from the
  // leftmost to the rightmost pixel of the runs of its own row and of the
  // rows on either side, a pixel wider.
  const auto takeRow = [&](int y, int left, int right) { TakeRow(y, left - 1, right + 2, hold); };
  PixelRun older;
  PixelRun previous;
  int runs = 0;
  ForEachRun(x0, y0, x1, y1, [&](const PixelRun& run) {
    if (runs == 0) {
      takeRow(run.y - stepY, run.left, run.right);
    } else {
      const PixelRun joined = Joined(runs >= 2 ? Joined(older, previous) : previous, run);
      takeRow(previous.y, joined.left, joined.right);
    }
    older = previous;
    previous = run;
    ++runs;
  });
  const PixelRun last = runs >= 2 ? Joined(older, previous) : previous;
  takeRow(previous.y, last.left, last.right);
  takeRow(previous.y + stepY, previous.left, previous.right);
}

std::array<PlacedLabel, kLabelPlaces> LabelCandidates(const LabelRequest& request, int widthPx,
                                                      const GlyphAtlas& atlas) {
  const int gapPx = request.gapPx;
  const int risePx = symbols::kIdentRisePx;
  const int verticalGapPx = std::max(symbols::kClimbDescentLabelRisePx, gapPx);
  const int aboveBaseline = request.y - verticalGapPx - atlas.DescentPx();
  const int belowBaseline = request.y + verticalGapPx + atlas.AscentPx();
  const int rightX = request.x + gapPx;
  const int leftX = request.x - gapPx - widthPx;
  const int centredX = request.x - widthPx / 2;
  const PlacedLabel right = At(rightX, request.y - risePx, widthPx, atlas);
  const PlacedLabel left = At(leftX, request.y - risePx, widthPx, atlas);
  const PlacedLabel above = At(centredX, aboveBaseline, widthPx, atlas);
  const PlacedLabel below = At(centredX, belowBaseline, widthPx, atlas);
  const PlacedLabel aboveRight = At(rightX, aboveBaseline, widthPx, atlas);
  const PlacedLabel aboveLeft = At(leftX, aboveBaseline, widthPx, atlas);
  const PlacedLabel belowRight = At(rightX, belowBaseline, widthPx, atlas);
  const PlacedLabel belowLeft = At(leftX, belowBaseline, widthPx, atlas);
  switch (request.anchor) {
    case LabelAnchor::Above:
      return {{above, right, left, below, aboveRight, aboveLeft, belowRight, belowLeft}};
    case LabelAnchor::Below:
      return {{below, right, left, above, belowRight, belowLeft, aboveRight, aboveLeft}};
    case LabelAnchor::Beside:
      break;
  }
  return {{right, left, above, below, aboveRight, aboveLeft, belowRight, belowLeft}};
}

std::vector<PlacedLabel> PlaceLabels(std::span<const LabelRequest> requests, LabelSpace& space,
                                     const GlyphAtlas& atlas) {
  std::vector<size_t> order(requests.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    if (requests[a].priority != requests[b].priority)
      return requests[a].priority > requests[b].priority;
    return requests[a].distanceSqPx < requests[b].distanceSqPx;
  });
  std::vector<PlacedLabel> placed;
  // A route point on a navaid asks for the navaid's name twice: the second
  // (less important) asking is left out.
  auto repeated = [&](const LabelRequest& request) {
    for (const PlacedLabel& label : placed) {
      if (std::abs(label.request->x - request.x) <= kRepeatReachPx &&
          std::abs(label.request->y - request.y) <= kRepeatReachPx &&
          label.request->text == request.text) {
        return true;
      }
    }
    return false;
  };
  for (const size_t i : order) {
    const LabelRequest& request = requests[i];
    if (request.text.empty() || repeated(request)) continue;
    for (PlacedLabel& candidate : LabelCandidates(request, atlas.WidthPx(request.text), atlas)) {
      if (!space.Free(candidate.box, HoldOf(request.priority))) continue;
      space.Take(Widened(candidate.box, kSpacingPx));
      candidate.request = &request;
      placed.push_back(candidate);
      break;
    }
  }
  return placed;
}

}  // namespace navmap
