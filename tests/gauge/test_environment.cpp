#include "test_environment.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace gauge_test {

namespace {

// Every test process gets its own shared-memory names, so tests running in
// parallel never meet in "NDPassData" or the route blocks.
const std::string kPrefix = [] {
  std::string prefix = "skat_test_" + std::to_string(::getpid()) + "_";
  ::setenv("SKAT_SHM_PREFIX", prefix.c_str(), 1);
  return prefix;
}();

}  // namespace

const std::string& SharedMemoryPrefix() {
  return kPrefix;
}

SimulatorFolder::SimulatorFolder() {
  std::filesystem::create_directories(path() / "Gauges");
  std::filesystem::create_directories(path() / "NavData");
}

}  // namespace gauge_test
