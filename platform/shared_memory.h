// Named shared-memory blocks, the way the display module and the programs
// around it exchange live data ("NDPassData", "fltplanMap0", "fltplanMap1").
//
// Their bytes are read and written through the block's descriptor, never
// through a mapping: any program may shrink a block at any moment (an
// ftruncate of the shared-memory object), and an access through a mapping
// past its new end ends the whole process with SIGBUS, the simulator with
// it, where a read only comes back short.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// Name of a block as the operating system sees it: "/" + the prefix from the
// environment variable SKAT_SHM_PREFIX (when set) + the block's own name. The
// prefix keeps programs run side by side (tests in parallel) apart.
std::string SharedMemoryName(const std::string& name);

// A named block held open by this process; closed on destruction, while the
// block itself lives on until it is removed.
class SharedBlock {
 public:
  enum class CreateResult { Created, AlreadyExists, Failed };

  SharedBlock() = default;
  SharedBlock(const SharedBlock&) = delete;
  SharedBlock& operator=(const SharedBlock&) = delete;
  ~SharedBlock();

  // Creates a read-write block of sizeBytes (all zero), or opens the existing
  // one, growing it to sizeBytes when another program left it shorter.
  CreateResult CreateOrOpen(const std::string& name, size_t sizeBytes);
  void Close();
  bool IsOpen() const { return descriptor_ >= 0; }

  // Fills `into` with the block's bytes from `offset`; false when the block
  // does not hold them all at this moment (what was read is then not to be
  // used).
  bool Read(size_t offset, std::span<char> into) const;
  // Writes `bytes` at `offset`; false, writing nothing, when the block is
  // shorter than that now: a block another program shrank is not grown back
  // piecemeal.
  bool Write(size_t offset, std::span<const char> bytes);

 private:
  int descriptor_ = -1;
};

// The bytes the block `name` holds at this moment, at most maxBytes of them;
// nothing when there is no block of that name. An empty block, or one that
// cannot be read, gives no bytes.
std::optional<std::string> CopySharedBlock(const std::string& name, size_t maxBytes);

// Replaces the block `name` with a new one of exactly these bytes. False when
// it could not be made; no block of that name is left behind then.
bool PublishSharedBlock(const std::string& name, std::string_view bytes);

// Removes the block `name`; a reader that holds it open keeps its bytes.
void RemoveSharedBlock(const std::string& name);

}  // namespace platform
