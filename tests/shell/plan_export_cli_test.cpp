#include <gtest/gtest.h>

#include <algorithm>

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
using testing_support::TempFolder;

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
  return testing_support::FileNamesIn(folder);
}

// NavData with the sample database and FlightPlans/TRIP.pln computed by
// plan create, runway turns included.
class PlanExportCliTest : public testing::Test {
 protected:
  void SetUp() override {
    navdb::Database db = planner_test::SampleDatabase();
    db.folder = folder_.path();
    testing_support::RecordingUi ui;
    navdb::RebuildIndex(db.lists, db.index, ui);
    ASSERT_TRUE(navdb::SaveDatabase(db, ui));
    const CliRun create = Run({"plan",     "create",          "TRIP",   "--departure",
                               "AAAA/27R", "--arrival",       "BBBB",   "--via",
                               "vor:VVV",  "--via",           "ndb:NN", "--climb-rate",
                               "2000",     "--climb-speed",   "250",    "--descent-rate",
                               "2000",     "--descent-speed", "300",    "--cruise-altitude",
                               "20100",    "--cruise-speed",  "400",    "--yes"});
    ASSERT_EQ(create.exitCode, 0) << create.err;
    plan_ = (folder_ / "FlightPlans" / "TRIP.pln").string();
    planBytes_ = folder_.Read("FlightPlans/TRIP.pln");
  }

  CliRun Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--navdata", folder_.path().string()});
    return RunCli(args);
  }
  CliRun Export(const std::string& plan, const std::string& format, const std::string& out,
                bool yes = false) {
    std::vector<std::string> args{"plan", "export", plan, "--format", format, out};
    if (yes) args.push_back("--yes");
    return Run(args);
  }
  // The waypoint rows of the plan file.
  size_t PlanRows() const {
    const size_t start = planBytes_.find("[WAYPOINTS]\r\n") + 13;
    return CountOf(planBytes_.substr(start), "\r\n");
  }

  TempFolder folder_;
  std::string plan_;
  std::string planBytes_;
};

TEST_F(PlanExportCliTest, WritesEachFormatWithEveryRow) {
  ASSERT_GE(PlanRows(), 8u) << "airports, VOR, NDB, TOC, TOD and the runway turns";
  const std::string gpx = (folder_ / "trip.gpx").string();
  CliRun run = Export(plan_, "gpx", gpx);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, gpx + "\n");
  const std::string gpxBytes = folder_.Read("trip.gpx");
  EXPECT_EQ(CountOf(gpxBytes, "<rtept "), PlanRows());
  EXPECT_NE(gpxBytes.find("<name>BRD</name>\n      <desc>Begin of Rotation Dep</desc>"),
            std::string::npos);

  ASSERT_EQ(Export(plan_, "fms", (folder_ / "trip.fms").string()).exitCode, 0);
  const std::string fms = folder_.Read("trip.fms");
  EXPECT_TRUE(fms.starts_with("I\r\n1100 Version\r\nCYCLE ")) << fms;
  EXPECT_NE(fms.find("\r\nADEP AAAA\r\nDEPRWY RW27R\r\nADES BBBB\r\nDESRWY RW27\r\nNUMENR " +
                     std::to_string(PlanRows()) + "\r\n1 AAAA ADEP 100.000000 "),
            std::string::npos)
      << fms;
  EXPECT_EQ(CountOf(fms, "\r\n"), 8 + PlanRows());

  ASSERT_EQ(Export(plan_, "fgfs", (folder_ / "trip.xml").string()).exitCode, 0);
  const std::string fgfs = folder_.Read("trip.xml");
  EXPECT_NE(fgfs.find("<departure>\n    <airport type=\"string\">AAAA</airport>\n"
                      "    <runway type=\"string\">27R</runway>\n  </departure>"),
            std::string::npos)
      << fgfs;
  EXPECT_EQ(CountOf(fgfs, "<wp"), PlanRows() - 2) << "the airports are departure and destination";
  EXPECT_EQ(folder_.Read("FlightPlans/TRIP.pln"), planBytes_) << "the plan is only read";
}

