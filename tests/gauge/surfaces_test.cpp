#include "drawing/surfaces.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "drawing/bitmaps.h"
#include "test_environment.h"

namespace lumaro {
namespace {

using gauge_test::SimulatorFolder;
namespace fs = std::filesystem;

struct Message {
  std::string text;
  std::string caption;
  uint32_t flags;
};

struct TestImage {
  std::vector<uint8_t> pixels;
  PanelImage descriptor{};
  TestImage(uint32_t format, uint32_t width, uint32_t height, uint32_t pitch, uint8_t fill = 0xAB)
      : pixels(static_cast<size_t>(pitch) * height, fill) {
    descriptor = {format,       width, height, pitch, nullptr, static_cast<uint32_t>(pixels.size()),
                  pixels.data()};
  }
};

class SurfacesTest : public ::testing::Test {
 protected:
  SurfaceSetup Setup(PanelImage* displayImage, PanelImage* backgroundImage = nullptr) {
    SurfaceSetup setup;
    setup.elementAImage = backgroundImage;
    setup.elementBImage = displayImage;
    setup.haveModuleHandle = true;
    setup.backgroundBitmap = kBackgroundBitmap;
    setup.folder = folder_.path().string();
    setup.messageBox = [this](const std::string& text, const std::string& caption, uint32_t flags) {
      messages_.push_back({text, caption, flags});
    };
    return setup;
  }

  SimulatorFolder folder_;
  std::vector<Message> messages_;
};

TEST_F(SurfacesTest, UnknownFormatIsReportedAndLogged) {
  TestImage image(3, 64, 32, 192);
  DisplaySurfaces surfaces;
  EXPECT_FALSE(surfaces.Create(Setup(&image.descriptor)));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, "Vistrel.ND\nUnrecognized color format.");
  EXPECT_EQ(messages_[0].caption, "Error");
  EXPECT_EQ(messages_[0].flags, PANEL_MB_ICONERROR);
  EXPECT_EQ(folder_.Read("Gauges/Vistrel.ND.err"),
            "Vistrel.ND\nUnrecognized color format.\n ddrval = 00000001\n\n");
  EXPECT_TRUE(surfaces.Failed());
  EXPECT_FALSE(surfaces.HasDeviceContext());
  EXPECT_FALSE(surfaces.Present());

  // The failure stays for the life of the module: later set-ups do nothing.
  TestImage good(1, 64, 32, 64);
  EXPECT_FALSE(surfaces.Create(Setup(&good.descriptor)));
  EXPECT_EQ(messages_.size(), 1u);
  EXPECT_FALSE(folder_.Exists("Gauges/Vistrel.ND.err"));
}

TEST_F(SurfacesTest, ImageTooSmallForItsPitchIsRefused) {
  TestImage image(1, 64, 32, 32);
  DisplaySurfaces surfaces;
  EXPECT_FALSE(surfaces.Create(Setup(&image.descriptor)));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, "Vistrel.ND\nUnable to create surface.");
  EXPECT_EQ(SurfaceErrorMessage(static_cast<SurfaceError>(99)), "Vistrel.ND\nUnknown error.");
  EXPECT_EQ(SurfaceErrorMessage(SurfaceError::GetBitmaskDeviceContext),
            "Vistrel.ND\nUnable to get Device Context for bitmask.");
}

TEST_F(SurfacesTest, PaletteFormatPresentsInOneBlock) {
  TestImage second(1, 64, 32, 64);
  TestImage image(1, 64, 32, 64);
  image.descriptor.secondImage = &second.descriptor;
  DisplaySurfaces surfaces;
  ASSERT_TRUE(surfaces.Create(Setup(&image.descriptor)));
  EXPECT_TRUE(messages_.empty());
  EXPECT_FALSE(folder_.Exists("Gauges/Vistrel.ND.err"));
  EXPECT_EQ(surfaces.Colours().backgroundValue, 16u);
  EXPECT_EQ(surfaces.Colours().colours[2], (Rgb{255, 255, 0}));
  EXPECT_EQ(surfaces.Colours().background, (Rgb{0, 0, 0}));
  surfaces.Clear();
  surfaces.Target()->FillRect(0, 0, 2, 1, surfaces.Colours().colours[3]);
  ASSERT_TRUE(surfaces.Present());
  EXPECT_EQ(surfaces.BlockCopies(), 1u);
  EXPECT_EQ(surfaces.RowCopies(), 0u);
  EXPECT_EQ(image.pixels[0], 3);
  EXPECT_EQ(image.pixels[1], 3);
  EXPECT_EQ(image.pixels[2], 16);
  EXPECT_EQ(image.pixels.back(), 16);
  EXPECT_EQ(second.pixels, image.pixels);
}

