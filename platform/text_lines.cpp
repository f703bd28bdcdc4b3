#include "platform/text_lines.h"

#include <algorithm>

namespace platform {

std::optional<std::string_view> TextLineSplitter::Next() {
  if (position_ >= bytes_.size()) return std::nullopt;
  const size_t end = std::min(bytes_.find_first_of("\r\n", position_), bytes_.size());
  const std::string_view line = bytes_.substr(position_, end - position_);
  position_ = end;
  if (position_ < bytes_.size()) {
    // CR LF is one line end; a CR alone or an LF alone is one too.
    const bool crLf =
        bytes_[position_] == '\r' && position_ + 1 < bytes_.size() && bytes_[position_ + 1] == '\n';
    position_ += crLf ? 2 : 1;
  }
  return line;
}

void TextLineSplitter::Skip(size_t count) {
  position_ = std::min(bytes_.size(), position_ + count);
}

}  // namespace platform
