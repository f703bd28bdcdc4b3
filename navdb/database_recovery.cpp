#include "navdb/database_recovery.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <system_error>

#include "navdb/database.h"
#include "navdb/journal_file.h"
#include "platform/file_set.h"

namespace navdb {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kInterrupted =
    "The last save of the database was interrupted before all its files were in place.";

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// `name` without one ".tmp.<pid>.<n>" or ".old.<pid>.<n>" at its end, or
// nothing when it has none.
std::optional<std::string_view> WithoutSaveSuffix(std::string_view name) {
  const size_t last = name.rfind('.');
  if (last == std::string_view::npos || !IsDigits(name.substr(last + 1))) return std::nullopt;
  const size_t middle = name.rfind('.', last - 1);
  if (middle == std::string_view::npos || middle == 0 ||
      !IsDigits(name.substr(middle + 1, last - middle - 1))) {
    return std::nullopt;
  }
  const size_t kind = name.rfind('.', middle - 1);
  if (kind == std::string_view::npos) return std::nullopt;
  const std::string_view word = name.substr(kind + 1, middle - kind - 1);
  if (word != "tmp" && word != "old") return std::nullopt;
  return name.substr(0, kind);
}

bool IsOwnFileName(std::string_view name) {
  if (name == kSaveManifestName || name == kJournalFileName || name == kJournalRejectedFileName)
    return true;
  for (size_t slot = 0; slot < kDatabaseFileCount; ++slot) {
    const std::string_view file = DatabaseFileName(slot);
    if (name == file || name == RejectedFileName(file)) return true;
  }
  return false;
}

}  // namespace

bool SaveWasInterrupted(const fs::path& navDataFolder) {
  struct stat info {};
  return ::lstat((navDataFolder / kSaveManifestName).c_str(), &info) == 0;
}

platform::Status FinishInterruptedSave(const fs::path& navDataFolder, const Reporter& ui) {
  std::array<std::string_view, kDatabaseFileCount> targets;
  for (size_t slot = 0; slot < kDatabaseFileCount; ++slot) targets[slot] = DatabaseFileName(slot);
  const fs::path manifest = navDataFolder / kSaveManifestName;
  const platform::Result<platform::SetRecovery> result =
      platform::FinishInterruptedSet(manifest, targets);
  if (!result) {
    return platform::Failure(
        "The database files are out of step: a save was interrupted and could not be "
        "finished or undone (" +
        result.error().message + ").\r\rNothing was changed. " + manifest.string() +
        " lists the files of that save.");
  }
  switch (*result) {
    case platform::SetRecovery::NothingLeft:
      break;
    case platform::SetRecovery::RolledForward:
      ShowMessage(ui, "Warning",
                  std::string(kInterrupted) +
                      " It has now been finished: the database holds the files of that save.",
                  MessageIcon::Warning, MessageButtons::Ok);
      break;
    case platform::SetRecovery::RolledBack:
      ShowMessage(ui, "Warning",
                  std::string(kInterrupted) +
                      " The files it was replacing were put back: the database holds the files "
                      "from before that save.",
                  MessageIcon::Warning, MessageButtons::Ok);
      break;
  }
  return {};
}

std::string InterruptedSaveRefusal(std::string_view reason) {
  return "The database files are out of step: a save was interrupted. It is finished by the "
         "next program that has the database to itself.\r\r" +
         std::string(reason);
}

bool IsSaveLeftover(std::string_view name) {
  std::optional<std::string_view> base = WithoutSaveSuffix(name);
  if (!base) return false;
  // A kept-old file that had to be copied was written as a temporary first.
  while (const std::optional<std::string_view> shorter = WithoutSaveSuffix(*base)) base = shorter;
  return IsOwnFileName(*base);
}

void RemoveSaveLeftovers(const fs::path& navDataFolder) {
  std::error_code error;
  for (fs::directory_iterator it(navDataFolder, error), end; !error && it != end;
       it.increment(error)) {
    const fs::path& path = it->path();
    if (!IsSaveLeftover(path.filename().string())) continue;
    struct stat info {};
    // A link or a folder of that name is not of this program's making.
    if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) ::unlink(path.c_str());
  }
}

}  // namespace navdb
