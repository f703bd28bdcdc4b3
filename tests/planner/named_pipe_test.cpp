// Plan, performance and foreign plan files that are named pipes: every
// reader of the planner refuses them at once with the reason, never waiting
// for a writer that may never come.
#include <gtest/gtest.h>

#include "planner/performance_file.h"
#include "planner/plan_file.h"
#include "planner/plan_import.h"
#include "tests/support/named_pipe.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace planner {
namespace {

using testing_support::EndsPromptly;
using testing_support::RecordingUi;
using testing_support::TempFolder;

TEST(NamedPipes, EveryPlannerReaderRefusesAPipeAtOnce) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "FlightPlans");
  const std::filesystem::path perf = folder / "FlightPlans" / "PIPE.perf";
  const std::filesystem::path plan = folder / "FlightPlans" / "PIPE.pln";
  const std::filesystem::path foreign = folder / "PIPE.fsp";
  for (const std::filesystem::path& pipe : {perf, plan, foreign}) {
    ASSERT_TRUE(testing_support::MakeNamedPipe(pipe));
  }
  auto refusal = [](const std::filesystem::path& pipe) {
    return "Cannot open the file.\r\r" + pipe.string() +
           ": Not a regular file (a named pipe, a device or a socket)";
  };
  RecordingUi ui;
  PlannerState state;
  state.navDataFolder = folder.path();
  state.plan.planName = "KEEP";
  state.plan.performance.climbRateFpm = 1500;
  bool loaded = true;

  EXPECT_TRUE(EndsPromptly(perf, [&] { loaded = LoadPerformanceFile(state, perf, ui); }));
  EXPECT_FALSE(loaded);
  EXPECT_TRUE(EndsPromptly(plan, [&] { loaded = LoadFlightPlan(state, plan, ui); }));
  EXPECT_FALSE(loaded);
  EXPECT_TRUE(EndsPromptly(foreign, [&] {
    loaded = ParseForeignPlanFile(state, foreign, ForeignPlanForm::FlightShop, ui);
  }));
  EXPECT_FALSE(loaded);

  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(ui.messages[0].caption, "Error !");
  EXPECT_EQ(ui.messages[0].text, refusal(perf));
  EXPECT_EQ(ui.messages[1].text, refusal(plan));
  EXPECT_EQ(ui.messages[2].text, refusal(foreign));
  EXPECT_EQ(state.plan.planName, "KEEP");
  EXPECT_EQ(state.plan.performance.climbRateFpm, 1500);
}

}  // namespace
}  // namespace planner
