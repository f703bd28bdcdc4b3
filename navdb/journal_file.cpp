#include "navdb/journal_file.h"

#include <cerrno>
#include <chrono>

namespace navdb {
namespace {

namespace fs = std::filesystem;

platform::Error CannotWrite(std::string_view fileName, const platform::Status& written) {
  return platform::Error{
      "Can't create file " + std::string(fileName) + "\r\r" + written.error().message,
      written.error().errorNumber, written.error().path};
}

// Replaces one file of the NavData folder whole, as the database files are:
// never through a link, never over a file the user made read-only.
platform::Status ReplaceWhole(const fs::path& folder, std::string_view fileName,
                              std::string_view bytes, const platform::FileFaultHook& fault) {
  if (const std::optional<std::string> refusal = ReplaceRefusal(folder / fileName)) {
    return platform::Error{*refusal + "\r\rNothing was written.", 0, folder / fileName};
  }
  const platform::FileToWrite file{folder / fileName, bytes};
  const platform::Status written = platform::ReplaceFilesAsSet(std::span(&file, 1), fault);
  if (!written.ok()) return CannotWrite(fileName, written);
  return {};
}

// Adds the damaged rest of the journal to the end of edits.journal.rejected,
// under a line that says when and why it was set aside. A rejected file that
// exists but cannot be read is not written over.
platform::Status KeepDamagedRest(const fs::path& folder, const JournalDamage& damage,
                                 const platform::FileFaultHook& fault) {
  std::string kept;
  const platform::Status read = platform::ReadWholeFile(folder / kJournalRejectedFileName, kept);
  if (!read.ok() && read.error().errorNumber != ENOENT) {
    return platform::Error{std::string(kJournalRejectedFileName) + " could not be read (" +
                               read.error().message + "): it is not written over.",
                           read.error().errorNumber, folder / kJournalRejectedFileName};
  }
  if (!read.ok()) kept.clear();
  if (!kept.empty() && kept.back() != '\n' && kept.back() != '\r') kept += "\r\n";
  kept += "// Set aside from " + std::string(kJournalFileName) + " on " +
          JournalTimeText(std::chrono::system_clock::now()) + ": " + damage.reason + "\r\n";
  kept += damage.rest;
  if (!kept.empty() && kept.back() != '\n' && kept.back() != '\r') kept += "\r\n";
  return ReplaceWhole(folder, kJournalRejectedFileName, kept, fault);
}

}  // namespace

platform::Result<JournalContents> ReadJournalFile(const fs::path& folder) {
  std::string bytes;
  const platform::Status read = platform::ReadWholeFile(folder / kJournalFileName, bytes);
  if (!read.ok() && read.error().errorNumber == ENOENT) return JournalContents{};
  if (!read.ok()) {
    return platform::Error{std::string(kJournalFileName) + " could not be read (" +
                               read.error().message + "). It is left as it is.",
                           read.error().errorNumber, folder / kJournalFileName};
  }
  platform::Result<JournalContents> decoded = DecodeJournal(bytes);
  if (!decoded) {
    platform::Error error = decoded.error();
    error.path = folder / kJournalFileName;
    return error;
  }
  return decoded;
}

platform::Result<JournalUpdate> ChangeJournalFile(
    const fs::path& folder, const std::function<void(std::vector<JournalRecord>&)>& change,
    const platform::FileFaultHook& fault) {
  platform::Result<JournalContents> read = ReadJournalFile(folder);
  if (!read) return read.error();
  JournalUpdate update{std::move(read->records), std::move(read->damage)};
  if (update.setAside) {
    if (platform::Status kept = KeepDamagedRest(folder, *update.setAside, fault); !kept) {
      return kept.error();
    }
  }
  if (change) change(update.records);
  if (platform::Status written =
          ReplaceWhole(folder, kJournalFileName, EncodeJournal(update.records), fault);
      !written) {
    return written.error();
  }
  return update;
}

platform::Result<bool> DropJournalRecord(const fs::path& folder, size_t index,
                                         const JournalRecord& record) {
  bool dropped = false;
  const platform::Result<JournalUpdate> changed =
      ChangeJournalFile(folder, [&](std::vector<JournalRecord>& records) {
        if (index >= records.size() || records[index] != record) return;
        records.erase(records.begin() + static_cast<std::ptrdiff_t>(index));
        dropped = true;
      });
  if (!changed) return changed.error();
  return dropped;
}

platform::Result<JournalUpdate> OpenJournalFile(const fs::path& folder) {
  platform::Result<JournalContents> read = ReadJournalFile(folder);
  if (!read) return read.error();
  if (read->damage) return ChangeJournalFile(folder, {});
  return JournalUpdate{std::move(read->records), std::nullopt};
}

std::string SetAsideText(const JournalDamage& damage, size_t recordsKept) {
  return std::string(kJournalFileName) + " was damaged from line " +
         std::to_string(damage.lineNumber) + " (" + damage.reason + "). The " +
         std::to_string(recordsKept) + (recordsKept == 1 ? " record" : " records") +
         " before it are kept; the rest is now in " + std::string(kJournalRejectedFileName) + ".";
}

platform::Result<JournalUpdate> JournalUnsavedEdits(const Database& db,
                                                    const platform::FileFaultHook& fault) {
  return ChangeJournalFile(
      db.folder,
      [&](std::vector<JournalRecord>& records) {
        records.insert(records.end(), db.unsavedEdits.begin(), db.unsavedEdits.end());
      },
      fault);
}

platform::Status TakeBackUnsavedEdits(const Database& db) {
  platform::Result<JournalUpdate> changed =
      ChangeJournalFile(db.folder, [&](std::vector<JournalRecord>& records) {
        const size_t count = db.unsavedEdits.size();
        if (records.size() < count) return;
        const auto tail = records.end() - static_cast<std::ptrdiff_t>(count);
        if (std::equal(tail, records.end(), db.unsavedEdits.begin()))
          records.erase(tail, records.end());
      });
  if (!changed) return changed.error();
  return {};
}

bool ForgetUnsavedEdit(Database& db, const JournalRecord& record) {
  for (auto it = db.unsavedEdits.rbegin(); it != db.unsavedEdits.rend(); ++it) {
    if (*it != record) continue;
    db.unsavedEdits.erase(std::next(it).base());
    return true;
  }
  return false;
}

}  // namespace navdb
