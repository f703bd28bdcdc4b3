// The display's own small files: the simulator's configuration and the mode
// file read, the mode file and the error log written. Each is opened without
// waiting and used only when it is a regular file: a named pipe in its place
// would otherwise hold the simulator in open() until another program opened
// its other end.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>

namespace lumaro {

// The first maxBytes of a regular file; nothing when it cannot be opened or
// is a named pipe, a device, a socket or a folder.
std::optional<std::string> ReadSmallFile(const std::string& path, size_t maxBytes);

// The file created or emptied for writing; nullptr when it cannot be, and
// at once, leaving it as it was, when the name holds a named pipe, a device,
// a socket or a folder.
std::FILE* CreateFileForWriting(const std::string& path);

}  // namespace lumaro
