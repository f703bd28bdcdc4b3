// Shared pieces of the display's tests.
#pragma once

#include <string>

#include "tests/support/temp_folder.h"

namespace gauge_test {

// A fresh simulator folder with "Gauges" and "NavData", removed at the end.
class SimulatorFolder : public testing_support::TempFolder {
 public:
  SimulatorFolder();
};

// The shared-memory prefix this test process uses (set from its process id).
const std::string& SharedMemoryPrefix();

}  // namespace gauge_test
