// The scan of a scenery folder tree: every scenery file of every folder,
// depth first and files before subfolders, merged into the database; then
// re-index and save when anything changed, and the summary.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "navdb/navaid_kind.h"
#include "scanner/scan_session.h"

namespace scanner {

enum class WalkOutcome { Done, Stopped };

// Scans `folder` and everything below it; Stopped when the user (or the
// stop-on-unreadable-folder setting) ended the walk early. A folder reached
// twice through links is walked once.
WalkOutcome ScanFolder(ScanSession& session, const std::filesystem::path& folder);

// How a whole scan ended. A stopped scan still keeps and saves what it merged.
struct ScanResult {
  bool stopped = false;
  bool saveFailed = false;  // no summary was shown then
  // Entries refused by a full list or set aside for not having their
  // layout: the scan finished, yet it did not take all it found.
  size_t refusedEntries = 0;
  std::array<long, navdb::kAllKinds.size()> addedPerKind{};  // by navdb::IndexOf

  long added(navdb::NavaidKind kind) const { return addedPerKind[navdb::IndexOf(kind)]; }
};

// The whole "Scan New Scenery" run on `root`.
ScanResult ScanSceneryThread(ScanSession& session, const std::filesystem::path& root);

// "Rebuild database": asks first; on Yes empties the NDB, VOR and airport
// lists (intersections stay) and returns true, so that the caller scans.
// `handEdits` is how many hand edits the caller replays after the scan.
bool ConfirmAndClearForRebuild(ScanSession& session, size_t handEdits = 0);

// The question before a rebuild; with hand edits to replay it says how many
// before it asks.
std::string RebuildWarningText(size_t handEdits);

// The text of the summary box.
std::string ScanSummaryText(long ndbAdded, long vorAdded, long airportsAdded);
// The head of the summary of a stopped scan: after how many of how many
// files it stopped (the total when the walk knew it), and that what it
// merged is kept.
std::string StoppedScanText(size_t filesScanned, std::optional<size_t> filesFound);
// The summary's list of folders that could not be read; empty when none.
std::string UnreadableFoldersText(const std::vector<std::string>& folders);

}  // namespace scanner
