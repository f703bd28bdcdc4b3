// Runs skat-cli in the test process and keeps what it printed.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "shell/cli/commands.h"

namespace testing_support {

struct CliRun {
  int exitCode;
  std::string out;
  std::string err;
};

inline CliRun RunCli(const std::vector<std::string>& args, const std::string& input = "",
                     bool inputIsTerminal = false) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int exitCode = cli::RunSkatCli(args, in, out, err, inputIsTerminal);
  return {exitCode, out.str(), err.str()};
}

}  // namespace testing_support
