// Runs a shell command line as the tests' tools do from a terminal, and
// keeps what it printed on each stream and how it ended.
#pragma once

#include <string>
#include <string_view>

namespace packaging_test {

struct CommandRun {
  int exitCode = -1;  // -1 when the command did not end normally
  std::string out;
  std::string err;
};

// Runs `commandLine` with /bin/sh.
CommandRun RunCommand(const std::string& commandLine);

// `text` quoted for the shell.
std::string Quoted(std::string_view text);

// The whole of a file's bytes; empty when it cannot be read.
std::string FileBytes(const std::string& path);

}  // namespace packaging_test
