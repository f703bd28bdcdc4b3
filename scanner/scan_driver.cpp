#include "scanner/scan_driver.h"

#include <array>
#include <cstdio>
#include <system_error>
#include <vector>

#include "navdb/geo_index.h"
#include "scanner/bgl_file.h"
#include "scanner/scenery_walk.h"

namespace scanner {
namespace {

namespace fs = std::filesystem;
using navdb::NavaidKind;

void ShowCurrentFile(const ScanSession& session, const std::string& text) {
  session.ui.ScanPosition(text);
}

WalkOutcome Aborted(const ScanSession& session) {
  session.ui.Status(navdb::StatusIcon::Ready, "Status : scanning aborted");
  ShowCurrentFile(session, " ");
  return WalkOutcome::Stopped;
}

// A folder that cannot be listed (no access, removed meanwhile) would hide
// all the scenery below it; the user is told which one and why.
bool ReportUnreadableFolder(ScanSession& session, const fs::path& folder,
                            const std::error_code& error) {
  const std::string text = folder.string() + " (" + error.message() + ")";
  session.unreadableFolders.push_back(text);
  session.ui.Status(navdb::StatusIcon::Problem, "Status : could not read folder " + text);
  return session.stopOnUnreadableFolder;
}

std::array<long, 4> EntryCounts(const navdb::Database& db) {
  std::array<long, 4> counts{};
  for (NavaidKind kind : navdb::kAllKinds) {
    counts[navdb::IndexOf(kind)] = static_cast<long>(db.List(kind).EntryCount());
  }
  return counts;
}

}  // namespace

WalkOutcome ScanFolder(ScanSession& session, const fs::path& folder) {
  SceneryWalk walk(folder, session);
  // Every folder being walked ends as aborted when the scan stops.
  int foldersOpen = 0;
  const auto stop = [&] {
    for (; foldersOpen > 0; --foldersOpen) Aborted(session);
    session.filesFound = walk.FilesListed();
    return WalkOutcome::Stopped;
  };
  bool totalTold = false;
  const auto tellTotal = [&] {
    if (totalTold) return;
    if (const std::optional<size_t> files = walk.FilesListed()) {
      session.ui.ScanFileTotal(*files);
      totalTold = true;
    }
  };
  while (std::optional<WalkStep> step = walk.Next()) {
    tellTotal();
    switch (step->kind) {
      case WalkStep::Kind::EnterFolder:
        ++foldersOpen;
        session.ui.Status(navdb::StatusIcon::Scanning, "Status : scanning...");
        ShowCurrentFile(session, step->path.string());
        break;
      case WalkStep::Kind::PathTooLong:
        session.ui.Status(
            navdb::StatusIcon::Problem,
            "Status : path too long, skipped : " + step->path.native().substr(0, 64) + "...");
        break;
      case WalkStep::Kind::File:
        ShowCurrentFile(session, step->path.string());
        ++session.filesScanned;
        if (MergeBglFile(session, step->path, step->file) == FileOutcome::StopScan) return stop();
        break;
      case WalkStep::Kind::UnreadableFolder:
        if (ReportUnreadableFolder(session, step->path, step->error)) return stop();
        break;
      case WalkStep::Kind::LeaveFolder:
        --foldersOpen;
        session.ui.Status(navdb::StatusIcon::Ready, "Status : scanning done");
        ShowCurrentFile(session, " ");
        break;
    }
  }
  tellTotal();
  session.filesFound = walk.FilesListed();
  return WalkOutcome::Done;
}

ScanResult ScanSceneryThread(ScanSession& session, const fs::path& root) {
  navdb::Database& db = session.db;
  const navdb::Reporter& ui = session.ui;
  const std::array<long, 4> before = EntryCounts(db);
  ui.DatabaseBusy(true);
  ScanResult result;
  session.filesScanned = 0;
  session.filesFound.reset();
  result.stopped = ScanFolder(session, root) == WalkOutcome::Stopped;
  session.keepAlwaysOutcome.reset();
  const std::vector<std::string> unreadableFolders = std::move(session.unreadableFolders);
  session.unreadableFolders.clear();

  const std::array<long, 4> after = EntryCounts(db);
  for (size_t i = 0; i < after.size(); ++i) result.addedPerKind[i] = after[i] - before[i];
  result.refusedEntries = session.refusedEntries + session.malformedLines;
  session.refusedEntries = session.malformedLines = 0;
  bool saved = true;
  // Lines set aside reach their ".rejected" files only through a save.
  if (after != before || db.databaseModified || session.scanReplacedEntry ||
      session.linesSetAside) {
    navdb::RebuildIndex(db.lists, db.index, ui);
    db.databaseModified = false;
    session.scanReplacedEntry = false;
    session.linesSetAside = false;
    saved = navdb::SaveDatabase(db, ui);
    // What the scan added is still only in memory: keep it marked so that
    // quitting offers the save again.
    if (!saved) db.databaseModified = true;
  }
  navdb::AddPlaceholdersToEmptyLists(db);
  ui.DatabaseBusy(false);
  // After a failed save nothing was added to the database files: the save's
  // error is the outcome, not a summary of additions.
  result.saveFailed = !saved;
  if (result.saveFailed) return result;
  // A stopped scan is no success: the user is told where it stopped before
  // the counts of what it kept.
  const std::string summary =
      ScanSummaryText(result.added(NavaidKind::Ndb), result.added(NavaidKind::Vor),
                      result.added(NavaidKind::Airport)) +
      UnreadableFoldersText(unreadableFolders);
  if (result.stopped) {
    navdb::ShowMessage(ui, "Warning",
                       StoppedScanText(session.filesScanned, session.filesFound) + summary,
                       navdb::MessageIcon::Warning, navdb::MessageButtons::Ok);
  } else {
    navdb::ShowMessage(ui, "Information", summary, navdb::MessageIcon::Information,
                       navdb::MessageButtons::Ok);
  }
  return result;
}

std::string RebuildWarningText(size_t handEdits) {
  std::string text =
      "You are going to lose any modification you've done on the database !\r"
      "(The Intersection list will not be lost)\r\r";
  if (handEdits > 0) {
    text += std::to_string(handEdits) + (handEdits == 1 ? " hand edit" : " hand edits") +
            " of edits.journal will be applied again after the rebuild.\r\r";
  }
  return text + "Proceed ?";
}

bool ConfirmAndClearForRebuild(ScanSession& session, size_t handEdits) {
  const navdb::MessageAnswer answer =
      navdb::ShowMessage(session.ui, "Warning", RebuildWarningText(handEdits),
                         navdb::MessageIcon::Warning, navdb::MessageButtons::YesNo);
  if (answer != navdb::MessageAnswer::Yes) return false;
  for (NavaidKind kind : {NavaidKind::Ndb, NavaidKind::Vor, NavaidKind::Airport}) {
    session.db.List(kind).Clear();
    session.ui.EntryCountChanged(kind, 0);
  }
  return true;
}

std::string ScanSummaryText(long ndbAdded, long vorAdded, long airportsAdded) {
  char text[160];
  std::snprintf(text, sizeof text,
                "Added to the database :\r\r%ld\tNDB,\r%ld\tVOR,\r%ld\tAirports.\r", ndbAdded,
                vorAdded, airportsAdded);
  return text;
}

std::string StoppedScanText(size_t filesScanned, std::optional<size_t> filesFound) {
  std::string text = "The scan was stopped after " + std::to_string(filesScanned);
  if (filesFound) text += " of " + std::to_string(*filesFound);
  text += filesScanned == 1 && !filesFound ? " scenery file." : " scenery files.";
  return text + "\rWhat it had merged until then is kept in the database.\r\r";
}

std::string UnreadableFoldersText(const std::vector<std::string>& folders) {
  if (folders.empty()) return {};
  std::string text = "\rFolders that could not be read :\r";
  for (const std::string& folder : folders) text += folder + "\r";
  return text;
}

}  // namespace scanner
