#include "platform/shared_memory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace platform {

namespace {

// Reads up to into.size() bytes from `offset`, fewer at the block's end.
size_t ReadAt(int descriptor, size_t offset, std::span<char> into) {
  size_t done = 0;
  while (done < into.size()) {
    const ssize_t got = ::pread(descriptor, into.data() + done, into.size() - done,
                                static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

bool WriteAt(int descriptor, size_t offset, std::span<const char> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::pwrite(descriptor, bytes.data() + done, bytes.size() - done,
                                 static_cast<off_t>(offset + done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

std::optional<size_t> SizeBytes(int descriptor) {
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || status.st_size < 0) return std::nullopt;
  return static_cast<size_t>(status.st_size);
}

}  // namespace

std::string SharedMemoryName(const std::string& name) {
  const char* prefix = std::getenv("SKAT_SHM_PREFIX");
  return "/" + std::string(prefix ? prefix : "") + name;
}

SharedBlock::~SharedBlock() {
  Close();
}

SharedBlock::CreateResult SharedBlock::CreateOrOpen(const std::string& name, size_t sizeBytes) {
  Close();
  std::string systemName = SharedMemoryName(name);
  CreateResult result = CreateResult::Created;
  int descriptor = ::shm_open(systemName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (descriptor < 0 && errno == EEXIST) {
    result = CreateResult::AlreadyExists;
    descriptor = ::shm_open(systemName.c_str(), O_RDWR | O_CLOEXEC, 0600);
  }
  if (descriptor < 0) return CreateResult::Failed;
  // A block left smaller by another program is grown to the full size, so
  // that every field is there to read and write.
  std::optional<size_t> size = SizeBytes(descriptor);
  if (!size || (*size < sizeBytes && ::ftruncate(descriptor, static_cast<off_t>(sizeBytes)) != 0)) {
    ::close(descriptor);
    return CreateResult::Failed;
  }
  descriptor_ = descriptor;
  return result;
}

void SharedBlock::Close() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
}

bool SharedBlock::Read(size_t offset, std::span<char> into) const {
  return IsOpen() && ReadAt(descriptor_, offset, into) == into.size();
}

bool SharedBlock::Write(size_t offset, std::span<const char> bytes) {
  if (!IsOpen()) return false;
  std::optional<size_t> size = SizeBytes(descriptor_);
  // A write past the end would grow the block, with zeros before the field.
  if (!size || *size < offset + bytes.size()) return false;
  return WriteAt(descriptor_, offset, bytes);
}

std::optional<std::string> CopySharedBlock(const std::string& name, size_t maxBytes) {
  int descriptor = ::shm_open(SharedMemoryName(name).c_str(), O_RDONLY | O_CLOEXEC, 0);
  if (descriptor < 0) return std::nullopt;
  std::string bytes(std::min(SizeBytes(descriptor).value_or(0), maxBytes), '\0');
  bytes.resize(ReadAt(descriptor, 0, bytes));
  ::close(descriptor);
  return bytes;
}

bool PublishSharedBlock(const std::string& name, std::string_view bytes) {
  std::string systemName = SharedMemoryName(name);
  ::shm_unlink(systemName.c_str());
  int descriptor = ::shm_open(systemName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (descriptor < 0) return false;
  bool written = ::ftruncate(descriptor, static_cast<off_t>(bytes.size())) == 0 &&
                 WriteAt(descriptor, 0, bytes);
  ::close(descriptor);
  if (!written) ::shm_unlink(systemName.c_str());
  return written;
}

void RemoveSharedBlock(const std::string& name) {
  ::shm_unlink(SharedMemoryName(name).c_str());
}

}  // namespace platform
