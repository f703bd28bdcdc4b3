// The state one scan works on: the database, the user-interface callbacks,
// and the answers and settings that live between entries of a scan.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "navdb/database.h"
#include "scanner/scan_reporter.h"

namespace scanner {

// Runways shorter than this are not added unless the user changes it.
inline constexpr unsigned kDefaultMinRunwayLengthFt = 3000;

struct ScanSession {
  navdb::Database& db;
  const ScanReporter& ui;
  // The outcome a "Keep always" button chose; cleared at the end of a scan.
  std::optional<DuplicateOutcome> keepAlwaysOutcome = std::nullopt;
  // Set when a scanned line replaced an existing one (the counts stay the same,
  // yet the index must be rebuilt and the files saved).
  bool scanReplacedEntry = false;
  // Entries this scan could not take: lines a full list refused, and lines
  // built from the scenery that did not have their layout (those are set
  // aside in the ".rejected" files). Either makes the scan a refusal.
  size_t refusedEntries = 0;
  size_t malformedLines = 0;
  // Set when lines were set aside for the ".rejected" files: the save that
  // writes them must happen even when the lists did not change.
  bool linesSetAside = false;
  // The "Airport filter": runways below this length end their airport.
  unsigned minRunwayLengthFt = kDefaultMinRunwayLengthFt;
  // Stop the walk at the first folder that cannot be read (else it is
  // reported and passed over).
  bool stopOnUnreadableFolder = false;
  // The folders of this scan that could not be read, each with the reason;
  // named in the summary.
  std::vector<std::string> unreadableFolders = {};
  // The scenery files this scan has taken up, and how many its walk found
  // (unknown when the scan stopped before the walk had listed the tree).
  size_t filesScanned = 0;
  std::optional<size_t> filesFound = std::nullopt;
  // Count and tab notices held back while a MergeNoticeBatch lives.
  struct MergeNotices {
    bool batching = false;
    std::optional<navdb::NavaidKind> tabShown = std::nullopt;
    std::array<bool, 4> countPending{};
  };
  MergeNotices notices = {};
  // Run on the walk's threads, one call at a time: after a scenery file's
  // size was taken and before its bytes are read, and before a folder is
  // listed. Tests change
  // the file or the folder there, as another program could.
  std::function<void(const std::filesystem::path&)> afterFileSized = {};
  std::function<void(const std::filesystem::path&)> beforeFolderListed = {};
};

}  // namespace scanner
