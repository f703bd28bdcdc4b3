#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace platform {

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
  // An empty file has nothing to map, and mmap refuses a length of zero.
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

}  // namespace platform
