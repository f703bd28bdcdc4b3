#include "navdb/database_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "tests/support/temp_folder.h"

namespace navdb {
namespace {

using testing_support::TempFolder;

std::string InUseText(std::string_view program, pid_t pid) {
  return "The database is in use by " + std::string(program) + " (process " + std::to_string(pid) +
         "). Try again when it has finished.";
}

TEST(DatabaseLock, OneWriterOrManyReaders) {
  TempFolder folder;
  std::string refusal;
  std::optional<DatabaseLock> writer =
      DatabaseLock::Acquire(folder.path(), LockMode::Exclusive, "writer", refusal);
  ASSERT_TRUE(writer);
  EXPECT_EQ(writer->Mode(), LockMode::Exclusive);
  EXPECT_EQ(folder.Read("skat.lock"), "writer " + std::to_string(::getpid()) + "\n");
  for (LockMode mode : {LockMode::Exclusive, LockMode::Shared}) {
    refusal.clear();
    EXPECT_FALSE(DatabaseLock::Acquire(folder.path(), mode, "second", refusal));
    EXPECT_EQ(refusal, InUseText("writer", ::getpid()));
  }
  // Moving keeps the lock; only the end of its last holder releases it.
  std::optional<DatabaseLock> moved = std::move(writer);
  writer.reset();
  EXPECT_FALSE(DatabaseLock::Acquire(folder.path(), LockMode::Shared, "reader", refusal));
  moved.reset();
  EXPECT_EQ(folder.Read("skat.lock"), "");

  std::optional<DatabaseLock> reader =
      DatabaseLock::Acquire(folder.path(), LockMode::Shared, "reader", refusal);
  std::optional<DatabaseLock> otherReader =
      DatabaseLock::Acquire(folder.path(), LockMode::Shared, "reader2", refusal);
  ASSERT_TRUE(reader && otherReader);
  EXPECT_FALSE(DatabaseLock::Acquire(folder.path(), LockMode::Exclusive, "writer", refusal));
  EXPECT_EQ(refusal, InUseText("reader", ::getpid()));
  // The first reader to come names itself; the last one to leave takes the name out.
  otherReader.reset();
  EXPECT_EQ(folder.Read("skat.lock"), "reader " + std::to_string(::getpid()) + "\n");
  reader.reset();
  EXPECT_EQ(folder.Read("skat.lock"), "");
  EXPECT_TRUE(DatabaseLock::Acquire(folder.path(), LockMode::Exclusive, "writer", refusal));
}

TEST(DatabaseLock, AHolderInAnotherProcessIsNamedAndItsDeathFreesTheLock) {
  TempFolder folder;
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::string refusal;
    auto lock = DatabaseLock::Acquire(folder.path(), LockMode::Exclusive, "skat-cli", refusal);
    const char state = lock ? 'y' : 'n';
    if (::write(ready[1], &state, 1) != 1) ::_exit(1);
    ::pause();  // holds the lock until killed, never releasing it itself
    ::_exit(0);
  }
  char state = 0;
  ASSERT_EQ(::read(ready[0], &state, 1), 1);
  ASSERT_EQ(state, 'y');
  std::string refusal;
  EXPECT_FALSE(DatabaseLock::Acquire(folder.path(), LockMode::Exclusive, "skat", refusal));
  EXPECT_EQ(refusal, InUseText("skat-cli", child));
  EXPECT_FALSE(DatabaseLock::Acquire(folder.path(), LockMode::Shared, "skat", refusal));

  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  // The dead holder's name is still in the file, but its lock went with it.
  EXPECT_EQ(folder.Read("skat.lock"), "skat-cli " + std::to_string(child) + "\n");
  std::optional<DatabaseLock> lock =
      DatabaseLock::Acquire(folder.path(), LockMode::Exclusive, "skat", refusal);
  EXPECT_TRUE(lock);
  EXPECT_EQ(folder.Read("skat.lock"), "skat " + std::to_string(::getpid()) + "\n");
}

TEST(DatabaseLock, AMissingFolderIsAFailureWithItsReason) {
  TempFolder folder;
  std::string refusal;
  EXPECT_FALSE(DatabaseLock::Acquire(folder / "absent", LockMode::Exclusive, "skat", refusal));
  EXPECT_EQ(refusal, "Can't create file " + (folder / "absent" / "skat.lock").string() +
                         "\r\rNo such file or directory");
  EXPECT_EQ(LockRefusalText(""),
            "The database is in use by another program. Try again when it "
            "has finished.");
}

}  // namespace
}  // namespace navdb
