#include "platform/shared_memory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform {

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
  // A block left smaller by another program is grown to the full size so
  // that every field access stays inside the mapping.
  struct stat status {};
  bool sized = ::fstat(descriptor, &status) == 0 &&
               (static_cast<size_t>(status.st_size) >= sizeBytes ||
                ::ftruncate(descriptor, static_cast<off_t>(sizeBytes)) == 0);
  void* view = sized ? ::mmap(nullptr, sizeBytes, PROT_READ | PROT_WRITE, MAP_SHARED, descriptor, 0)
                     : MAP_FAILED;
  ::close(descriptor);
  if (view == MAP_FAILED) return CreateResult::Failed;
  data_ = static_cast<char*>(view);
  sizeBytes_ = sizeBytes;
  return result;
}

SharedBlock::OpenResult SharedBlock::OpenReadOnly(const std::string& name) {
  int descriptor = ::shm_open(SharedMemoryName(name).c_str(), O_RDONLY | O_CLOEXEC, 0);
  if (descriptor < 0) return OpenResult::Absent;
  Close();
  struct stat status {};
  void* view = MAP_FAILED;
  if (::fstat(descriptor, &status) == 0 && status.st_size > 0) {
    view =
        ::mmap(nullptr, static_cast<size_t>(status.st_size), PROT_READ, MAP_SHARED, descriptor, 0);
  }
  ::close(descriptor);
  if (view == MAP_FAILED) return OpenResult::NotMapped;
  data_ = static_cast<char*>(view);
  sizeBytes_ = static_cast<size_t>(status.st_size);
  return OpenResult::Mapped;
}

void SharedBlock::Close() {
  if (data_ != nullptr) ::munmap(data_, sizeBytes_);
  data_ = nullptr;
  sizeBytes_ = 0;
}

bool PublishSharedBlock(const std::string& name, std::string_view bytes) {
  std::string systemName = SharedMemoryName(name);
  ::shm_unlink(systemName.c_str());
  int descriptor = ::shm_open(systemName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (descriptor < 0) return false;
  bool written = ::ftruncate(descriptor, static_cast<off_t>(bytes.size())) == 0;
  if (written && !bytes.empty()) {
    void* view = ::mmap(nullptr, bytes.size(), PROT_READ | PROT_WRITE, MAP_SHARED, descriptor, 0);
    written = view != MAP_FAILED;
    if (written) {
      std::memcpy(view, bytes.data(), bytes.size());
      ::munmap(view, bytes.size());
    }
  }
  ::close(descriptor);
  if (!written) ::shm_unlink(systemName.c_str());
  return written;
}

void RemoveSharedBlock(const std::string& name) {
  ::shm_unlink(SharedMemoryName(name).c_str());
}

}  // namespace platform
