// Whole-file reads and atomic whole-file writes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Result of a file operation: empty error text on success, else the
// operating system's text for the failure (as strerror gives it).
struct FileResult {
  std::string error;
  bool ok() const { return error.empty(); }
};

// Reads the whole file into `bytes`. Fails when the file cannot be opened or read.
FileResult ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

// Writes `bytes` to a temporary file in the folder of `path`, flushes it to
// disk and renames it over `path`, so that readers and a crash in the middle
// see either the old or the new contents, never a half-written file.
FileResult ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Copies `from` over `to` (atomically, as above).
FileResult CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace platform
