#include "platform/text_columns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace platform {
namespace {

TEST(TextColumns, ColumnsClipAtTheEndOfTheText) {
  const std::string_view line = "VOR1  NAME";
  EXPECT_EQ(Columns(line, 0, 4), "VOR1");
  EXPECT_EQ(Columns(line, 6, 10), "NAME");  // fewer where the text ends
  EXPECT_EQ(Columns(line, 9, 1), "E");      // last column
  EXPECT_EQ(Columns(line, 10, 3), "");      // just past the end
  EXPECT_EQ(Columns(line, 500, 3), "");
  EXPECT_EQ(Columns(line, 4), "  NAME");  // to the end
  EXPECT_EQ(Columns(line, 3, 0), "");
  EXPECT_EQ(Columns("", 0, 1), "");
}

TEST(TextColumns, FitPadAndCut) {
  EXPECT_EQ(Fitted("ABC", 5), "ABC  ");
  EXPECT_EQ(Fitted("ABCDEFG", 5), "ABCDE");
  EXPECT_EQ(Fitted("ABCDE", 5), "ABCDE");
  EXPECT_EQ(Fitted("", 2), "  ");
  EXPECT_EQ(Fitted("AB", 0), "");

  std::string text = "AB";
  PadTo(text, 4);
  EXPECT_EQ(text, "AB  ");
  PadTo(text, 1);  // never cuts
  EXPECT_EQ(text, "AB  ");
  CutTo(text, 3);
  EXPECT_EQ(text, "AB ");
  CutTo(text, 10);  // never pads
  EXPECT_EQ(text, "AB ");
  CutTo(text, 0);
  EXPECT_EQ(text, "");
}

TEST(TextColumns, TrimOnlyTheGivenBlanks) {
  EXPECT_EQ(TrimEnd("EDDF   "), "EDDF");
  EXPECT_EQ(TrimEnd("  ED DF"), "  ED DF");
  EXPECT_EQ(TrimEnd("    "), "");
  EXPECT_EQ(TrimEnd(""), "");
  EXPECT_EQ(TrimEnd("AB\t"), "AB\t");  // only spaces by default
  EXPECT_EQ(TrimEnd(std::string_view("AB \0 \0", 6), std::string_view(" \0", 2)), "AB");
  EXPECT_EQ(Trim("  27R  "), "27R");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("X"), "X");
  EXPECT_EQ(Trim("--1-2--", "-"), "1-2");
}

TEST(TextColumns, ZeroPaddedMatchesPrintf) {
  for (long value : {0L, 7L, -7L, 42L, -42L, 99999L, 123456L, -123456L, LONG_MAX, LONG_MIN}) {
    for (int width : {0, 1, 2, 3, 5, 30}) {
      char expected[40];
      std::snprintf(expected, sizeof expected, "%0*ld", width, value);
      std::string text = "x";
      AppendZeroPadded(text, value, width);
      EXPECT_EQ(text, std::string("x") + expected) << value << " " << width;
      EXPECT_EQ(ZeroPadded(value, width), expected) << value << " " << width;
    }
  }
}

TEST(TextColumns, WriteZeroPaddedMatchesPrintfAroundItsShortCut) {
  std::vector<long> values = {LONG_MAX, LONG_MIN, 123456L, -123456L};
  for (long value = -1100; value <= 1100; ++value) values.push_back(value);
  for (long value : values) {
    for (int width : {-1, 0, 1, 2, 3, 4, 5, 20, 21}) {
      char expected[40];
      std::snprintf(expected, sizeof expected, "%0*ld", width, value);
      char text[64];
      std::fill(std::begin(text), std::end(text), '#');
      char* end = WriteZeroPadded(text + 1, value, width);
      ASSERT_EQ(std::string(text + 1, end), expected) << value << " " << width;
      // Nothing is written outside the text.
      ASSERT_EQ(text[0], '#');
      ASSERT_EQ(*end, '#') << value << " " << width;
    }
  }
}

}  // namespace
}  // namespace platform