TEST_F(PlanExportCliTest, BadArgumentsAreUsageErrors) {
  const std::string out = (folder_ / "out.kml").string();
  CliRun run = Export(plan_, "kml", out);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(
      run.err.starts_with("skat-cli plan: unknown format 'kml' (fgfs, fms or gpx)\n"
                          "Usage: skat-cli plan create"))
      << run.err;
  EXPECT_NE(run.err.find("plan export FILE.pln --format fgfs|fms|gpx OUT [--yes]"),
            std::string::npos);
  run = Run({"plan", "export", plan_, out});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.err.starts_with("skat-cli plan: plan export needs --format fgfs|fms|gpx\n"));
  run = Run({"plan", "export", plan_, "--format", "gpx"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.err.starts_with("skat-cli plan: plan export takes FILE.pln and OUT\n"));
  run = Run({"plan", "export", plan_, "--format", "gpx", out, "--paper", "a4"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.err.starts_with("skat-cli plan: plan export does not take --paper\n"));
  EXPECT_FALSE(folder_.Exists("out.kml"));

  CliRun help = RunCli({"plan", "--help"});
  EXPECT_NE(help.out.find("plan export FILE.pln --format fgfs|fms|gpx OUT [--yes]"),
            std::string::npos);
  EXPECT_NE(RunCli({"--help"}).out.find("import, print or export ND flight plans"),
            std::string::npos);
}

TEST_F(PlanExportCliTest, FailuresExitOneAndLeaveNothingBehind) {
  // A plan that cannot be read: the load's own message.
  CliRun run = Export((folder_ / "none.pln").string(), "gpx", (folder_ / "none.gpx").string());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("Error !: Cannot open the file."), std::string::npos) << run.err;
  EXPECT_FALSE(folder_.Exists("none.gpx"));

  // A folder that cannot take the file.
  folder_.Write("plain", "a file, not a folder");
  std::filesystem::create_directory(folder_ / "taken");
  const std::vector<std::string> namesBefore = FolderNames(folder_.path());
  const std::string blocked = (folder_ / "plain" / "out.gpx").string();
  run = Export(plan_, "gpx", blocked);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "skat-cli: cannot write " + blocked + ": Not a directory\n");
  EXPECT_EQ(run.out, "");

  // A target that is a folder: the temporary file is written beside it and
  // removed again when it cannot take the folder's name.
  run = Export(plan_, "fms", (folder_ / "taken").string(), true);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find(": Is a directory\n"), std::string::npos) << run.err;
  EXPECT_EQ(FolderNames(folder_.path()), namesBefore);
  EXPECT_TRUE(std::filesystem::is_empty(folder_ / "taken"));

  // A row the plan file does not hold in the row layout.
  std::string broken = planBytes_;
  broken.replace(broken.find("\r\nVOR  VVV") + 2, 3, "???");
  folder_.Write("broken.pln", broken);
  run = Export((folder_ / "broken.pln").string(), "fgfs", (folder_ / "broken.xml").string());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("skat-cli: cannot export the plan: row "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(" is not a plan row\n"), std::string::npos);
  EXPECT_FALSE(folder_.Exists("broken.xml"));
}

TEST_F(PlanExportCliTest, ExistingFilesAreReplacedOnlyWhenAsked) {
  folder_.Write("mine.gpx", "the user's own file");
  const std::string mine = (folder_ / "mine.gpx").string();
  CliRun run = Export(plan_, "gpx", mine);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "skat-cli: " + mine + " already exists (--yes replaces it)\n");
  EXPECT_EQ(folder_.Read("mine.gpx"), "the user's own file");
  run = Export(plan_, "gpx", mine, true);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(folder_.Read("mine.gpx").starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"));

  // Never the plan itself, not even with --yes and under another name.
  const std::string samePlan =
      (folder_ / "FlightPlans" / ".." / "FlightPlans" / "TRIP.pln").string();
  run = Export(plan_, "fms", samePlan, true);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "skat-cli: " + samePlan + " is the plan itself\n");
  EXPECT_EQ(folder_.Read("FlightPlans/TRIP.pln"), planBytes_);
}

}  // namespace
}  // namespace cli
