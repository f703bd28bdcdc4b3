// The plan commands on plans longer than a plan can hold: refused whole,
// exit 1, the file left as it was.
#include <gtest/gtest.h>

#include "navdb/database.h"
#include "navdb/geo_index.h"
#include "tests/planner/planner_fixtures.h"
#include "tests/shell/cli_runner.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace {

using testing_support::CliRun;
using testing_support::RunCli;

constexpr const char* kRefusalEnd =
    " rows: a plan holds at most 256 rows, as many as the navigation display shows.";

class PlanSizeCliTest : public testing::Test {
 protected:
  void SetUp() override {
    navdb::Database db = planner_test::SampleDatabase();
    db.folder = folder_.path();
    testing_support::RecordingUi ui;
    navdb::RebuildIndex(db.lists, db.index, ui);
    ASSERT_TRUE(navdb::SaveDatabase(db, ui));
    // Departure, VVV, arrival, and a climb that puts a TOC after the departure.
    const CliRun create =
        Run({"plan", "create", "TRIP", "--departure", "AAAA", "--arrival", "BBBB", "--via",
             "vor:VVV", "--no-sid-star", "--climb-rate", "2000", "--climb-speed", "250",
             "--cruise-altitude", "9000", "--cruise-speed", "300"});
    ASSERT_EQ(create.exitCode, 0) << create.err;
  }

  CliRun Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--navdata", folder_.path().string()});
    return RunCli(args);
  }

  // TRIP with its VVV row `vorRows` times and without its TOC row, saved
  // as NAME.pln; returns the path.
  std::string Stretched(const std::string& name, size_t vorRows) {
    const std::string trip = folder_.Read("FlightPlans/TRIP.pln");
    const size_t waypoints = trip.find("[WAYPOINTS]\r\n") + 13;
    std::vector<std::string> rows;
    for (size_t at = waypoints; at < trip.size();) {
      const size_t end = trip.find("\r\n", at);
      rows.push_back(trip.substr(at, end - at));
      at = end + 2;
    }
    EXPECT_EQ(rows.size(), 4u);  // APT, TOC, VOR, APT
    std::string text = trip.substr(0, waypoints) + rows[0] + "\r\n";
    for (size_t i = 0; i < vorRows; ++i) text += rows[2] + "\r\n";
    text += rows[3] + "\r\n";
    folder_.Write("FlightPlans/" + name + ".pln", text);
    return (folder_ / "FlightPlans" / (name + ".pln")).string();
  }

  testing_support::TempFolder folder_;
};

TEST_F(PlanSizeCliTest, EveryCommandRefusesAFileOfMoreRowsThanAPlanHolds) {
  const std::string file = Stretched("LONG", 1000);
  const std::string before = folder_.Read("FlightPlans/LONG.pln");
  const std::string out = (folder_ / "out.gpx").string();
  const std::vector<std::vector<std::string>> commands = {
      {"plan", "compute", file},
      {"plan", "edit", file, "--remove", "1"},
      {"plan", "print", file, "--text"},
      {"plan", "export", file, "--format", "gpx", out},
  };
  for (const std::vector<std::string>& command : commands) {
    SCOPED_TRACE(command[1]);
    const CliRun run = Run(command);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, std::string("Error !: The flight plan has 1002") + kRefusalEnd + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(folder_.Read("FlightPlans/LONG.pln"), before);
  }
  EXPECT_FALSE(folder_.Exists("out.gpx"));
}

TEST_F(PlanSizeCliTest, AChangeThatGrowsThePlanPastTheLimitIsRefused) {
  // 256 rows as stored; the computation puts the TOC back, making 257.
  const std::string file = Stretched("FULL", 254);
  const std::string before = folder_.Read("FlightPlans/FULL.pln");
  const CliRun compute = Run({"plan", "compute", file});
  EXPECT_EQ(compute.exitCode, 1);
  EXPECT_EQ(compute.err, std::string("Error !: The flight plan has 257") + kRefusalEnd + "\n");
  EXPECT_EQ(folder_.Read("FlightPlans/FULL.pln"), before);

  // Without the climb no TOC is made: the 256 rows are kept, every one.
  const CliRun level = Run({"plan", "edit", file, "--climb-rate", "0"});
  ASSERT_EQ(level.exitCode, 0) << level.err;
  const std::string saved = folder_.Read("FlightPlans/FULL.pln");
  EXPECT_EQ(saved.substr(saved.find("[WAYPOINTS]")).size(),
            before.substr(before.find("[WAYPOINTS]")).size());
  const CliRun insert = Run({"plan", "edit", file, "--insert", "255", "ndb:NN"});
  EXPECT_EQ(insert.exitCode, 1);
  EXPECT_EQ(insert.err, std::string("Error !: The flight plan has 257") + kRefusalEnd + "\n");
  EXPECT_EQ(folder_.Read("FlightPlans/FULL.pln"), saved);
  const CliRun copy = Run({"plan", "edit", file, "--insert", "255", "ndb:NN", "--name", "COPY"});
  EXPECT_EQ(copy.exitCode, 1);
  EXPECT_FALSE(folder_.Exists("FlightPlans/COPY.pln"));
}

}  // namespace
