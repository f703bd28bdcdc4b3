#include "platform/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform {
namespace {

std::vector<std::string> Lines(std::string_view bytes) {
  std::vector<std::string> lines;
  ForEachTextLine(bytes, [&](size_t lineNumber, std::string_view line) {
    EXPECT_EQ(lineNumber, lines.size() + 1);
    lines.emplace_back(line);
    return true;
  });
  return lines;
}

using LineList = std::vector<std::string>;

TEST(TextLines, EveryLineEndGivesTheSameLines) {
  const struct {
    const char* name;
    std::string bytes;
    LineList lines;
  } cases[] = {
      {"empty", "", {}},
      {"CR LF", "a\r\nbc\r\n", {"a", "bc"}},
      {"LF", "a\nbc\n", {"a", "bc"}},
      {"bare CR", "a\rbc\r", {"a", "bc"}},
      {"no end on the last line", "a\r\nbc", {"a", "bc"}},
      {"mixed", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"empty lines of each end", "\r\n\n\r", {"", "", ""}},
      {"CR before CR LF is a line of its own", "a\r\r\nb", {"a", "", "b"}},
      {"LF CR is two ends", "a\n\rb", {"a", "", "b"}},
      {"one CR", "\r", {""}},
      {"other control bytes stay in the line", "a\tb\x0b\x0c\r\n", {"a\tb\x0b\x0c"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Lines(c.bytes), c.lines);
  }
}

TEST(TextLines, SplitterStopsWhereAsked) {
  EXPECT_EQ(Lines("x\ry\rz").size(), 3u);
  size_t seen = 0;
  ForEachTextLine("x\ry\rz", [&](size_t, std::string_view) { return ++seen < 2; });
  EXPECT_EQ(seen, 2u);

  TextLineSplitter splitter("ab\r\n  cd\r");
  EXPECT_EQ(splitter.Next(), "ab");
  EXPECT_EQ(splitter.Position(), 4u);
  splitter.Skip(2);
  EXPECT_EQ(splitter.Rest(), "cd\r");
  EXPECT_EQ(splitter.Next(), "cd");
  EXPECT_EQ(splitter.Next(), std::nullopt);
  splitter.Skip(10);
  EXPECT_EQ(splitter.Next(), std::nullopt);
}

}  // namespace
}  // namespace platform
