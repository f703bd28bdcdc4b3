#include "navdb/database_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "tests/support/lock_acquire.h"
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
      testing_support::AcquireLock(folder.path(), LockMode::Exclusive, "writer", refusal);
  ASSERT_TRUE(writer);
  EXPECT_EQ(writer->Mode(), LockMode::Exclusive);
  EXPECT_EQ(folder.Read("skat.lock"), "writer " + std::to_string(::getpid()) + "\n");
  for (LockMode mode : {LockMode::Exclusive, LockMode::Shared}) {
    refusal.clear();
    EXPECT_FALSE(testing_support::AcquireLock(folder.path(), mode, "second", refusal));
    EXPECT_EQ(refusal, InUseText("writer", ::getpid()));
  }
  // Moving keeps the lock; only the end of its last holder releases it.
  std::optional<DatabaseLock> moved = std::move(writer);
  writer.reset();
  EXPECT_FALSE(testing_support::AcquireLock(folder.path(), LockMode::Shared, "reader", refusal));
  moved.reset();
  EXPECT_EQ(folder.Read("skat.lock"), "");

  std::optional<DatabaseLock> reader =
      testing_support::AcquireLock(folder.path(), LockMode::Shared, "reader", refusal);
  std::optional<DatabaseLock> otherReader =
      testing_support::AcquireLock(folder.path(), LockMode::Shared, "reader2", refusal);
  ASSERT_TRUE(reader && otherReader);
  EXPECT_FALSE(testing_support::AcquireLock(folder.path(), LockMode::Exclusive, "writer", refusal));
  EXPECT_EQ(refusal, InUseText("reader", ::getpid()));
  // The first reader to come names itself; the last one to leave takes the name out.
  otherReader.reset();
  EXPECT_EQ(folder.Read("skat.lock"), "reader " + std::to_string(::getpid()) + "\n");
  reader.reset();
  EXPECT_EQ(folder.Read("skat.lock"), "");
  EXPECT_TRUE(testing_support::AcquireLock(folder.path(), LockMode::Exclusive, "writer", refusal));
}

TEST(DatabaseLock, AHolderInAnotherProcessIsNamedAndItsDeathFreesTheLock) {
  TempFolder folder;
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::string refusal;
    auto lock =
        testing_support::AcquireLock(folder.path(), LockMode::Exclusive, "skat-cli", refusal);
    const char state = lock ? 'y' : 'n';
    if (::write(ready[1], &state, 1) != 1) ::_exit(1);
    ::pause();  // holds the lock until killed, never releasing it itself
    ::_exit(0);
  }
  char state = 0;
  ASSERT_EQ(::read(ready[0], &state, 1), 1);
  ASSERT_EQ(state, 'y');
  std::string refusal;
  EXPECT_FALSE(testing_support::AcquireLock(folder.path(), LockMode::Exclusive, "skat", refusal));
  EXPECT_EQ(refusal, InUseText("skat-cli", child));
  EXPECT_FALSE(testing_support::AcquireLock(folder.path(), LockMode::Shared, "skat", refusal));

  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  // The dead holder's name is still in the file, but its lock went with it.
  EXPECT_EQ(folder.Read("skat.lock"), "skat-cli " + std::to_string(child) + "\n");
  std::optional<DatabaseLock> lock =
      testing_support::AcquireLock(folder.path(), LockMode::Exclusive, "skat", refusal);
  EXPECT_TRUE(lock);
  EXPECT_EQ(folder.Read("skat.lock"), "skat " + std::to_string(::getpid()) + "\n");
}

TEST(DatabaseLock, AMissingFolderIsAFailureWithItsReason) {
  TempFolder folder;
  std::string refusal;
  EXPECT_FALSE(
      testing_support::AcquireLock(folder / "absent", LockMode::Exclusive, "skat", refusal));
  EXPECT_EQ(refusal, "Can't create file " + (folder / "absent" / "skat.lock").string() +
                         "\r\rNo such file or directory");
  EXPECT_EQ(LockRefusalText(""),
            "The database is in use by another program. Try again when it "
            "has finished.");
}

std::string NotPlainText(const TempFolder& folder, std::string_view what) {
  return "The database lock file " + (folder / "skat.lock").string() + " is " + std::string(what) +
         ", not a plain file.\r\rNothing was changed. Remove it and try again.";
}

