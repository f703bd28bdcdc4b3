#include "navdb/database_lock.h"

#include "navdb/database_recovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>
#include <utility>

namespace navdb {
namespace {

// A holder line is short; a longer file is not one this program wrote.
constexpr size_t kMaxLockFileBytes = 255;

// True for what this program keeps in its lock file: nothing, or one line
// "program pid" (see WriteHolder).
bool IsHolderText(std::string_view text) {
  if (text.empty()) return true;
  if (text.back() != '\n') return false;
  text.remove_suffix(1);
  const size_t space = text.rfind(' ');
  if (space == std::string_view::npos || space == 0 || space + 1 == text.size()) return false;
  for (const char c : text.substr(space + 1)) {
    if (c < '0' || c > '9') return false;
  }
  for (const char c : text.substr(0, space)) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

// The whole lock file, when it is small enough to be a holder line.
std::optional<std::string> ReadLockText(int fd) {
  char buffer[kMaxLockFileBytes + 1];
  const ssize_t got = ::pread(fd, buffer, sizeof buffer, 0);
  if (got < 0 || static_cast<size_t>(got) > kMaxLockFileBytes) return std::nullopt;
  return std::string(buffer, static_cast<size_t>(got));
}

// The lock file may be written only while it is the file this program made:
// one name (a second hard link would share its bytes with a file of
// someone's) and nothing in it but a holder line. Whatever else stands
// there is only locked, never written or emptied.
bool MayWriteLockFile(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1) return false;
  const std::optional<std::string> text = ReadLockText(fd);
  return text && IsHolderText(*text);
}

// The holder named in the lock file: "program pid", or empty when the file
// holds no holder line.
std::string ReadHolder(int fd) {
  const std::optional<std::string> text = ReadLockText(fd);
  if (!text || text->empty() || !IsHolderText(*text)) return {};
  return text->substr(0, text->size() - 1);
}

// Tells later comers who holds the lock. A writer is the only holder; of
// several readers the first one names itself, and the last one to leave
// takes the name out (see Release).
void WriteHolder(int fd, LockMode mode, std::string_view programName) {
  if (!MayWriteLockFile(fd)) return;
  if (mode == LockMode::Shared && !ReadHolder(fd).empty()) return;
  const std::string line = std::string(programName) + " " + std::to_string(::getpid()) + "\n";
  if (::pwrite(fd, line.data(), line.size(), 0) == static_cast<ssize_t>(line.size())) {
    if (::ftruncate(fd, static_cast<off_t>(line.size())) != 0) return;
  }
}

// What stands at a path in place of a plain file, for the refusal.
std::string_view WhatItIs(mode_t mode) {
  if (S_ISLNK(mode)) return "a symbolic link";
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  return "not a plain file";
}

std::string NotPlainFileText(const std::filesystem::path& path, mode_t mode) {
  return "The database lock file " + path.string() + " is " + std::string(WhatItIs(mode)) +
         ", not a plain file.\r\rNothing was changed. Remove it and try again.";
}

// Opens the lock file without following a link and without waiting on a
// named pipe. Returns -1 with errno set, or with `found` set to the file
// type of what stands there when that is no plain file.
int OpenLockFile(const std::filesystem::path& path, int access, mode_t& found) {
  const int fd = ::open(path.c_str(), access | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) {
    const int openError = errno;
    struct stat info {};
    if ((openError == ELOOP || openError == EISDIR || openError == ENXIO) &&
        ::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
      found = info.st_mode & S_IFMT;
    }
    errno = openError;
    return -1;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int statError = errno;
    if (info.st_mode != 0) found = info.st_mode & S_IFMT;
    ::close(fd);
    errno = statError;
    return -1;
  }
  return fd;
}

// The holder of a lock that was just refused. A holder that has only now
// taken the lock may not have written its name yet: give it a moment.
std::string RefusingHolder(int fd) {
  std::string holder = ReadHolder(fd);
  for (int tries = 0; holder.empty() && tries < 20; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    holder = ReadHolder(fd);
  }
  return holder;
}

}  // namespace

std::string LockRefusalText(std::string_view holder) {
  std::string name = "another program";
  const size_t space = holder.rfind(' ');
  if (space != std::string_view::npos && space > 0 && space + 1 < holder.size()) {
    name = std::string(holder.substr(0, space)) + " (process " +
           std::string(holder.substr(space + 1)) + ")";
  }
  return "The database is in use by " + name + ". Try again when it has finished.";
}

platform::Result<DatabaseLock> DatabaseLock::Acquire(const std::filesystem::path& navDataFolder,
                                                     LockMode mode, std::string_view programName,
                                                     const Reporter& ui) {
  const std::filesystem::path path = navDataFolder / kLockFileName;
  mode_t found = 0;
  int fd = OpenLockFile(path, O_RDWR | O_CREAT, found);
  if (fd < 0 && found == 0 && mode == LockMode::Shared) {
    const int openError = errno;
    fd = OpenLockFile(path, O_RDONLY, found);
    // Where nobody can create the lock file nobody can write the database
    // either, so a reader needs no lock there.
    if (fd < 0 && (openError == EACCES || openError == EROFS) && errno == ENOENT) {
      if (!SaveWasInterrupted(navDataFolder)) return DatabaseLock(-1, mode);
      return platform::Failure(
          InterruptedSaveRefusal("The folder " + navDataFolder.string() +
                                 " cannot be written: " + std::strerror(openError) + "."));
    }
  }
  if (fd < 0) {
    if (found != 0) return platform::Error{NotPlainFileText(path, found), 0, path};
    const int failed = errno;
    return platform::Error{"Can't create file " + path.string() + "\r\r" + std::strerror(failed),
                           failed, path};
  }
  const int operation = mode == LockMode::Exclusive ? LOCK_EX : LOCK_SH;
  while (::flock(fd, operation | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    const int failed = errno;
    std::string refusal = failed == EWOULDBLOCK
                              ? LockRefusalText(RefusingHolder(fd))
                              : "Can't lock file " + path.string() + "\r\r" + std::strerror(failed);
    ::close(fd);
    return platform::Error{std::move(refusal), failed, path};
  }
  WriteHolder(fd, mode, programName);
  DatabaseLock lock(fd, mode);
  if (platform::Status prepared = lock.PrepareFolder(navDataFolder, programName, ui); !prepared) {
    return prepared.error();
  }
  return lock;
}

platform::Status DatabaseLock::PrepareFolder(const std::filesystem::path& navDataFolder,
                                             std::string_view programName, const Reporter& ui) {
  if (mode_ == LockMode::Shared) {
    if (!SaveWasInterrupted(navDataFolder)) return {};
    // No writer holds the lock while a reader does: the save was killed.
    // Taking the lock exclusively gives up the shared one when it fails,
    // which the refusal gives up anyway.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      return platform::Failure(InterruptedSaveRefusal(LockRefusalText(RefusingHolder(fd_))));
    }
    WriteHolder(fd_, LockMode::Exclusive, programName);
    if (platform::Status finished = FinishInterruptedSave(navDataFolder, ui); !finished) {
      return finished;
    }
    RemoveSaveLeftovers(navDataFolder);
    // Back to sharing: nobody else can have taken the lock meanwhile.
    if (::flock(fd_, LOCK_SH | LOCK_NB) != 0) {
      return platform::Failure("Can't lock file " + (navDataFolder / kLockFileName).string() +
                               "\r\r" + std::strerror(errno));
    }
    return {};
  }
  if (platform::Status finished = FinishInterruptedSave(navDataFolder, ui); !finished) {
    return finished;
  }
  RemoveSaveLeftovers(navDataFolder);
  return {};
}

DatabaseLock::DatabaseLock(DatabaseLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), mode_(other.mode_) {}

DatabaseLock& DatabaseLock::operator=(DatabaseLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = std::exchange(other.fd_, -1);
    mode_ = other.mode_;
  }
  return *this;
}

DatabaseLock::~DatabaseLock() {
  Release();
}

void DatabaseLock::Release() {
  if (fd_ < 0) return;
  // The name comes out while the lock is still held, so the file never names
  // a holder that has gone. A reader can take it out only when it is the last
  // one: then it gets the lock to itself (the change gives up its shared lock,
  // which it is giving up anyway).
  const bool alone = mode_ == LockMode::Exclusive || ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
  if (alone && MayWriteLockFile(fd_) && ::ftruncate(fd_, 0) != 0) {
    // The name stays behind; the lock itself still goes with the close.
  }
  ::close(fd_);
  fd_ = -1;
}

}  // namespace navdb
