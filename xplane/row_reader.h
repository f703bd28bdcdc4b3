// Line-by-line reading of the X-Plane navigation data files, plain or
// gzip-compressed (zlib reads an uncompressed file through the same calls).
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace xplane {

// Calls `onLine` with every line of `path` (line ends stripped). Returns an
// empty text on success, else what went wrong.
std::string ForEachLine(const std::filesystem::path& path,
                        const std::function<void(std::string_view line)>& onLine);

// Splits `line` at runs of blanks.
std::vector<std::string_view> SplitFields(std::string_view line);

// The fields from `first` on joined by single spaces (a name of several words).
std::string JoinFields(const std::vector<std::string_view>& fields, size_t first);

}  // namespace xplane
