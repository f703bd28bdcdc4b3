#include "navdb/entry_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "navdb/list_order.h"

namespace navdb {
namespace {

std::vector<std::string> Lines(const EntryList& list) {
  std::vector<std::string> lines;
  list.ForEach([&](size_t row, std::string_view line) {
    EXPECT_EQ(row, lines.size());
    EXPECT_EQ(list.GetLine(row), line);
    lines.emplace_back(line);
  });
  return lines;
}

TEST(EntryList, SortedInsertionReturnsRows) {
  EntryList list;
  EXPECT_EQ(list.AddLine("MOP"), 0u);
  EXPECT_EQ(list.AddLine("ABC"), 0u);
  EXPECT_EQ(list.AddLine("klm"), 1u);
  EXPECT_EQ(list.AddLine("ZZZ"), 3u);
  EXPECT_EQ(list.AddLine("ABC"), 1u);  // after the equal line
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"ABC", "ABC", "klm", "MOP", "ZZZ"}));
  EXPECT_EQ(list.Count(), 5u);
  list.DeleteLine(2);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"ABC", "ABC", "MOP", "ZZZ"}));
  list.DeleteLine(99);  // out of range: nothing happens
  EXPECT_EQ(list.Count(), 4u);
  list.Clear();
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_TRUE(list.Empty());
}

TEST(EntryList, RefusesWhenFullOrTooLong) {
  EntryList list(2);
  EXPECT_TRUE(list.AddLine("A"));
  EXPECT_TRUE(list.AppendLine("B"));
  EXPECT_FALSE(list.AddLine("C"));
  EXPECT_FALSE(list.AppendLine("C"));
  EXPECT_EQ(list.Count(), 2u);
  EntryList wide;
  EXPECT_TRUE(wide.AddLine(std::string(kMaxLineLength, 'x')));
  EXPECT_FALSE(wide.AddLine(std::string(kMaxLineLength + 1, 'x')));
  EXPECT_EQ(wide.GetLine(0).size(), kMaxLineLength);
}

TEST(EntryList, AppendKeepsFileOrder) {
  EntryList list;
  for (const char* line : {"ZULU", "ALPHA", "MIKE"}) list.AppendLine(line);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"ZULU", "ALPHA", "MIKE"}));
  EXPECT_FALSE(list.IsSorted());
  // Prefix search on an unsorted list still finds the first line in list order.
  EXPECT_EQ(list.FindPrefix("m"), 2u);
  EXPECT_EQ(list.FindPrefix("z"), 0u);
  EXPECT_FALSE(list.FindPrefix("B"));
}

TEST(EntryList, FindPrefixIgnoresCaseAndSkipsLookalikes) {
  EntryList list;
  for (const char* line : {"AB-C 1", "ABC 2", "abd", "A", "ABCDEF", "ABZ", "B"}) list.AddLine(line);
  // "AB-C 1" sorts with the ABC lines but does not begin with "ABC".
  const auto row = list.FindPrefix("abc");
  ASSERT_TRUE(row);
  EXPECT_TRUE(list.GetLine(*row).substr(0, 3) == "ABC") << list.GetLine(*row);
  EXPECT_EQ(list.GetLine(*list.FindPrefix("AB-")), "AB-C 1");
  EXPECT_EQ(list.GetLine(*list.FindPrefix("")), list.GetLine(0));
  EXPECT_EQ(list.GetLine(*list.FindPrefix("abd")), "abd");
  EXPECT_FALSE(list.FindPrefix("ABCDEFG"));
  EXPECT_FALSE(list.FindPrefix("C"));
}

TEST(EntryList, ManyLinesAcrossChunksMatchASortedVector) {
  std::mt19937 random(11);
  EntryList list;
  std::vector<std::string> expected;
  for (int i = 0; i < 5000; ++i) {
    std::string line = "L" + std::to_string(random() % 100000);
    const size_t row = *list.AddLine(line);
    auto at = std::upper_bound(expected.begin(), expected.end(), line, ListOrderLess);
    ASSERT_EQ(row, static_cast<size_t>(at - expected.begin()));
    expected.insert(at, line);
  }
  for (int i = 0; i < 3000; ++i) {
    const size_t row = random() % expected.size();
    list.DeleteLine(row);
    expected.erase(expected.begin() + static_cast<long>(row));
  }
  ASSERT_EQ(Lines(list), expected);
  for (int i = 0; i < 200; ++i) {
    const std::string prefix = "L" + std::to_string(random() % 1000);
    auto it = std::find_if(expected.begin(), expected.end(),
                           [&](const std::string& l) { return StartsWithIgnoringCase(l, prefix); });
    const auto found = list.FindPrefix(prefix);
    if (it == expected.end()) {
      EXPECT_FALSE(found) << prefix;
    } else {
      ASSERT_TRUE(found) << prefix;
      EXPECT_EQ(*found, static_cast<size_t>(it - expected.begin())) << prefix;
    }
  }
}

