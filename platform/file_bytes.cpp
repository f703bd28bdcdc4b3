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

ReadError Fail(ReadStep step, int error, const std::filesystem::path& path) {
  return {{std::strerror(error), error, path}, step};
}

// Reads exactly bytes.size() bytes; the failure when it cannot.
Result<void, ReadError> ReadAll(int fd, std::vector<uint8_t>& bytes,
                                const std::filesystem::path& path) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Fail(ReadStep::Read, errno, path);
    if (got == 0) return ReadError{{kFileShrankText, 0, path}, ReadStep::Read};
    done += static_cast<size_t>(got);
  }
  return {};
}

}  // namespace

Result<std::vector<uint8_t>, ReadError> ReadFileBytes(const std::filesystem::path& path,
                                                      size_t maxBytes,
                                                      const std::function<void()>& afterSizing) {
  // Non-blocking, so that a named pipe in place of a file cannot hang the
  // reader in open(); it is refused below as no regular file.
  const Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (file.fd < 0) return Fail(ReadStep::Open, errno, path);
  struct stat info {};
  if (::fstat(file.fd, &info) != 0) return Fail(ReadStep::Size, errno, path);
  if (S_ISDIR(info.st_mode)) return Fail(ReadStep::Open, EISDIR, path);
  if (!S_ISREG(info.st_mode) || info.st_size <= 0) return Fail(ReadStep::Size, EINVAL, path);
  if (static_cast<uint64_t>(info.st_size) > maxBytes) return Fail(ReadStep::Read, EFBIG, path);
  if (afterSizing) afterSizing();
  std::vector<uint8_t> bytes(static_cast<size_t>(info.st_size));
  if (Result<void, ReadError> read = ReadAll(file.fd, bytes, path); !read) return read.error();
  return bytes;
}

}  // namespace platform
