// Runs the built Lumaro.gau in the host library, in a fresh simulator folder.
#pragma once

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "module_host.h"
#include "platform/shared_memory.h"
#include "route_publisher.h"
#include "test_environment.h"
#include "tests/support/database_writer.h"

namespace gauge_test {

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    (void)SharedMemoryPrefix();
    ::shm_unlink(platform::SharedMemoryName("NDPassData").c_str());
  }
  void TearDown() override {
    host_.reset();
    ::shm_unlink(platform::SharedMemoryName("NDPassData").c_str());
  }

  ndhost::ModuleHost& Load(ndhost::HostOptions options = {}) {
    options.simulatorRoot = folder_.path();
    platform::Result<std::unique_ptr<ndhost::ModuleHost>> loaded =
        ndhost::ModuleHost::Load(LUMARO_MODULE_PATH, options);
    EXPECT_TRUE(loaded) << loaded.error().message;
    if (loaded) host_ = std::move(loaded).value();
    return *host_;
  }
  ndhost::ModuleHost& Start(ndhost::HostOptions options = {}) {
    Load(options);
    host_->Start();
    return *host_;
  }
  // Frames a quarter of a second apart.
  void Run(int frames) {
    for (int frame = 0; frame < frames; ++frame) {
      host_->Frame();
      host_->AdvanceClock(0.25);
    }
  }
  // Past the 4-second start-up delay, with the first loader run finished.
  void Settle() {
    Run(20);
    for (int wait = 0; wait < 400 && host_->Diagnostics().loading; ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      Run(1);
    }
    Run(2);
  }
  const LumaroDiagnostics& State() const { return host_->Diagnostics(); }

  SimulatorFolder folder_;
  std::unique_ptr<ndhost::ModuleHost> host_;
};

inline int ShownCount(const LumaroDisplayRecord* records, int capacity) {
  int count = 0;
  while (count < capacity && records[count].shown != 0) ++count;
  return count;
}

}  // namespace gauge_test