// Lines whose first eight primary weights are mostly the same, so that the
// searches must settle ties on the text.
TEST(EntryList, LinesSharingLongStartsStayInOrderAndAreFound) {
  std::mt19937 random(21);
  const std::string alphabet = " -'09Aaz\xE9";
  const auto randomLine = [&] {
    std::string line = random() % 2 ? "KSEA RWY 1" : "KSEA-RWY 1";
    if (random() % 4 == 0) line = "kSEA";
    const size_t length = random() % 6;
    for (size_t k = 0; k < length; ++k) line += alphabet[random() % alphabet.size()];
    return line;
  };
  std::vector<std::string> expected;
  for (int i = 0; i < 600; ++i) expected.push_back(randomLine());
  std::stable_sort(expected.begin(), expected.end(), ListOrderLess);
  EntryList list;
  list.AssignSorted(expected);  // the keys are packed at the first search
  const auto check = [&](const std::string& prefix) {
    auto it = std::find_if(expected.begin(), expected.end(),
                           [&](const std::string& l) { return StartsWithIgnoringCase(l, prefix); });
    const auto found = list.FindPrefix(prefix);
    if (it == expected.end()) {
      EXPECT_FALSE(found) << prefix;
    } else {
      ASSERT_TRUE(found) << prefix;
      EXPECT_EQ(*found, static_cast<size_t>(it - expected.begin())) << prefix;
    }
  };
  for (int i = 0; i < 2000; ++i) {
    const std::string line = randomLine();
    if (random() % 3 == 0 && !expected.empty()) {
      const size_t row = random() % expected.size();
      list.DeleteLine(row);
      expected.erase(expected.begin() + static_cast<long>(row));
    } else {
      const size_t row = *list.AddLine(line);
      auto at = std::upper_bound(expected.begin(), expected.end(), line, ListOrderLess);
      ASSERT_EQ(row, static_cast<size_t>(at - expected.begin())) << line;
      expected.insert(at, line);
    }
    check(line.substr(0, random() % (line.size() + 1)));
  }
  ASSERT_EQ(Lines(list), expected);
}

TEST(EntryList, PlaceholderIsNoEntry) {
  EntryList list;
  list.AppendLine(kPlaceholderLine);
  EXPECT_TRUE(list.HoldsOnlyPlaceholder());
  EXPECT_EQ(list.EntryCount(), 0u);
  EXPECT_EQ(list.Count(), 1u);
  list.AddLine("ABC");
  EXPECT_FALSE(list.HoldsOnlyPlaceholder());
  EXPECT_EQ(list.EntryCount(), 2u);
}

TEST(EntryList, AssignSortedThenInsert) {
  std::vector<std::string> lines;
  for (int i = 0; i < 1000; ++i) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "K%04d", i * 2);
    lines.push_back(buffer);
  }
  EntryList list;
  list.AssignSorted(lines);
  EXPECT_EQ(list.Count(), 1000u);
  EXPECT_EQ(list.AddLine("K0001"), 1u);
  EXPECT_EQ(list.AddLine("K1999"), 1001u);
  EXPECT_EQ(list.GetLine(1000), "K1998");
  EXPECT_EQ(list.GetLine(1001), "K1999");
}

}  // namespace
}  // namespace navdb

namespace navdb {
namespace {

TEST(EntryList, ManyAppendedLinesKeepTheirRows) {
  EntryList list;
  std::vector<std::string> expected;
  for (int i = 0; i < 1500; ++i) {
    const std::string line = "A" + std::to_string((i * 7919) % 1500);
    ASSERT_EQ(list.AppendLine(line), static_cast<size_t>(i));
    expected.push_back(line);
  }
  for (size_t row = 0; row < expected.size(); row += 37)
    EXPECT_EQ(list.GetLine(row), expected[row]);
  list.DeleteLine(700);
  expected.erase(expected.begin() + 700);
  EXPECT_EQ(Lines(list), expected);
  EXPECT_FALSE(list.IsSorted());
  const std::string blanked = "ab;cd;ef";
  EntryList withSeparators;
  const int columns[] = {2, 5, 40};
  withSeparators.AppendLine(blanked, columns);
  EXPECT_EQ(withSeparators.GetLine(0), "ab cd ef");
}

}  // namespace
}  // namespace navdb
