#include "navdb/geo_index.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "navdb/list_order.h"

#include "navdb/coordinates.h"
#include "navdb/entry_lines.h"
#include "tests/support/recording_ui.h"

namespace navdb {
namespace {

std::string Ndb(double latitudeDeg, double longitudeDeg, const char* id = "ABC") {
  return BuildNdbLine(
      {id, "", "375.0", FormatLatitude(latitudeDeg), FormatLongitude(longitudeDeg), 0, 25});
}

TEST(GeoIndex, IndexLineOfAnEntry) {
  const std::string ndb = BuildNdbLine({"PGS", "", "375.0",
                                        "N48\xB0"
                                        "51'24.00",
                                        "E002\xB0"
                                        "21'00.00",
                                        0, 25});
  EXPECT_EQ(MakeIndexLine(NavaidKind::Ndb, ndb, 12), " 002.350000  48.856666  NDB00012");
  const std::string vor = BuildVorLine({"SYD", "", "VOR", "112.10", "",
                                        "S33\xB0"
                                        "56'00.00",
                                        "W151\xB0"
                                        "10'30.00",
                                        0, 100, 0});
  EXPECT_EQ(MakeIndexLine(NavaidKind::Vor, vor, 7), "-151.175000 -33.933333  VOR00007");
  const std::string east = BuildIntersectionLine({"ZERO", "",
                                                  "N00\xB0"
                                                  "00'00.00",
                                                  "E000\xB0"
                                                  "00'00.00",
                                                  0});
  const std::string west = BuildIntersectionLine({"ZERO", "",
                                                  "N00\xB0"
                                                  "00'00.00",
                                                  "W000\xB0"
                                                  "00'00.00",
                                                  0});
  EXPECT_EQ(MakeIndexLine(NavaidKind::Intersection, east, 3), " 000.000000  00.000000  INT00003");
  EXPECT_EQ(MakeIndexLine(NavaidKind::Intersection, west, 3), "-000.000000  00.000000  INT00003");
  EXPECT_EQ(
      MakeIndexLine(NavaidKind::Airport,
                    BuildRunwayLine({"LFPG", "", "09L/27R  ", 87, 267, FormatLatitude(49.0097),
                                     FormatLongitude(2.5478), 0, 0, 0, "000.00"}),
                    99999)
          .size(),
      kIndexLineLength);
}

TEST(GeoIndex, OverflowGoesToTheFollowingList) {
  IndexLists index;
  char line[40];
  for (size_t i = 0; i <= kPrimaryIndexCapacity; ++i) {
    std::snprintf(line, sizeof line, " %03zu.%06zu  10.000000  NDB%05zu", i / 1000000, i % 1000000,
                  i % 100000);
    ASSERT_TRUE(AddIndexLine(index, line));
  }
  EXPECT_EQ(index.primary.Count(), kPrimaryIndexCapacity);
  ASSERT_EQ(index.following.Count(), 1u);
  std::snprintf(line, sizeof line, " %03zu.%06zu  10.000000  NDB%05zu",
                kPrimaryIndexCapacity / 1000000, kPrimaryIndexCapacity % 1000000,
                kPrimaryIndexCapacity % 100000);
  EXPECT_EQ(index.following.GetLine(0), line);
}

TEST(GeoIndex, RebuildReportsAndOrders) {
  std::array<EntryList, 4> lists;
  lists[0].AddLine(Ndb(10, 20, "B"));
  lists[0].AddLine(Ndb(-10, -20, "A"));
  lists[1].AppendLine(std::string(kPlaceholderLine));
  lists[3].AddLine(
      BuildIntersectionLine({"FIX", "", FormatLatitude(1), FormatLongitude(-179.5), 0}));
  IndexLists index;
  index.preceding.AddLine(" 001.000000  01.000000  NDB00000");
  testing_support::RecordingUi ui;
  RebuildIndex(lists, index, ui);
  EXPECT_EQ(index.preceding.Count(), 0u);
  ASSERT_EQ(index.primary.Count(), 3u);
  EXPECT_EQ(index.primary.GetLine(0), " 020.000000  10.000000  NDB00001");
  EXPECT_EQ(index.primary.GetLine(1), "-020.000000 -10.000000  NDB00000");
  EXPECT_EQ(index.primary.GetLine(2), "-179.500000  01.000000  INT00000");
  EXPECT_EQ(WriteIndex(index),
            "-179.500000  01.000000  INT00000\r\n"
            "-020.000000 -10.000000  NDB00000\r\n"
            " 020.000000  10.000000  NDB00001\r\n");
  EXPECT_EQ(ui.progressTexts,
            (std::vector<std::string>{"Performed : 00001 / 00003", "Performed : 00002 / 00003",
                                      "Performed : 00003 / 00003", " "}));
  ASSERT_EQ(ui.statuses.size(), 2u);
  EXPECT_EQ(ui.statuses[0],
            std::make_pair(StatusIcon::Sorting, std::string("Status : sorting index...")));
  EXPECT_EQ(ui.statuses[1],
            std::make_pair(StatusIcon::Ready, std::string("Status : index sorted")));
  EXPECT_EQ(ui.indexWindow, (std::vector<bool>{true, false}));
}

TEST(GeoIndex, RebuildRetryAndCancelOnRefusal) {
  std::array<EntryList, 4> lists;
  for (int i = 0; i < 3; ++i) lists[0].AddLine(Ndb(i, i));
  for (int i = 0; i < 2; ++i)
    lists[1].AddLine(BuildVorLine(
        {"V", "", "VOR", "110.00", "", FormatLatitude(i), FormatLongitude(50 + i), 0, 0, 0}));
  lists[3].AddLine(BuildIntersectionLine({"FIX", "", FormatLatitude(1), FormatLongitude(60), 0}));
  IndexLists index{EntryList(1), EntryList(), EntryList()};
  testing_support::RecordingUi ui;
  ui.QueueAnswers({MessageAnswer::Retry, MessageAnswer::Cancel, MessageAnswer::Cancel});
  RebuildIndex(lists, index, ui);
  // Row 0 fits; rows 1 and 2 of the NDBs are refused (Retry, then Cancel ends
  // the kind); the first VOR is refused (Cancel); the intersection too.
  ASSERT_EQ(ui.messages.size(), 4u);
  for (const auto& message : ui.messages) {
    EXPECT_EQ(message.caption, "Index Error");
    EXPECT_EQ(message.text, "Can't add index to list.");
    EXPECT_EQ(message.icon, MessageIcon::Error);
    EXPECT_EQ(message.buttons, MessageButtons::RetryCancel);
  }
  EXPECT_EQ(index.primary.Count(), 1u);
  EXPECT_EQ(index.primary.GetLine(0), " 000.000000  00.000000  NDB00000");
}

TEST(GeoIndex, WriteIndexIsSortedWhenEastLinesOverflow) {
  IndexLists index;
  std::vector<std::string> expectedWest, expectedEast;
  char line[40];
  // More east lines than the primary list holds, and some west lines.
  for (size_t i = 0; i < kPrimaryIndexCapacity + 10; ++i) {
    std::snprintf(line, sizeof line, " 010.%06zu  10.000000  NDB%05zu", i, i % 100000);
    AddIndexLine(index, line);
    expectedEast.push_back(line);
  }
  for (int i = 5; i >= 1; --i) {
    std::snprintf(line, sizeof line, "-%03d.000000  10.000000  VOR%05d", i, i);
    AddIndexLine(index, line);
    expectedWest.push_back(line);
  }
  EXPECT_EQ(index.following.Count(), 15u);
  std::string expected;
  for (const auto& l : expectedWest) expected += l + "\r\n";
  for (const auto& l : expectedEast) expected += l + "\r\n";
  EXPECT_EQ(WriteIndex(index), expected);
}

TEST(GeoIndex, NormalizesFileLines) {
  IndexKey line;
  EXPECT_TRUE(NormalizeIndexFileLine("002.350000  48.856666  NDB00012", line));
  EXPECT_EQ(std::string_view(line), " 002.350000  48.856666  NDB00012");
  EXPECT_TRUE(NormalizeIndexFileLine("  -002.500000  48.856666  NDB00012", line));
  EXPECT_EQ(std::string_view(line), "-002.500000  48.856666  NDB00012");
  EXPECT_FALSE(NormalizeIndexFileLine(" 002.350000  48.856666  NDB000123", line));
  EXPECT_FALSE(NormalizeIndexFileLine("002.350000  48.856666  XYZ00012", line));
  EXPECT_FALSE(NormalizeIndexFileLine("002.350000", line));
  EXPECT_FALSE(NormalizeIndexFileLine("", line));
}

}  // namespace
}  // namespace navdb

