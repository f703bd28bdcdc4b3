// ndhost end to end: the program loads the module built from this tree from
// <sim-root>/Gauges, runs it headless and saves the display as PNG.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "module_host.h"
#include "named_pipes.h"
#include "ndhost_runner.h"
#include "plan_text.h"
#include "platform/installation.h"
#include "platform/shared_memory.h"
#include "route_publisher.h"
#include "test_environment.h"
#include "tests/support/database_writer.h"

namespace {

using ndhost_test::RunNdhost;
using ndhost_test::RunResult;

class NdhostRun : public ::testing::Test {
 protected:
  void SetUp() override {
    (void)gauge_test::SharedMemoryPrefix();
    std::filesystem::copy_file(LUMARO_MODULE_PATH, folder_.path() / "Gauges" / "Lumaro.gau");
    gauge_test::WriteDatabase(
        folder_.path(),
        gauge_test::BuildDatabase(
            {{'N', "AB", 48.9, 2.3}, {'V', "PGS", 48.95, 2.4}, {'I', "FAR", 10.0, 120.0}}));
  }
  // A test may leave a "NDPassData" of its own making.
  void TearDown() override { ::shm_unlink(platform::SharedMemoryName("NDPassData").c_str()); }
  std::string Root() const { return folder_.path().string(); }
  gauge_test::SimulatorFolder folder_;
};

TEST_F(NdhostRun, RunsHeadlessAndSavesThePanelImage) {
  std::string png = (folder_.path() / "nd.png").string();
  RunResult run =
      RunNdhost("--sim-root " + Root() + " --frames 120 --png " + png +
                " --lat 48.85 --lon 2.35 --heading 90 --keys 100:ctrl+shift+p --report");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("database status 0"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("MapMode=2"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("NDB list: 1"), std::string::npos) << run.output;
  EXPECT_EQ(folder_.Read("nd.png").substr(1, 3), "PNG");
  EXPECT_EQ(folder_.Read("Gauges/NDmode.tmp"), "1\r\n2\r\n30\r\n320\r\n");
  EXPECT_FALSE(folder_.Exists("Gauges/Vistrel.ND.err"));
}

TEST_F(NdhostRun, FliesARouteItPublishes) {
  std::string plan = gauge_test::PlanText("09L/087/11000", "27R/270/12799",
                                          {{"APT", "LFPG", 49.0, 2.55, 392},
                                           {"VOR", "PGS", 48.95, 2.4, 0},
                                           {"APT", "LFPO", 48.72, 2.38, 291}});
  folder_.Write("NavData/FlightPlans/test.pln", plan);
  std::string planPath = (folder_.path() / "NavData" / "FlightPlans" / "test.pln").string();
  RunResult run = RunNdhost("--sim-root " + Root() + " --format 2 --frames 100 --route " +
                            planPath + " --fly --speed 250 --report");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("route points: 3"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("route reads 1,"), std::string::npos) << run.output;

  // A new route later in the run is published under the other name and read.
  folder_.Write(
      "NavData/FlightPlans/short.pln",
      gauge_test::PlanText("09L/087/11000", "27R/270/12799",
                           {{"APT", "LFPG", 49.0, 2.55, 392}, {"APT", "LFPO", 48.72, 2.38, 291}}));
  std::string shortPath = (folder_.path() / "NavData" / "FlightPlans" / "short.pln").string();
  RunResult replaced = RunNdhost("--sim-root " + Root() + " --frames 100 --route " + planPath +
                                 " --route-at 90:" + shortPath + " --report");
  ASSERT_EQ(replaced.exitCode, 0) << replaced.output;
  EXPECT_NE(replaced.output.find("route reads 2,"), std::string::npos) << replaced.output;
  EXPECT_NE(replaced.output.find("route points: 2"), std::string::npos) << replaced.output;
}

TEST_F(NdhostRun, ReportsUsageAndLoadErrors) {
  RunResult usage = RunNdhost("--frames 3");
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_NE(usage.output.find("--sim-root is required"), std::string::npos);
  std::filesystem::remove(folder_.path() / "Gauges" / "Lumaro.gau");
  RunResult missing = RunNdhost("--sim-root " + Root());
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.output.find("cannot load"), std::string::npos) << missing.output;
  RunResult noRoute = RunNdhost("--sim-root " + Root() + " --route /nonexistent.pln");
  EXPECT_EQ(noRoute.exitCode, 1);
  EXPECT_NE(
      noRoute.output.find("ndhost: cannot read /nonexistent.pln: No such file or directory\n"),
      std::string::npos)
      << noRoute.output;
}

// Named pipes where ndhost or the display read files are refused at once
// with their reason: a plan ends the run; vor.dat leaves the host without
// its stations and the display with its error 204; the mode file is passed
// over.
TEST_F(NdhostRun, NamedPipesAreRefusedWithoutWaiting) {
  const std::filesystem::path plan = folder_.path() / "route.pln";
  const std::filesystem::path vor = folder_.path() / "NavData" / "vor.dat";
  std::filesystem::remove(vor);
  gauge_test::NamedPipes pipes({plan, vor, folder_.path() / "Gauges" / "NDmode.tmp"});
  ASSERT_TRUE(pipes.Made());
  const std::string notRegular = ": Not a regular file (a named pipe, a device or a socket)\n";
  RunResult withRoute, withoutRoute;
  EXPECT_TRUE(pipes.ReturnsWithin([&] {
    withRoute = RunNdhost("--sim-root " + Root() + " --route " + plan.string());
    withoutRoute = RunNdhost("--sim-root " + Root() + " --frames 100 --report");
  }));
  EXPECT_EQ(withRoute.exitCode, 1);
  EXPECT_NE(withRoute.output.find("ndhost: cannot read " + plan.string() + notRegular),
            std::string::npos)
      << withRoute.output;
  EXPECT_EQ(withoutRoute.exitCode, 0) << withoutRoute.output;
  EXPECT_NE(withoutRoute.output.find("ndhost: cannot read " + vor.string() + notRegular),
            std::string::npos)
      << withoutRoute.output;
  EXPECT_NE(withoutRoute.output.find("database status 204\n"), std::string::npos)
      << withoutRoute.output;
}

TEST_F(NdhostRun, HelpAndALibraryThatIsNoGaugeModule) {
  RunResult help = RunNdhost("--help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.output.rfind("Usage: ndhost --sim-root DIR [OPTION]...\n"
                              "  or:  ndhost --help | --version\n\n",
                              0),
            0u)
      << help.output;
  // A usage error shows the whole synopsis.
  RunResult refused = RunNdhost("--bogus");
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_EQ(refused.output.rfind("ndhost: unknown option --bogus\n"
                                 "usage: ndhost --help | --version\n"
                                 "       ndhost --sim-root DIR [--module FILE]",
                                 0),
            0u)
      << refused.output;
  // The form man-page tools read: "name (package) version".
  RunResult version = RunNdhost("--version --bogus");
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.output, "ndhost (Skyatlas) " + std::string(platform::SkyatlasVersion()) + "\n");

  const std::filesystem::path module = folder_.path() / "Gauges" / "Lumaro.gau";
  std::filesystem::copy_file(NOT_A_GAUGE_PATH, module,
                             std::filesystem::copy_options::overwrite_existing);
  RunResult run = RunNdhost("--sim-root " + Root() + " --frames 3");
  EXPECT_EQ(run.exitCode, 2) << run.output;
  EXPECT_EQ(run.output, "ndhost: " + module.string() +
                            " is not a gauge module (Linkage/ImportTable missing or wrong)\n");
}

