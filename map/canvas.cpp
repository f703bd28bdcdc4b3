#include "map/canvas.h"

#include <algorithm>
#include <cstddef>

namespace navmap {
namespace {

// The opaque bit of an ARGB32 pixel; an RGB24 image ignores it.
constexpr uint32_t kOpaque = 0xFF000000;

// colour * alpha + dst * (1 - alpha), each channel rounded. Red and blue
// are worked out together in the two halves of one word: neither half
// exceeds 16 bits at any step, so they never carry into each other.
uint32_t Mix(uint32_t dst, Rgb colour, uint32_t alpha) {
  constexpr uint32_t kRedBlue = 0x00FF00FF;
  constexpr uint32_t kHalf = 0x00800080;  // 128 in each half, for the rounding
  const uint32_t rest = 255 - alpha;
  // x / 255 rounded, for x up to 255 * 255, without a division, in each half.
  const auto divide = [](uint32_t x) { return ((x + ((x >> 8) & kRedBlue)) >> 8) & kRedBlue; };
  const uint32_t redBlue = divide((colour & kRedBlue) * alpha + (dst & kRedBlue) * rest + kHalf);
  const uint32_t green = divide(((colour >> 8) & 0xFF) * alpha + ((dst >> 8) & 0xFF) * rest + 128)
                         << 8;
  return kOpaque | redBlue | green;
}

}  // namespace

Canvas::Canvas(cairo_surface_t* surface)
    : surface_(surface),
      context_(cairo_create(surface)),
      widthPx_(cairo_image_surface_get_width(surface)),
      heightPx_(cairo_image_surface_get_height(surface)),
      data_(cairo_image_surface_get_data(surface)),
      strideBytes_(cairo_image_surface_get_stride(surface)) {
  if (data_ == nullptr) widthPx_ = heightPx_ = 0;
}

Canvas::~Canvas() {
  Finish();
  cairo_destroy(context_);
}

bool Canvas::Ok() const {
  return cairo_status(context_) == CAIRO_STATUS_SUCCESS && data_ != nullptr;
}

void Canvas::Finish() {
  if (pixelsTaken_) cairo_surface_mark_dirty(surface_);
  pixelsTaken_ = false;
}

cairo_t* Canvas::Cairo() {
  Finish();
  return context_;
}

uint32_t* Canvas::Row(int y) {
  if (!pixelsTaken_) {
    cairo_surface_flush(surface_);
    pixelsTaken_ = true;
  }
  return reinterpret_cast<uint32_t*>(data_ + static_cast<std::ptrdiff_t>(y) * strideBytes_);
}

void Canvas::SetColour(Rgb colour) {
  cairo_set_source_rgb(Cairo(), ((colour >> 16) & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                       (colour & 0xFF) / 255.0);
}

void Canvas::Fill(Rgb colour) {
  for (int y = 0; y < heightPx_; ++y) std::fill_n(Row(y), widthPx_, kOpaque | colour);
}

void Canvas::Square(int x, int y, int sizePx, Rgb colour) {
  const int left = std::max(0, x);
  const int right = std::min(widthPx_, x + sizePx);
  for (int row = std::max(0, y); row < std::min(heightPx_, y + sizePx); ++row) {
    if (left < right) std::fill(Row(row) + left, Row(row) + right, kOpaque | colour);
  }
}

void Canvas::Stamp(int x, int y, std::span<const PixelOffset> pixels, Rgb colour) {
  for (const PixelOffset offset : pixels) SetPixel(x + offset.dx, y + offset.dy, kOpaque | colour);
}

void Canvas::Mask(int left, int top, int widthPx, int heightPx, const uint8_t* alpha, Rgb colour) {
  // The part of the mask inside the image.
  const int firstX = std::max(0, -left);
  const int lastX = std::min(widthPx, widthPx_ - left);
  const int firstY = std::max(0, -top);
  const int lastY = std::min(heightPx, heightPx_ - top);
  for (int y = firstY; y < lastY; ++y) {
    uint32_t* row = Row(top + y) + left;
    const uint8_t* maskRow = alpha + static_cast<std::ptrdiff_t>(y) * widthPx;
    for (int x = firstX; x < lastX; ++x) {
      const uint8_t a = maskRow[x];
      if (a == 0) continue;
      row[x] = a == 255 ? (kOpaque | colour) : Mix(row[x], colour, a);
    }
  }
}

void Canvas::Text(int x, int baselineY, std::string_view text, const GlyphAtlas& atlas, Rgb colour,
                  Rgb haloColour) {
  // Every halo first, so that no halo covers a neighbouring glyph.
  int penX = x;
  for (const char c : text) {
    const Glyph& glyph = atlas.Of(static_cast<uint8_t>(c));
    if (glyph.widthPx > 0) {
      Mask(penX + glyph.left - 1, baselineY + glyph.top - 1, glyph.widthPx + 2, glyph.heightPx + 2,
           atlas.Masks() + glyph.haloAt, haloColour);
    }
    penX += glyph.advancePx;
  }
  penX = x;
  for (const char c : text) {
    const Glyph& glyph = atlas.Of(static_cast<uint8_t>(c));
    if (glyph.widthPx > 0) {
      Mask(penX + glyph.left, baselineY + glyph.top, glyph.widthPx, glyph.heightPx,
           atlas.Masks() + glyph.maskAt, colour);
    }
    penX += glyph.advancePx;
  }
}

}  // namespace navmap
