#include "map/glyph_atlas.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

#include "platform/win1252.h"

namespace navmap {
namespace {

constexpr double kLabelSizePx = 11;
constexpr int kFirstPrintable = 0x20;

struct Bitmap {
  int widthPx = 0;
  int heightPx = 0;
  std::vector<uint8_t> alpha;
  uint8_t At(int x, int y) const {
    if (x < 0 || y < 0 || x >= widthPx || y >= heightPx) return 0;
    return alpha[static_cast<size_t>(y) * widthPx + x];
  }
};

// The character drawn at (pad, pad + ascent) of a square cell, read back.
Bitmap DrawCharacter(cairo_font_face_t* face, const cairo_font_options_t* options, double sizePx,
                     const std::string& utf8, int cellPx, int penX, int penY, double& advancePx) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, cellPx, cellPx);
  cairo_t* context = cairo_create(surface);
  cairo_set_font_face(context, face);
  cairo_set_font_size(context, sizePx);
  cairo_set_font_options(context, options);
  cairo_text_extents_t extents;
  cairo_text_extents(context, utf8.c_str(), &extents);
  advancePx = extents.x_advance;
  cairo_move_to(context, penX, penY);
  cairo_show_text(context, utf8.c_str());
  cairo_surface_flush(surface);
  Bitmap bitmap{cellPx, cellPx, std::vector<uint8_t>(static_cast<size_t>(cellPx) * cellPx)};
  const uint8_t* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < cellPx && data != nullptr; ++y) {
    std::copy_n(data + static_cast<size_t>(y) * stride, cellPx,
                bitmap.alpha.begin() + static_cast<std::ptrdiff_t>(y) * cellPx);
  }
  cairo_destroy(context);
  cairo_surface_destroy(surface);
  return bitmap;
}

}  // namespace

GlyphAtlas::GlyphAtlas(double sizePx) {
  cairo_font_face_t* face =
      cairo_toy_font_face_create("Arial", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);

  // The font's ascent and descent, from a context of its own.
  cairo_surface_t* probe = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  cairo_t* context = cairo_create(probe);
  cairo_set_font_face(context, face);
  cairo_set_font_size(context, sizePx);
  cairo_set_font_options(context, options);
  cairo_font_extents_t font;
  cairo_font_extents(context, &font);
  cairo_destroy(context);
  cairo_surface_destroy(probe);
  ascentPx_ = static_cast<int>(std::ceil(font.ascent));
  descentPx_ = static_cast<int>(std::ceil(font.descent));

  const int padPx = static_cast<int>(std::ceil(sizePx));
  const int cellPx = 4 * padPx;
  const int penX = padPx;
  const int penY = padPx + ascentPx_;
  for (int character = kFirstPrintable; character < 256; ++character) {
    const std::string utf8 = platform::Win1252ToUtf8(std::string(1, static_cast<char>(character)));
    double advancePx = 0;
    const Bitmap bitmap = DrawCharacter(face, options, sizePx, utf8, cellPx, penX, penY, advancePx);
    Glyph& glyph = glyphs_[static_cast<size_t>(character)];
    glyph.advancePx = static_cast<int>(std::lround(advancePx));
    int minX = cellPx, minY = cellPx, maxX = -1, maxY = -1;
    for (int y = 0; y < cellPx; ++y) {
      for (int x = 0; x < cellPx; ++x) {
        if (bitmap.At(x, y) == 0) continue;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
      }
    }
    if (maxX < 0) continue;  // a blank: only its advance
    glyph.left = minX - penX;
    glyph.top = minY - penY;
    glyph.widthPx = maxX - minX + 1;
    glyph.heightPx = maxY - minY + 1;
    glyph.maskAt = masks_.size();
    for (int y = minY; y <= maxY; ++y) {
      for (int x = minX; x <= maxX; ++x) masks_.push_back(bitmap.At(x, y));
    }
    // The halo: the strongest alpha of each pixel's neighbours.
    glyph.haloAt = masks_.size();
    for (int y = minY - 1; y <= maxY + 1; ++y) {
      for (int x = minX - 1; x <= maxX + 1; ++x) {
        uint8_t strongest = 0;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx)
            strongest = std::max(strongest, bitmap.At(x + dx, y + dy));
        }
        masks_.push_back(strongest);
      }
    }
  }
  cairo_font_options_destroy(options);
  cairo_font_face_destroy(face);
}

const GlyphAtlas& GlyphAtlas::Labels() {
  static const GlyphAtlas atlas(kLabelSizePx);
  return atlas;
}

int GlyphAtlas::WidthPx(std::string_view text) const {
  int widthPx = 0;
  for (const char c : text) widthPx += glyphs_[static_cast<uint8_t>(c)].advancePx;
  return widthPx;
}

}  // namespace navmap
