// The record of a set of files being replaced (see ReplaceFilesAsSet), and
// the finishing of a replacement that a killed process left half done.
//
// Before the first of its renames, a set replacement writes a small manifest
// beside the files: for each file its name, the name of its new contents
// (a temporary file, already synced) and of its old contents (a second name
// of the old file), and the size and digest of the new contents. Whoever
// finds the manifest later knows which files belong together and can put
// either all new or all old files in place.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_io.h"

namespace platform {

// First line of a manifest.
inline constexpr std::string_view kSetManifestHeader = "file set 1";

// One file of a set, by names in the set's folder.
struct SetEntry {
  std::string target;     // the file being replaced
  std::string temporary;  // its new contents: "<target>.tmp.<pid>.<n>"
  std::string kept;       // its old contents: "<target>.old.<pid>.<n>"; empty when new
  uint64_t sizeBytes = 0;
  uint64_t digest = 0;  // ContentDigest of the new contents
};

// A digest of `bytes` that tells one version of a file from another (not a
// defence against someone who forges files).
uint64_t ContentDigest(std::string_view bytes);

// The manifest's text: the header line, then one line per file, its five
// fields separated by tabs, the numbers in lower-case hexadecimal.
std::string EncodeSetManifest(std::span<const SetEntry> entries);

// Reads a manifest. Refused, with the reason, unless every
// line has its fields and every name is a plain name in the folder of the
// form above: a manifest names only files that a set replacement made.
Result<std::vector<SetEntry>> ParseSetManifest(std::string_view text);

enum class SetRecovery {
  NothingLeft,    // no manifest: no replacement was interrupted
  RolledForward,  // every new file is in place
  RolledBack,     // every old file is back in place
};

// Finishes the replacement recorded in `manifest`, if there is one: forward
// when the new contents of every file are whole (in its temporary file or
// already in place), else back from the old files. Only files named in
// `allowedTargets` may be replaced. The manifest goes once it is done.
// The caller must keep every other writer out of the folder meanwhile.
Result<SetRecovery> FinishInterruptedSet(const std::filesystem::path& manifest,
                                         std::span<const std::string_view> allowedTargets);

}  // namespace platform
