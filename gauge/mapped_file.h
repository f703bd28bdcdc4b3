// Read-only views of whole files, and POSIX named shared memory blocks.
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace lumaro {

// A whole file mapped read-only. Opening is split into the stages the
// database status code reports separately: open, size/mapping, view.
class MappedFile {
 public:
  MappedFile() = default;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  ~MappedFile();

  bool Open(const std::string& path);  // stage 1
  bool ReadSize();                     // stage 2
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

// Name of a shared block as the operating system sees it: "/" + the prefix
// from SKAT_SHM_PREFIX (if set) + the system's own name ("NDPassData", ...).
std::string SharedBlockName(const std::string& name);

// A named shared-memory block.
class SharedBlock {
 public:
  enum class CreateResult { kCreated, kAlreadyExists, kFailed };

  SharedBlock() = default;
  SharedBlock(const SharedBlock&) = delete;
  SharedBlock& operator=(const SharedBlock&) = delete;
  ~SharedBlock();

  // Creates a read-write block of sizeBytes, or opens the existing one.
  CreateResult CreateOrOpen(const std::string& name, size_t sizeBytes);
  enum class OpenResult { kAbsent, kNotMapped, kMapped };
  // Opens an existing block read-only and maps it whole.
  OpenResult OpenReadOnly(const std::string& name);
  void Close();

  bool IsMapped() const { return data_ != nullptr; }
  char* Data() { return data_; }
  std::span<const char> Bytes() const { return {data_, sizeBytes_}; }

 private:
  char* data_ = nullptr;
  size_t sizeBytes_ = 0;
};

}  // namespace lumaro