// A lock file that is not a plain file is refused in both modes, at once,
// and what it points at or stands for is never opened for writing.
TEST(DatabaseLock, ALockFileThatIsNoPlainFileIsRefusedAndLeftAlone) {
  TempFolder outside;
  outside.Write("notes.txt", "what the user wrote\n");
  for (LockMode mode : {LockMode::Exclusive, LockMode::Shared}) {
    SCOPED_TRACE(mode == LockMode::Exclusive ? "exclusive" : "shared");
    TempFolder folder;
    std::filesystem::create_symlink(outside / "notes.txt", folder / "skat.lock");
    std::string refusal;
    EXPECT_FALSE(testing_support::AcquireLock(folder.path(), mode, "skat-cli", refusal));
    EXPECT_EQ(refusal, NotPlainText(folder, "a symbolic link"));
    EXPECT_EQ(outside.Read("notes.txt"), "what the user wrote\n");

    // A link to nothing: following it would create its target.
    std::filesystem::remove(folder / "skat.lock");
    std::filesystem::create_symlink(outside / "created.txt", folder / "skat.lock");
    EXPECT_FALSE(testing_support::AcquireLock(folder.path(), mode, "skat-cli", refusal));
    EXPECT_EQ(refusal, NotPlainText(folder, "a symbolic link"));
    EXPECT_FALSE(outside.Exists("created.txt"));

    std::filesystem::remove(folder / "skat.lock");
    ASSERT_EQ(::mkfifo((folder / "skat.lock").c_str(), 0600), 0);
    EXPECT_FALSE(testing_support::AcquireLock(folder.path(), mode, "skat-cli", refusal));
    EXPECT_EQ(refusal, NotPlainText(folder, "a named pipe"));

    std::filesystem::remove(folder / "skat.lock");
    std::filesystem::create_directory(folder / "skat.lock");
    EXPECT_FALSE(testing_support::AcquireLock(folder.path(), mode, "skat-cli", refusal));
    EXPECT_EQ(refusal, NotPlainText(folder, "a folder"));

    std::filesystem::remove(folder / "skat.lock");
    const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = (folder / "skat.lock").string();
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_FALSE(testing_support::AcquireLock(folder.path(), mode, "skat-cli", refusal));
    EXPECT_EQ(refusal, NotPlainText(folder, "a socket"));
    ::close(socketFd);
  }
}

// Only a lock file that holds nothing or a holder line is ever written: a
// file with someone's words in it, or one that shares its bytes with another
// name, is locked as it is; and the release empties only the file it opened.
TEST(DatabaseLock, OnlyTheHolderLineThisProgramWroteIsEverWritten) {
  for (LockMode mode : {LockMode::Exclusive, LockMode::Shared}) {
    SCOPED_TRACE(mode == LockMode::Exclusive ? "exclusive" : "shared");
    TempFolder folder;
    folder.Write("skat.lock", "my notes, not a holder\n");
    std::string refusal;
    std::optional<DatabaseLock> lock =
        testing_support::AcquireLock(folder.path(), mode, "one", refusal);
    ASSERT_TRUE(lock);
    EXPECT_FALSE(testing_support::AcquireLock(folder.path(), LockMode::Exclusive, "two", refusal));
    // Nothing of the file's own text goes into the refusal.
    EXPECT_EQ(refusal, LockRefusalText(""));
    lock.reset();
    EXPECT_EQ(folder.Read("skat.lock"), "my notes, not a holder\n");

    // A hard link to a file of the user's, empty or not.
    for (const std::string words : {"", "dear diary\n"}) {
      TempFolder linked;
      linked.Write("notes.txt", words);
      ASSERT_EQ(::link((linked / "notes.txt").c_str(), (linked / "skat.lock").c_str()), 0);
      lock = testing_support::AcquireLock(linked.path(), mode, "one", refusal);
      ASSERT_TRUE(lock);
      EXPECT_EQ(linked.Read("notes.txt"), words);
      lock.reset();
      EXPECT_EQ(linked.Read("notes.txt"), words);
    }

    // A file put in place of the lock file while it is held is not touched
    // by the release; the lock file that was opened is.
    TempFolder swapped;
    lock = testing_support::AcquireLock(swapped.path(), mode, "one", refusal);
    ASSERT_TRUE(lock);
    swapped.Write("notes.txt", "moved here\n");
    std::filesystem::rename(swapped / "skat.lock", swapped / "old.lock");
    std::filesystem::rename(swapped / "notes.txt", swapped / "skat.lock");
    lock.reset();
    EXPECT_EQ(swapped.Read("skat.lock"), "moved here\n");
    EXPECT_EQ(swapped.Read("old.lock"), "");
  }
}

}  // namespace
}  // namespace navdb
