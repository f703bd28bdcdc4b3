// Whole files read into memory with a size bound, for readers of outside
// files that must survive the file changing under them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/result.h"

namespace platform {

// Which step of reading a file failed.
enum class ReadStep { Open, Size, Read };

// A file that could not be read: why (the system's text for errorNumber,
// or kFileShrankText with errorNumber 0), the path, and the step it failed at.
struct ReadError : Error {
  ReadStep step = ReadStep::Open;
};

// Reads the whole of `path`. A file is read with read(), never mapped: a
// mapped file that another program shortens faults (SIGBUS) on the pages it
// lost, while a read simply comes up short and is reported here.
//
// Fails at Open when the file cannot be opened (or is a folder); at Size when
// it is not a regular file or is empty; at Read when reading fails, when the
// file is larger than `maxBytes`, or when it ends before the size it had when
// it was opened (it shrank while it was read).
// `afterSizing`, when set, runs between taking the size and reading, so that
// a test can change the file in that gap.
Result<std::vector<uint8_t>, ReadError> ReadFileBytes(
    const std::filesystem::path& path, size_t maxBytes,
    const std::function<void()>& afterSizing = {});

// The reason given when a file ends before the size it had when opened.
inline constexpr const char* kFileShrankText = "The file became shorter while it was read.";

}  // namespace platform
