// Asking the kernel for a buffer's pages up front.
#pragma once

#include <cstddef>

namespace platform {

// Has the kernel back the memory of [data, data + bytes) with pages ready for
// writing, in one call, instead of one page fault per 4 KiB page on first
// touch. A load fills megabytes of fresh buffers: page by page that is
// thousands of faults, each dearer than the bytes it lets in (most of all
// under virtualisation). The memory must be the caller's, allocated and
// writable; its contents are left as they are. Small buffers, and kernels
// without the request, are left to fault as usual.
void PrefaultForWriting(void* data, size_t bytes);

}  // namespace platform
