#include "planner/text_lines.h"

#include <system_error>

#include "platform/file_io.h"

namespace planner {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

std::optional<std::string_view> TextLineReader::Next() {
  const std::string_view rest = splitter_.Rest();
  size_t blanks = 0;
  while (blanks < rest.size() && IsBlank(rest[blanks])) ++blanks;
  splitter_.Skip(blanks);
  return splitter_.Next();
}

void AppendLine(std::string& out, std::string_view line) {
  out.append(line);
  out.append("\r\n");
}

void ShowErrorMessage(const navdb::Reporter& ui, const std::string& text) {
  navdb::ShowMessage(ui, std::string(kErrorCaption), text, navdb::MessageIcon::Error,
                     navdb::MessageButtons::Ok);
}

std::string CannotOpenText(const std::filesystem::path& path, std::string_view reason) {
  return std::string(kCannotOpenText) + "\r\r" + path.string() + ": " + std::string(reason);
}

bool WriteAskingOverwrite(const std::filesystem::path& path, std::string_view bytes,
                          const std::string& overwriteQuestion, const std::string& failureText,
                          const navdb::Reporter& ui) {
  std::error_code error;
  if (std::filesystem::exists(path, error)) {
    const navdb::MessageAnswer answer =
        navdb::ShowMessage(ui, std::string(kWarningCaption), overwriteQuestion,
                           navdb::MessageIcon::Warning, navdb::MessageButtons::YesNo);
    if (answer != navdb::MessageAnswer::Yes) return false;
  } else {
    std::filesystem::create_directories(path.parent_path(), error);
  }
  const platform::Status written = platform::ReplaceFileAtomically(path, bytes);
  if (!written.ok()) {
    navdb::ShowMessage(ui, std::string(kErrorCaption),
                       failureText + "\r\r" + written.error().message, navdb::MessageIcon::Error,
                       navdb::MessageButtons::Ok);
    return false;
  }
  return true;
}

}  // namespace planner
