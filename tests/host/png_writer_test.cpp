#include "png_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "test_environment.h"

namespace ndhost {
namespace {

TEST(PngWriter, ConvertsBothFormats) {
  std::vector<uint8_t> indices = {0, 1, 0xAA, 2, 3, 0xAA};  // pitch 3, width 2
  PanelImage palette8{1, 2, 2, 3, nullptr, 6, indices.data()};
  std::vector<uint32_t> palette(256, 0);
  palette[1] = 0x112233;
  palette[2] = 0xFF0000;
  palette[3] = 0x00FF00;
  EXPECT_EQ(ImageToRgb(palette8, palette),
            (std::vector<uint32_t>{0, 0x112233, 0xFF0000, 0x00FF00}));

  std::vector<uint8_t> words = {0x00, 0xFC, 0xE0, 0x83, 0x1F, 0x80, 0xFF, 0xFF};
  PanelImage rgb1555{2, 4, 1, 8, nullptr, 8, words.data()};
  EXPECT_EQ(ImageToRgb(rgb1555, palette),
            (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));

  PanelImage unknown{3, 1, 1, 3, nullptr, 3, words.data()};
  EXPECT_TRUE(ImageToRgb(unknown, palette).empty());
}

TEST(PngWriter, WritesAPngFile) {
  gauge_test::SimulatorFolder folder;
  std::vector<uint8_t> indices(16 * 8, 1);
  PanelImage image{1, 16, 8, 16, nullptr, 128, indices.data()};
  std::vector<uint32_t> palette(256, 0x336699);
  std::string path = (folder.path() / "out.png").string();
  EXPECT_TRUE(SaveImagePng(image, palette, path));
  std::string bytes = folder.Read("out.png");
  ASSERT_GT(bytes.size(), 8u);
  EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
  PanelImage unknown{7, 16, 8, 16, nullptr, 128, indices.data()};
  EXPECT_EQ(SaveImagePng(unknown, palette, path).error().message,
            "the image has no pixels in a known format");
  const std::string missing = (folder.path() / "missing" / "x.png").string();
  EXPECT_EQ(SaveImagePng(image, palette, missing).error().message,
            "cannot write " + missing + ": error while writing to output stream");
}

}  // namespace
}  // namespace ndhost
