// The display's own small files: the simulator's configuration and the mode
// file read, the mode file and the error log written. Each is opened without
// waiting and used only when it is a regular file: a named pipe in its place
// would otherwise hold the simulator in open() until another program opened
// its other end. A file is written only when this module created it, never
// through a symbolic link: a link in the Gauges folder (unpacked from an
// archive, say) must not let the display empty or overwrite a file elsewhere.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>

namespace lumaro {

// The first maxBytes of a regular file; nothing when it cannot be opened or
// is a named pipe, a device, a socket or a folder.
std::optional<std::string> ReadSmallFile(const std::string& path, size_t maxBytes);

// A file created by this call for writing. A regular file of that name (an
// earlier log or a temporary copy a former run left) is removed first, which
// leaves its contents to any other name it has; a symbolic link, a named
// pipe, a device, a socket or a folder is left as it is and nothing is
// created (nullptr), as when the file cannot be made.
std::FILE* CreateFileForWriting(const std::string& path);

// Closes `file` (from CreateFileForWriting) and removes it from `path`, but
// only while the name still holds that very file.
void CloseAndRemoveCreatedFile(std::FILE* file, const std::string& path);

}  // namespace lumaro
