// A plan holds at most as many rows as the display's route table: every way
// into the planner takes a plan whole or refuses it whole, none cuts it.
#include <gtest/gtest.h>

#include <cstdio>

#include "interface/lumaro_diagnostics.h"
#include "planner/plan_file.h"
#include "planner/plan_import.h"
#include "tests/support/failure_text.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace planner {
namespace {

using testing_support::RecordingUi;
using testing_support::TempFolder;

// The display reads no more route points than this; a plan longer than the
// table would reach the cockpit without its arrival.
static_assert(kMaxPlanRows == LUMARO_ROUTE_CAPACITY);

std::string Row(size_t index) {
  char row[32];
  std::snprintf(row, sizeof row, "INT  W%04zu", index);
  return row;
}

std::string PlanText(size_t rowCount) {
  std::string text = "[PERFORMANCE]\r\nCLIMB_RATE=1500\r\n[WAYPOINTS]\r\n";
  for (size_t i = 0; i < rowCount; ++i) text += Row(i) + "\r\n";
  return text;
}

std::string FlightShopText(size_t waypoints) {
  std::string text = "FS\r\nx\r\ny\r\n1500\r\n220\r\n1200\r\n250\r\n9000\r\n0.70\r\n";
  for (size_t i = 0; i < waypoints; ++i)
    text += "W" + std::to_string(i) + "\r\nNAME\r\n-\r\nFIX\r\n";
  return text;
}

std::string Fs200xText(size_t waypoints) {
  std::string text = "[flightplan]\r\n";
  for (size_t i = 0; i < waypoints; ++i) {
    text += "waypoint." + std::to_string(i) + "=W" + std::to_string(i) +
            ", I, N1* 0.00', E1* 0.00', +000000.00,\r\n";
  }
  return text;
}

constexpr const char* kTooLong =
    " rows, as many as the navigation display shows.";  // the end of every refusal

TEST(PlanSize, ALoadTakesEveryRowOrRefusesTheWholeFile) {
  TempFolder folder;
  RecordingUi ui;
  folder.Write("FlightPlans/FULL.pln", PlanText(256));
  folder.Write("FlightPlans/LONG.pln", PlanText(1002));
  PlannerState state;
  ASSERT_TRUE(LoadFlightPlan(state, folder / "FlightPlans/FULL.pln", ui));
  ASSERT_EQ(state.dialog.rows.size(), 256u);
  EXPECT_EQ(FormatPlanRow(state.dialog.rows.back()), Row(255));
  EXPECT_TRUE(ui.messages.empty());

  state.plan.planName = "KEEP";
  state.plan.performance.climbRateFpm = 7;
  EXPECT_FALSE(LoadFlightPlan(state, folder / "FlightPlans/LONG.pln", ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].caption, "Error !");
  EXPECT_EQ(ui.messages[0].text,
            std::string("The flight plan has 1002 rows: a plan holds at most 256") + kTooLong);
  EXPECT_EQ(ui.messages[0].icon, navdb::MessageIcon::Error);
  EXPECT_EQ(state.plan.planName, "KEEP");
  EXPECT_EQ(state.plan.performance.climbRateFpm, 7);
  EXPECT_EQ(state.staging.records[255].rowText, Row(255));
  EXPECT_EQ(state.dialog.rows.size(), 256u);

  // The decoder counts what it does not stage.
  PlannerState decoded;
  EXPECT_EQ(DecodePlanFile(PlanText(1002), decoded.plan, decoded.staging), 1002u);
  EXPECT_EQ(DecodePlanFile(PlanText(0), decoded.plan, decoded.staging), 0u);
}

TEST(PlanSize, ASaveRefusesMoreRowsThanAPlanHolds) {
  TempFolder folder;
  RecordingUi ui;
  PlannerState state;
  state.navDataFolder = folder.path();
  state.plan.planName = "LONG";
  for (size_t i = 0; i < 257; ++i) state.dialog.rows.push_back(ParsePlanRow(Row(i)));
  EXPECT_FALSE(SaveFlightPlan(state, ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            std::string("The flight plan has 257 rows: a plan holds at most 256") + kTooLong);
  EXPECT_FALSE(folder.Exists("FlightPlans/LONG.pln"));
  EXPECT_FALSE(CheckPlanSize(state, ui));

  state.dialog.rows.pop_back();
  EXPECT_TRUE(CheckPlanSize(state, ui));
  EXPECT_TRUE(SaveFlightPlan(state, ui));
  EXPECT_EQ(ui.messages.size(), 2u);
  EXPECT_TRUE(folder.Exists("FlightPlans/LONG.pln"));
}

TEST(PlanSize, ForeignPlansBeyondTheTableAreRefusedWhole) {
  struct Case {
    std::string bytes;
    ForeignPlanForm form;
    std::string refusal;
  };
  const std::string fs200xWithGap =
      Fs200xText(10) + "waypoint.300=FAR, I, N1* 0.00', E1* 0.00', +000000.00,\r\n";
  const Case cases[] = {
      {FlightShopText(256), ForeignPlanForm::FlightShop, ""},
      {FlightShopText(256) + "99999\r\n", ForeignPlanForm::FlightShop, ""},
      {FlightShopText(259) + "99999\r\nX\r\n-\r\nVOR\r\n", ForeignPlanForm::FlightShop,
       std::string("The flight plan has 259 waypoints: a plan holds at most 256") + kTooLong},
      {Fs200xText(256), ForeignPlanForm::Fs200x, ""},
      {Fs200xText(602), ForeignPlanForm::Fs200x,
       std::string("The flight plan has 602 waypoints: a plan holds at most 256") + kTooLong},
      // The route ends at the gap after waypoint 9, as it always did.
      {fs200xWithGap, ForeignPlanForm::Fs200x, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.size());
    PlannerState state;
    state.plan.planName = "KEEP";
    EXPECT_EQ(FailureText(ParseForeignPlan(state, c.bytes, "route.any", c.form)), c.refusal);
    EXPECT_EQ(state.plan.planName, c.refusal.empty() ? "route" : "KEEP");
  }
}

}  // namespace
}  // namespace planner