// Without --module: the simulator folder's module first, as the simulator
// loads it; else the one installed with the program; else the simulator
// folder's path, which the load failure then names.
TEST(DefaultModulePath, TheSimulatorsModuleFirstThenTheInstalledOne) {
  gauge_test::SimulatorFolder folder;
  const std::filesystem::path simulator = folder.path() / "sim";
  const std::filesystem::path program = folder.path() / "prefix" / "bin";
  std::filesystem::create_directories(simulator / "Gauges");
  std::filesystem::create_directories(program);
  const std::filesystem::path simulatorModule = simulator / "Gauges" / "Lumaro.gau";
  EXPECT_EQ(ndhost::DefaultModulePath(simulator, program), simulatorModule);

  const std::filesystem::path installedModule =
      platform::InstalledModuleFolder(program) / "Lumaro.gau";
  std::filesystem::create_directories(installedModule.parent_path());
  std::filesystem::copy_file(LUMARO_MODULE_PATH, installedModule);
  EXPECT_EQ(ndhost::DefaultModulePath(simulator, program), installedModule);
  EXPECT_EQ(ndhost::DefaultModulePath(simulator, {}), simulatorModule);

  std::filesystem::copy_file(LUMARO_MODULE_PATH, simulatorModule);
  EXPECT_EQ(ndhost::DefaultModulePath(simulator, program), simulatorModule);
}

bool BlockExists(const std::string& name) {
  const int descriptor = ::shm_open(platform::SharedMemoryName(name).c_str(), O_RDONLY, 0);
  if (descriptor < 0) return false;
  ::close(descriptor);
  return true;
}

// "NDPassData" made by a run goes with it: the next run, in a fresh
// simulator folder, starts from the default modes. A block that was there
// before the run belongs to another component and stays.
TEST_F(NdhostRun, RemovesTheModeBlockItCreated) {
  ::shm_unlink(platform::SharedMemoryName("NDPassData").c_str());
  RunResult first =
      RunNdhost("--sim-root " + Root() + " --frames 100 --keys 90:ctrl+shift+p --report");
  ASSERT_EQ(first.exitCode, 0) << first.output;
  EXPECT_NE(first.output.find("MapMode=2"), std::string::npos) << first.output;
  EXPECT_FALSE(BlockExists("NDPassData"));

  gauge_test::SimulatorFolder fresh;
  std::filesystem::copy_file(LUMARO_MODULE_PATH, fresh.path() / "Gauges" / "Lumaro.gau");
  gauge_test::WriteDatabase(fresh.path(), gauge_test::BuildDatabase({{'N', "AB", 48.9, 2.3}}));
  RunResult second = RunNdhost("--sim-root " + fresh.path().string() + " --frames 100 --report");
  ASSERT_EQ(second.exitCode, 0) << second.output;
  EXPECT_NE(second.output.find("modes NDMode=1 MapMode=0 Item=0x1E Range=320"), std::string::npos)
      << second.output;

  const int descriptor =
      ::shm_open(platform::SharedMemoryName("NDPassData").c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  ASSERT_GE(descriptor, 0);
  ASSERT_EQ(::ftruncate(descriptor, 60), 0);
  ::close(descriptor);
  RunResult third = RunNdhost("--sim-root " + fresh.path().string() + " --frames 3");
  ASSERT_EQ(third.exitCode, 0) << third.output;
  EXPECT_TRUE(BlockExists("NDPassData"));
}

}  // namespace
