#include "navdb/database_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

namespace navdb {
namespace {

// The first line of the lock file: "program pid".
std::string ReadHolder(int fd) {
  char buffer[256];
  const ssize_t got = ::pread(fd, buffer, sizeof buffer - 1, 0);
  if (got <= 0) return {};
  std::string_view text(buffer, static_cast<size_t>(got));
  text = text.substr(0, text.find_first_of("\r\n"));
  return std::string(text);
}

// Tells later comers who holds the lock. A writer is the only holder; of
// several readers the first one names itself, and the last one to leave
// takes the name out (see Release).
void WriteHolder(int fd, LockMode mode, std::string_view programName) {
  if (mode == LockMode::Shared && !ReadHolder(fd).empty()) return;
  const std::string line = std::string(programName) + " " + std::to_string(::getpid()) + "\n";
  if (::pwrite(fd, line.data(), line.size(), 0) == static_cast<ssize_t>(line.size())) {
    if (::ftruncate(fd, static_cast<off_t>(line.size())) != 0) return;
  }
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

std::optional<DatabaseLock> DatabaseLock::Acquire(const std::filesystem::path& navDataFolder,
                                                  LockMode mode, std::string_view programName,
                                                  std::string& refusal) {
  const std::filesystem::path path = navDataFolder / kLockFileName;
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0 && mode == LockMode::Shared) {
    const int openError = errno;
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    // Where nobody can create the lock file nobody can write the database
    // either, so a reader needs no lock there.
    if (fd < 0 && (openError == EACCES || openError == EROFS) && errno == ENOENT) {
      return DatabaseLock(-1, mode);
    }
  }
  if (fd < 0) {
    refusal = "Can't create file " + path.string() + "\r\r" + std::strerror(errno);
    return std::nullopt;
  }
  const int operation = mode == LockMode::Exclusive ? LOCK_EX : LOCK_SH;
  while (::flock(fd, operation | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    refusal = errno == EWOULDBLOCK
                  ? LockRefusalText(RefusingHolder(fd))
                  : "Can't lock file " + path.string() + "\r\r" + std::strerror(errno);
    ::close(fd);
    return std::nullopt;
  }
  WriteHolder(fd, mode, programName);
  return DatabaseLock(fd, mode);
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
  if (alone && ::ftruncate(fd_, 0) != 0) {
    // The name stays behind; the lock itself still goes with the close.
  }
  ::close(fd_);
  fd_ = -1;
}

}  // namespace navdb
