// bash completion of skat-cli, run as bash-completion runs it: the line is
// split into words as readline splits it ("--duplicates=" gives the word
// "=" of its own), the script's function fills COMPREPLY, and every word
// comes from the program built here. The values it offers are the ones the
// program takes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/packaging/command_runner.h"
#include "tests/support/temp_folder.h"

namespace {

using packaging_test::CommandRun;
using packaging_test::Quoted;
using packaging_test::RunCommand;
using Words = std::set<std::string>;

constexpr const char* kHarness = R"(
source "$1"
source "$2"
compopt() { :; }  # only a running completion may change its options
line="$3 $4"
COMP_WORDS=()
for token in $line; do
  while [[ $token =~ ^([^=:]*)([=:])(.*)$ ]]; do
    [[ -n ${BASH_REMATCH[1]} ]] && COMP_WORDS+=("${BASH_REMATCH[1]}")
    COMP_WORDS+=("${BASH_REMATCH[2]}")
    token=${BASH_REMATCH[3]}
  done
  [[ -n $token ]] && COMP_WORDS+=("$token")
done
[[ $line == *" " ]] && COMP_WORDS+=("")
COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
COMP_LINE=$line
COMP_POINT=${#line}
COMPREPLY=()
_skat_cli "${COMP_WORDS[0]}" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
printf '%s\n' "${COMPREPLY[@]}"
)";

class Completion : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folder_ / "NavData");
    folder_.Write("trip.pln", "");
  }

  // What completes `arguments` (the line after the program's name), with
  // the test's folder, holding NavData/ and trip.pln, as the current one.
  Words Complete(const std::string& arguments) const {
    const std::string script = std::string(SKAT_SOURCE_DIR) + "/packaging/completion/skat-cli";
    const CommandRun run =
        RunCommand("cd " + Quoted(folder_.path().string()) + " && " + Quoted(BASH_PATH) + " -c " +
                   Quoted(kHarness) + " harness " + Quoted(BASH_COMPLETION_PATH) + " " +
                   Quoted(script) + " " + Quoted(SKAT_CLI_PATH) + " " + Quoted(arguments));
    EXPECT_EQ(run.exitCode, 0) << arguments;
    EXPECT_EQ(run.err, "") << arguments;
    Words words;
    std::istringstream lines(run.out);
    for (std::string word; std::getline(lines, word);) {
      if (!word.empty()) words.insert(word);
    }
    return words;
  }

  testing_support::TempFolder folder_;
};

TEST_F(Completion, CommandsOptionsAndTheirValuesFromTheProgram) {
  const Words commands = Complete("");
  for (const char* command : {"check", "index", "restore", "find", "plan", "perf", "scan", "unpack",
                              "import-navdata", "entry", "journal"}) {
    EXPECT_EQ(commands.count(command), 1u) << command;
  }
  EXPECT_TRUE(std::none_of(commands.begin(), commands.end(),
                           [](const std::string& word) { return word[0] == '-'; }));

  struct Case {
    std::string arguments;
    Words completions;
  };
  const Case kCases[] = {
      {"--", {"--help", "--navdata", "--verbose", "--version"}},
      {"find ", {"apt", "int", "ndb", "vor"}},
      {"--navdata NavData find v", {"vor"}},
      {"find vor ", {}},
      {"scan ROOT --duplicates=", {"abort", "ask", "keep-both", "keep-existing", "keep-new"}},
      // import-navdata's text refers to scan's for the words of POLICY.
      {"import-navdata DIR --duplicates=keep-", {"keep-both", "keep-existing", "keep-new"}},
      {"scan --re", {"--rebuild"}},
      {"scan ROOT --",
       {"--duplicates=", "--help", "--journal=", "--min-runway-length=", "--navdata", "--rebuild",
        "--stop-on-error"}},
      {"restore --journal=", {"apply", "ask", "skip"}},
      {"scan ROOT --journal=", {"apply", "ask", "skip"}},
      {"journal ", {"drop", "export", "list", "replay", "show"}},
      {"entry ", {"add", "delete", "modify", "show"}},
      {"plan ", {"compute", "create", "edit", "export", "import", "print"}},
      {"plan export trip.pln --format ", {"fgfs", "fms", "gpx"}},
      {"plan print trip.pln --paper ", {"a4", "letter"}},
      {"plan print trip.pln --paper=l", {"letter"}},
      {"plan import trip.pln --missing=", {"ask", "skip"}},
      {"plan create T --via ", {"apt:", "int:", "ndb:", "vor:"}},
      {"plan edit trip.pln --insert 2 v", {"vor:"}},
      {"plan edit trip.pln --move 2 ", {"down", "up"}},
      {"plan create T --climb-rate ", {}},
      {"perf save B737 --cl", {"--climb-rate", "--climb-speed"}},
      {"perf ", {"save", "show"}},
      // Folders where a folder is asked for, files where a file is.
      {"--navdata ", {"NavData"}},
      {"scan ", {"NavData"}},
      {"plan export ", {"NavData", "trip.pln"}},
      {"plan export trip.pln --format gpx ", {"NavData", "trip.pln"}},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(Complete(c.arguments), c.completions) << c.arguments;
  }
}

// Each value offered is one the program takes (the command then fails on
// the missing files, exit 1), where a made-up one is refused as a bad
// argument (exit 2).
TEST_F(Completion, TheValuesOfferedAreTheOnesTheProgramTakes) {
  struct Case {
    std::string completing;  // the line that offers the values
    std::string run;         // a command line with VALUE in the value's place
  };
  const Case kCases[] = {
      {"scan ROOT --duplicates=", "scan /nowhere --duplicates=VALUE"},
      {"find ", "find VALUE TEXT"},
      {"restore --journal=", "restore --yes --journal=VALUE"},
      {"plan export trip.pln --format ", "plan export /nowhere.pln --format VALUE out.gpx"},
      {"plan print trip.pln --paper ", "plan print /nowhere.pln --pdf out.pdf --paper VALUE"},
      {"plan import trip.pln --missing=", "plan import /nowhere.fsp --missing=VALUE"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.completing);
    Words values = Complete(c.completing);
    ASSERT_FALSE(values.empty());
    values.insert("made-up");
    for (const std::string& value : values) {
      std::string line = c.run;
      line.replace(line.find("VALUE"), 5, value);
      const CommandRun run = RunCommand(Quoted(SKAT_CLI_PATH) + " --navdata " +
                                        Quoted((folder_ / "missing").string()) + " " + line);
      EXPECT_EQ(run.exitCode, value == "made-up" ? 2 : 1) << line << "\n" << run.err;
    }
  }
}

}  // namespace
