#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace platform {

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

MapStep MappedFile::Map(const std::filesystem::path& path, std::string& errorText) {
  Release();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    errorText = std::strerror(errno);
    return MapStep::Open;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    errorText = std::strerror(errno);
    ::close(fd);
    return MapStep::Mapping;
  }
  if (S_ISDIR(info.st_mode)) {  // a folder is no file to open
    errorText = std::strerror(EISDIR);
    ::close(fd);
    return MapStep::Open;
  }
  if (!S_ISREG(info.st_mode) || info.st_size <= 0) {
    errorText = std::strerror(EINVAL);
    ::close(fd);
    return MapStep::Mapping;
  }
  void* view = ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  const int mapError = errno;
  ::close(fd);
  if (view == MAP_FAILED) {
    errorText = std::strerror(mapError);
    return MapStep::View;
  }
  ::madvise(view, static_cast<size_t>(info.st_size), MADV_SEQUENTIAL);
  data_ = static_cast<const uint8_t*>(view);
  size_ = static_cast<size_t>(info.st_size);
  return MapStep::None;
}

void MappedFile::Release() {
  if (data_ != nullptr) ::munmap(const_cast<uint8_t*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace platform
