// The arguments every skat-cli command refuses, with the exact message, the
// command's usage after it and exit 2; and the program's own options, which
// may stand before or after the command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/core/app_state.h"
#include "tests/shell/cli_runner.h"

namespace {

using testing_support::CliRun;
using testing_support::RunCli;

struct RefusedArguments {
  std::vector<std::string> args;  // the command's name first
  std::string problem;            // the line before the usage
};

TEST(CliArguments, EachCommandRefusesWithItsMessageAndUsage) {
  const RefusedArguments kCases[] = {
      {{"check", "extra"}, "unexpected argument 'extra'"},
      {{"check", "--bogus"}, "unexpected argument '--bogus'"},
      {{"index", "--yes"}, "unexpected argument '--yes'"},
      {{"restore", "--no"}, "unexpected argument '--no'"},
      {{"restore", "-y", "now"}, "unexpected argument 'now'"},
      {{"restore", "--yes=1"}, "unexpected argument '--yes=1'"},
      {{"find", "ndb"}, "expected KIND and TEXT"},
      {{"find", "ndb", "A", "B"}, "expected KIND and TEXT"},
      {{"find", "ndb", "A", "--bogus"}, "unknown option '--bogus'"},
      {{"find", "--", "ndb", "A"}, "unknown option '--'"},
      {{"find", "--raw=1", "ndb", "A"}, "unknown option '--raw=1'"},
      {{"unpack", "in.bgl"}, "expected FILE and OUT"},
      {{"unpack", "in.bgl", "out.bin", "--force"}, "unknown option '--force'"},
      {{"scan"}, "expected ROOT"},
      {{"scan", "A", "B"}, "expected ROOT"},
      {{"scan", "--bogus", "R"}, "unknown option '--bogus'"},
      // The scan's valued options are written "--name=value" only.
      {{"scan", "R", "--duplicates", "keep-new"}, "unknown option '--duplicates'"},
      {{"scan", "R", "--min-runway-length", "2000"}, "unknown option '--min-runway-length'"},
      {{"scan", "R", "--rebuild=yes"}, "unknown option '--rebuild=yes'"},
      {{"scan", "R", "--min-runway-length="}, "bad runway length ''"},
      {{"scan", "R", "--min-runway-length=99999999999"}, "bad runway length '99999999999'"},
      {{"scan", "R", "--duplicates="}, "unknown duplicate policy ''"},
      {{"import-navdata"}, "expected DIR"},
      {{"import-navdata", "D", "--rebuild"}, "unknown option '--rebuild'"},
      {{"import-navdata", "D", "--stop-on-error"}, "unknown option '--stop-on-error'"},
      {{"import-navdata", "D", "--min-runway-length=10"},
       "unknown option '--min-runway-length=10'"},
      {{"import-navdata", "D", "--duplicates=x"}, "unknown duplicate policy 'x'"},
      {{"plan", "create", "T", "--departure"}, "--departure needs a value"},
      {{"plan", "create", "T", "--frobnicate=3"}, "unknown option '--frobnicate=3'"},
      {{"perf", "save", "B737", "--climb-rate"}, "--climb-rate needs a value"},
  };
  for (const RefusedArguments& refused : kCases) {
    std::string trace;
    for (const std::string& arg : refused.args) trace += arg + ' ';
    SCOPED_TRACE(trace);
    const std::string& command = refused.args.front();
    const CliRun run = RunCli(refused.args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "skat-cli " + command + ": " + refused.problem + '\n' +
                           RunCli({command, "--help"}).out);
  }
}

TEST(CliArguments, ProgramOptionsBeforeAndAfterTheCommand) {
  const std::string usage = RunCli({"--help"}).out;
  ASSERT_EQ(usage.rfind("Usage: skat-cli [--navdata DIR] [--verbose] COMMAND", 0), 0u);

  CliRun run = RunCli({});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "skat-cli: no command given\n" + usage);
  run = RunCli({"--verbose"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "skat-cli: no command given\n" + usage);
  run = RunCli({"--navdata"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "skat-cli: --navdata needs a folder\n" + usage);
  run = RunCli({"check", "--navdata"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "skat-cli: --navdata needs a folder\n" + usage);
  // An option the program does not know, before any command, is taken for the command.
  run = RunCli({"--bogus", "check"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "skat-cli: unknown command '--bogus'\n" + usage);
  run = RunCli({"frobnicate"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "skat-cli: unknown command 'frobnicate'\n" + usage);

  // Help asked before the command wins over what follows it.
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--help", "--navdata"}, {"--verbose", "-h", "check"}, {"--help", "frobnicate"}}) {
    run = RunCli(args);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, usage);
    EXPECT_EQ(run.err, "");
  }
  // After the command, --help is the command's and --verbose an argument of it.
  run = RunCli({"check", "--help", "--navdata=/nowhere"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out.rfind("Usage: skat-cli check\n", 0), 0u);
  run = RunCli({"check", "--verbose"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err.rfind("skat-cli check: unexpected argument '--verbose'\n", 0), 0u);

  // --navdata after the command names the folder as well as before it; the last one counts.
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"check", "--navdata=/nowhere/skat"},
           {"check", "--navdata", "/nowhere/skat"},
           {"--navdata=/elsewhere", "check", "--navdata", "/nowhere/skat"}}) {
    run = RunCli(args);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Error: The folder /nowhere/skat does not exist.\n");
  }
}

// --version answers before any command, in the form man-page tools read
// ("name (package) version"), with the version the window title shows.
TEST(CliArguments, VersionBeforeTheCommand) {
  const std::string titlePrefix = "Skyatlas v";
  ASSERT_EQ(shell::kWindowTitle.substr(0, titlePrefix.size()), titlePrefix);
  const std::string version =
      "skat-cli (Skyatlas) " + std::string(shell::kWindowTitle.substr(titlePrefix.size())) + '\n';
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--version"},
                                             {"--verbose", "--version", "check"},
                                             {"--navdata=/nowhere", "--version"}}) {
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, version);
    EXPECT_EQ(run.err, "");
  }
  // After the command it is the command's argument, and refused.
  const CliRun run = RunCli({"check", "--version"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err.rfind("skat-cli check: unexpected argument '--version'\n", 0), 0u);
  // The program's usage names it, as a second form of the synopsis.
  EXPECT_EQ(RunCli({"--help"})
                .out.rfind("Usage: skat-cli [--navdata DIR] [--verbose] COMMAND "
                           "[ARGS...]\n  or:  skat-cli --help | --version\n\n",
                           0),
            0u);
}

}  // namespace
