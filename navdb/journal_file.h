// The edit journal on disk: NavData/edits.journal and, beside it,
// edits.journal.rejected, which keeps whatever followed a damaged line.
//
// The journal is replaced whole (a temporary file, synced, renamed over it,
// the folder synced) rather than appended to: a reader finds the old or the
// new journal, never a torn record, so any damage it meets was made by
// another hand; and taking a record out is the same operation as adding one.
// Only the holder of the exclusive database lock changes it.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "navdb/database.h"
#include "navdb/edit_journal.h"
#include "platform/file_io.h"
#include "platform/result.h"

namespace navdb {

inline constexpr std::string_view kJournalRejectedFileName = "edits.journal.rejected";

// Reads the journal of `folder`; a missing file is an empty journal. Fails
// when it exists but cannot be read, or is not a journal of this format.
platform::Result<JournalContents> ReadJournalFile(const std::filesystem::path& folder);

struct JournalUpdate {
  std::vector<JournalRecord> records;     // what the journal holds now
  std::optional<JournalDamage> setAside;  // a damaged rest now kept in edits.journal.rejected
};

// Reads the journal, adds a damaged rest to the end of edits.journal.rejected
// (synced) before anything else is written, lets `change` edit the records
// and replaces the journal with them. Writes nothing when the journal cannot
// be read, and leaves the journal as it is when its rest cannot be kept.
platform::Result<JournalUpdate> ChangeJournalFile(
    const std::filesystem::path& folder,
    const std::function<void(std::vector<JournalRecord>&)>& change,
    const platform::FileFaultHook& fault = {});

// Takes record `index` (from 0) out of the journal when it still is
// `record`, as the user saw it: true when it was taken out, false when the
// journal holds no such record there (and is written unchanged).
platform::Result<bool> DropJournalRecord(const std::filesystem::path& folder, size_t index,
                                         const JournalRecord& record);

// Reads the journal for the holder of the exclusive lock: a damaged rest is
// set aside at once, so that the user is told once and the journal is whole.
platform::Result<JournalUpdate> OpenJournalFile(const std::filesystem::path& folder);

// What the user is told of a damaged rest that was set aside.
std::string SetAsideText(const JournalDamage& damage, size_t recordsKept);

// The edits of `db` not saved yet go to the end of its journal; a save does
// this before it writes the database files (see SaveDatabase).
platform::Result<JournalUpdate> JournalUnsavedEdits(const Database& db,
                                                    const platform::FileFaultHook& fault = {});
// After a save that failed: takes the records JournalUnsavedEdits wrote out
// of the journal again, so that it holds only edits that were saved (they
// stay in `db.unsavedEdits` for the next save).
platform::Status TakeBackUnsavedEdits(const Database& db);

// Undo of an edit not saved yet: removes the last unsaved record equal to
// `record`. False when there is none (the edit was saved: its undoing is an
// edit of its own).
bool ForgetUnsavedEdit(Database& db, const JournalRecord& record);

}  // namespace navdb
