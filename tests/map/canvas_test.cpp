#include "map/canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/map/map_fixture.h"

namespace navmap {
namespace {

constexpr int kWidthPx = 61;  // not a multiple of four: rows end between blocks
constexpr int kHeightPx = 24;

using Pixels = std::vector<uint32_t>;  // row by row, kWidthPx a row

// colour over dst with coverage alpha / 255, each channel rounded to the
// nearest; an opaque pixel where the mask covers it, the pixel as it was
// (its unused top byte too) where it does not.
uint32_t Over(uint32_t dst, Rgb colour, int alpha) {
  if (alpha == 0) return dst;
  uint32_t out = 0xFF000000;
  for (const int shift : {16, 8, 0}) {
    const int s = static_cast<int>((colour >> shift) & 0xFF);
    const int d = static_cast<int>((dst >> shift) & 0xFF);
    out |= static_cast<uint32_t>(std::lround((s * alpha + d * (255 - alpha)) / 255.0)) << shift;
  }
  return out;
}

void MaskOver(Pixels& pixels, int left, int top, int widthPx, int heightPx, const uint8_t* mask,
              Rgb colour) {
  for (int y = 0; y < heightPx; ++y) {
    for (int x = 0; x < widthPx; ++x) {
      const int px = left + x;
      const int py = top + y;
      if (px < 0 || py < 0 || px >= kWidthPx || py >= kHeightPx) continue;
      uint32_t& pixel = pixels[static_cast<size_t>(py * kWidthPx + px)];
      pixel = Over(pixel, colour, mask[y * widthPx + x]);
    }
  }
}

// The text as a label is drawn: every halo, then every glyph.
void TextOver(Pixels& pixels, int penX, int baselineY, const std::string& text, Rgb colour,
              Rgb halo) {
  const GlyphAtlas& atlas = GlyphAtlas::Labels();
  for (const bool halos : {true, false}) {
    int x = penX;
    for (const char c : text) {
      const Glyph& glyph = atlas.Of(static_cast<uint8_t>(c));
      if (glyph.widthPx > 0 && halos) {
        MaskOver(pixels, x + glyph.left - 1, baselineY + glyph.top - 1, glyph.widthPx + 2,
                 glyph.heightPx + 2, atlas.Masks() + glyph.haloAt, halo);
      } else if (glyph.widthPx > 0) {
        MaskOver(pixels, x + glyph.left, baselineY + glyph.top, glyph.widthPx, glyph.heightPx,
                 atlas.Masks() + glyph.maskAt, colour);
      }
      x += glyph.advancePx;
    }
  }
}

TEST(CanvasTest, LabelsBlendEveryChannelRoundedToTheNearestAndLeaveUncoveredPixelsAlone) {
  struct Case {
    const char* name;
    int penX;
    std::string text;
  };
  const Case cases[] = {
      {"inside", 3, "Wg8,\xC4x"},
      {"cut at the left edge", -4, "MAW"},
      {"cut at the right edge", kWidthPx - 9, "LFPG"},
      // A glyph's rows ending at four successive places by the right
      // edge: their last pixels go four at a time where the image has room.
      {"W by the right edge", kWidthPx - 9, "W"},
      {"W a pixel further left", kWidthPx - 10, "W"},
      {"W two pixels further left", kWidthPx - 11, "W"},
      {"W three pixels further left", kWidthPx - 12, "W"},
  };
  // Eight pixels a step where the processor can, four where it cannot:
  // the same pixels either way.
  for (const bool wide : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      SCOPED_TRACE(wide ? "eight pixels a step" : "four pixels a step");
      SetWideBlending(wide);
      navmap_testing::Surface surface = navmap_testing::MakeSurface(kWidthPx, kHeightPx);
      // A background of every value, the unused top byte included.
      std::mt19937 random(7);
      Pixels expected(static_cast<size_t>(kWidthPx * kHeightPx));
      for (uint32_t& pixel : expected) pixel = static_cast<uint32_t>(random());
      uint8_t* data = cairo_image_surface_get_data(surface.get());
      const int stride = cairo_image_surface_get_stride(surface.get());
      for (int y = 0; y < kHeightPx; ++y) {
        std::memcpy(data + y * stride, &expected[static_cast<size_t>(y * kWidthPx)], kWidthPx * 4);
      }
      cairo_surface_mark_dirty(surface.get());
      {
        Canvas canvas(surface.get());
        canvas.Text(c.penX, 16, c.text, GlyphAtlas::Labels(), 0x2060A0, 0xFFF8E0);
      }
      TextOver(expected, c.penX, 16, c.text, 0x2060A0, 0xFFF8E0);
      cairo_surface_flush(surface.get());
      int differing = 0;
      int covered = 0;
      for (int y = 0; y < kHeightPx; ++y) {
        for (int x = 0; x < kWidthPx; ++x) {
          uint32_t actual = 0;
          std::memcpy(&actual, data + y * stride + x * 4, 4);
          const uint32_t wanted = expected[static_cast<size_t>(y * kWidthPx + x)];
          covered += (wanted >> 24) == 0xFF;
          if (actual != wanted && ++differing <= 5) {
            ADD_FAILURE() << x << "," << y << ": " << std::hex << actual << " for " << wanted;
          }
        }
      }
      EXPECT_EQ(differing, 0);
      EXPECT_GT(covered, c.text.size() == 1 ? 20 : 60);
    }
  }
  SetWideBlending(true);
}

// A stamp far enough inside writes its pixels without testing each; by the
// edges, or past them, it writes only what lies in the image. Both must put
// the same pixels where the offsets say, on an image whose rows are longer
// than its width.
TEST(CanvasTest, StampsPutEveryPixelOfTheirOffsetsThatLiesInTheImage) {
  constexpr int kStampWidthPx = 261;  // interior stamps: 128 <= x < 133
  constexpr int kStampHeightPx = 259;
  constexpr int kStridePx = kStampWidthPx + 3;
  const std::vector<PixelOffset> offsets = {{0, 0},      {-128, -128}, {127, 127}, {-128, 127},
                                            {127, -128}, {-1, 3},      {5, -2},    {0, 127}};
  const Rgb colour = 0x3C7FB1;
  const int places[] = {-130, -1, 0, 1, 127, 128, 130, 132, 133, 134, 200, 258, 260, 261, 390};
  for (const int x : places) {
    for (const int y : places) {
      std::vector<uint32_t> data(static_cast<size_t>(kStridePx * kStampHeightPx), 0x00123456);
      std::vector<uint32_t> expected = data;
      cairo_surface_t* surface = cairo_image_surface_create_for_data(
          reinterpret_cast<unsigned char*>(data.data()), CAIRO_FORMAT_RGB24, kStampWidthPx,
          kStampHeightPx, kStridePx * 4);
      {
        Canvas canvas(surface);
        canvas.Stamp(x, y, offsets, colour);
      }
      cairo_surface_destroy(surface);
      for (const PixelOffset offset : offsets) {
        const int px = x + offset.dx;
        const int py = y + offset.dy;
        if (px < 0 || py < 0 || px >= kStampWidthPx || py >= kStampHeightPx) continue;
        expected[(static_cast<size_t>(py) * kStridePx) + static_cast<size_t>(px)] =
            0xFF000000 | colour;
      }
      ASSERT_EQ(data, expected) << "stamp at " << x << "," << y;
    }
  }
}

// A run sets exactly its pixels in the image, wherever it starts against
// the sixteen-byte blocks the fill writes, and whatever its length; a fill
// sets every pixel of every row and nothing past a row's end.
TEST(CanvasTest, RunsAndFillsSetTheirPixelsAndNoOthers) {
  constexpr int kRowWidthPx = 53;
  constexpr int kStridePx = 56;  // the 3 pixels past each row's end must stay
  constexpr int kRows = 2;
  const Rgb colour = 0x5A8F21;
  for (int left = -3; left < 22; ++left) {
    for (int length = 0; length <= kRowWidthPx + 4; ++length) {
      std::vector<uint32_t> data(static_cast<size_t>(kStridePx * kRows), 0x00123456);
      cairo_surface_t* surface = cairo_image_surface_create_for_data(
          reinterpret_cast<unsigned char*>(data.data()), CAIRO_FORMAT_RGB24, kRowWidthPx, kRows,
          kStridePx * 4);
      {
        Canvas canvas(surface);
        canvas.Run(1, left, left + length, colour);
      }
      cairo_surface_destroy(surface);
      for (int x = 0; x < kStridePx; ++x) {
        const bool set = x >= left && x < left + length && x < kRowWidthPx;
        ASSERT_EQ(data[static_cast<size_t>(kStridePx + x)], set ? 0xFF000000 | colour : 0x00123456)
            << "run from " << left << ", " << length << " long, at " << x;
        ASSERT_EQ(data[static_cast<size_t>(x)], 0x00123456u);
      }
    }
  }
  std::vector<uint32_t> data(static_cast<size_t>(kStridePx * kRows), 0x00123456);
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(data.data()),
                                          CAIRO_FORMAT_RGB24, kRowWidthPx, kRows, kStridePx * 4);
  {
    Canvas canvas(surface);
    canvas.Fill(colour);
  }
  cairo_surface_destroy(surface);
  for (int y = 0; y < kRows; ++y) {
    for (int x = 0; x < kStridePx; ++x) {
      EXPECT_EQ(data[static_cast<size_t>(y * kStridePx + x)],
                x < kRowWidthPx ? 0xFF000000 | colour : 0x00123456);
    }
  }
}

}  // namespace
}  // namespace navmap
