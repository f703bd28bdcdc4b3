// The scan of a scenery folder tree: every scenery file of every folder,
// depth first and files before subfolders, merged into the database; then
// re-index and save when anything changed, and the summary.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "scanner/scan_session.h"

namespace scanner {

// Scans `folder` and everything below it. Returns 0 when done, non-zero when
// the user stopped the scan. `visited` keeps folders reached twice through
// links from being walked again.
int ScanFolder(ScanSession& session, const std::filesystem::path& folder,
               std::set<std::filesystem::path>& visited);

// The whole "Scan New Scenery" run on `root`; returns 0, or 1 when the
// database could not be saved (no summary is shown then).
int ScanSceneryThread(ScanSession& session, const std::filesystem::path& root);

// "Rebuild database": asks first; on Yes empties the NDB, VOR and airport
// lists (intersections stay) and returns true, so that the caller scans.
bool ConfirmAndClearForRebuild(ScanSession& session);

// The text of the summary box.
std::string ScanSummaryText(long ndbAdded, long vorAdded, long airportsAdded);
// The summary's list of folders that could not be read; empty when none.
std::string UnreadableFoldersText(const std::vector<std::string>& folders);

}  // namespace scanner
