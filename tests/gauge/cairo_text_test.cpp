// Texts reach Cairo as UTF-8 made from the database's Windows-1252 bytes.
#include <cairo.h>
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "drawing/cairo_target.h"

namespace lumaro {
namespace {

constexpr int kWidthPx = 48;
constexpr int kHeightPx = 20;

// The pixels of `text` drawn alone, white on black.
std::vector<unsigned char> TextPixels(std::string_view text) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidthPx, kHeightPx);
  {
    CairoTarget target(surface);
    target.FillRect(0, 0, kWidthPx, kHeightPx, {0, 0, 0});
    target.Text({2, 2}, text, FontSize::Large, TextAlign::Left, TextVertical::Top, {255, 255, 255});
  }
  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  std::vector<unsigned char> pixels(data,
                                    data + cairo_image_surface_get_stride(surface) * kHeightPx);
  cairo_surface_destroy(surface);
  return pixels;
}

TEST(CairoText, LettersOfTheWindowsRangeAreDrawnAsThemselves) {
  const std::vector<unsigned char> blank = TextPixels("");
  const std::vector<unsigned char> question = TextPixels("?");
  // 0x8A, 0x8E and 0x8C are S and Z with caron and the OE ligature, which
  // Latin-1 lacks: they must not come out as '?' nor as their plain letter.
  for (const auto& [windows, plain] :
       {std::pair<const char*, const char*>{"\x8A", "S"}, {"\x8E", "Z"}, {"\x8C", "O"}}) {
    SCOPED_TRACE(plain);
    const std::vector<unsigned char> drawn = TextPixels(windows);
    EXPECT_NE(drawn, blank);
    EXPECT_NE(drawn, question);
    EXPECT_NE(drawn, TextPixels(plain));
  }
  // The degree sign of the coordinates is drawn, and unlike a plain 'o'.
  EXPECT_NE(TextPixels("\xB0"), blank);
  EXPECT_NE(TextPixels("\xB0"), question);
  EXPECT_NE(TextPixels("\xB0"), TextPixels("o"));
}

}  // namespace
}  // namespace lumaro
