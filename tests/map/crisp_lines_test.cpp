#include "map/crisp_lines.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "map/symbol_drawing.h"

namespace navmap {
namespace {

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

Surface Blank(int widthPx, int heightPx) {
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, widthPx, heightPx),
                  cairo_surface_destroy);
  Canvas canvas(surface.get());
  canvas.Fill(0x203040);
  return surface;
}

std::vector<uint8_t> Bytes(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  const uint8_t* data = cairo_image_surface_get_data(surface);
  return {data, data + static_cast<size_t>(cairo_image_surface_get_stride(surface)) *
                           static_cast<size_t>(cairo_image_surface_get_height(surface))};
}

// Each line in a stroke of its own, through pixel centres, without
// antialiasing: the picture the gathered strokes must give.
void StrokeOneByOne(cairo_surface_t* surface, const std::vector<std::vector<Pixel>>& lines,
                    Rgb colour) {
  cairo_t* cairo = cairo_create(surface);
  cairo_set_source_rgb(cairo, ((colour >> 16) & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                       (colour & 0xFF) / 255.0);
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cairo, 1.0);
  for (const std::vector<Pixel>& line : lines) {
    cairo_new_path(cairo);
    cairo_move_to(cairo, line[0].x + 0.5, line[0].y + 0.5);
    for (size_t i = 1; i < line.size(); ++i) cairo_line_to(cairo, line[i].x + 0.5, line[i].y + 0.5);
    cairo_stroke(cairo);
  }
  cairo_destroy(cairo);
}

// Runway lines (two points, often level or upright) and localizer
// outlines (four points, the last on the first) crowded into small images,
// so that lines cross, touch and run over every edge.
std::vector<std::vector<Pixel>> RandomLines(std::mt19937& random, int widthPx, int heightPx) {
  std::uniform_int_distribution<int> x(-12, widthPx + 12);
  std::uniform_int_distribution<int> y(-12, heightPx + 12);
  std::uniform_int_distribution<int> step(-30, 30);
  std::uniform_int_distribution<int> kind(0, 3);
  std::vector<std::vector<Pixel>> lines(std::uniform_int_distribution<size_t>(1, 120)(random));
  for (std::vector<Pixel>& line : lines) {
    const Pixel from{x(random), y(random)};
    switch (kind(random)) {
      case 0:
        line = {from, {from.x + step(random), from.y}};
        break;
      case 1:
        line = {from, {from.x, from.y + step(random)}};
        break;
      case 2:
        line = {from, {from.x + step(random), from.y + step(random)}};
        break;
      default: {
        const Pixel far{from.x + step(random), from.y + step(random)};
        line = {from, far, {far.x + step(random) / 4, far.y + step(random) / 4}, from};
      }
    }
  }
  return lines;
}

TEST(CrispLinesTest, LinesSetThePixelsOfTheirOwnStrokesInsideAndAtTheEdgesOfTheImage) {
  std::mt19937 random(4242);
  for (int round = 0; round < 300; ++round) {
    const int widthPx = std::uniform_int_distribution<int>(8, 160)(random);
    const int heightPx = std::uniform_int_distribution<int>(8, 120)(random);
    const std::vector<std::vector<Pixel>> lines = RandomLines(random, widthPx, heightPx);
    const Rgb colour = round % 2 == 0 ? 0xE8E8FF : 0x10C040;
    const Surface alone = Blank(widthPx, heightPx);
    StrokeOneByOne(alone.get(), lines, colour);
    const Surface drawn = Blank(widthPx, heightPx);
    {
      Canvas canvas(drawn.get());
      for (const std::vector<Pixel>& line : lines) DrawCrispLine(canvas, line, colour);
    }
    ASSERT_EQ(Bytes(drawn.get()), Bytes(alone.get()))
        << "round " << round << ": " << lines.size() << " lines in " << widthPx << " x "
        << heightPx;
  }
}

// A localizer of every whole course is stamped as the pixels of its
// stroke, worked out once: they must be the stroke's wherever it stands.
TEST(CrispLinesTest, ALocalizerOfEveryCourseSetsThePixelsOfItsStrokeWhereverItStands) {
  constexpr int kSizePx = 48;
  const Pixel places[] = {{24, 24}, {19, 27}, {28, 20}};
  for (int courseDeg = 0; courseDeg < 360; ++courseDeg) {
    for (const Pixel at : places) {
      const Surface drawn = Blank(kSizePx, kSizePx);
      std::array<Pixel, 4> outline;
      {
        Canvas canvas(drawn.get());
        outline = DrawLocalizer(canvas, at, courseDeg, 0x40C0FF);
      }
      const Surface alone = Blank(kSizePx, kSizePx);
      StrokeOneByOne(alone.get(), {{outline.begin(), outline.end()}}, 0x40C0FF);
      ASSERT_EQ(Bytes(drawn.get()), Bytes(alone.get()))
          << courseDeg << " degrees at " << at.x << ", " << at.y;
    }
  }
}

// Every direction and length of a runway line, at every step a line of
// that length may take.
TEST(CrispLinesTest, ALineInTheImageSetsThePixelsOfItsStrokeInEveryDirection) {
  constexpr int kReachPx = 24;
  constexpr int kSizePx = 2 * kReachPx + 12;
  for (int dx = -kReachPx; dx <= kReachPx; ++dx) {
    for (int dy = -kReachPx; dy <= kReachPx; ++dy) {
      const std::vector<std::vector<Pixel>> lines = {
          {{kSizePx / 2 - dx / 2, kSizePx / 2 - dy / 2},
           {kSizePx / 2 + (dx + 1) / 2, kSizePx / 2 + (dy + 1) / 2}}};
      const Surface alone = Blank(kSizePx, kSizePx);
      StrokeOneByOne(alone.get(), lines, 0xFFE8E8);
      const Surface drawn = Blank(kSizePx, kSizePx);
      {
        Canvas canvas(drawn.get());
        DrawCrispLine(canvas, lines[0], 0xFFE8E8);
      }
      ASSERT_EQ(Bytes(drawn.get()), Bytes(alone.get())) << dx << ", " << dy;
    }
  }
}

TEST(CrispLinesTest, ALevelLineLeavesOutItsLastPixelAndAnOutlineOfKnownPixelsIsStamped) {
  const Surface surface = Blank(40, 30);
  Canvas canvas(surface.get());
  const Pixel level[] = {{5, 5}, {9, 5}};
  DrawCrispLine(canvas, level, 0xFF0000);
  for (int x = 4; x <= 10; ++x) {
    EXPECT_EQ(canvas.Row(5)[x] & 0xFFFFFF, x >= 5 && x < 9 ? 0xFF0000u : 0x203040u) << x;
  }
  // Known pixels stand for the stroke well inside the image; at an edge
  // Cairo strokes the line.
  const Pixel outline[] = {{20, 20}, {17, 5}, {23, 5}, {20, 20}};
  const PixelOffset known[] = {{0, 0}, {1, 1}};
  DrawCrispLine(canvas, outline, {30, 10}, known, 0x00FF00);
  EXPECT_EQ(canvas.Row(10)[30] & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(canvas.Row(11)[31] & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(canvas.Row(5)[20] & 0xFFFFFF, 0x203040u);
  const Pixel atTheEdge[] = {{1, 20}, {1, 28}};
  DrawCrispLine(canvas, atTheEdge, {30, 20}, known, 0x0000FF);
  EXPECT_EQ(canvas.Row(20)[30] & 0xFFFFFF, 0x203040u);
  EXPECT_EQ(canvas.Row(24)[1] & 0xFFFFFF, 0x0000FFu);
}

}  // namespace
}  // namespace navmap
