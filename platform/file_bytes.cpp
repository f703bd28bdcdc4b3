#include "platform/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

// Closes the descriptor on every way out.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

ReadStep Fail(ReadStep step, int error, std::string& errorText) {
  errorText = std::strerror(error);
  return step;
}

// Reads exactly bytes.size() bytes; false with the reason when it cannot.
bool ReadAll(int fd, std::vector<uint8_t>& bytes, std::string& errorText) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      errorText = std::strerror(errno);
      return false;
    }
    if (got == 0) {
      errorText = kFileShrankText;
      return false;
    }
    done += static_cast<size_t>(got);
  }
  return true;
}

}  // namespace

ReadStep ReadFileBytes(const std::filesystem::path& path, size_t maxBytes,
                       std::vector<uint8_t>& bytes, std::string& errorText,
                       const std::function<void()>& afterSizing) {
  bytes.clear();
  // Non-blocking, so that a named pipe in place of a file cannot hang the
  // reader in open(); it is refused below as no regular file.
  const Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (file.fd < 0) return Fail(ReadStep::Open, errno, errorText);
  struct stat info {};
  if (::fstat(file.fd, &info) != 0) return Fail(ReadStep::Size, errno, errorText);
  if (S_ISDIR(info.st_mode)) return Fail(ReadStep::Open, EISDIR, errorText);
  if (!S_ISREG(info.st_mode) || info.st_size <= 0) return Fail(ReadStep::Size, EINVAL, errorText);
  if (static_cast<uint64_t>(info.st_size) > maxBytes) return Fail(ReadStep::Read, EFBIG, errorText);
  if (afterSizing) afterSizing();
  bytes.resize(static_cast<size_t>(info.st_size));
  if (!ReadAll(file.fd, bytes, errorText)) {
    bytes.clear();
    return ReadStep::Read;
  }
  return ReadStep::None;
}

}  // namespace platform
