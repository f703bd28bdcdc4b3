// Numbers that plan, performance and Flight Shop files give must fit the
// columns of the rows they end up in, as the options' numbers must: a file
// with any other is refused whole and changes nothing.
#include <gtest/gtest.h>

#include "planner/performance_file.h"
#include "planner/plan_file.h"
#include "planner/plan_import.h"
#include "tests/support/failure_text.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace planner {
namespace {

using testing_support::RecordingUi;
using testing_support::TempFolder;

TEST(FileNumbers, APerformanceFileWhoseNumbersDoNotFitIsRefused) {
  TempFolder folder;
  RecordingUi ui;
  PlannerState state;
  state.plan.performance.climbRateFpm = 1500;
  const std::pair<const char*, const char*> cases[] = {
      {"CRUISE_ALTITUDE=999999\r\n", "the cruise altitude 999999 is outside 0 to 99999 (ft)"},
      {"CLIMB_SPEED=10000\r\n", "the climb speed 10000 is outside 0 to 9999 (kt)"},
      {"CLIMB_RATE=2000\r\nDESCENT_RATE=99999999999\r\n",
       "the descent rate 2147483647 is outside 0 to 99999 (ft/min)"},
  };
  for (const auto& [bytes, problem] : cases) {
    folder.Write("x.perf", bytes);
    EXPECT_FALSE(LoadPerformanceFile(state, folder / "x.perf", ui)) << bytes;
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().caption, "Error !");
    EXPECT_EQ(ui.messages.back().text,
              std::string("The aircraft performance file cannot be used: ") + problem + ".");
    EXPECT_EQ(state.plan.performance.climbRateFpm, 1500);
  }
  // The ends of the ranges are taken.
  folder.Write("x.perf", "CRUISE_ALTITUDE=99999\r\nCLIMB_SPEED=9999\r\nDESCENT_RATE=99999\r\n");
  const size_t shown = ui.messages.size();
  ASSERT_TRUE(LoadPerformanceFile(state, folder / "x.perf", ui));
  EXPECT_EQ(ui.messages.size(), shown);
  EXPECT_EQ(state.plan.performance.cruiseAltitudeFt, 99999);
}

TEST(FileNumbers, APlanFileWhoseNumbersDoNotFitIsNotOpened) {
  TempFolder folder;
  RecordingUi ui;
  const std::pair<const char*, const char*> cases[] = {
      {"[PERFORMANCE]\r\nCRUISE_ALTITUDE=100000\r\n",
       "the cruise altitude 100000 is outside 0 to 99999 (ft)"},
      {"[SID/STAR]\r\nD=1e308\r\nR=5.0\r\n",
       "the rotation distance 1e+308 is outside 0 to 99.9 (NM)"},
      {"[SID/STAR]\r\nD=10.0\r\nR=-5\r\n", "the rotation radius -5 is outside 0 to 99.9 (NM)"},
  };
  for (const auto& [header, problem] : cases) {
    folder.Write("x.pln", std::string(header) + "[WAYPOINTS]\r\nAPT  AAAA\r\n");
    PlannerState state;
    state.plan.planName = "KEEP";
    EXPECT_FALSE(LoadFlightPlan(state, folder / "x.pln", ui)) << header;
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text,
              std::string("The flight plan cannot be used: ") + problem + ".");
    EXPECT_EQ(state.plan.planName, "KEEP");
    EXPECT_TRUE(state.dialog.rows.empty());
  }
  // 0 leaves D and R to the dialog's defaults, as before.
  folder.Write("x.pln", "[SID/STAR]\r\nD=0\r\nR=99.9\r\n[WAYPOINTS]\r\nAPT  AAAA\r\n");
  PlannerState state;
  ASSERT_TRUE(LoadFlightPlan(state, folder / "x.pln", ui));
  EXPECT_EQ(state.dialog.rotationDistanceText, "10.0");
  EXPECT_EQ(state.dialog.rotationRadiusText, "99.9");
}

TEST(FileNumbers, AFlightShopPlanWhoseNumbersDoNotFitIsRefused) {
  auto plan = [](const char* climbSpeed, const char* cruiseAltitude) {
    return std::string("FS\r\nx\r\ny\r\n1500\r\n") + climbSpeed + "\r\n1200\r\n250\r\n" +
           cruiseAltitude + "\r\n0.70\r\nAAAA\r\nALPHA\r\n-\r\nAPT\r\n";
  };
  PlannerState state;
  state.plan.planName = "KEEP";
  EXPECT_EQ(FailureText(ParseForeignPlan(state, plan("220", "100000"), "x.fsp",
                                         ForeignPlanForm::FlightShop)),
            "The flight plan cannot be used: the cruise altitude 100000 is outside 0 to 99999 "
            "(ft).");
  EXPECT_EQ(FailureText(ParseForeignPlan(state, plan("12345", "9000"), "x.fsp",
                                         ForeignPlanForm::FlightShop)),
            "The flight plan cannot be used: the climb speed 12345 is outside 0 to 9999 (kt).");
  EXPECT_EQ(state.plan.planName, "KEEP");
  EXPECT_EQ(FailureText(ParseForeignPlan(state, plan("9999", "99999"), "x.fsp",
                                         ForeignPlanForm::FlightShop)),
            "");
  EXPECT_EQ(state.plan.performance.cruiseAltitudeFt, 99999);
}

}  // namespace
}  // namespace planner
