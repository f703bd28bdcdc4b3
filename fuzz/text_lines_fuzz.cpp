// Arbitrary bytes with any mix of CR LF, LF and CR line ends: the splitter
// must never read out of bounds, never leave a line end inside a line, and
// lose no byte: the lines joined with LF give back the text with every line
// end written as LF. The planner's reader, which also skips blanks, must
// find the same non-blank lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "planner/text_lines.h"
#include "platform/text_lines.h"

namespace {

std::string WithLfLineEnds(std::string_view bytes) {
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r') {
      text += '\n';
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      text += bytes[i];
    }
  }
  return text;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string joined;
  size_t lineCount = 0;
  platform::ForEachTextLine(bytes, [&](size_t lineNumber, std::string_view line) {
    if (lineNumber != ++lineCount) std::abort();
    if (line.find_first_of("\r\n") != std::string_view::npos) std::abort();
    if (line.data() < bytes.data() || line.data() + line.size() > bytes.data() + bytes.size())
      std::abort();
    joined.append(line).append("\n");
    return true;
  });
  std::string expected = WithLfLineEnds(bytes);
  if (!expected.empty() && expected.back() != '\n') expected += '\n';
  if (joined != expected) std::abort();

  // The planner's reader: each line it gives is a splitter line without its
  // leading blanks, in order, and never empty.
  planner::TextLineReader reader(bytes);
  platform::TextLineSplitter splitter(bytes);
  while (std::optional<std::string_view> line = reader.Next()) {
    if (line->empty() || IsBlank(line->front())) std::abort();
    bool found = false;
    while (std::optional<std::string_view> candidate = splitter.Next()) {
      if (candidate->ends_with(*line) &&
          candidate->find_first_not_of(" \t\v\f") == candidate->size() - line->size()) {
        found = true;
        break;
      }
    }
    if (!found) std::abort();
  }
  return 0;
}
