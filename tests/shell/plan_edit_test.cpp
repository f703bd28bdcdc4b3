#include <gtest/gtest.h>

#include "navdb/coordinates.h"
#include "navdb/database.h"
#include "navdb/geo_index.h"
#include "tests/planner/planner_fixtures.h"
#include "tests/shell/cli_runner.h"
#include "tests/support/navaid_lines.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace cli {
namespace {

using testing_support::CliRun;
using testing_support::RunCli;

// The sample database plus a third airport north of BBBB.
class PlanEditTest : public testing::Test {
 protected:
  void SetUp() override {
    navdb::Database db = planner_test::SampleDatabase();
    db.List(navdb::NavaidKind::Airport)
        .AddLine(testing_support::AirportLine("CCCC", "CHARLIE", "04 /22", 40, 1.0, 3.0, 300));
    db.folder = folder_.path();
    testing_support::RecordingUi ui;
    navdb::RebuildIndex(db.lists, db.index, ui);
    ASSERT_TRUE(navdb::SaveDatabase(db, ui));
    CliRun create =
        Run({"plan", "create", "TRIP", "--departure", "AAAA/27R", "--arrival", "BBBB", "--via",
             "vor:VVV", "--no-sid-star", "--climb-rate", "2000", "--climb-speed", "250",
             "--cruise-altitude", "9000", "--cruise-speed", "300"});
    ASSERT_EQ(create.exitCode, 0) << create.err;
    file_ = (folder_.path() / "FlightPlans" / "TRIP.pln").string();
  }

  CliRun Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--navdata", folder_.path().string()});
    return RunCli(args);
  }
  CliRun Edit(std::vector<std::string> options) {
    options.insert(options.begin(), {"plan", "edit", file_});
    return Run(options);
  }
  std::string Plan() const { return folder_.Read("FlightPlans/TRIP.pln"); }
  // The kinds and identifiers of the waypoint rows, e.g. "APT AAAA|TOC *****|...".
  std::string Route() const {
    const std::string plan = Plan();
    std::string route;
    size_t at = plan.find("[WAYPOINTS]\r\n") + 13;
    while (at < plan.size()) {
      const size_t end = plan.find("\r\n", at);
      const std::string row = plan.substr(at, end - at);
      route +=
          (route.empty() ? "" : "|") + row.substr(0, 3) + " " + row.substr(5, row.find(' ', 5) - 5);
      at = end + 2;
    }
    return route;
  }

  testing_support::TempFolder folder_;
  std::string file_;
};

