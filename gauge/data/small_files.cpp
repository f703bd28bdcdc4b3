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
  // Checked before anything is emptied: a regular file is truncated below,
  // anything else is left alone. Non-blocking, a named pipe without a
  // reader fails at once (ENXIO) instead of waiting for one.
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
  if (descriptor < 0) return nullptr;
  if (!IsRegularFile(descriptor) || ::ftruncate(descriptor, 0) != 0) {
    ::close(descriptor);
    return nullptr;
  }
  std::FILE* file = ::fdopen(descriptor, "wb");
  if (file == nullptr) ::close(descriptor);
  return file;
}

}  // namespace lumaro
