// The navaid database: four entry lists and the geographic index, and the
// five text files in the NavData folder that hold them between runs.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "navdb/edit_journal.h"
#include "navdb/entry_list.h"
#include "navdb/geo_index.h"
#include "navdb/reporter.h"
#include "platform/file_io.h"

namespace navdb {

inline constexpr std::string_view kIndexFileName = "idx.dat";
inline constexpr std::string_view kIndexFileHeader = "// Index for Skyatlas 99";
inline constexpr std::string_view kOriginalFolder = "Original";

// Slot of idx.dat in the per-file arrays, after the four kinds' files.
inline constexpr size_t kIndexFileSlot = 4;
inline constexpr size_t kDatabaseFileCount = 5;

// Told when a database file exists but could not be read.
inline constexpr std::string_view kUnreadableFileKept =
    "The file is left as it is and is not saved over until it has been read.";

// Rows of an entry list: the index line has five digits for the row.
inline constexpr size_t kMaxEntryRows = 100000;

struct Database {
  std::filesystem::path folder;  // the NavData folder
  std::array<EntryList, 4> lists{EntryList(kMaxEntryRows), EntryList(kMaxEntryRows),
                                 EntryList(kMaxEntryRows), EntryList(kMaxEntryRows)};
  IndexLists index;
  bool databaseModified = false;
  // File lines that did not have their kind's layout at the last load, kept
  // so that a save does not lose them: they go to "<file>.rejected".
  std::array<std::vector<std::string>, kDatabaseFileCount> rejectedLines;
  // The operating system's reason for each file that exists but could not
  // be read at the last load (empty for a file read or missing): its lists
  // are empty only because of that, so a save must not write over it.
  std::array<std::string, kDatabaseFileCount> readFailures;
  // Entry changes made since the last save, in order: the next save writes
  // them to the edit journal before it writes the database files.
  std::vector<JournalRecord> unsavedEdits;

  EntryList& List(NavaidKind kind) { return lists[IndexOf(kind)]; }
  const EntryList& List(NavaidKind kind) const { return lists[IndexOf(kind)]; }
};

// Reads the five files of `db.folder` into the lists and the index. Missing
// files give empty lists silently; malformed lines are skipped and reported;
// a file that exists but cannot be read is reported with the system's reason
// and noted in `db.readFailures`.
void LoadDatabase(Database& db, const Reporter& ui);

// Writes the four entry lists and the index as one set (callers rebuild the
// index first): the unsaved edits go to the edit journal first, then the
// set-aside lines to their ".rejected" files, then all files are written and
// synced before any replaces its old one, so a failure leaves all old files
// (and takes the edits out of the journal again). A file that could not be
// read at the load is not written and the save says so. Returns true only
// when every file was written; the unsaved edits are then cleared. `fault`
// lets tests make the file operations fail.
bool SaveDatabase(Database& db, const Reporter& ui, const platform::FileFaultHook& fault = {});

// Why the working file at `path` must not be replaced (a symbolic link, a
// read-only file, one this user cannot write), or nothing when it may be.
std::optional<std::string> ReplaceRefusal(const std::filesystem::path& path);

// The first half of "Restore original DB": after the user's Yes the
// reference copies replace the working files as one set. Returns false when
// the user said No or when the copies could not be made (the working files
// are then left as they were). The front end loads the database again.
bool CopyOriginalDatabase(Database& db, const Reporter& ui);

// Name of a database file by its slot (the kinds' files, then idx.dat).
std::string_view DatabaseFileName(size_t slot);

// Puts the placeholder into every empty entry list.
void AddPlaceholdersToEmptyLists(Database& db);
// Shows the entry count of every kind.
void ShowEntryCounts(const Database& db, const Reporter& ui);

// File form of one entry file: line 1, then every entry with ';' at the
// kind's separator columns, lines ending in CR LF; the placeholder is skipped.
std::string EncodeEntryFile(NavaidKind kind, const EntryList& list);

// Reads the entries of an entry file's bytes into `list` (appended in file
// order). Returns false when the user cancelled after a refused line.
// Lines without the kind's layout go to `rejected` and are reported once;
// so do lines the list refused, so that nothing read is lost.
bool DecodeEntryFile(NavaidKind kind, std::string_view bytes, EntryList& list,
                     std::vector<std::string>& rejected, const Reporter& ui);
// The same without copying: the lines taken stay in `bytes` (their
// separator columns blanked in place), which the list keeps alive.
bool DecodeEntryFile(NavaidKind kind, const std::shared_ptr<std::string>& bytes, EntryList& list,
                     std::vector<std::string>& rejected, const Reporter& ui);

// Reads the lines of idx.dat's bytes into `index`, reporting progress
// towards `entryTotal` lines.
void DecodeIndexFile(std::string_view bytes, IndexLists& index, size_t entryTotal,
                     std::vector<std::string>& rejected, const Reporter& ui);
// The same without copying: the lines taken stay in `bytes`, which the
// index lists keep alive.
void DecodeIndexFile(std::shared_ptr<std::string> bytes, IndexLists& index, size_t entryTotal,
                     std::vector<std::string>& rejected, const Reporter& ui);

// DecodeIndexFile in two halves. The first checks the lines and, when
// `putInIndexOrder`, sorts them: it needs neither the user nor the lists,
// so it may run on another thread. The second reports, shows the progress
// and hands the lines to the index lists.
struct IndexFileLines {
  std::shared_ptr<std::string> bytes;
  std::vector<std::string_view> lines;  // views into `bytes`
  bool inIndexOrder = false;
  std::vector<std::string> malformed;
  size_t malformedCount = 0;
  size_t firstMalformedLine = 0;
};
IndexFileLines SplitIndexLines(std::shared_ptr<std::string> bytes, bool putInIndexOrder);
void TakeIndexLines(IndexFileLines split, IndexLists& index, size_t entryTotal,
                    std::vector<std::string>& rejected, const Reporter& ui);

// Name of the file that keeps the rejected lines of `fileName`.
std::string RejectedFileName(std::string_view fileName);

// Adds `lines` to the ".rejected" file at `path`, each line that is not
// there yet once, so that lines set aside by earlier loads are kept. A file
// that exists but cannot be read is not written over.
platform::Status AppendRejectedLines(const std::filesystem::path& path,
                                     const std::vector<std::string>& lines);

}  // namespace navdb
