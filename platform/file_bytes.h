// Whole files read into memory with a size bound, for readers of outside
// files that must survive the file changing under them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// Which step of reading a file failed.
enum class ReadStep { None, Open, Size, Read };

// Reads the whole of `path` into `bytes`. A file is read with read(), never
// mapped: a mapped file that another program shortens faults (SIGBUS) on the
// pages it lost, while a read simply comes up short and is reported here.
//
// Fails at Open when the file cannot be opened (or is a folder); at Size when
// it is not a regular file or is empty; at Read when reading fails, when the
// file is larger than `maxBytes`, or when it ends before the size it had when
// it was opened (it shrank while it was read). `errorText` is the reason.
// `afterSizing`, when set, runs between taking the size and reading, so that
// a test can change the file in that gap.
ReadStep ReadFileBytes(const std::filesystem::path& path, size_t maxBytes,
                       std::vector<uint8_t>& bytes, std::string& errorText,
                       const std::function<void()>& afterSizing = {});

// The reason given when a file ends before the size it had when opened.
inline constexpr const char* kFileShrankText = "The file became shorter while it was read.";

}  // namespace platform
