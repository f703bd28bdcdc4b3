// Named shared-memory blocks, the way the display module and the programs
// around it exchange live data ("NDPassData", "fltplanMap0", "fltplanMap1").
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// Name of a block as the operating system sees it: "/" + the prefix from the
// environment variable SKAT_SHM_PREFIX (when set) + the block's own name. The
// prefix keeps programs run side by side (tests in parallel) apart.
std::string SharedMemoryName(const std::string& name);

// A named block mapped into this process; unmapped on destruction, while the
// block itself lives on until it is removed.
class SharedBlock {
 public:
  enum class CreateResult { Created, AlreadyExists, Failed };
  enum class OpenResult { Absent, NotMapped, Mapped };

  SharedBlock() = default;
  SharedBlock(const SharedBlock&) = delete;
  SharedBlock& operator=(const SharedBlock&) = delete;
  ~SharedBlock();

  // Creates a read-write block of sizeBytes, or opens the existing one.
  CreateResult CreateOrOpen(const std::string& name, size_t sizeBytes);
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

// Replaces the block `name` with a new one of exactly these bytes. False when
// it could not be made; no block of that name is left behind then.
bool PublishSharedBlock(const std::string& name, std::string_view bytes);

// Removes the block `name`; readers that have it mapped keep their view.
void RemoveSharedBlock(const std::string& name);

}  // namespace platform
