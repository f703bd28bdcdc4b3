// What killed saves leave behind in the NavData folder: a set of files
// half renamed (recorded in the save's manifest), and temporary files. The
// next program that holds the database lock exclusively deals with both,
// before it reads anything.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "navdb/reporter.h"
#include "platform/result.h"

namespace navdb {

// The record of a save under way (see platform/file_set.h), beside the
// database files; it is there only while the files are being renamed.
inline constexpr std::string_view kSaveManifestName = "skat.save";

// True when a save was interrupted and its set is still to be made whole.
bool SaveWasInterrupted(const std::filesystem::path& navDataFolder);

// Makes the set of an interrupted save whole again: the new files when
// they are all there, else the old ones; says which through `ui`. Fails,
// saying why, when neither could be done: the files are left as they were.
// The caller holds the database lock exclusively.
platform::Status FinishInterruptedSave(const std::filesystem::path& navDataFolder,
                                       const Reporter& ui);

// The refusal of a program that finds an interrupted save it may not finish
// (it shares the database with `holder`, or cannot write the folder).
std::string InterruptedSaveRefusal(std::string_view reason);

// True for the names of the temporary and kept-old files that the saves of
// this program give (`<file>.tmp.<pid>.<n>`, `<file>.old.<pid>.<n>`) for
// the database files, their .rejected files, the manifest and the edit
// journal with its .rejected file.
bool IsSaveLeftover(std::string_view name);

// Removes every plain file of such a name from the folder. Only for the
// holder of the exclusive lock (no save of another program is under way),
// after FinishInterruptedSave, which may need them.
void RemoveSaveLeftovers(const std::filesystem::path& navDataFolder);

}  // namespace navdb
