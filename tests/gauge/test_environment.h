// Shared pieces of the display's tests.
#pragma once

#include <filesystem>
#include <string>

namespace gauge_test {

// A fresh simulator folder with "Gauges" and "NavData", removed at the end.
class SimulatorFolder {
 public:
  SimulatorFolder();
  ~SimulatorFolder();
  SimulatorFolder(const SimulatorFolder&) = delete;
  SimulatorFolder& operator=(const SimulatorFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  void Write(const std::string& relativePath, const std::string& bytes) const;
  std::string Read(const std::string& relativePath) const;
  bool Exists(const std::string& relativePath) const;

 private:
  std::filesystem::path path_;
};

// The shared-memory prefix this test process uses (set from its process id).
const std::string& SharedMemoryPrefix();

}  // namespace gauge_test
