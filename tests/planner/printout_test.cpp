#include "planner/printout.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace planner {
namespace {

// A computed-looking row with the given cumulative distance and time.
std::string Row(int index, double distanceNm, const char* time) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer,
                "VOR  V%-4d  VICTOR %-19d113.90  N48\xB0"
                "51'24.00  E002\xB0"
                "20'30.00  35000  090  %06.1f  %s",
                index, index, distanceNm, time);
  return buffer;
}

PlannerState StateWithRows(int count) {
  PlannerState state;
  state.plan.planName = "TRIP";
  state.plan.performance = {"B737", 2500, 280, 1800, 300, 35000, "0.78"};
  state.dialog.departureAirportText = "LFPG  ";
  state.dialog.departureRunway.editText = "09L/087/11000";
  state.dialog.arrivalAirportText = "LFML  ";
  state.dialog.arrivalRunway.editText = "31R/310/11000";
  for (int i = 0; i < count; ++i) {
    state.dialog.rows.push_back(ParsePlanRow(Row(i, i * 10.25, "00:58:30")));
  }
  return state;
}

// The line at `number`; a missing line reads as "(none)".
const PrintLine* LineAt(const PrintPage& page, int number) {
  static const PrintLine kNone{0, "(none)"};
  for (const PrintLine& line : page.lines) {
    if (line.lineNumber == number) return &line;
  }
  return &kNone;
}

TEST(PrintoutTest, HeaderAndRowLines) {
  PlannerState state = StateWithRows(2);
  state.dialog.rows[1] = ParsePlanRow(Row(1, 12.35, "01:02:10"));
  const std::vector<PrintPage> pages = LayoutPrintout(state);
  ASSERT_EQ(pages.size(), 1u);
  const PrintPage& page = pages[0];
  EXPECT_TRUE(LineAt(page, 2)->text.starts_with("ND Flight Plan (generated for Vistrel.ND"));
  EXPECT_EQ(LineAt(page, 3)->text, std::string(72, '-'));
  EXPECT_EQ(LineAt(page, 6)->text, "Aircraft: B737");
  EXPECT_EQ(LineAt(page, 7)->text, "Cruise altitude (ft): 35000   Cruise  speed (kt): 0.78");
  EXPECT_EQ(LineAt(page, 8)->text, "Climb   rate(ft/min): 2500    Climb   speed (kt): 280");
  EXPECT_EQ(LineAt(page, 9)->text, "Descent rate(ft/min): 1800    Descent speed (kt): 300");
  EXPECT_EQ(LineAt(page, 11)->text,
            "Departure: LFPG      Runway: 09L/087/11000  (N\xB0/hdg/length)");
  EXPECT_EQ(LineAt(page, 12)->text,
            "Arrival  : LFML      Runway: 31R/310/11000  (N\xB0/hdg/length)");
  EXPECT_EQ(LineAt(page, 15)->text,
            "Waypoint  Full name / Frequency    GPS Location  Alt/Hdg Dist.   Time");
  EXPECT_EQ(LineAt(page, 17)->text,
            "VOR      VICTOR 0                  N48\xB0"
            "51'24.00  35000  0000.0  00:58:30");
  // Leg 12.35 NM; 00:58:30 to 01:02:10 is 03:40 with the minutes wrapped.
  EXPECT_EQ(LineAt(page, 18)->text,
            "V0       Frequency : 113.90        E002\xB0"
            "20'30.00   090  +012.3  +  03:40  ");
  EXPECT_EQ(LineAt(page, 21)->text,
            "V1       Frequency : 113.90        E002\xB0"
            "20'30.00   090  ");
  EXPECT_EQ(LineAt(page, 22)->text, std::string(72, '-'));
  EXPECT_EQ(LineAt(page, 23)->text, "File: TRIP" + std::string(50, ' ') + "(last page)");
}

TEST(PrintoutTest, FourteenRowsOnTheFirstPageNineteenOnTheNext) {
  const std::vector<PrintPage> fourteen = LayoutPrintout(StateWithRows(14));
  ASSERT_EQ(fourteen.size(), 1u);
  EXPECT_EQ(LineAt(fourteen[0], 58)->text, std::string(72, '-'));
  EXPECT_TRUE(LineAt(fourteen[0], 59)->text.ends_with("(last page)"));

  const std::vector<PrintPage> fifteen = LayoutPrintout(StateWithRows(15));
  ASSERT_EQ(fifteen.size(), 2u);
  EXPECT_EQ(LineAt(fifteen[0], 60)->text, std::string(60, ' ') + "page: 1/..");
  EXPECT_EQ(LineAt(fifteen[1], 2)->text.substr(0, 16), "VOR      VICTOR ");
  EXPECT_TRUE(LineAt(fifteen[1], 5)->text.ends_with("(last page)"));

  const std::vector<PrintPage> long_plan = LayoutPrintout(StateWithRows(14 + 19 + 1));
  ASSERT_EQ(long_plan.size(), 3u);
  EXPECT_EQ(LineAt(long_plan[1], 60)->text, std::string(60, ' ') + "page: 2/..");
  EXPECT_EQ(LineAt(long_plan[1], 57)->text.substr(0, 18), "V32      Frequency");

  const std::string text = PrintoutText(fifteen);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 1);
  EXPECT_TRUE(text.starts_with("\n\nND Flight Plan"));
}

}  // namespace
}  // namespace planner
