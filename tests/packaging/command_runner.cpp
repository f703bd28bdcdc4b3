#include "tests/packaging/command_runner.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/support/temp_folder.h"

namespace packaging_test {

CommandRun RunCommand(const std::string& commandLine) {
  // Standard error goes to a file while standard output is read, so that
  // neither stream can fill its pipe and stop the command.
  const testing_support::TempFolder folder;
  const std::string errFile = (folder / "stderr").string();
  CommandRun run;
  std::FILE* pipe = ::popen(("(" + commandLine + ") 2>" + Quoted(errFile)).c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) run.out.append(buffer, count);
  const int status = ::pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = FileBytes(errFile);
  return run;
}

std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace packaging_test
