#include "data/route_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "plan_text.h"

namespace lumaro {
namespace {

using gauge_test::PlanRow;
using gauge_test::PlanText;

std::string WithNul(std::string text) {
  text.push_back('\0');
  return text;
}

RouteReadOutcome Read(const std::string& block, RouteData& route) {
  return ReadRouteText(std::span<const char>(block.data(), block.size()), route);
}

int Points(const RouteData& route) {
  int count = 0;
  while (count < LUMARO_ROUTE_CAPACITY && route.points[count].shown != 0) ++count;
  return count;
}

const std::vector<PlanRow> kRows = {
    {"APT", "LFPG", 49.0097, 2.5478, 392}, {"TOC", "*****", 49.2, 2.0, 35000},
    {"VOR", "ABB", 50.1355, 1.8547, 0},    {"APT", "LFOB", 49.45, 2.11, 300},
    {"NDB", "BNE", 50.6, 1.6, 0},          {"INT", "OKRIX", 50.9, 1.2, 0},
    {"ILS", "ILL", 51.0, 0.8, 0},          {"TOD", "*****", 51.2, 0.5, 12000},
    {"APT", "EGLL", 51.4775, -0.4614, 83}};

TEST(RouteReader, RunwaysAndWaypoints) {
  RouteData route;
  ASSERT_EQ(Read(WithNul(PlanText("09L/087/11000", "27R/270/12799", kRows)), route),
            RouteReadOutcome::Complete);
  EXPECT_STREQ(route.departure.airport, "LFPGX");
  EXPECT_STREQ(route.departure.designation, "09L");
  EXPECT_EQ(route.departure.headingDeg, 87);
  EXPECT_EQ(route.departure.lengthFt, 11000);
  EXPECT_STREQ(route.arrival.airport, "EGLL");
  EXPECT_STREQ(route.arrival.designation, "27R");
  EXPECT_EQ(route.arrival.headingDeg, 270);
  EXPECT_EQ(route.arrival.lengthFt, 12799);

  ASSERT_EQ(Points(route), 9);
  const std::vector<std::pair<int, std::string>> expected = {{LUMARO_KIND_DEPARTURE, "LFPG "},
                                                             {LUMARO_KIND_TOP_OF_CLIMB, "FL350"},
                                                             {LUMARO_KIND_VOR, "ABB  "},
                                                             {LUMARO_KIND_ARRIVAL, "LFOB "},
                                                             {LUMARO_KIND_NDB, "BNE  "},
                                                             {LUMARO_KIND_INTERSECTION, "OKRIX"},
                                                             {0, "ILL  "},
                                                             {LUMARO_KIND_TOP_OF_DESCENT, "FL120D"},
                                                             {LUMARO_KIND_ARRIVAL, "EGLL "}};
  for (size_t index = 0; index < expected.size(); ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(route.points[index].kind, expected[index].first);
    EXPECT_STREQ(route.points[index].label, expected[index].second.c_str());
    EXPECT_EQ(route.points[index].row, -1);
  }
  EXPECT_NEAR(route.points[0].latitudeDeg, 49.0097, 1e-4);
  EXPECT_NEAR(route.points[8].longitudeDeg, -0.4614, 1e-4);
}

TEST(RouteReader, RunwayTextsOfOtherShapes) {
  RouteData route;
  Read(WithNul(PlanText("09/087/7000", "27", kRows)), route);
  EXPECT_STREQ(route.departure.designation, "09");
  // Without '/' at the 4th character nothing is read as heading; the 7th holds '/'.
  EXPECT_EQ(route.departure.headingDeg, 0);
  EXPECT_EQ(route.departure.lengthFt, 7000);
  EXPECT_STREQ(route.arrival.designation, "27");
  EXPECT_EQ(route.arrival.headingDeg, 0);
  EXPECT_EQ(route.arrival.lengthFt, 0);
}

TEST(RouteReader, MissingSectionsLeaveRecordsCleared) {
  RouteData route;
  route.departure.headingDeg = 5;
  ASSERT_EQ(Read(WithNul("[ARRIVAL]\r\nRUNWAY=18C/180/3000\r\n"), route),
            RouteReadOutcome::Complete);
  EXPECT_EQ(route.departure.headingDeg, 0);
  EXPECT_STREQ(route.arrival.airport, "");
  EXPECT_STREQ(route.arrival.designation, "18C");
  EXPECT_EQ(Points(route), 0);
}

TEST(RouteReader, OnlyTheFirst256RowsAreUsed) {
  std::vector<PlanRow> rows(300, PlanRow{"INT", "X", 10, 10, 0});
  RouteData route;
  Read(WithNul(PlanText("09L/087/11000", "27R/270/12799", rows)), route);
  EXPECT_EQ(Points(route), 256);
}

TEST(RouteReader, RowsEndAtTheNulOrTheEndOfText) {
  std::string text = PlanText("09L/087/11000", "27R/270/12799", kRows);
  {
    SCOPED_TRACE("NUL at byte 104 of the last row");
    RouteData route;
    std::string cut = text;
    cut.back() = '\0';
    Read(cut, route);
    EXPECT_EQ(Points(route), 9);
  }
  {
    SCOPED_TRACE("a short last row is not read");
    RouteData route;
    std::string cut = text.substr(0, text.size() - 60);
    Read(WithNul(cut), route);
    EXPECT_EQ(Points(route), 8);
  }
}

TEST(RouteReader, TextWithoutItsNulIsAFaultThatKeepsTheTable) {
  RouteData route;
  Read(WithNul(PlanText("09L/087/11000", "27R/270/12799", kRows)), route);
  std::string unterminated = PlanText("01/010/1000", "02/020/2000", {kRows[2]});
  EXPECT_EQ(Read(unterminated, route), RouteReadOutcome::Fault);
  EXPECT_EQ(Points(route), 9);
  EXPECT_EQ(route.departure.headingDeg, 0);
  EXPECT_EQ(Read(std::string(), route), RouteReadOutcome::Fault);
}

TEST(RouteReader, BlockNames) {
  EXPECT_EQ(RouteBlockName(0), "fltplanMap0");
  EXPECT_EQ(RouteBlockName(1), "fltplanMap1");
}

}  // namespace
}  // namespace lumaro
