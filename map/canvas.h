// What the map draws on: a Cairo image surface (RGB24 or ARGB32) that
// takes lines and areas through Cairo, and dots, small symbols and label
// glyphs straight into its pixels. The two kinds of drawing may alternate;
// the canvas hands the pixels between them.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <span>
#include <string_view>

#include "map/glyph_atlas.h"
#include "map/map_palette.h"

namespace navmap {

// A symbol as the pixels it sets, about its point.
struct PixelOffset {
  int8_t dx = 0;
  int8_t dy = 0;
};

// Sets `count` pixels from `pixels` on to `value`, sixteen bytes a store.
void FillPixels(uint32_t* pixels, int count, uint32_t value);

// Lets label glyphs blend with the processor's widest vectors where it has
// them (the default), or not; the pixels are the same either way.
void SetWideBlending(bool wanted);

class Canvas {
 public:
  explicit Canvas(cairo_surface_t* surface);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int WidthPx() const { return widthPx_; }
  int HeightPx() const { return heightPx_; }
  bool Ok() const;

  // The Cairo context, ready for paths; lines and areas are antialiased
  // unless the caller says otherwise.
  cairo_t* Cairo();
  void SetColour(Rgb colour);

  void Fill(Rgb colour);
  void SetPixel(int x, int y, Rgb colour) {
    if (x >= 0 && y >= 0 && x < widthPx_ && y < heightPx_) Row(y)[x] = colour;
  }
  // Pixels left <= x < right of row y.
  void Run(int y, int left, int right, Rgb colour);
  // A square of `sizePx` with its top-left corner at (x, y).
  void Square(int x, int y, int sizePx, Rgb colour);
  void Stamp(int x, int y, std::span<const PixelOffset> pixels, Rgb colour);
  // A Windows-1252 text with its pen at (x, baselineY), over a halo.
  void Text(int x, int baselineY, std::string_view text, const GlyphAtlas& atlas, Rgb colour,
            Rgb haloColour);

  // Hands the pixels back to Cairo; the destructor does it too.
  void Finish();
  cairo_format_t Format() const { return cairo_image_surface_get_format(surface_); }
  // The pixels of row y, taken from Cairo until it draws again.
  uint32_t* Row(int y);

 private:
  void Mask(int left, int top, int widthPx, int heightPx, const uint8_t* alpha, Rgb colour);

  cairo_surface_t* surface_;
  cairo_t* context_;
  int widthPx_;
  int heightPx_;
  uint8_t* data_;
  int strideBytes_;
  bool pixelsTaken_ = false;  // direct writes since Cairo last drew
};

}  // namespace navmap
