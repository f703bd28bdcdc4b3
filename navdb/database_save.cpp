// Saving the database files as one set, the ".rejected" files beside them,
// and the restore of the reference copies.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "navdb/database.h"
#include "navdb/database_recovery.h"
#include "navdb/journal_file.h"
#include "platform/file_set.h"
#include "platform/text_lines.h"

namespace navdb {
namespace {

constexpr std::string_view kSaveProblemStatus = "Status : a problem occurs while saving !";

void ShowSaveProblem(const Reporter& ui, const std::string& text) {
  ShowMessage(ui, "Error", text, MessageIcon::Error, MessageButtons::Ok);
  ui.Status(StatusIcon::Problem, std::string(kSaveProblemStatus));
}

std::string CannotCreateText(std::string_view fileName, const std::string& reason) {
  return "Can't create file " + std::string(fileName) + "\r\r" + reason;
}

// The ".rejected" files are written before the database files, so that the
// lines they keep are safe before the files they came from are replaced.
bool SaveRejectedLines(const Database& db, const Reporter& ui) {
  for (size_t slot = 0; slot < kDatabaseFileCount; ++slot) {
    if (db.rejectedLines[slot].empty()) continue;
    const std::string name = RejectedFileName(DatabaseFileName(slot));
    const platform::Status appended = AppendRejectedLines(db.folder / name, db.rejectedLines[slot]);
    if (!appended.ok()) {
      ShowSaveProblem(ui, CannotCreateText(name, appended.error().message) +
                              "\r\rThe database files were left as they were.");
      return false;
    }
  }
  return true;
}

std::string IndexFileBytes(const Database& db) {
  std::string bytes(kIndexFileHeader);
  bytes.append("\r\n").append(WriteIndex(db.index));
  return bytes;
}

std::string SetFailureText(const Database& db, const platform::Status& written) {
  // Only the sync of the folder comes after the renames.
  if (written.error().path == db.folder) {
    return "The database files were saved, but the folder " + db.folder.string() +
           " could not be synced to disk.\r\r" + written.error().message;
  }
  return CannotCreateText(written.error().path.filename().string(), written.error().message) +
         (std::filesystem::exists(db.folder / kSaveManifestName)
              ? "\r\rThe files already replaced could not all be put back. The next program "
                "that opens the database puts the old or the new files in place."
              : "\r\rThe database files were left as they were.");
}

// Why a file that loaded as nothing is not written over. The entry files and
// idx.dat are one set (the index rows point into the entry files), so any
// file held back holds back the whole set.
std::string NotReadText(size_t slot, const std::string& readFailure) {
  return std::string(DatabaseFileName(slot)) +
         " was not saved: it could not be read when the database was loaded (" + readFailure +
         (slot == kIndexFileSlot
              ? "). No other file was saved either: they must match the index."
              : "). idx.dat and the other files were not saved either: the index must match "
                "the entry files.");
}

// The refusals of a set write over `names` in `folder`, each with what was
// left as it was; empty when the set may be written.
std::optional<std::string> SetRefusal(const std::filesystem::path& folder,
                                      std::span<const std::string_view> names,
                                      std::string_view leftAlone) {
  std::string text;
  for (const std::string_view name : names) {
    if (const std::optional<std::string> refusal = ReplaceRefusal(folder / name)) {
      text += (text.empty() ? "" : "\r") + *refusal;
    }
  }
  if (text.empty()) return std::nullopt;
  return text + "\r\r" + std::string(leftAlone);
}

constexpr std::string_view kSetNotSaved =
    "The database was not saved: its five files are saved together or not at all.";

constexpr std::string_view kEditsLeftInJournal =
    "The edits of this save stay in edits.journal although the database files were not "
    "saved: the next program that loads the database applies them again.";

// The unsaved edits go to the journal; a journal that cannot be read or
// written stops the save before any database file is touched.
bool SaveUnsavedEdits(const Database& db, const Reporter& ui,
                      const platform::FileFaultHook& fault) {
  const platform::Result<JournalUpdate> journaled = JournalUnsavedEdits(db, fault);
  if (!journaled) {
    ShowSaveProblem(ui, journaled.error().message +
                            "\r\rThe database files were left as they were: an edit is saved "
                            "only with its record in edits.journal.");
    return false;
  }
  if (journaled->setAside) {
    ShowMessage(
        ui, "Warning",
        SetAsideText(*journaled->setAside, journaled->records.size() - db.unsavedEdits.size()),
        MessageIcon::Warning, MessageButtons::Ok);
  }
  return true;
}

std::array<std::string_view, kDatabaseFileCount> SaveOrder() {
  std::array<std::string_view, kDatabaseFileCount> names;
  for (size_t slot = 0; slot < kDatabaseFileCount; ++slot) names[slot] = DatabaseFileName(slot);
  return names;
}

// The five files as one set, from the lists and the index.
bool WriteDatabaseSet(const Database& db, const Reporter& ui,
                      const platform::FileFaultHook& fault) {
  const auto names = SaveOrder();
  std::array<std::string, kDatabaseFileCount> contents;
  std::vector<platform::FileToWrite> files;
  for (size_t slot = 0; slot < kDatabaseFileCount; ++slot) {
    contents[slot] = slot == kIndexFileSlot ? IndexFileBytes(db)
                                            : EncodeEntryFile(kAllKinds[slot], db.lists[slot]);
    files.push_back({db.folder / names[slot], contents[slot]});
  }
  const platform::Status written =
      platform::ReplaceFilesAsSet(files, fault, db.folder / kSaveManifestName);
  if (!written.ok()) {
    ShowSaveProblem(ui, SetFailureText(db, written));
    return false;
  }
  return true;
}

}  // namespace

// A working file that this program must not replace: a link (a save puts
// plain files in the NavData folder, so it would break the link and leave
// the file it points at behind) or a file the user made read-only.
std::optional<std::string> ReplaceRefusal(const std::filesystem::path& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return std::nullopt;  // a new file
  const std::string name = path.filename().string();
  if (S_ISLNK(info.st_mode)) {
    return name + " is a symbolic link: the database files are saved as plain files in " +
           path.parent_path().string() +
           " and never through a link. Put the file itself in place of the link.";
  }
  if (!S_ISREG(info.st_mode)) return std::nullopt;  // the replace reports it
  if ((info.st_mode & 0222) == 0) return name + " is read-only. Make it writable first.";
  if (::access(path.c_str(), W_OK) != 0) return name + " cannot be written by this user.";
  return std::nullopt;
}

std::string_view DatabaseFileName(size_t slot) {
  return slot < kKindInfo.size() ? kKindInfo[slot].fileName : kIndexFileName;
}

std::string RejectedFileName(std::string_view fileName) {
  return std::string(fileName) + ".rejected";
}

platform::Status AppendRejectedLines(const std::filesystem::path& path,
                                     const std::vector<std::string>& lines) {
  std::string bytes;
  const platform::Status read = platform::ReadWholeFile(path, bytes);
  if (!read.ok() && read.error().errorNumber != ENOENT) return read;
  if (!read.ok()) bytes.clear();
  std::unordered_set<std::string_view> present;
  platform::ForEachTextLine(bytes, [&](size_t, std::string_view line) {
    present.insert(line);
    return true;
  });
  std::string added;
  for (const std::string& line : lines) {
    if (present.insert(line).second) added.append(line).append("\r\n");
  }
  if (added.empty()) return {};
  if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') bytes.append("\r\n");
  bytes.append(added);
  return platform::ReplaceFileAtomically(path, bytes);
}

bool SaveDatabase(Database& db, const Reporter& ui, const platform::FileFaultHook& fault) {
  ui.Status(StatusIcon::Saving, "Status : saving data...");
  // A file that could not be read loaded as nothing: writing the lists over
  // it would wipe what it holds, and writing the others would leave them out
  // of step with it. Nothing at all is written then, .rejected files included.
  bool heldBack = false;
  for (size_t slot = 0; slot < kDatabaseFileCount; ++slot) {
    if (db.readFailures[slot].empty()) continue;
    ShowSaveProblem(ui, NotReadText(slot, db.readFailures[slot]));
    heldBack = true;
  }
  if (heldBack) return false;
  const auto names = SaveOrder();
  if (const std::optional<std::string> refusal = SetRefusal(db.folder, names, kSetNotSaved)) {
    ShowSaveProblem(ui, *refusal);
    return false;
  }
  // An edit is saved only with its journal record, written and synced
  // first: a save killed after it leaves a record that the next load finds
  // missing from the files and applies again.
  if (!db.unsavedEdits.empty() && !SaveUnsavedEdits(db, ui, fault)) return false;
  if (!SaveRejectedLines(db, ui) || !WriteDatabaseSet(db, ui, fault)) {
    // The files keep their old contents, so the journal must not claim the
    // edits: they stay unsaved, for the next save.
    if (!db.unsavedEdits.empty() && !TakeBackUnsavedEdits(db)) {
      ShowMessage(ui, "Warning", std::string(kEditsLeftInJournal), MessageIcon::Warning,
                  MessageButtons::Ok);
    }
    return false;
  }
  db.unsavedEdits.clear();
  ui.Status(StatusIcon::Ready, "Status : done");
  return true;
}

bool CopyOriginalDatabase(Database& db, const Reporter& ui) {
  const MessageAnswer answer =
      ShowMessage(ui, "Warning",
                  "You are going to lose any modification you've done on the database, \r"
                  "INCLUDING the Intersection list !\r\rProceed ?",
                  MessageIcon::Warning, MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return false;

  // Every reference copy is read before any working file is replaced, so a
  // missing or unreadable copy cannot leave a mixed database.
  const std::string_view order[] = {kIndexFileName, "ndb.dat", "vor.dat", "apt.dat", "int.dat"};
  std::array<std::string, 5> contents;
  std::vector<platform::FileToWrite> files;
  bool mayCopy = true;
  for (size_t i = 0; i < std::size(order); ++i) {
    const platform::Status read =
        platform::ReadWholeFile(db.folder / kOriginalFolder / order[i], contents[i]);
    if (!read.ok()) {
      ShowMessage(ui, "Error : " + std::string(order[i]), read.error().message, MessageIcon::Error,
                  MessageButtons::Ok);
      mayCopy = false;
    }
    files.push_back({db.folder / order[i], contents[i]});
  }
  if (mayCopy) {
    // A link or a read-only working file is refused as a save refuses it.
    const std::optional<std::string> refusal =
        SetRefusal(db.folder, order, "The reference copies replace the five files together.");
    if (refusal) ShowMessage(ui, "Error", *refusal, MessageIcon::Error, MessageButtons::Ok);
    mayCopy = !refusal;
  }
  platform::Status copied;
  if (mayCopy) copied = platform::ReplaceFilesAsSet(files, {}, db.folder / kSaveManifestName);
  if (!mayCopy || !copied.ok()) {
    if (!copied.ok()) {
      ShowMessage(ui, "Error : " + copied.error().path.filename().string(), copied.error().message,
                  MessageIcon::Error, MessageButtons::Ok);
    }
    ShowMessage(ui, "Error",
                "The original database could not be restored. The database files were left "
                "as they were.",
                MessageIcon::Error, MessageButtons::Ok);
    return false;
  }

  return true;
}

}  // namespace navdb
