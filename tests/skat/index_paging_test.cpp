#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "shell/skat/index_paging.h"

namespace {

// Index line number `i` of a test index: east longitudes rising with `i`,
// so line order is index order.
std::string TestIndexLine(int i) {
  char line[40];
  std::snprintf(line, sizeof line, " %03d.%06d  10.000000  INT%05d", i / 1000, (i % 1000) * 1000,
                i % 100000);
  return line;
}

void FillIndex(navdb::IndexLists& index, int lines) {
  for (int i = 0; i < lines; ++i) ASSERT_TRUE(navdb::AddIndexLine(index, TestIndexLine(i)));
}

// Lines [first, first + count) of the test index are exactly what `list` holds.
void ExpectHolds(const navdb::EntryList& list, int first, int count) {
  ASSERT_EQ(list.Count(), static_cast<size_t>(count));
  if (count == 0) return;
  EXPECT_EQ(list.GetLine(0), TestIndexLine(first));
  EXPECT_EQ(list.GetLine(count - 1), TestIndexLine(first + count - 1));
  for (int r = 0; r < count; r += 997) EXPECT_EQ(list.GetLine(r), TestIndexLine(first + r));
}

TEST(PageIndex, TestLinesHaveTheIndexLineShape) {
  EXPECT_EQ(TestIndexLine(32735), " 032.735000  10.000000  INT32735");
  EXPECT_EQ(TestIndexLine(32735).size(), navdb::kIndexLineLength);
}

TEST(PageIndex, AnIndexThatFitsDoesNotMove) {
  navdb::IndexLists index;
  FillIndex(index, 300);
  for (PageDirection direction : {PageDirection::Down, PageDirection::Up}) {
    const PagingResult result = PageIndex(index, direction);
    EXPECT_EQ(result.parkedLines, 0u);
    EXPECT_EQ(result.filledLines, 0u);
    ExpectHolds(index.primary, 0, 300);
    EXPECT_TRUE(index.following.Empty());
    EXPECT_TRUE(index.preceding.Empty());
  }
}

TEST(PageIndex, DownShowsTheFollowingLinesAndUpBringsTheFirstPageBack) {
  navdb::IndexLists index;
  FillIndex(index, 40000);
  ExpectHolds(index.primary, 0, 32735);
  ExpectHolds(index.following, 32735, 7265);

  std::vector<size_t> steps;
  PagingResult down = PageIndex(index, PageDirection::Down, [&](size_t row) {
    steps.push_back(row);
    EXPECT_EQ(index.primary.Count(), row + 1);  // the lines hold still meanwhile
    EXPECT_EQ(index.Count(), 40000u);
  });
  EXPECT_EQ(down.parkedLines, 32735u);
  EXPECT_EQ(down.filledLines, 7265u);
  EXPECT_FALSE(down.stoppedOnParkingLimit);
  EXPECT_EQ(steps, (std::vector<size_t>{0, 500, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500,
                                        5000, 5500, 6000, 6500, 7000}));
  ExpectHolds(index.preceding, 0, 32735);
  ExpectHolds(index.primary, 32735, 7265);
  EXPECT_TRUE(index.following.Empty());

  // Nothing follows any more: a second Down changes nothing.
  PageIndex(index, PageDirection::Down);
  ExpectHolds(index.primary, 32735, 7265);

  PagingResult up = PageIndex(index, PageDirection::Up);
  EXPECT_EQ(up.parkedLines, 7265u);
  EXPECT_EQ(up.filledLines, 32735u);
  ExpectHolds(index.primary, 0, 32735);
  ExpectHolds(index.following, 32735, 7265);
  EXPECT_TRUE(index.preceding.Empty());
}

TEST(PageIndex, MovesStopAtThePositionLimitWithoutLosingALine) {
  navdb::IndexLists index;
  FillIndex(index, 80000);

  // The fill stops once it has put a line at position 32737.
  size_t stepCount = 0;
  PageIndex(index, PageDirection::Down, [&](size_t) { ++stepCount; });
  EXPECT_EQ(stepCount, 66u);  // 0, 500, ... 32500
  ExpectHolds(index.preceding, 0, 32735);
  ExpectHolds(index.primary, 32735, 32738);
  ExpectHolds(index.following, 65473, 14527);

  // Parking now ends on the limit after three lines, and nothing fills.
  const PagingResult second = PageIndex(index, PageDirection::Down);
  EXPECT_TRUE(second.stoppedOnParkingLimit);
  EXPECT_EQ(second.parkedLines, 3u);
  EXPECT_EQ(second.filledLines, 0u);
  ExpectHolds(index.preceding, 0, 32738);
  ExpectHolds(index.primary, 32738, 32735);
  ExpectHolds(index.following, 65473, 14527);

  // Up parks the page in front of the following lines and fills from the start.
  PageIndex(index, PageDirection::Up);
  ExpectHolds(index.primary, 0, 32738);
  ExpectHolds(index.following, 32738, 80000 - 32738);
  EXPECT_TRUE(index.preceding.Empty());
}

TEST(PageIndex, AStopRequestEndsBetweenTwoMoves) {
  navdb::IndexLists index;
  FillIndex(index, 40000);
  std::stop_source stopper;
  const PagingResult result = PageIndex(
      index, PageDirection::Down,
      [&](size_t row) {
        if (row == 1000) stopper.request_stop();
      },
      stopper.get_token());
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(result.filledLines, 1001u);
  ExpectHolds(index.preceding, 0, 32735);
  ExpectHolds(index.primary, 32735, 1001);
  ExpectHolds(index.following, 33736, 40000 - 33736);
}

}  // namespace
