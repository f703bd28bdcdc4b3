// ndhost flying headless: radios tuned from the simulator's database, the
// report of what they read, pictures along the way, and stations the
// database does not have.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "ndhost_runner.h"
#include "platform/shared_memory.h"
#include "test_environment.h"
#include "tests/support/database_writer.h"

namespace {

using ndhost_test::RunNdhost;
using ndhost_test::RunResult;

std::string LineStarting(const std::string& output, const std::string& start) {
  size_t at = output.find("\n" + start);
  if (at == std::string::npos) return "";
  return output.substr(at + 1, output.find('\n', at + 1) - at - 1);
}

class NdhostFlight : public ::testing::Test {
 protected:
  void SetUp() override {
    (void)gauge_test::SharedMemoryPrefix();
    std::filesystem::copy_file(LUMARO_MODULE_PATH, folder_.path() / "Gauges" / "Lumaro.gau");
    gauge_test::WriteDatabase(
        folder_.path(),
        gauge_test::BuildDatabase({{'N', "AB", 48.9, 2.3}, {'V', "PGS", 48.95, 2.4, "VOR/DME"}}));
  }
  void TearDown() override { ::shm_unlink(platform::SharedMemoryName("NDPassData").c_str()); }
  std::string Root() const { return folder_.path().string(); }
  std::string NavData(const char* file) const {
    return (folder_.path() / "NavData" / file).string();
  }
  gauge_test::SimulatorFolder folder_;
};

TEST_F(NdhostFlight, UnknownStationsStopWithStatusTwo) {
  RunResult ident = RunNdhost("--sim-root " + Root() + " --nav1 XYZ");
  EXPECT_EQ(ident.exitCode, 2);
  EXPECT_EQ(ident.output, "ndhost: NAV 1: no station \"XYZ\" in " + NavData("vor.dat") + "\n");
  RunResult frequency = RunNdhost("--sim-root " + Root() + " --nav1 PGS --nav1-freq 117.25");
  EXPECT_EQ(frequency.exitCode, 2);
  EXPECT_EQ(frequency.output,
            "ndhost: NAV 1: no station \"PGS\" on 117.25 in " + NavData("vor.dat") + "\n");
  RunResult byFrequency = RunNdhost("--sim-root " + Root() + " --nav1-freq 109.1");
  EXPECT_EQ(byFrequency.exitCode, 2);
  EXPECT_EQ(byFrequency.output,
            "ndhost: NAV 1: no station \"109.10\" in " + NavData("vor.dat") + "\n");
  RunResult nav2 = RunNdhost("--sim-root " + Root() + " --nav2 110.30");
  EXPECT_EQ(nav2.exitCode, 2);
  EXPECT_EQ(nav2.output, "ndhost: NAV 2: no station \"110.30\" in " + NavData("vor.dat") + "\n");
  RunResult adf = RunNdhost("--sim-root " + Root() + " --adf PGS");
  EXPECT_EQ(adf.exitCode, 2);
  EXPECT_EQ(adf.output, "ndhost: ADF: no station \"PGS\" in " + NavData("ndb.dat") + "\n");
}

TEST_F(NdhostFlight, RadiosFollowTheAircraft) {
  // 30 NM south of PGS at its height, NAV 1 by frequency, the NDB 27 NM
  // away beyond its 25 NM range.
  const std::string start =
      "--sim-root " + Root() + " --lat 48.45 --lon 2.4 --alt 200 --nav1 113.90 --adf AB --report";
  RunResult still = RunNdhost(start + " --frames 1");
  ASSERT_EQ(still.exitCode, 0) << still.output;
  EXPECT_EQ(LineStarting(still.output, "radios: "),
            "radios: NAV1 PGS flags 0x01 DME 30.0 CRS 359 DEV +0 TO GS - | NAV2 - flags 0x08 "
            "BRG 000 DME 0.0 | ADF AB off BRG 000 | MKR 0");
  // 360 kt for 10 seconds (180 frames at 18 a second) is one mile nearer;
  // the heading 000 magnetic is 001 true with PGS's variation of 1 east.
  RunResult flown = RunNdhost(start + " --speed 360 --frames 181");
  ASSERT_EQ(flown.exitCode, 0) << flown.output;
  EXPECT_EQ(LineStarting(flown.output, "flight: "),
            "flight: HDG 000 SEL 000 IAS 360 GS 360 ALT 200/200 PLAN off");
  EXPECT_EQ(LineStarting(flown.output, "radios: ").substr(0, 40),
            "radios: NAV1 PGS flags 0x01 DME 29.0 CRS");
  // Nearer, the NDB comes into range and its needle points left of the nose.
  RunResult nearer = RunNdhost(start + " --speed 3600 --frames 181 --heading 20");
  ASSERT_EQ(nearer.exitCode, 0) << nearer.output;
  std::string radios = LineStarting(nearer.output, "radios: ");
  EXPECT_NE(radios.find("| ADF AB on BRG 3"), std::string::npos) << radios;
}

TEST_F(NdhostFlight, ScheduledFlightKeysFly) {
  // Right at frame 1 (99 frames at 18 a second follow: the turn of 10
  // degrees is done), PgUp at frame 2 (98 frames of a 1500 ft/min climb:
  // 136 ft), Up at frame 3; Shift+G at frame 90 goes to the display.
  RunResult run = RunNdhost("--sim-root " + Root() +
                            " --frames 100 --keys 1:right,2:pgup,3:up,90:shift+g --report");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(LineStarting(run.output, "flight: "),
            "flight: HDG 010 SEL 010 IAS 10 GS 10 ALT 136/500 PLAN off");
  EXPECT_NE(run.output.find("Range=640"), std::string::npos) << run.output;
}

TEST_F(NdhostFlight, PicturesAlongTheWayShowTheMotion) {
  auto picture = [this](const std::string& name) { return folder_.Read(name); };
  const std::string start =
      "--sim-root " + Root() + " --lat 48.6 --lon 2.4 --heading 0" +
      " --nav1 PGS --frames 181 --png-at 90:" + (folder_.path() / "a.png").string() +
      " --png-at 180:" + (folder_.path() / "b.png").string();
  RunResult still = RunNdhost(start + " --speed 0");
  ASSERT_EQ(still.exitCode, 0) << still.output;
  EXPECT_EQ(picture("a.png").substr(1, 3), "PNG");
  // Standing still, the display stays as it was, byte for byte.
  EXPECT_EQ(picture("a.png"), picture("b.png"));
  // Flying toward the station at 600 kt, the DME counts down and the map moves.
  RunResult moving = RunNdhost(start + " --speed 600");
  ASSERT_EQ(moving.exitCode, 0) << moving.output;
  EXPECT_NE(picture("a.png"), picture("b.png"));
  RunResult badPath =
      RunNdhost("--sim-root " + Root() + " --frames 2 --png-at 1:/nonexistent/x.png");
  EXPECT_EQ(badPath.exitCode, 1);
  EXPECT_NE(badPath.output.find("/nonexistent/x.png"), std::string::npos) << badPath.output;
}

}  // namespace
