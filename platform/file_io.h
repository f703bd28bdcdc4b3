// Whole-file reads and atomic whole-file writes.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace platform {

// A file operation that fails gives an Error with the operating system's
// text for the failure (as strerror gives it), its errno value and the file
// it is about.

// The steps of writing a file that can fail. Tests pass a hook that makes
// the operating system fail at a chosen step, to prove what a failure leaves.
enum class FileStep { Create, Write, Sync, Rename, SyncFolder };
// Returns an errno value to fail `step` on `path` with, or 0 to let it run.
using FileFaultHook = std::function<int(FileStep step, const std::filesystem::path& path)>;

struct FileToWrite {
  std::filesystem::path path;
  std::string_view bytes;
};

// The reason given for a path that names a named pipe, a device or a socket.
inline constexpr std::string_view kNotRegularFileText =
    "Not a regular file (a named pipe, a device or a socket)";

// Reads the whole file into `bytes`. Fails when the file cannot be opened or
// read, and, without waiting on it, when it is not a regular file.
Status ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

// Writes `bytes` to a temporary file in the folder of `path`, flushes it to
// disk and renames it over `path`, so that readers and a crash in the middle
// see either the old or the new contents, never a half-written file.
Status ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Replaces a set of files in one folder so that each of them holds either
// its old or its new contents and the set is never mixed: every new file is
// written and synced as a temporary file first, and only then are they
// renamed into place and the folder synced. A failure before the renames
// removes the temporary files and leaves every old file; a rename that fails
// puts the files already renamed back to their old contents. On failure the
// error names the file in its `path`; when not every old file could be
// put back, the manifest stays for FinishInterruptedSet.
//
// With a `manifest` path (in the same folder), the set is recorded there,
// synced, before the first rename and removed after the folder sync, so that
// a process killed between two renames leaves what FinishInterruptedSet
// needs to make the set whole again (see file_set.h).
Status ReplaceFilesAsSet(std::span<const FileToWrite> files, const FileFaultHook& fault = {},
                         const std::filesystem::path& manifest = {});

// Syncs a folder's entries (names made, renamed, removed) to disk.
Status SyncFolder(const std::filesystem::path& folder, const FileFaultHook& fault = {});

// Copies `from` over `to` (atomically, as above).
Status CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace platform