TEST_F(PlanEditTest, EachOperationThroughTheDialogsRowCommands) {
  EXPECT_EQ(Route(), "APT AAAA|TOC *****|VOR VVV|APT BBBB");

  CliRun insert = Edit({"--insert", "end", "ndb:NN"});  // no selection: appended
  ASSERT_EQ(insert.exitCode, 0) << insert.err;
  EXPECT_EQ(insert.out, file_ + "\n");
  EXPECT_EQ(Route(), "APT AAAA|TOC *****|VOR VVV|APT BBBB|NDB NN");

  ASSERT_EQ(Edit({"--remove", "4"}).exitCode, 0);
  // Row 0 inserts at 1; the TOC is placed again on the new first leg. The
  // turn at FIXXX back toward VVV is confirmed with --yes.
  ASSERT_EQ(Edit({"--insert", "0", "int:FIXXX", "--yes"}).exitCode, 0);
  EXPECT_EQ(Route(), "APT AAAA|TOC *****|INT FIXXX|VOR VVV|APT BBBB");

  ASSERT_EQ(Edit({"--replace", "2", "ndb:NN", "--yes"}).exitCode, 0);
  EXPECT_EQ(Route(), "APT AAAA|TOC *****|NDB NN|VOR VVV|APT BBBB");

  // Moves at the ends change nothing (the row indices count the TOC row,
  // which a move takes out first); the arrival never moves.
  ASSERT_EQ(Edit({"--move", "2", "up", "--yes"}).exitCode, 0);
  ASSERT_EQ(Edit({"--move", "3", "down", "--yes"}).exitCode, 0);
  ASSERT_EQ(Edit({"--move", "4", "up", "--yes"}).exitCode, 0);
  EXPECT_EQ(Route(), "APT AAAA|TOC *****|NDB NN|VOR VVV|APT BBBB");
  ASSERT_EQ(Edit({"--move", "3", "up"}).exitCode, 0);  // VVV above NN: no turn back
  EXPECT_EQ(Route(), "APT AAAA|TOC *****|VOR VVV|NDB NN|APT BBBB");

  // A new arrival brings its own runways; the departure keeps its runway.
  CliRun arrival = Edit({"--arrival", "CCCC/22"});
  ASSERT_EQ(arrival.exitCode, 0) << arrival.err;
  EXPECT_EQ(Route(), "APT AAAA|TOC *****|VOR VVV|NDB NN|APT CCCC");
  EXPECT_NE(Plan().find("[ARRIVAL]\r\nAIRPORT=CCCC  \r\nRUNWAY=22 /220/11000\r\n"),
            std::string::npos)
      << Plan();
  EXPECT_NE(Plan().find("RUNWAY=27R/270/11000\r\n"), std::string::npos);

  // Performance, D/R and the name: saved under the new name, the file kept.
  const std::string before = Plan();
  CliRun renamed = Edit({"--cruise-altitude", "12000", "--sid-star", "8,4", "--name", "COPY"});
  ASSERT_EQ(renamed.exitCode, 0) << renamed.err;
  EXPECT_EQ(Plan(), before);
  const std::string copy = folder_.Read("FlightPlans/COPY.pln");
  EXPECT_NE(copy.find("CRUISE_ALTITUDE=12000\r\n"), std::string::npos);
  EXPECT_NE(copy.find("D=8.0\r\nR=4.0\r\n"), std::string::npos);
  EXPECT_NE(copy.find("\r\nBRD  *****"), std::string::npos);
  EXPECT_NE(copy.find("00:00:00\r\nBRD  *****"), std::string::npos);
}

TEST_F(PlanEditTest, OptionsApplyInTheOrderGiven) {
  // Insert at row 2 then remove row 2 takes the new row out again ...
  ASSERT_EQ(Edit({"--insert", "2", "ndb:NN", "--remove", "2"}).exitCode, 0);
  EXPECT_EQ(Route(), "APT AAAA|TOC *****|VOR VVV|APT BBBB");
  // ... while the other order removes VVV, then inserts NN, after which
  // the TOC is placed again on the first leg.
  ASSERT_EQ(Edit({"--remove", "2", "--insert", "1", "ndb:NN"}).exitCode, 0);
  EXPECT_EQ(Route(), "APT AAAA|TOC *****|NDB NN|APT BBBB");
}

TEST_F(PlanEditTest, BadArgumentsExitTwoAndLeaveTheFile) {
  const std::string before = Plan();
  struct Case {
    std::vector<std::string> options;
    std::string message;
  };
  for (const Case& c : std::vector<Case>{
           {{"--remove", "9"}, "--remove takes a row from 0 to 4 - 1, not '9'"},
           {{"--remove", "end"}, "not 'end'"},
           {{"--insert", "1", "vor:NOPE"}, "vor:NOPE is not in the database"},
           {{"--insert", "1", "xyz:VVV"}, "KIND ndb, vor, apt or int"},
           {{"--move", "1", "left"}, "--move takes POS up|down"},
           {{"--move", "2"}, "--move needs 2 values"},
           {{"--departure", "ZZZZ"}, "airport ZZZZ is not in the database"},
           {{"--departure", "AAAA/99"},
            "airport AAAA has no runway '99'; its runways are 09L/090/11000, 27R/270/11000, "
            "13 /130/11000, 31 /310/11000"},
           {{"--insert", "end", "ndb:NN", "--remove", "7"}, "--remove takes a row"},
           {{"--cruise-altitude", "0"}, "a climb rate needs a cruise altitude"},
           {{"--via", "vor:VVV"}, "plan edit does not take --via"},
           {{"--frobnicate"}, "unknown option '--frobnicate'"},
       }) {
    SCOPED_TRACE(c.options.front());
    CliRun run = Edit(c.options);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(Plan(), before);
  }
  // A sharp turn is asked about like the dialog's Save: No without --yes.
  CliRun turn = Edit({"--insert", "2", "apt:CCCC"});
  EXPECT_EQ(turn.exitCode, 1);
  EXPECT_NE(turn.err.find("the rotation angle is too high"), std::string::npos) << turn.err;
  EXPECT_EQ(Plan(), before);
  EXPECT_EQ(Edit({"--insert", "2", "apt:CCCC", "--yes"}).exitCode, 0);
  EXPECT_EQ(Route(), "APT AAAA|TOC *****|APT CCCC|VOR VVV|APT BBBB");
  // An airport inserted on the last row becomes the arrival.
  EXPECT_EQ(Edit({"--insert", "4", "apt:CCCC", "--yes"}).exitCode, 0);
  EXPECT_EQ(Route(), "APT AAAA|TOC *****|APT CCCC|VOR VVV|APT BBBB|APT CCCC");
}

