#include "drawing/startup_screen.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "drawing/recording_target.h"

namespace lumaro {
namespace {

TEST(StartupScreen, FiveCentredLinesInCyanGreenAndYellow) {
  RecordingTarget target;
  DrawStartupTexts(target, 256, 200);
  std::vector<DrawOperation> texts = target.Texts();
  ASSERT_EQ(texts.size(), 5u);
  const std::vector<int> expectedY = {8, 100, 112, 136, 148};
  const std::vector<Rgb> expectedColours = {
      {0, 255, 255}, {0, 255, 0}, {0, 255, 0}, {255, 255, 0}, {255, 255, 0}};
  std::array<std::string, kStartupLineCount> plain = StartupTexts();
  for (size_t line = 0; line < texts.size(); ++line) {
    SCOPED_TRACE(line);
    EXPECT_EQ(texts[line].points[0], (ScreenPoint{128, expectedY[line]}));
    EXPECT_EQ(texts[line].align, TextAlign::Centre);
    EXPECT_EQ(texts[line].size, FontSize::Medium);
    EXPECT_EQ(texts[line].colour, expectedColours[line]);
    EXPECT_EQ(texts[line].text, plain[line]);
    EXPECT_FALSE(texts[line].text.empty());
  }
  EXPECT_EQ(plain[0], "VISTREL.ND");
}

}  // namespace
}  // namespace lumaro