TEST_F(SurfacesTest, PitchMismatchCopiesRowByRow) {
  TestImage second(2, 10, 4, 24, 0xEE);
  TestImage image(2, 10, 4, 20, 0xEE);
  image.descriptor.secondImage = &second.descriptor;
  DisplaySurfaces surfaces;
  ASSERT_TRUE(surfaces.Create(Setup(&image.descriptor)));
  EXPECT_TRUE(surfaces.PitchMismatch());
  surfaces.Clear();
  ASSERT_TRUE(surfaces.Present());
  EXPECT_EQ(surfaces.RowCopies(), 1u);
  EXPECT_EQ(surfaces.BlockCopies(), 0u);
  for (int y = 0; y < 4; ++y) {
    SCOPED_TRACE(y);
    const uint8_t* row = second.pixels.data() + y * 24;
    // Background 0,0,0 with the alpha bit: 0x8000, little-endian.
    EXPECT_EQ(row[0], 0x00);
    EXPECT_EQ(row[1], 0x80);
    EXPECT_EQ(row[19], 0x80);
    EXPECT_EQ(row[20], 0xEE);  // past the row: untouched
    EXPECT_EQ(row[23], 0xEE);
  }
}

TEST_F(SurfacesTest, MissingModuleHandleWarnsAndStillDraws) {
  TestImage image(1, 16, 16, 16);
  DisplaySurfaces surfaces;
  SurfaceSetup setup = Setup(&image.descriptor);
  setup.haveModuleHandle = false;
  EXPECT_TRUE(surfaces.Create(setup));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, "Vistrel.ND\nUnable to get the color table \nand the palette.");
  EXPECT_EQ(messages_[0].caption, "Warning");
  EXPECT_EQ(messages_[0].flags, PANEL_MB_ICONWARNING);
  EXPECT_EQ(folder_.Read("Gauges/Vistrel.ND.err"),
            "Vistrel.ND\nUnable to get the color table \nand the palette.\n"
            " hMod = 00000000  hRc = 00000001  hGlobal = 00000000\n\n");
  EXPECT_TRUE(surfaces.HasDeviceContext());
}

// The error log's name may hold a symbolic link or a second name of a file
// elsewhere (a Gauges folder unpacked from an archive): the file behind it
// keeps its contents whether the set-up succeeds or writes its failure.
TEST_F(SurfacesTest, ErrorLogNeverWritesThroughALinkOrAnotherName) {
  const std::string notes = "the user's notes\n";
  folder_.Write("notes.txt", notes);
  fs::create_symlink("../notes.txt", folder_ / "Gauges/Vistrel.ND.err");

  TestImage good(1, 16, 16, 16);
  DisplaySurfaces succeeded;
  ASSERT_TRUE(succeeded.Create(Setup(&good.descriptor)));
  EXPECT_EQ(folder_.Read("notes.txt"), notes);
  EXPECT_TRUE(fs::is_symlink(folder_ / "Gauges/Vistrel.ND.err"));

  // A failure is shown, but not logged through the link.
  TestImage unknown(3, 16, 16, 48);
  DisplaySurfaces failed;
  EXPECT_FALSE(failed.Create(Setup(&unknown.descriptor)));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(folder_.Read("notes.txt"), notes);
  EXPECT_TRUE(fs::is_symlink(folder_ / "Gauges/Vistrel.ND.err"));

  // A hard link: the log gets a name of its own, the notes stay.
  fs::remove(folder_ / "Gauges/Vistrel.ND.err");
  fs::create_hard_link(folder_ / "notes.txt", folder_ / "Gauges/Vistrel.ND.err");
  DisplaySurfaces failedAgain;
  EXPECT_FALSE(failedAgain.Create(Setup(&unknown.descriptor)));
  EXPECT_EQ(folder_.Read("notes.txt"), notes);
  EXPECT_EQ(folder_.Read("Gauges/Vistrel.ND.err"),
            "Vistrel.ND\nUnrecognized color format.\n ddrval = 00000001\n\n");
  fs::remove(folder_ / "Gauges/Vistrel.ND.err");
  fs::create_hard_link(folder_ / "notes.txt", folder_ / "Gauges/Vistrel.ND.err");
  DisplaySurfaces succeededAgain;
  ASSERT_TRUE(succeededAgain.Create(Setup(&good.descriptor)));
  EXPECT_EQ(folder_.Read("notes.txt"), notes);
  EXPECT_FALSE(folder_.Exists("Gauges/Vistrel.ND.err"));
}

