// Runs the ndhost program built from this tree (NDHOST_PATH) and collects
// what it printed on both streams and how it ended.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace ndhost_test {

struct RunResult {
  int exitCode = -1;
  std::string output;
};

inline RunResult RunNdhost(const std::string& arguments) {
  std::string command = std::string(NDHOST_PATH) + " " + arguments + " 2>&1";
  RunResult result;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[512];
  while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr) result.output += buffer;
  int status = ::pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace ndhost_test
