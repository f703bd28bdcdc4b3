// One writer at a time: a program that changes the database holds the lock
// file in the NavData folder exclusively for its whole load-change-save;
// programs that only read it hold it shared. The lock is flock(2), so the
// kernel drops it when its holder ends, however it ends: a lock left by a
// dead process never blocks.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "navdb/reporter.h"
#include "platform/result.h"

namespace navdb {

inline constexpr std::string_view kLockFileName = "skat.lock";

enum class LockMode { Shared, Exclusive };

class DatabaseLock {  // RAII, move-only; releases on destruction
 public:
  // Tries once, never waits. A refusal's message is the one to show (it
  // names the holder: program name and process id).
  //
  // Before it returns the lock, it makes the set of a save that was killed
  // half-way whole again (see database_recovery.h) and tells `ui` so; a
  // reader takes the lock exclusively for that while nobody else holds it,
  // and is refused when others do. An exclusive holder then removes the
  // temporary files of killed saves.
  static platform::Result<DatabaseLock> Acquire(const std::filesystem::path& navDataFolder,
                                                LockMode mode, std::string_view programName,
                                                const Reporter& ui = {});

  DatabaseLock(DatabaseLock&& other) noexcept;
  DatabaseLock& operator=(DatabaseLock&& other) noexcept;
  DatabaseLock(const DatabaseLock&) = delete;
  DatabaseLock& operator=(const DatabaseLock&) = delete;
  ~DatabaseLock();

  LockMode Mode() const { return mode_; }

 private:
  DatabaseLock(int fd, LockMode mode) : fd_(fd), mode_(mode) {}
  // Finishes an interrupted save and clears the leftovers of killed ones.
  platform::Status PrepareFolder(const std::filesystem::path& navDataFolder,
                                 std::string_view programName, const Reporter& ui);
  void Release();

  int fd_ = -1;  // -1: a reader of a folder where no lock file can be made
  LockMode mode_ = LockMode::Shared;
};

// The refusal text for a lock held by `holder` ("program pid" as the lock
// file holds it; empty when the holder has not written it yet).
std::string LockRefusalText(std::string_view holder);

}  // namespace navdb
