// Read-only views of whole files (mmap), released when the object goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace platform {

// Which step of mapping a file failed.
enum class MapStep { None, Open, Mapping, View };

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile() { Release(); }
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps the whole of `path`. On failure returns the step that failed and
  // sets `errorText` to the operating system's text for it. An empty file
  // cannot be mapped and fails at the Mapping step.
  MapStep Map(const std::filesystem::path& path, std::string& errorText);

  std::span<const uint8_t> bytes() const { return {data_, size_}; }
  size_t size() const { return size_; }
  bool mapped() const { return data_ != nullptr; }

  // Unmaps the view (the descriptor is closed as soon as the view exists).
  void Release();

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace platform