TEST_F(PlanEditTest, NumberOptionsOutsideTheirColumnsExitTwoNamingTheRange) {
  const std::string before = Plan();
  const std::string sidStar = "--sid-star takes D,R with each from 0.1 to 99.9 (NM), not '";
  const std::string cruiseSpeed =
      "--cruise-speed takes knots (0 to 9999) or a Mach number below 5 (such as 0.82) in at most "
      "4 characters, not '";
  struct Case {
    std::vector<std::string> options;
    std::string message;
  };
  for (const Case& c : std::vector<Case>{
           {{"--sid-star", "1e308,-5"}, sidStar + "1e308,-5'"},
           {{"--sid-star", "nan,5"}, sidStar + "nan,5'"},
           {{"--sid-star", "inf,5"}, sidStar + "inf,5'"},
           {{"--sid-star", "10,0"}, sidStar + "10,0'"},
           {{"--sid-star", "100,5"}, sidStar + "100,5'"},
           {{"--sid-star", "10,5,"}, sidStar + "10,5,'"},
           {{"--sid-star", "10"}, sidStar + "10'"},
           {{"--cruise-altitude", "999999999999"},
            "--cruise-altitude takes a whole number from 0 to 99999 (ft), not '999999999999'"},
           {{"--cruise-altitude", "100000"}, "from 0 to 99999 (ft), not '100000'"},
           {{"--cruise-altitude", "-1"}, "from 0 to 99999 (ft), not '-1'"},
           {{"--climb-rate", "100000"},
            "--climb-rate takes a whole number from 0 to 99999 (ft/min), not '100000'"},
           {{"--descent-rate", "1e3"}, "--descent-rate takes a whole number from 0 to 99999"},
           {{"--climb-speed", "10000"},
            "--climb-speed takes a whole number from 0 to 9999 (kt), not '10000'"},
           {{"--descent-speed", "+250"}, "--descent-speed takes a whole number from 0 to 9999"},
           {{"--cruise-speed", "12345"}, cruiseSpeed + "12345'"},
           {{"--cruise-speed", "inf"}, cruiseSpeed + "inf'"},
           {{"--cruise-speed", "-.5"}, cruiseSpeed + "-.5'"},
           {{"--cruise-speed", ""}, cruiseSpeed + "'"},
       }) {
    SCOPED_TRACE(c.options.front() + " " + c.options.back());
    CliRun run = Edit(c.options);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(Plan(), before);
  }
  // perf save and plan create check the same options before writing anything.
  CliRun perf = Run({"perf", "save", "JET", "--cruise-altitude", "4294967296"});
  EXPECT_EQ(perf.exitCode, 2);
  EXPECT_NE(perf.err.find("from 0 to 99999 (ft), not '4294967296'"), std::string::npos);
  CliRun create =
      Run({"plan", "create", "X", "--departure", "AAAA", "--arrival", "BBBB", "--sid-star", "0,0"});
  EXPECT_EQ(create.exitCode, 2);
  EXPECT_NE(create.err.find(sidStar + "0,0'"), std::string::npos);
  EXPECT_FALSE(folder_.Exists("FlightPlans/JET.perf"));
  EXPECT_FALSE(folder_.Exists("FlightPlans/X.pln"));

  // The ends of each range are taken and written as given (the odd turn
  // they make is confirmed).
  CliRun edge = Edit({"--sid-star", "0.1,99.9", "--cruise-altitude", "099999", "--climb-rate",
                      "99999", "--descent-speed", "9999", "--cruise-speed", "0.82", "--yes"});
  ASSERT_EQ(edge.exitCode, 0) << edge.err;
  const std::string plan = Plan();
  for (const char* line :
       {"\r\nD=0.1\r\nR=99.9\r\n", "\r\nCRUISE_ALTITUDE=99999\r\n", "\r\nCLIMB_RATE=99999\r\n",
        "\r\nDESCENT_SPEED=9999\r\n", "\r\nCRUISE_SPEED=0.82\r\n"}) {
    EXPECT_NE(plan.find(line), std::string::npos) << line;
  }
}

