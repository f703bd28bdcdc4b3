#include "xplane/row_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

using testing_support::TempFolder;

std::vector<std::string> LinesOf(const TempFolder& folder, const std::string& bytes) {
  folder.Write("rows.dat", bytes);
  std::vector<std::string> lines;
  const std::string error = xplane::ForEachLine(
      folder / "rows.dat", [&](std::string_view line) { lines.emplace_back(line); });
  EXPECT_EQ(error, "");
  return lines;
}

TEST(RowReader, EveryLineEndEvenAcrossReadChunks) {
  TempFolder folder;
  EXPECT_EQ(LinesOf(folder, "a\rb\nc\r\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(LinesOf(folder, "a\r\r\nb\r"), (std::vector<std::string>{"a", "", "b"}));
  // The file is read 64 KiB at a time: a CR LF, a CR CR and a bare CR that
  // end exactly at a chunk's end are still one, two and one line end.
  constexpr size_t kChunk = 1 << 16;
  for (const char* end : {"\r\n", "\r\r", "\rx"}) {
    SCOPED_TRACE(end);
    const std::string first(kChunk - 1, 'p');
    const std::vector<std::string> lines = LinesOf(folder, first + end + "q\r");
    const std::string tail = std::string(end) == "\rx" ? "xq" : "q";
    std::vector<std::string> expected = {first};
    if (std::string(end) == "\r\r") expected.push_back("");
    expected.push_back(tail);
    EXPECT_EQ(lines, expected);
  }
}

}  // namespace
