// skat-cli as a process of its own, its standard streams on pipes: for
// tests of two programs at once and of programs that must not hang.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace testing_support {

struct CliProcess {
  pid_t pid = -1;
  int in = -1, out = -1, err = -1;
};

inline CliProcess SpawnCli(const std::vector<std::string>& args) {
  int in[2], out[2], err[2];
  EXPECT_EQ(::pipe(in), 0);
  EXPECT_EQ(::pipe(out), 0);
  EXPECT_EQ(::pipe(err), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) {
    posix_spawn_file_actions_addclose(&actions, fd);
  }
  std::vector<std::string> all = {SKAT_CLI_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);
  CliProcess process;
  EXPECT_EQ(::posix_spawn(&process.pid, SKAT_CLI_PATH, &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  process.in = in[1];
  process.out = out[0];
  process.err = err[0];
  return process;
}

// Reads `fd` until `until` has come (or to its end when `until` is empty).
inline std::string ReadFrom(int fd, std::string_view until = {}) {
  std::string text;
  char buffer[4096];
  while (until.empty() || text.find(until) == std::string::npos) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got <= 0) break;
    text.append(buffer, static_cast<size_t>(got));
  }
  return text;
}

struct Finished {
  int exitCode;
  std::string out, err;
  bool timedOut = false;
};

inline Finished Finish(CliProcess& process) {
  ::close(process.in);
  Finished result{-1, ReadFrom(process.out), ReadFrom(process.err)};
  ::close(process.out);
  ::close(process.err);
  int status = 0;
  ::waitpid(process.pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

// Finish, but a process still running after `limit` is killed, and the
// result says it timed out. Its output stays short (a pipe's buffer).
inline Finished FinishWithin(CliProcess& process, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  bool timedOut = false;
  while (::waitpid(process.pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(process.pid, SIGKILL);
      timedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  Finished result = Finish(process);  // reaps the killed process, reads what it wrote
  if (!timedOut) result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.timedOut = timedOut;
  return result;
}

}  // namespace testing_support