namespace navdb {
namespace {

TEST(GeoIndex, KeyOrderIsListOrder) {
  std::mt19937 random(3);
  const char* tags[] = {"NDB", "VOR", "APT", "INT"};
  std::vector<IndexKey> keys;
  for (int i = 0; i < 3000; ++i) {
    char text[40];
    std::snprintf(text, sizeof text, "%c%03u.%06u %c%02u.%06u  %s%05u", random() % 2 ? ' ' : '-',
                  static_cast<unsigned>(random() % 3), static_cast<unsigned>(random() % 3),
                  random() % 2 ? ' ' : '-', static_cast<unsigned>(random() % 3),
                  static_cast<unsigned>(random() % 2), tags[random() % 4],
                  static_cast<unsigned>(random() % 3));
    IndexKey key;
    ASSERT_TRUE(NormalizeIndexFileLine(text, key)) << text;
    keys.push_back(key);
  }
  for (size_t i = 1; i < keys.size(); ++i) {
    EXPECT_EQ(IndexKeyLess(keys[i - 1], keys[i]), ListOrderLess(keys[i - 1], keys[i]))
        << std::string_view(keys[i - 1]) << " / " << std::string_view(keys[i]);
  }
  IndexKey bad;
  EXPECT_FALSE(NormalizeIndexFileLine(" 0x2.350000  48.856666  NDB00012", bad));
  EXPECT_FALSE(NormalizeIndexFileLine(" 002.350000 +48.856666  NDB00012", bad));
  EXPECT_FALSE(NormalizeIndexFileLine(" 002.350000  48.856666  NDB0001x", bad));
}

}  // namespace
}  // namespace navdb
