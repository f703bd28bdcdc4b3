// The database lock as the tests ask for it: the holder, or nothing with the
// refusal's message left in `refusal`, so that a test checks the message
// beside the outcome in one line.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "navdb/database_lock.h"

namespace testing_support {

inline std::optional<navdb::DatabaseLock> AcquireLock(const std::filesystem::path& navDataFolder,
                                                      navdb::LockMode mode,
                                                      std::string_view programName,
                                                      std::string& refusal,
                                                      const navdb::Reporter& ui = {}) {
  platform::Result<navdb::DatabaseLock> acquired =
      navdb::DatabaseLock::Acquire(navDataFolder, mode, programName, ui);
  if (!acquired) {
    refusal = acquired.error().message;
    return std::nullopt;
  }
  return std::move(acquired).value();
}

}  // namespace testing_support
