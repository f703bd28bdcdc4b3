#include "data/small_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace lumaro {

namespace {

bool IsRegularFile(int descriptor) {
  struct stat info {};
  return ::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::optional<std::string> ReadSmallFile(const std::string& path, size_t maxBytes) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (descriptor < 0) return std::nullopt;
  if (!IsRegularFile(descriptor)) {
    ::close(descriptor);
    return std::nullopt;
  }
  std::string text(maxBytes, '\0');
  size_t done = 0;
  while (done < maxBytes) {
    const ssize_t got = ::read(descriptor, text.data() + done, maxBytes - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  ::close(descriptor);
  text.resize(done);
  return text;
}

std::FILE* CreateFileForWriting(const std::string& path) {
  // The name itself is looked at, not what a link points to; lstat never
  // opens, so a named pipe cannot hold the caller either.
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode) || ::unlink(path.c_str()) != 0) return nullptr;
  }
  // O_EXCL with O_NOFOLLOW: whatever came into the name since is refused,
  // a link above all, so only a file made here is ever written.
  const int descriptor =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (descriptor < 0) return nullptr;
  std::FILE* file = ::fdopen(descriptor, "wb");
  if (file == nullptr) ::close(descriptor);
  return file;
}

void CloseAndRemoveCreatedFile(std::FILE* file, const std::string& path) {
  struct stat written {};
  struct stat named {};
  const bool same = ::fstat(::fileno(file), &written) == 0 && ::lstat(path.c_str(), &named) == 0 &&
                    written.st_dev == named.st_dev && written.st_ino == named.st_ino;
  std::fclose(file);
  if (same) ::unlink(path.c_str());
}

}  // namespace lumaro
