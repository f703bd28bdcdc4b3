#include "test_environment.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace gauge_test {

namespace {

// Every test process gets its own shared-memory names, so tests running in
// parallel never meet in "NDPassData" or the route blocks.
const std::string kPrefix = [] {
  std::string prefix = "skat_test_" + std::to_string(::getpid()) + "_";
  ::setenv("SKAT_SHM_PREFIX", prefix.c_str(), 1);
  return prefix;
}();

int folderCounter = 0;

}  // namespace

const std::string& SharedMemoryPrefix() {
  return kPrefix;
}

SimulatorFolder::SimulatorFolder() {
  path_ = std::filesystem::temp_directory_path() /
          ("lumaro_sim_" + std::to_string(::getpid()) + "_" + std::to_string(folderCounter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_ / "Gauges");
  std::filesystem::create_directories(path_ / "NavData");
}

SimulatorFolder::~SimulatorFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void SimulatorFolder::Write(const std::string& relativePath, const std::string& bytes) const {
  std::filesystem::path file = path_ / relativePath;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

std::string SimulatorFolder::Read(const std::string& relativePath) const {
  std::ifstream file(path_ / relativePath, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool SimulatorFolder::Exists(const std::string& relativePath) const {
  return std::filesystem::exists(path_ / relativePath);
}

}  // namespace gauge_test
