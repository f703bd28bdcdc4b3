// The one line splitter of every reader of text files: files written by this
// system end their lines in CR LF, but files edited by hand or copied through
// other systems may end them in LF or in a bare CR, and all three must read
// as the same lines.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace platform {

// Splits bytes into lines. A line ends at CR LF, at LF or at a bare CR; the
// line end is not part of the line. Text after the last line end is a line
// of its own; a text that ends in a line end has no empty line after it.
class TextLineSplitter {
 public:
  explicit TextLineSplitter(std::string_view bytes) : bytes_(bytes) {}

  // The next line, or nothing at the end of the text.
  std::optional<std::string_view> Next();
  // Offset of the first byte not yet split off.
  size_t Position() const { return position_; }
  // Moves the start of the next line forward by `count` bytes (a reader
  // that skips blanks between lines).
  void Skip(size_t count);
  std::string_view Rest() const { return bytes_.substr(position_); }

 private:
  std::string_view bytes_;
  size_t position_ = 0;
};

// Calls `fn(lineNumber, line)` for every line, counting from 1, until `fn`
// returns false.
template <class Fn>
void ForEachTextLine(std::string_view bytes, Fn&& fn) {
  TextLineSplitter splitter(bytes);
  size_t lineNumber = 0;
  while (std::optional<std::string_view> line = splitter.Next()) {
    if (!fn(++lineNumber, *line)) return;
  }
}

}  // namespace platform
