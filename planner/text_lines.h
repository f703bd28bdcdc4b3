// Line reading of the planner's text files: a read skips blank lines and the
// blanks that lead the next line, and a line ends at CR LF, LF or a bare CR.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "navdb/reporter.h"
#include "platform/text_lines.h"

namespace planner {

class TextLineReader {
 public:
  explicit TextLineReader(std::string_view bytes) : splitter_(bytes) {}
  // The next line, or nothing at the end of the text.
  std::optional<std::string_view> Next();

 private:
  platform::TextLineSplitter splitter_;
};

// Appends `line` and CR LF.
void AppendLine(std::string& out, std::string_view line);

// Writes a new plan or performance file: when `path` exists the user is
// asked `overwriteQuestion` first; the file is replaced atomically, so a
// failed write leaves the old one. Returns true when the file was written.
bool WriteAskingOverwrite(const std::filesystem::path& path, std::string_view bytes,
                          const std::string& overwriteQuestion, const std::string& failureText,
                          const navdb::Reporter& ui);

inline constexpr std::string_view kErrorCaption = "Error !";
inline constexpr std::string_view kWarningCaption = "Warning !";
inline constexpr std::string_view kCannotOpenText = "Cannot open the file.";

// Tells the user of a failure: `text` under the caption "Error !".
void ShowErrorMessage(const navdb::Reporter& ui, const std::string& text);

// "Cannot open the file." and, after a blank line, the file and the
// system's reason (a missing file, a named pipe, ...).
std::string CannotOpenText(const std::filesystem::path& path, std::string_view reason);

}  // namespace planner
