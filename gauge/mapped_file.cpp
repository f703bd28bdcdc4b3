#include "mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace lumaro {

MappedFile::MappedFile(MappedFile&& other) noexcept {
  *this = std::move(other);
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    Close();
    descriptor_ = std::exchange(other.descriptor_, -1);
    data_ = std::exchange(other.data_, nullptr);
    sizeBytes_ = std::exchange(other.sizeBytes_, 0);
    mapped_ = std::exchange(other.mapped_, false);
  }
  return *this;
}

MappedFile::~MappedFile() {
  Close();
}

bool MappedFile::Open(const std::string& path) {
  Close();
  descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  return descriptor_ >= 0;
}

bool MappedFile::ReadSize() {
  struct stat status {};
  if (descriptor_ < 0 || ::fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode)) {
    return false;
  }
  sizeBytes_ = static_cast<size_t>(status.st_size);
  // A mapping of an empty file cannot be made, as on the original platform.
  return sizeBytes_ > 0;
}

bool MappedFile::MapView() {
  if (descriptor_ < 0 || sizeBytes_ == 0) return false;
  void* view = ::mmap(nullptr, sizeBytes_, PROT_READ, MAP_PRIVATE, descriptor_, 0);
  if (view == MAP_FAILED) return false;
  data_ = static_cast<const char*>(view);
  mapped_ = true;
  ::close(std::exchange(descriptor_, -1));
  return true;
}

void MappedFile::Close() {
  if (mapped_) ::munmap(const_cast<char*>(data_), sizeBytes_);
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
  data_ = nullptr;
  sizeBytes_ = 0;
  mapped_ = false;
}

std::string SharedBlockName(const std::string& name) {
  const char* prefix = std::getenv("SKAT_SHM_PREFIX");
  return "/" + std::string(prefix ? prefix : "") + name;
}

SharedBlock::~SharedBlock() {
  Close();
}

SharedBlock::CreateResult SharedBlock::CreateOrOpen(const std::string& name, size_t sizeBytes) {
  Close();
  std::string systemName = SharedBlockName(name);
  CreateResult result = CreateResult::kCreated;
  int descriptor = ::shm_open(systemName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (descriptor < 0 && errno == EEXIST) {
    result = CreateResult::kAlreadyExists;
    descriptor = ::shm_open(systemName.c_str(), O_RDWR | O_CLOEXEC, 0600);
  }
  if (descriptor < 0) return CreateResult::kFailed;
  // A block left smaller by another component is grown to the full size so
  // that every field access stays inside the mapping.
  struct stat status {};
  bool sized = ::fstat(descriptor, &status) == 0 &&
               (static_cast<size_t>(status.st_size) >= sizeBytes ||
                ::ftruncate(descriptor, static_cast<off_t>(sizeBytes)) == 0);
  void* view = sized ? ::mmap(nullptr, sizeBytes, PROT_READ | PROT_WRITE, MAP_SHARED, descriptor, 0)
                     : MAP_FAILED;
  ::close(descriptor);
  if (view == MAP_FAILED) return CreateResult::kFailed;
  data_ = static_cast<char*>(view);
  sizeBytes_ = sizeBytes;
  return result;
}

SharedBlock::OpenResult SharedBlock::OpenReadOnly(const std::string& name) {
  int descriptor = ::shm_open(SharedBlockName(name).c_str(), O_RDONLY | O_CLOEXEC, 0);
  if (descriptor < 0) return OpenResult::kAbsent;
  Close();
  struct stat status {};
  void* view = MAP_FAILED;
  if (::fstat(descriptor, &status) == 0 && status.st_size > 0) {
    view =
        ::mmap(nullptr, static_cast<size_t>(status.st_size), PROT_READ, MAP_SHARED, descriptor, 0);
  }
  ::close(descriptor);
  if (view == MAP_FAILED) return OpenResult::kNotMapped;
  data_ = static_cast<char*>(view);
  sizeBytes_ = static_cast<size_t>(status.st_size);
  return OpenResult::kMapped;
}

void SharedBlock::Close() {
  if (data_ != nullptr) ::munmap(data_, sizeBytes_);
  data_ = nullptr;
  sizeBytes_ = 0;
}

}  // namespace lumaro
