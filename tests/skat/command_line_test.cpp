// skat's --help and --version, answered before any window is made.
#include "shell/skat/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "shell/core/app_state.h"

namespace {

TEST(SkatCommandLine, HelpAndVersionAnswerWithoutStarting) {
  const std::string titlePrefix = "Skyatlas v";
  ASSERT_EQ(shell::kWindowTitle.substr(0, titlePrefix.size()), titlePrefix);
  const std::string version =
      "skat (Skyatlas) " + std::string(shell::kWindowTitle.substr(titlePrefix.size())) + '\n';
  const std::string usage = "Usage: skat [SIMULATOR_FOLDER]\n  or:  skat --help | --version\n\n";

  struct Case {
    std::vector<std::string> arguments;
    std::string answerStart;  // empty: the program starts
  };
  const Case kCases[] = {
      {{"--help"}, usage},
      {{"-h"}, usage},
      {{"/sim/FS2002", "--help"}, usage},
      {{"--version"}, version},
      {{"-platform", "offscreen", "--version"}, version},
      {{}, ""},
      {{"/sim/FS2002"}, ""},
      {{"-platform", "offscreen", "/sim/FS2002/NavData"}, ""},
      {{"--helpful"}, ""},
  };
  for (const Case& c : kCases) {
    std::string trace;
    for (const std::string& argument : c.arguments) trace += argument + ' ';
    SCOPED_TRACE(trace);
    std::ostringstream out;
    const std::optional<int> exitCode = AnswerHelpOrVersion(c.arguments, out);
    if (c.answerStart.empty()) {
      EXPECT_FALSE(exitCode.has_value());
      EXPECT_EQ(out.str(), "");
      continue;
    }
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(out.str().rfind(c.answerStart, 0), 0u) << out.str();
    if (c.answerStart == version) {
      EXPECT_EQ(out.str(), version);
    }
  }
}

}  // namespace
