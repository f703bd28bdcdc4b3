#include "platform/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace platform {
namespace {

FileResult ErrnoResult(int errorNumber) {
  return FileResult{std::strerror(errorNumber)};
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

std::string TemporaryNameFor(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  return path.string() + ".tmp." + std::to_string(::getpid()) + "." +
         std::to_string(counter.fetch_add(1));
}

}  // namespace

FileResult ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ErrnoResult(errno);
  bytes.clear();
  char buffer[1 << 16];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      int saved = errno;
      ::close(fd);
      return ErrnoResult(saved);
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  return {};
}

FileResult ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  const std::string temporary = TemporaryNameFor(path);
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return ErrnoResult(errno);
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) {
    int saved = errno;
    ::close(fd);
    ::unlink(temporary.c_str());
    return ErrnoResult(saved);
  }
  if (::close(fd) != 0) {
    int saved = errno;
    ::unlink(temporary.c_str());
    return ErrnoResult(saved);
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    int saved = errno;
    ::unlink(temporary.c_str());
    return ErrnoResult(saved);
  }
  return {};
}

FileResult CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::string bytes;
  FileResult read = ReadWholeFile(from, bytes);
  if (!read.ok()) return read;
  return ReplaceFileAtomically(to, bytes);
}

}  // namespace platform
