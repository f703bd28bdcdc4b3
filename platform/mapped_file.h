// Read-only views of whole files.
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace platform {

// A whole file mapped read-only. Opening is split into stages so that a
// caller can report which one failed: open, size, view. Map only files that
// are replaced by rename, never rewritten in place: a mapped file that
// another program shortens faults on the pages it lost.
class MappedFile {
 public:
  MappedFile() = default;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  ~MappedFile();

  bool Open(const std::string& path);  // stage 1
  bool ReadSize();                     // stage 2; false for an empty or irregular file
  bool MapView();                      // stage 3; closes the descriptor
  void Close();

  std::span<const char> Bytes() const { return {data_, sizeBytes_}; }
  size_t SizeBytes() const { return sizeBytes_; }

 private:
  int descriptor_ = -1;
  const char* data_ = nullptr;
  size_t sizeBytes_ = 0;
  bool mapped_ = false;
};

}  // namespace platform
