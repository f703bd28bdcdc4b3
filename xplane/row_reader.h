// Line-by-line reading of the X-Plane navigation data files, plain or
// gzip-compressed (zlib reads an uncompressed file through the same calls).
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace xplane {

// The longest line kept whole. No row of these files comes near it; of a
// longer line only this much is kept (and handed on as cut), so that one
// endless line cannot take the memory of the whole file.
inline constexpr size_t kMaxRowBytes = 4096;

// `line` without its line end; `cut` when the line was longer than
// kMaxRowBytes and `line` is only its start.
using LineHandler = std::function<void(std::string_view line, bool cut)>;

// Calls `onLine` with every line of `path`, looking at each byte once.
// Fails saying what went wrong: the system's reason, or zlib's for a damaged
// or truncated gzip file (checked at the end too, so that a file cut short is
// never taken for a whole one).
platform::Status ForEachLine(const std::filesystem::path& path, const LineHandler& onLine);

// Lines out of bytes that come in pieces: a line end split between two
// pieces (a CR LF) is still one. Each byte is looked at once.
class ChunkedLines {
 public:
  explicit ChunkedLines(const LineHandler& onLine) : onLine_(onLine) {}
  void Feed(std::string_view bytes);
  // Hands on the text after the last line end, if any.
  void Finish();

 private:
  void Append(std::string_view bytes);
  void EndLine();

  const LineHandler& onLine_;
  std::string line_;
  bool cut_ = false;
  bool afterCr_ = false;  // the last piece ended in a CR: an LF first in the next is its pair
};

// Splits `line` at runs of blanks.
std::vector<std::string_view> SplitFields(std::string_view line);

// The fields from `first` on joined by single spaces (a name of several words).
std::string JoinFields(const std::vector<std::string_view>& fields, size_t first);

}  // namespace xplane
