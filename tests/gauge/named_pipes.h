// Named pipes where the display or the host expects files. A program that
// opens one without O_NONBLOCK waits in open() until another opens the other
// end, and so would a test of it: ReturnsWithin plays that other program once
// the time allowed has passed, so that such an open fails the test instead of
// hanging it. The time allowed is far beyond what the calls need even in a
// sanitizer build on a busy machine: a call that waits on a pipe waits for
// ever.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

namespace gauge_test {

class NamedPipes {
 public:
  explicit NamedPipes(std::vector<std::filesystem::path> paths) : paths_(std::move(paths)) {
    for (const std::filesystem::path& path : paths_)
      made_ = ::mkfifo(path.c_str(), 0600) == 0 && made_;
  }
  bool Made() const { return made_; }

  // Runs `call` and tells whether it returned within `limit`. Past the limit
  // both ends of every pipe are opened until the call returns: a reader
  // blocked in open() then reads an empty pipe (the writing end is closed
  // again and again), and a writer blocked in open() writes into the pipe's
  // buffer, which is held open for it.
  template <typename Call>
  bool ReturnsWithin(Call&& call, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    std::atomic<bool> returned = false;
    const auto start = std::chrono::steady_clock::now();
    std::thread release([&] {
      while (!returned && std::chrono::steady_clock::now() - start < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      if (returned) return;
      std::vector<int> readers;
      for (const std::filesystem::path& path : paths_)
        readers.push_back(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
      while (!returned) {
        std::vector<int> writers;
        for (const std::filesystem::path& path : paths_)
          writers.push_back(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        for (int writer : writers) {
          if (writer >= 0) ::close(writer);
        }
      }
      for (int reader : readers) {
        if (reader >= 0) ::close(reader);
      }
    });
    call();
    const bool inTime = std::chrono::steady_clock::now() - start < limit;
    returned = true;
    release.join();
    return inTime;
  }

 private:
  std::vector<std::filesystem::path> paths_;
  bool made_ = true;
};

}  // namespace gauge_test
