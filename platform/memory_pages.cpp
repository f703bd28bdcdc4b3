#include "platform/memory_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace platform {
namespace {

// Linux 5.14 and later; older headers do not name it.
#ifndef MADV_POPULATE_WRITE
constexpr int MADV_POPULATE_WRITE = 23;
#endif

// Below this, the call costs about what the faults it saves do.
constexpr size_t kSmallestPrefaultBytes = size_t{256} << 10;

}  // namespace

void PrefaultForWriting(void* data, size_t bytes) {
  if (data == nullptr || bytes < kSmallestPrefaultBytes) return;
  static const auto pageBytes = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  // The pages that hold the first and the last byte are the caller's too, so
  // widening the range to whole pages touches no memory that is not mapped.
  const auto first = reinterpret_cast<uintptr_t>(data) & ~(pageBytes - 1);
  const auto end = (reinterpret_cast<uintptr_t>(data) + bytes + pageBytes - 1) & ~(pageBytes - 1);
  // A refusal (an older kernel, memory short) only leaves the usual faults.
  (void)::madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
}

}  // namespace platform
