// Scanning one scenery file: read it, unpack it when it turns out to be
// packed, decode it, and merge what it holds. Reading and decoding need
// nothing of the database, so a scan does them ahead of the merge.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "platform/file_bytes.h"
#include "scanner/bgl_decoder.h"
#include "scanner/scan_session.h"

namespace scanner {

// What the walk does after a file.
enum class FileOutcome { NextFile, StopScan };

// A scenery file read and decoded, not yet merged.
struct DecodedFile {
  std::optional<platform::ReadError> readFailure;  // none: the file was read
  DecodedImage image;                              // unreadable when a packed file did not unpack
};

// Reads and decodes `path`; `afterFileSized` (when set) runs between taking
// the file's size and reading it. Safe on any thread.
DecodedFile DecodeBglFile(const std::filesystem::path& path, unsigned minRunwayLengthFt,
                          const std::function<void(const std::filesystem::path&)>& afterFileSized);

// Merges a decoded file; a file that could not be read or decoded is
// reported, and the user's answer decides whether the walk goes on.
FileOutcome MergeBglFile(ScanSession& session, const std::filesystem::path& path,
                         const DecodedFile& file);

// DecodeBglFile, then MergeBglFile.
FileOutcome ScanBglFile(ScanSession& session, const std::filesystem::path& path);

}  // namespace scanner
