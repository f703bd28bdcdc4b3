// The map's label font, drawn once into small masks, one per Windows-1252
// character, each with a halo one pixel wider. Labels are then set glyph
// by glyph straight into the image: a map shows hundreds of them, and
// asking the font engine for each costs many times more.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace navmap {

struct Glyph {
  int left = 0;  // of the mask, from the pen position
  int top = 0;   // of the mask, from the baseline (negative: above it)
  int widthPx = 0;
  int heightPx = 0;
  int advancePx = 0;
  size_t maskAt = 0;  // in the atlas's masks; the halo's mask is one pixel
  size_t haloAt = 0;  // larger on every side
};

class GlyphAtlas {
 public:
  // "Arial" (Liberation Sans) of `sizePx`.
  explicit GlyphAtlas(double sizePx);

  // The labels' atlas, made on first use.
  static const GlyphAtlas& Labels();

  const Glyph& Of(uint8_t character) const { return glyphs_[character]; }
  const uint8_t* Masks() const { return masks_.data(); }
  int AscentPx() const { return ascentPx_; }
  int DescentPx() const { return descentPx_; }
  // The advance of a Windows-1252 text.
  int WidthPx(std::string_view text) const;
  size_t HeldBytes() const { return masks_.capacity() + sizeof(glyphs_); }

 private:
  std::array<Glyph, 256> glyphs_{};
  std::vector<uint8_t> masks_;
  int ascentPx_ = 0;
  int descentPx_ = 0;
};

}  // namespace navmap
