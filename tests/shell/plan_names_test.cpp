// Plan and aircraft names are file names in FlightPlans, never paths: the
// plan and perf commands refuse any other name before writing anything.
#include <gtest/gtest.h>

#include "navdb/database.h"
#include "navdb/geo_index.h"
#include "tests/planner/planner_fixtures.h"
#include "tests/shell/cli_runner.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace {

using testing_support::CliRun;
using testing_support::FileNamesIn;
using testing_support::RunCli;

std::string Refusal(const std::string& command, const std::string& what, const std::string& shown) {
  return "skat-cli " + command + ": The " + what + " name \"" + shown +
         "\" is not a file name: a name may not be empty or hold \"/\", \"\\\", \"..\" or control "
         "characters.\nUsage: skat-cli ";
}

TEST(PlanNames, ANameThatIsAPathIsRefusedBeforeAnythingIsWritten) {
  // The database lies two folders down, so that "../../x" would land in
  // the test's own folder.
  testing_support::TempFolder root;
  const std::filesystem::path navData = root / "Sim" / "NavData";
  std::filesystem::create_directories(navData);
  navdb::Database db = planner_test::SampleDatabase();
  db.folder = navData;
  testing_support::RecordingUi ui;
  navdb::RebuildIndex(db.lists, db.index, ui);
  ASSERT_TRUE(navdb::SaveDatabase(db, ui));
  auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--navdata", navData.string()});
    return RunCli(args);
  };
  const CliRun create =
      run({"plan", "create", "TRIP", "--departure", "AAAA", "--arrival", "BBBB", "--no-sid-star"});
  ASSERT_EQ(create.exitCode, 0) << create.err;
  const std::string trip = (navData / "FlightPlans" / "TRIP.pln").string();
  root.Write("x.fsp", "FS\r\nx\r\ny\r\n0\r\n0\r\n0\r\n0\r\n0\r\n250\r\nAAAA\r\nA\r\n-\r\nAPT\r\n");
  const std::vector<std::string> before = FileNamesIn(navData / "FlightPlans");

  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  for (const Case& c : std::vector<Case>{
           {{"perf", "save", "../../outside", "--cruise-altitude", "9000"},
            Refusal("perf", "aircraft", "../../outside")},
           {{"perf", "show", "../NavData/FlightPlans/TRIP.pln"},
            Refusal("perf", "aircraft", "../NavData/FlightPlans/TRIP.pln")},
           {{"perf", "save", "a\\b"}, Refusal("perf", "aircraft", "a\\b")},
           {{"perf", "save", "x\ny"}, Refusal("perf", "aircraft", "x?y")},
           {{"perf", "save", ""}, Refusal("perf", "aircraft", "")},
           {{"plan", "edit", trip, "--name", "../../evil"},
            Refusal("plan", "flight plan", "../../evil")},
           {{"plan", "edit", trip, "--name", ".."}, Refusal("plan", "flight plan", "..")},
           {{"plan", "edit", trip, "--perf", "/etc/passwd"},
            Refusal("plan", "aircraft", "/etc/passwd")},
           {{"plan", "create", "sub/TRIP", "--departure", "AAAA", "--arrival", "BBBB"},
            Refusal("plan", "flight plan", "sub/TRIP")},
           {{"plan", "create", "T\x7fRIP\t", "--departure", "AAAA", "--arrival", "BBBB"},
            Refusal("plan", "flight plan", "T?RIP?")},
           {{"plan", "import", (root / "x.fsp").string(), "--name", "../../evil"},
            Refusal("plan", "flight plan", "../../evil")},
       }) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + c.args.back());
    const CliRun refused = run(c.args);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err.substr(0, c.message.size()), c.message);
    EXPECT_EQ(refused.out, "");
  }
  EXPECT_EQ(FileNamesIn(root.path()), (std::vector<std::string>{"Sim", "x.fsp"}));
  EXPECT_EQ(FileNamesIn(navData / "FlightPlans"), before);

  // A dot inside a name is no folder: such names are kept.
  ASSERT_EQ(run({"perf", "save", "B737.v2", "--cruise-speed", "0.78"}).exitCode, 0);
  ASSERT_EQ(run({"plan", "edit", trip, "--name", "TRIP.copy"}).exitCode, 0);
  EXPECT_EQ(FileNamesIn(navData / "FlightPlans"),
            (std::vector<std::string>{"B737.v2.perf", "TRIP.copy.pln", "TRIP.pln"}));
}

}  // namespace