TEST_F(SurfacesTest, SwatchIsHiddenInTheBackgroundImage) {
  TestImage display(1, 16, 16, 16);
  TestImage background(1, 32, 4, 36, 0);
  for (int x = 0; x < 32; ++x) background.pixels[x] = static_cast<uint8_t>(100 + x);
  for (int x = 0; x < 17; ++x) background.pixels[3 * 36 + x] = static_cast<uint8_t>(x);
  DisplaySurfaces surfaces;
  ASSERT_TRUE(surfaces.Create(Setup(&display.descriptor, &background.descriptor)));
  for (int x = 0; x < 32; ++x) EXPECT_EQ(background.pixels[3 * 36 + x], 100 + x);
  EXPECT_EQ(background.pixels[3 * 36 + 32], 0);
}

TEST_F(SurfacesTest, LoadFromImageRoundTrips) {
  for (uint32_t format : {1u, 2u}) {
    SCOPED_TRACE(format);
    TestImage image(format, 8, 8, 8 * format);
    for (size_t at = 0; at < image.pixels.size(); ++at) {
      image.pixels[at] = format == 1 ? static_cast<uint8_t>(81 + at % 40)
                                     : static_cast<uint8_t>(at % 2 ? 0x80 | (at % 0x7F) : at * 7);
    }
    std::vector<uint8_t> original = image.pixels;
    DisplaySurfaces surfaces;
    ASSERT_TRUE(surfaces.Create(Setup(&image.descriptor)));
    surfaces.LoadFromImage();
    std::fill(image.pixels.begin(), image.pixels.end(), 0);
    ASSERT_TRUE(surfaces.Present());
    EXPECT_EQ(image.pixels, original);
  }
}

TEST(Rgb1555, FiveBitsPerChannel) {
  EXPECT_EQ(Rgb1555FromRgb({255, 255, 255}), 0x7FFF);
  EXPECT_EQ(Rgb1555FromRgb({255, 0, 0}), 0x7C00);
  EXPECT_EQ(Rgb1555FromRgb({0, 255, 0}), 0x03E0);
  EXPECT_EQ(Rgb1555FromRgb({0, 0, 255}), 0x001F);
  EXPECT_EQ(Rgb1555FromRgb({8, 8, 9}), 0x0001);
}

TEST(Swatch, ColoursComeFromTheFirstStoredRow) {
  std::optional<DisplayColours> colours = ReadSwatch(kBackgroundBitmap, 2);
  ASSERT_TRUE(colours);
  EXPECT_EQ(colours->colours[0], (Rgb{255, 255, 255}));
  EXPECT_EQ(colours->colours[12], (Rgb{96, 160, 255}));
  EXPECT_EQ(colours->backgroundValue, 0u);
  std::vector<uint8_t> truncated(kBackgroundBitmap.begin(), kBackgroundBitmap.begin() + 1000);
  EXPECT_FALSE(ReadSwatch(truncated, 1));
  EXPECT_FALSE(ReadSwatch({}, 1));
}

}  // namespace
}  // namespace lumaro