TEST_F(PlanEditTest, ComputeTakesOnlyOutAndCreateChecksRunwaysAndClimb) {
  const std::string before = Plan();
  CliRun compute = Run({"plan", "compute", file_, "--name", "X"});
  EXPECT_EQ(compute.exitCode, 2);
  EXPECT_NE(compute.err.find("does not take --name; plan edit changes a plan"), std::string::npos)
      << compute.err;
  EXPECT_EQ(Run({"plan", "compute", file_, "--insert", "1", "ndb:NN"}).exitCode, 2);
  EXPECT_EQ(Plan(), before);
  const std::string out = (folder_.path() / "out.pln").string();
  ASSERT_EQ(Run({"plan", "compute", file_, "--out", out}).exitCode, 0);
  EXPECT_EQ(folder_.Read("out.pln"), before);

  CliRun runway = Run({"plan", "create", "R", "--departure", "AAAA/99", "--arrival", "BBBB"});
  EXPECT_EQ(runway.exitCode, 2);
  EXPECT_NE(runway.err.find("airport AAAA has no runway '99'; its runways are 09L/090/11000"),
            std::string::npos)
      << runway.err;
  CliRun climb = Run(
      {"plan", "create", "R", "--departure", "AAAA", "--arrival", "BBBB", "--climb-rate", "1500"});
  EXPECT_EQ(climb.exitCode, 2);
  EXPECT_NE(climb.err.find("a climb rate needs a cruise altitude"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(folder_.path() / "FlightPlans" / "R.pln"));
}

TEST_F(PlanEditTest, ARowNotInTheRowLayoutIsKeptAndStopsTheLegsUntilRemoved) {
  // A hand-edited row before the arrival: kept as it is, never computed over.
  const std::string bad = "NDB  NN     somewhere east of VVV";
  std::string plan = Plan();
  plan.insert(plan.rfind("APT  BBBB"), bad + "\r\n");
  folder_.Write("FlightPlans/TRIP.pln", plan);

  CliRun compute = Run({"plan", "compute", file_});
  EXPECT_EQ(compute.exitCode, 1);
  EXPECT_EQ(compute.err,
            "skat-cli: the legs cannot be computed: row 3 is not a plan row (plan edit --remove 3 "
            "takes it out)\n");
  EXPECT_EQ(Plan(), plan);
  EXPECT_EQ(Edit({"--insert", "end", "ndb:NN"}).exitCode, 1);
  EXPECT_EQ(Plan(), plan);

  CliRun print = Run({"plan", "print", file_, "--text"});
  ASSERT_EQ(print.exitCode, 0) << print.err;
  EXPECT_NE(print.out.find("NDB      somewhere east of VVV"), std::string::npos) << print.out;

  CliRun remove = Edit({"--remove", "3"});
  ASSERT_EQ(remove.exitCode, 0) << remove.err;
  EXPECT_EQ(Route(), "APT AAAA|TOC *****|VOR VVV|APT BBBB");
  EXPECT_EQ(Plan().find(bad), std::string::npos);
}

}  // namespace
}  // namespace cli
