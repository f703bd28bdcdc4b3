// The navaid database: four entry lists and the geographic index, and the
// five text files in the NavData folder that hold them between runs.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "navdb/entry_list.h"
#include "navdb/geo_index.h"
#include "navdb/ui_callbacks.h"

namespace navdb {

inline constexpr std::string_view kIndexFileName = "idx.dat";
inline constexpr std::string_view kIndexFileHeader = "// Index for Skyatlas 99";
inline constexpr std::string_view kOriginalFolder = "Original";

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
  std::array<std::vector<std::string>, 5> rejectedLines;

  EntryList& list(NavaidKind kind) { return lists[IndexOf(kind)]; }
  const EntryList& list(NavaidKind kind) const { return lists[IndexOf(kind)]; }
};

// Reads the five files of `db.folder` into the lists and the index. Missing
// files give empty lists silently; malformed lines are skipped and reported.
void LoadDatabase(Database& db, const UiCallbacks& ui);

// Writes the four entry lists and the index. Callers rebuild the index
// first. Each file is replaced atomically; returns false when one could not
// be written (the files before it stay written, the later ones unchanged).
bool SaveDatabase(const Database& db, const UiCallbacks& ui);

// The "Restore original DB" command. Returns false when the user said No.
bool RestoreOriginalDatabase(Database& db, const UiCallbacks& ui);

// Puts the placeholder into every empty entry list.
void AddPlaceholdersToEmptyLists(Database& db);
// Shows the entry count of every kind.
void ShowEntryCounts(const Database& db, const UiCallbacks& ui);

// File form of one entry file: line 1, then every entry with ';' at the
// kind's separator columns, lines ending in CR LF; the placeholder is skipped.
std::string EncodeEntryFile(NavaidKind kind, const EntryList& list);

// Reads the entries of an entry file's bytes into `list` (appended in file
// order). Returns false when the user cancelled after a refused line.
// Lines without the kind's layout go to `rejected` and are reported once;
// so do lines the list refused, so that nothing read is lost.
bool DecodeEntryFile(NavaidKind kind, std::string_view bytes, EntryList& list,
                     std::vector<std::string>& rejected, const UiCallbacks& ui);

// Reads the lines of idx.dat's bytes into `index`, reporting progress
// towards `entryTotal` lines.
void DecodeIndexFile(std::string_view bytes, IndexLists& index, size_t entryTotal,
                     std::vector<std::string>& rejected, const UiCallbacks& ui);

// Name of the file that keeps the rejected lines of `fileName`.
std::string RejectedFileName(std::string_view fileName);

}  // namespace navdb
