#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "scanner/scenery_walk.h"
#include "shell/core/app_state.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using navdb::NavaidKind;
using testing_support::TempFolder;

TEST(SimulatorLocation, TheTextBeforeTheFirstNavDataFolderIsTheRoot) {
  struct Case {
    const char* current;
    bool found;
    const char* root;
    const char* navData;
  };
  const Case cases[] = {
      {"/sim/FS2002/NavData", true, "/sim/FS2002", "/sim/FS2002/NavData"},
      {"/sim/NavData/Tools", true, "/sim", "/sim/NavData"},
      {"/a/NavData/b/NavData", true, "/a", "/a/NavData"},
      {"/NavData", true, "/", "/NavData"},
      {"/sim", false, "", "/sim"},
      {"/sim/navdata", false, "", "/sim/navdata"},        // exact case
      {"/sim/NavDataOld", false, "", "/sim/NavDataOld"},  // a whole folder name
      {"", false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.current);
    const shell::SimulatorLocation location = shell::LocateFromCurrentDirectory(c.current);
    EXPECT_EQ(location.found, c.found);
    EXPECT_EQ(location.simulatorRoot, c.root);
    EXPECT_EQ(location.navDataFolder, fs::path(c.navData));
  }
  // A root longer than 259 characters is not taken.
  const std::string longRoot = "/" + std::string(259, 'r');
  EXPECT_FALSE(shell::LocateFromCurrentDirectory(longRoot + "/NavData").found);
  EXPECT_TRUE(shell::LocateFromCurrentDirectory(longRoot.substr(0, 259) + "/NavData").found);
}

TEST(SimulatorLocation, TheArgumentNamesTheSimulatorOrItsNavDataFolder) {
  TempFolder folder;
  fs::create_directories(folder / "Sim/NavData");
  const std::string sim = (folder / "Sim").string();
  for (const std::string& argument : {sim, sim + "/", sim + "/NavData", sim + "/NavData/"}) {
    SCOPED_TRACE(argument);
    const shell::SimulatorLocation location = shell::LocateFromArgument(argument, "/cwd");
    EXPECT_TRUE(location.found);
    EXPECT_EQ(location.simulatorRoot, sim);
    EXPECT_EQ(location.navDataFolder, fs::path(sim) / "NavData");
  }
  const shell::SimulatorLocation missing = shell::LocateFromArgument(folder / "Nothing", "/cwd");
  EXPECT_FALSE(missing.found);
  EXPECT_EQ(missing.simulatorRoot, "");
  EXPECT_EQ(missing.navDataFolder, fs::path("/cwd"));
}

TEST(WaypointHandOver, TheWaitingWorkerWakesWithThePickOrTheAbort) {
  shell::WaypointHandOver handOver;
  EXPECT_FALSE(handOver.Pick(NavaidKind::Vor, 3));  // nothing pending
  EXPECT_FALSE(handOver.Abort());

  handOver.Begin();
  EXPECT_TRUE(handOver.SelectionPending());
  EXPECT_EQ(handOver.PickedListId(), shell::kPickNone);
  std::optional<planner::WaypointPick> picked;
  std::jthread worker([&] { picked = handOver.Wait(); });
  EXPECT_TRUE(handOver.Pick(NavaidKind::Airport, 17));
  worker.join();
  ASSERT_TRUE(picked.has_value());
  EXPECT_EQ(picked->kind, NavaidKind::Airport);
  EXPECT_EQ(picked->row, 17u);
  EXPECT_FALSE(handOver.SelectionPending());
  EXPECT_EQ(handOver.PickedListId(), shell::kPickNone);  // the worker took it

  handOver.Begin();
  EXPECT_TRUE(handOver.Abort());
  EXPECT_EQ(handOver.PickedListId(), shell::kPickAborted);
  EXPECT_FALSE(handOver.Wait().has_value());
  EXPECT_FALSE(handOver.Pick(NavaidKind::Ndb, 0));  // the selection is over

  EXPECT_EQ(shell::ListIdOf(NavaidKind::Ndb), 1007);
  EXPECT_EQ(shell::ListIdOf(NavaidKind::Intersection), 1010);
  EXPECT_EQ(shell::KindOfListId(1009), NavaidKind::Airport);
  EXPECT_FALSE(shell::KindOfListId(1).has_value());
}

TEST(SceneryFileCount, SceneryFileNames) {
  EXPECT_TRUE(scanner::IsSceneryFileName("x.bgl"));
  EXPECT_FALSE(scanner::IsSceneryFileName(".bg"));
  EXPECT_FALSE(scanner::IsSceneryFileName("x.bgl.txt"));
}

}  // namespace
