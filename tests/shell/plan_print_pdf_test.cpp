// skat-cli plan print --pdf: the printout as a PDF document.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "planner/plan_file.h"
#include "shell/cli/commands.h"
#include "tests/shell/cli_runner.h"
#include "tests/shell/pdf_pages.h"
#include "tests/support/temp_folder.h"

namespace cli {
namespace {

using testing_support::CliRun;
using testing_support::RunCli;

using testing_support::PdfPageCount;

// A saved plan of `rowCount` computed-looking rows; returns its path.
std::string WritePlan(const testing_support::TempFolder& folder, int rowCount) {
  planner::PlannerState state;
  state.navDataFolder = folder.path();
  state.plan.planName = "LONG";
  state.plan.performance = {"B737", 2500, 280, 1800, 300, 35000, "0.78"};
  state.dialog.departureAirportText = "LFPG  ";
  state.dialog.arrivalAirportText = "LFML  ";
  for (int i = 0; i < rowCount; ++i) {
    char row[160];
    std::snprintf(row, sizeof row,
                  "VOR  V%-4d  VICTOR %-19d113.90  N48\xB0"
                  "51'24.00  E002\xB0"
                  "20'30.00  35000  090  %06.1f  00:%02d:00",
                  i, i, i * 10.0, i);
    state.dialog.rows.push_back(planner::ParsePlanRow(row));
  }
  folder.Write("LONG.pln", planner::EncodePlanFile(state));
  return (folder / "LONG.pln").string();
}

TEST(PlanPrintPdfTest, WritesOnePagePerPrintoutPage) {
  testing_support::TempFolder folder;
  const std::string navData = folder.path().string();
  const std::string plan = WritePlan(folder, 15);
  const CliRun text = RunCli({"--navdata", navData, "plan", "print", plan, "--text"});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_NE(text.out.find("page: 1/..\n\f"), std::string::npos) << text.out;

  const std::string pdf = (folder / "long.pdf").string();
  const CliRun print = RunCli({"--navdata", navData, "plan", "print", plan, "--pdf", pdf});
  ASSERT_EQ(print.exitCode, 0) << print.err;
  EXPECT_EQ(print.out, "");
  EXPECT_EQ(print.err, "");
  const std::string bytes = folder.Read("long.pdf");
  EXPECT_EQ(PdfPageCount(bytes), 2);
  EXPECT_NE(bytes.find("+LiberationMono"), std::string::npos);
  EXPECT_NE(bytes.find("/MediaBox [ 0 0 595.275591 841.889764 ]"), std::string::npos);

  const CliRun letter =
      RunCli({"--navdata", navData, "plan", "print", plan, "--pdf=" + pdf, "--paper", "letter"});
  ASSERT_EQ(letter.exitCode, 0) << letter.err;
  EXPECT_NE(folder.Read("long.pdf").find("/MediaBox [ 0 0 612 792 ]"), std::string::npos);

  const CliRun shortPlan =
      RunCli({"--navdata", navData, "plan", "print", WritePlan(folder, 14), "--pdf", pdf});
  ASSERT_EQ(shortPlan.exitCode, 0) << shortPlan.err;
  EXPECT_EQ(PdfPageCount(folder.Read("long.pdf")), 1);
}

TEST(PlanPrintPdfTest, TakesExactlyOneOutput) {
  testing_support::TempFolder folder;
  const std::string navData = folder.path().string();
  const std::string plan = WritePlan(folder, 2);
  const std::string pdf = (folder / "out.pdf").string();
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--navdata", navData, "plan", "print", plan},
           {"--navdata", navData, "plan", "print", plan, "--text", "--pdf", pdf},
           {"--navdata", navData, "plan", "print", plan, "--pdf"},
           {"--navdata", navData, "plan", "print", plan, "--pdf", pdf, "--paper", "a3"},
           {"--navdata", navData, "plan", "print", plan, "--text", "--paper", "letter"}}) {
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, 2) << args.back();
    EXPECT_NE(run.err.find("Usage: skat-cli plan"), std::string::npos) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(pdf));
  const CliRun both = RunCli({"--navdata", navData, "plan", "print", plan, "--text", "--pdf", pdf});
  EXPECT_NE(both.err.find("plan print takes one FILE and either --text or --pdf OUT.pdf"),
            std::string::npos)
      << both.err;
}

TEST(PlanPrintPdfTest, UnwritableOutputFailsWithoutAFile) {
  testing_support::TempFolder folder;
  const std::string navData = folder.path().string();
  const std::string plan = WritePlan(folder, 2);
  const std::string pdf = (folder / "missing" / "out.pdf").string();
  const CliRun run = RunCli({"--navdata", navData, "plan", "print", plan, "--pdf", pdf});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "skat-cli: cannot write " + pdf + ": No such file or directory\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));

  std::filesystem::create_directory(folder / "taken.pdf");
  const std::string taken = (folder / "taken.pdf").string();
  const CliRun blocked = RunCli({"--navdata", navData, "plan", "print", plan, "--pdf", taken});
  EXPECT_EQ(blocked.exitCode, 1);
  EXPECT_EQ(blocked.err, "skat-cli: cannot write " + taken + ": Is a directory\n");
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 2);  // the plan and the folder in the way, no temporary file
}

TEST(PlanPrintPdfTest, MissingPlanIsReported) {
  testing_support::TempFolder folder;
  const std::string pdf = (folder / "out.pdf").string();
  const CliRun run = RunCli({"--navdata", folder.path().string(), "plan", "print",
                             (folder / "none.pln").string(), "--pdf", pdf});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("Cannot open the file."), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

}  // namespace
}  // namespace cli
