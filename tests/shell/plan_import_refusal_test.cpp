// skat-cli plan import of files it must refuse or cannot take whole, and
// the plan commands on named pipes in place of their files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/shell/cli_runner.h"
#include "tests/support/named_pipe.h"
#include "tests/support/temp_folder.h"

namespace {

using testing_support::RunCli;

TEST(PlanImportRefusal, NeitherFormIsRefusedAndNothingIsWritten) {
  testing_support::TempFolder folder;
  const std::string navData = folder.path().string();
  folder.Write("empty.pln", "");
  folder.Write("junk.fsp", std::string(500, '\x01'));
  folder.Write("high.pln",
               "cruising_altitude=-99999999999999999999\r\n"
               "waypoint.0=AAAA, A, N0* 0.00', E0* 0.00', +000000.00,\r\n");
  const std::pair<const char*, const char*> cases[] = {
      {"empty.pln",
       "Error !: The file is not an FS200X flight plan: no waypoint can be read from it.\n"},
      {"junk.fsp",
       "Error !: The file is not a Flight Shop flight plan: no waypoint can be read from it.\n"},
      {"high.pln",
       "Error !: The cruising altitude of the flight plan is outside 0 to 99,999 ft.\n"},
  };
  for (const auto& [file, message] : cases) {
    const auto run = RunCli({"--navdata", navData, "plan", "import", (folder / file).string()});
    EXPECT_EQ(run.exitCode, 1) << file;
    EXPECT_EQ(run.err, message);
    EXPECT_EQ(run.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "FlightPlans"));
}

TEST(PlanImportRefusal, APlanLongerThanAPlanCanHoldIsRefusedWhole) {
  testing_support::TempFolder folder;
  std::string flightShop = "FS\r\nx\r\ny\r\n1500\r\n220\r\n1200\r\n250\r\n9000\r\n0.70\r\n";
  for (int i = 0; i < 300; ++i) flightShop += "W" + std::to_string(i) + "\r\nNAME\r\n-\r\nFIX\r\n";
  folder.Write("long.fsp", flightShop);
  std::string fs200x = "[flightplan]\r\n";
  for (int i = 0; i < 602; ++i) {
    fs200x += "waypoint." + std::to_string(i) + "=W" + std::to_string(i) +
              ", I, N1* 0.00', E1* 0.00', +000000.00,\r\n";
  }
  folder.Write("long.pln", fs200x);
  const std::pair<const char*, const char*> cases[] = {
      {"long.fsp", "300"},
      {"long.pln", "602"},
  };
  for (const auto& [file, count] : cases) {
    const auto run = RunCli({"--navdata", folder.path().string(), "plan", "import",
                             (folder / file).string(), "--missing=skip", "--yes"});
    EXPECT_EQ(run.exitCode, 1) << file;
    EXPECT_EQ(run.err, std::string("Error !: The flight plan has ") + count +
                           " waypoints: a plan holds at most 256 rows, as many as the navigation "
                           "display shows.\n");
    EXPECT_EQ(run.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "FlightPlans"));
}

TEST(PlanImportRefusal, NamedPipesInPlaceOfPlanFilesEndAtOnceWithTheReason) {
  testing_support::TempFolder folder;
  std::filesystem::create_directory(folder / "FlightPlans");
  const std::filesystem::path perf = folder / "FlightPlans" / "PIPE.perf";
  const std::filesystem::path plan = folder / "FlightPlans" / "PIPE.pln";
  const std::filesystem::path foreign = folder / "PIPE.pln";
  for (const std::filesystem::path& pipe : {perf, plan, foreign}) {
    ASSERT_TRUE(testing_support::MakeNamedPipe(pipe));
  }
  const std::string navData = folder.path().string();
  const std::pair<std::filesystem::path, std::vector<std::string>> cases[] = {
      {perf, {"--navdata", navData, "perf", "show", "PIPE"}},
      {plan, {"--navdata", navData, "plan", "print", plan.string(), "--text"}},
      {plan, {"--navdata", navData, "plan", "compute", plan.string()}},
      {foreign, {"--navdata", navData, "plan", "import", foreign.string()}},
  };
  for (const auto& [pipe, args] : cases) {
    SCOPED_TRACE(args[2] + " " + args[3]);
    testing_support::CliRun run{};
    EXPECT_TRUE(testing_support::EndsPromptly(pipe, [&, &args = args] { run = RunCli(args); }));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Error !: Cannot open the file.\n\n" + pipe.string() +
                           ": Not a regular file (a named pipe, a device or a socket)\n");
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
