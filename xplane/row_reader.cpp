#include "xplane/row_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace xplane {
namespace {

// zlib's reason for the state of `file`, or nothing when it has none.
// zlib puts the path in front of it, which the callers name themselves.
std::string ZlibProblem(gzFile file, const std::string& path) {
  int code = Z_OK;
  const char* text = gzerror(file, &code);
  if (code == Z_OK) return {};
  if (code == Z_ERRNO) return std::strerror(errno);
  std::string_view reason = text != nullptr ? text : "";
  if (reason.starts_with(path + ": ")) reason.remove_prefix(path.size() + 2);
  return reason.empty() ? "read error" : std::string(reason);
}

// The next CR or LF of a piece at or after a position. Each byte is
// searched for each of the two once: a found position is kept until the
// reader has passed it (memchr is many times faster than a search for either).
class LineEnds {
 public:
  explicit LineEnds(std::string_view bytes)
      : bytes_(bytes), cr_(Find('\r', 0)), lf_(Find('\n', 0)) {}
  size_t Next(size_t from) {
    if (cr_ != std::string_view::npos && cr_ < from) cr_ = Find('\r', from);
    if (lf_ != std::string_view::npos && lf_ < from) lf_ = Find('\n', from);
    return std::min(cr_, lf_);
  }

 private:
  size_t Find(char c, size_t from) const {
    const void* found = std::memchr(bytes_.data() + from, c, bytes_.size() - from);
    return found ? static_cast<size_t>(static_cast<const char*>(found) - bytes_.data())
                 : std::string_view::npos;
  }
  std::string_view bytes_;
  size_t cr_;
  size_t lf_;
};

}  // namespace

void ChunkedLines::Feed(std::string_view bytes) {
  if (bytes.empty()) return;
  size_t at = 0;
  if (afterCr_) {
    afterCr_ = false;
    if (bytes[0] == '\n') at = 1;
  }
  LineEnds ends(bytes);
  while (at < bytes.size()) {
    const size_t end = ends.Next(at);
    if (end == std::string_view::npos) {
      Append(bytes.substr(at));
      return;
    }
    Append(bytes.substr(at, end - at));
    EndLine();
    at = end + 1;
    if (bytes[end] == '\r') {
      if (at == bytes.size())
        afterCr_ = true;
      else if (bytes[at] == '\n')
        ++at;
    }
  }
}

void ChunkedLines::Finish() {
  if (!line_.empty() || cut_) EndLine();
}

void ChunkedLines::Append(std::string_view bytes) {
  const size_t room = kMaxRowBytes - line_.size();
  if (bytes.size() > room) {
    cut_ = true;
    bytes = bytes.substr(0, room);
  }
  line_.append(bytes);
}

void ChunkedLines::EndLine() {
  onLine_(line_, cut_);
  line_.clear();
  cut_ = false;
}

platform::Status ForEachLine(const std::filesystem::path& path, const LineHandler& onLine) {
  errno = 0;
  gzFile file = gzopen(path.c_str(), "rb");
  if (file == nullptr) {
    if (errno != 0) return platform::SystemError(errno, path);
    return platform::Error{"cannot open the file", 0, path};
  }
  ChunkedLines lines(onLine);
  char buffer[1 << 16];
  std::string problem;
  for (;;) {
    const int got = gzread(file, buffer, sizeof buffer);
    if (got < 0) {
      problem = ZlibProblem(file, path.string());
      if (problem.empty()) problem = "read error";
      break;
    }
    if (got == 0) {
      // The end of what could be read: a gzip stream cut short says so
      // only here ("unexpected end of file").
      problem = ZlibProblem(file, path.string());
      break;
    }
    lines.Feed(std::string_view(buffer, static_cast<size_t>(got)));
  }
  const int closed = gzclose(file);
  if (problem.empty() && closed != Z_OK) {
    problem = closed == Z_ERRNO ? std::strerror(errno) : "unexpected end of file";
  }
  if (!problem.empty()) return platform::Error{problem, 0, path};
  lines.Finish();
  return {};
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    const size_t start = at;
    while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
    if (at > start) fields.push_back(line.substr(start, at - start));
  }
  return fields;
}

std::string JoinFields(const std::vector<std::string_view>& fields, size_t first) {
  std::string joined;
  for (size_t i = first; i < fields.size(); ++i) {
    if (!joined.empty()) joined += ' ';
    joined += fields[i];
  }
  return joined;
}

}  // namespace xplane
