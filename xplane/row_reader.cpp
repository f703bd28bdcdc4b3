#include "xplane/row_reader.h"

#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/text_lines.h"

namespace xplane {
namespace {

struct GzCloser {
  void operator()(gzFile_s* file) const { gzclose(file); }
};

void EmitLines(std::string& pending, bool atEnd,
               const std::function<void(std::string_view)>& onLine) {
  // Only lines whose end has been read are complete; a CR at the very end of
  // what was read may be the first half of a CR LF.
  size_t complete = pending.size();
  if (!atEnd) {
    size_t lastEnd = pending.find_last_of("\r\n");
    if (lastEnd != std::string::npos && lastEnd + 1 == pending.size() && pending[lastEnd] == '\r')
      lastEnd = lastEnd == 0 ? std::string::npos : pending.find_last_of("\r\n", lastEnd - 1);
    if (lastEnd == std::string::npos) return;
    complete = lastEnd + 1;
  }
  platform::ForEachTextLine(std::string_view(pending).substr(0, complete),
                            [&](size_t, std::string_view line) {
                              onLine(line);
                              return true;
                            });
  pending.erase(0, complete);
}

}  // namespace

std::string ForEachLine(const std::filesystem::path& path,
                        const std::function<void(std::string_view line)>& onLine) {
  errno = 0;
  std::unique_ptr<gzFile_s, GzCloser> file(gzopen(path.c_str(), "rb"));
  if (!file) return errno != 0 ? std::strerror(errno) : "cannot open the file";
  std::string pending;
  char buffer[1 << 16];
  for (;;) {
    const int got = gzread(file.get(), buffer, sizeof buffer);
    if (got < 0) {
      int code = 0;
      const char* text = gzerror(file.get(), &code);
      return text != nullptr && *text != '\0' ? text : "read error";
    }
    if (got == 0) break;
    pending.append(buffer, static_cast<size_t>(got));
    EmitLines(pending, false, onLine);
  }
  EmitLines(pending, true, onLine);
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
