#include <gtest/gtest.h>

#include <sstream>

#include "navdb/database.h"
#include "navdb/geo_index.h"
#include "tests/planner/planner_fixtures.h"
#include "tests/shell/cli_runner.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace cli {
namespace {

using testing_support::CliRun;
using testing_support::RunCli;

void WriteSampleDatabase(const std::filesystem::path& folder) {
  navdb::Database db = planner_test::SampleDatabase();
  db.folder = folder;
  testing_support::RecordingUi ui;
  navdb::RebuildIndex(db.lists, db.index, ui);
  ASSERT_TRUE(navdb::SaveDatabase(db, ui));
}

TEST(PlanCommandsTest, CreateComputePrintAndPerformance) {
  testing_support::TempFolder folder;
  WriteSampleDatabase(folder.path());
  const std::string navData = folder.path().string();

  CliRun perf = RunCli({"--navdata", navData, "perf", "save", "B737", "--climb-rate", "2000",
                        "--climb-speed", "250", "--descent-rate", "2000", "--descent-speed", "300",
                        "--cruise-altitude", "20100", "--cruise-speed", "400"});
  ASSERT_EQ(perf.exitCode, 0) << perf.err;
  CliRun show = RunCli({"--navdata", navData, "perf", "show", "B737"});
  EXPECT_EQ(show.out,
            "AIRCRAFT=B737\nCLIMB_RATE=2000\nCLIMB_SPEED=250\nDESCENT_RATE=2000\n"
            "DESCENT_SPEED=300\nCRUISE_ALTITUDE=20100\nCRUISE_SPEED=400\n");

  CliRun create = RunCli({"--navdata", navData, "plan", "create", "TRIP", "--departure", "AAAA/27R",
                          "--arrival", "BBBB", "--via", "vor:VVV", "--via", "ndb:NN", "--perf",
                          "B737", "--no-sid-star"});
  ASSERT_EQ(create.exitCode, 0) << create.err;
  const std::string plan = folder.Read("FlightPlans/TRIP.pln");
  EXPECT_NE(plan.find("AIRPORT=AAAA  \r\nRUNWAY=27R/270/11000\r\n"), std::string::npos) << plan;
  EXPECT_NE(plan.find("\r\nTOC  *****  (Top Of Climb)"), std::string::npos);
  EXPECT_NE(plan.find("00500  270  0180.0  00:33:12\r\n"), std::string::npos) << plan;

  // Questions without --yes are answered No and the file stays: first the
  // sharp turn of the generated runway turn, then the overwrite.
  CliRun turn = RunCli(
      {"--navdata", navData, "plan", "create", "TRIP", "--departure", "AAAA", "--arrival", "BBBB"});
  EXPECT_EQ(turn.exitCode, 1);
  EXPECT_NE(turn.err.find("the rotation angle is too high"), std::string::npos) << turn.err;
  CliRun again = RunCli({"--navdata", navData, "plan", "create", "TRIP", "--departure", "AAAA",
                         "--arrival", "BBBB", "--no-sid-star"});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("already exists"), std::string::npos) << again.err;
  EXPECT_EQ(folder.Read("FlightPlans/TRIP.pln"), plan);

  const std::string file = (folder.path() / "FlightPlans" / "TRIP.pln").string();
  CliRun compute = RunCli({"--navdata", navData, "plan", "compute", file});
  ASSERT_EQ(compute.exitCode, 0) << compute.err;
  EXPECT_EQ(folder.Read("FlightPlans/TRIP.pln"), plan);

  CliRun print = RunCli({"--navdata", navData, "plan", "print", file, "--text"});
  ASSERT_EQ(print.exitCode, 0) << print.err;
  EXPECT_NE(print.out.find("File: TRIP"), std::string::npos);
  EXPECT_NE(print.out.find("(last page)\n"), std::string::npos);

  CliRun missing = RunCli(
      {"--navdata", navData, "plan", "create", "X", "--departure", "ZZZZ", "--arrival", "BBBB"});
  EXPECT_EQ(missing.exitCode, 2);  // an unknown identifier is a bad argument
  EXPECT_NE(missing.err.find("ZZZZ"), std::string::npos);
}

TEST(PlanCommandsTest, ImportsFlightShopAndFs200xPlans) {
  testing_support::TempFolder folder;
  WriteSampleDatabase(folder.path());
  const std::string navData = folder.path().string();
  folder.Write("trip.fsp",
               "FS\r\nx\r\ny\r\n1500\r\n220\r\n1200\r\n250\r\n9000\r\n0.70\r\n"
               "AAAA\r\nALPHA INTL\r\n-\r\nAPT\r\nQQQ\r\nNOWHERE\r\n-\r\nVOR\r\n"
               "BBBB\r\nBRAVO FIELD\r\n-\r\nAPT\r\n99999\r\n");
  CliRun fsp = RunCli(
      {"--navdata", navData, "plan", "import", (folder / "trip.fsp").string(), "--missing=skip"});
  ASSERT_EQ(fsp.exitCode, 0) << fsp.err;
  EXPECT_NE(fsp.err.find("QQQ    NOWHERE VOR cannot be found in database."), std::string::npos)
      << fsp.err;
  const std::string imported = folder.Read("FlightPlans/trip.pln");
  EXPECT_NE(imported.find("AIRCRAFT=(from Flight Shop flight plan)\r\nCLIMB_RATE=1500\r\n"),
            std::string::npos);
  EXPECT_EQ(imported.find("QQQ"), std::string::npos);
  EXPECT_NE(imported.find("\r\nAPT  BBBB"), std::string::npos);

  // The hand pick answered on the terminal.
  CliRun picked = RunCli(
      {"--navdata", navData, "plan", "import", (folder / "trip.fsp").string(), "--name", "picked"},
      "vor:VVV\n");
  ASSERT_EQ(picked.exitCode, 0) << picked.err;
  EXPECT_NE(folder.Read("FlightPlans/picked.pln").find("\r\nVOR  VVV    VICTOR"),
            std::string::npos);

  folder.Write("fs.pln",
               "[flightplan]\r\ncruising_altitude=12000\r\n"
               "waypoint.0=AAAA, A, N0* 0.00', E0* 0.00', +000000.00,\r\n"
               "waypoint.1=IBB, V, N0* 0.00', E3* 6.00', +000000.00,\r\n"
               "waypoint.2=GHOST, I, S1* 30.00', E2* 0.00', +000000.00,\r\n"
               "waypoint.300=BAD, V, N0* 0.00', E3* 6.00', +000000.00,\r\n"
               "waypoint.4=BBBB, A, N0* 0.00', E3* 0.00', +000000.00,\r\n");
  CliRun fs = RunCli(
      {"--navdata", navData, "plan", "import", (folder / "fs.pln").string(), "--name", "fs2k"});
  ASSERT_EQ(fs.exitCode, 0) << fs.err;
  const std::string fsPlan = folder.Read("FlightPlans/fs2k.pln");
  EXPECT_NE(fsPlan.find("CRUISE_ALTITUDE=12000\r\n"), std::string::npos);
  EXPECT_NE(fsPlan.find("\r\nVOR  IBB"), std::string::npos) << "an ILS line keeps VOR";
  EXPECT_NE(fsPlan.find("\r\nINT  GHOST" + std::string(28, ' ') +
                        "---.--  S01\xB0"
                        "30'00.00"),
            std::string::npos)
      << fsPlan;
  EXPECT_EQ(fsPlan.find("BBBB  BRAVO"), std::string::npos) << "the gap at index 3 ends the list";
}

}  // namespace
}  // namespace cli
