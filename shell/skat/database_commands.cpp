#include "shell/skat/database_commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QProgressDialog>

#include <atomic>
#include <filesystem>
#include <memory>

#include "navdb/geo_index.h"
#include "scanner/scan_driver.h"
#include "shell/core/app_state.h"
#include "shell/core/journal_replay.h"
#include "shell/core/restore.h"
#include "shell/skat/airport_filter_dialog.h"
#include "shell/skat/folder_dialog.h"
#include "shell/skat/hand_edit_replay.h"
#include "shell/skat/message_box.h"
#include "shell/skat/ui_bridge.h"
#include "shell/skat/window_view.h"

namespace {

// Where the window shows the hand edits a replay kept for later.
constexpr std::string_view kKeptEditsHint =
    "the \"Hand edits\" view lists them, and each is asked about at the next \"Rebuild "
    "database\" or \"Restore original DB\".";

navdb::MessageAnswer Ask(WindowView& window, std::string caption, std::string text,
                         navdb::MessageIcon icon, navdb::MessageButtons buttons) {
  return ShowMessageBox(window.widget(),
                        {std::move(caption), std::move(text), icon, buttons, false});
}

}  // namespace

DatabaseCommands::DatabaseCommands(WindowView& window, UiBridge& bridge, shell::AppState& state)
    : QObject(window.widget()), window_(window), bridge_(bridge), state_(state) {}

void DatabaseCommands::startWorker(std::function<void()> job, std::function<void()> done) {
  window_.setListsBusy(true);
  workerRunning_ = true;
  workerDone_ = std::move(done);
  worker_ = platform::WorkerThread([this, job = std::move(job)] {
    job();
    QMetaObject::invokeMethod(
        this, [this] { finishWorker(); }, Qt::QueuedConnection);
  });
}

void DatabaseCommands::finishWorker() {
  if (worker_.joinable()) worker_.join();
  workerRunning_ = false;
  bridge_.setLiveLists(false);
  bridge_.flush(true);
  window_.setListsBusy(false);
  if (std::function<void()> done = std::exchange(workerDone_, {})) done();
  if (std::exchange(closeAfterWorker_, false)) window_.widget()->close();
}

void DatabaseCommands::waitForWorker() {
  // The worker's end arrives as an event, so waiting for events is enough.
  while (workerRunning_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  if (worker_.joinable()) worker_.join();
}

void DatabaseCommands::startLoad(std::function<void()> loaded) {
  startWorker(
      [this] {
        navdb::LoadDatabase(state_.db, bridge_);
        // Hand edits whose save was cut short come back into the lists, for
        // the user to save; the title's * shows that they are not saved yet.
        const platform::Result<shell::JournalReplay> replayed =
            shell::ReplayMissingEdits(state_.db, bridge_, kKeptEditsHint);
        if (replayed && replayed->report.listsChanged) {
          navdb::RebuildIndex(state_.db.lists, state_.db.index, bridge_);
        }
      },
      std::move(loaded));
}

bool DatabaseCommands::sceneryRootPathChosen() {
  if (!state_.sceneryRootPath.empty()) return true;
  Ask(window_, "Error", "Please, select first a path for scenery scanning.",
      navdb::MessageIcon::Error, navdb::MessageButtons::Ok);
  return false;
}

void DatabaseCommands::scan() {
  if (workerRunning_ || !sceneryRootPathChosen()) return;
  state_.editHistory.Clear();  // a scan's changes are no entry edits
  startScan(false);
}

void DatabaseCommands::rebuildDatabase() {
  if (workerRunning_ || !sceneryRootPathChosen()) return;
  scanner::ScanSession session{state_.db, bridge_};
  if (!scanner::ConfirmAndClearForRebuild(session, shell::HandEditsToReplay(state_.db))) return;
  state_.editHistory.Clear();
  window_.reloadLists();
  startScan(true);
}

void DatabaseCommands::startScan(bool rebuild) {
  const std::filesystem::path root = state_.sceneryRootPath;
  const unsigned minRunwayLengthFt = state_.minRunwayLengthFt;
  bridge_.setLiveLists(true);
  startWorker([this, root, minRunwayLengthFt, rebuild] {
    UiBridge& bridge = bridge_;
    bridge.startScanProgress(0);  // the scan tells the total once its walk has listed the tree
    scanner::ScanSession session{state_.db, bridge};
    session.minRunwayLengthFt = minRunwayLengthFt;
    const scanner::ScanResult result = scanner::ScanSceneryThread(session, root);
    // The rebuilt lists lack the hand edits. A stopped scan or a failed
    // save leaves them in the journal for the next rebuild.
    if (rebuild && !result.stopped && !result.saveFailed) {
      ReplayHandEditsFromWindow(state_, bridge_, window_);
    }
  });
}

void DatabaseCommands::restore() {
  if (workerRunning_) return;
  startWorker([this] {
    const UiBridge& ui = bridge_;
    // The restore's own load worker changes the lists; nothing may start
    // meanwhile, although the "Please wait" box already keeps the user out.
    ui.DatabaseBusy(true);
    const bool restored = shell::RestoreOriginalDatabase(state_.db, ui, [this](bool loading) {
      bridge_.onWindowThread([this, loading] {
        // The copies are in place: the lists to come are no entry edits.
        if (loading) state_.editHistory.Clear();
        showRestoreProgress(loading);
      });
    });
    if (restored) ReplayHandEditsFromWindow(state_, bridge_, window_);
    ui.DatabaseBusy(false);
  });
}

void DatabaseCommands::showRestoreProgress(bool loading) {
  if (!restoreProgress_) {
    // A busy bar without a button: the box is the program's to close.
    restoreProgress_ =
        new QProgressDialog("Restoring original database...", QString(), 0, 0, window_.widget(),
                            Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    restoreProgress_->setObjectName("Restoring original database");
    restoreProgress_->setWindowTitle("Please wait");
    restoreProgress_->setCancelButton(nullptr);
    restoreProgress_->setWindowModality(Qt::WindowModal);
    restoreProgress_->setAutoReset(false);
    restoreProgress_->setAutoClose(false);
    restoreProgress_->setMinimumDuration(0);
  }
  if (loading) {
    restoreProgress_->show();
    return;
  }
  restoreProgress_->hide();
  // The lists show the restored entries before the last word is said.
  window_.setListsBusy(false);
}

void DatabaseCommands::rebuildIndex() {
  if (workerRunning_) return;
  startWorker([this] {
    const UiBridge& ui = bridge_;
    ui.DatabaseBusy(true);
    navdb::RebuildIndex(state_.db.lists, state_.db.index, ui);
    navdb::SaveDatabase(state_.db, ui);
    ui.DatabaseBusy(false);
  });
}

void DatabaseCommands::changePath() {
  if (workerRunning_) return;
  const QString start = state_.sceneryRootPath.empty()
                            ? QDir::currentPath()
                            : QString::fromStdString(state_.sceneryRootPath);
  const std::optional<QString> folder =
      ChooseFolder(window_.widget(), "Select root path for scenery scanning", start);
  if (!folder) return;
  std::string path = QDir::cleanPath(*folder).toStdString();
  if (path.size() > shell::kMaxPathLength) {
    Ask(window_, "Error", "The path is longer than 259 characters:\r" + path,
        navdb::MessageIcon::Error, navdb::MessageButtons::Ok);
    return;
  }
  state_.sceneryRootPath = std::move(path);
  window_.showSceneryRootPath();
}

void DatabaseCommands::airportFilter() {
  if (workerRunning_) return;
  if (const std::optional<unsigned> lengthFt =
          AskAirportFilter(window_.widget(), state_.minRunwayLengthFt)) {
    state_.minRunwayLengthFt = *lengthFt;
  }
}

bool DatabaseCommands::decideQuit(bool byQuitButton) {
  if (!byQuitButton && state_.pick.SelectionPending()) {
    Ask(window_, "Error",
        "ND waits for a waypoint selection.\nPlease, double click on a data or press Escape !",
        navdb::MessageIcon::Error, navdb::MessageButtons::Ok);
    return false;
  }
  if (state_.planWindowOpen) {
    window_.raisePlanWindow();
    return false;
  }
  if (!state_.db.databaseModified) return true;
  // Cancel (and Escape) go back to the window with the modifications kept.
  switch (Ask(window_, "Warning", "Save modifications ?", navdb::MessageIcon::Question,
              navdb::MessageButtons::YesNoCancel)) {
    case navdb::MessageAnswer::Yes:
      startQuitSave();
      return false;
    case navdb::MessageAnswer::No:
      return true;
    default:
      return false;
  }
}

void DatabaseCommands::startQuitSave() {
  auto saved = std::make_shared<std::atomic<bool>>(false);
  startWorker(
      [this, saved] {
        const UiBridge& ui = bridge_;
        ui.DatabaseBusy(true);
        navdb::RebuildIndex(state_.db.lists, state_.db.index, ui);
        *saved = navdb::SaveDatabase(state_.db, ui);
        if (*saved) state_.db.databaseModified = false;
        // A failed save keeps the window open with the modifications, so
        // the user can try again or keep working.
        if (!*saved) ui.DatabaseBusy(false);
      },
      [this, saved] {
        if (!*saved) return;
        closeApproved_ = true;
        window_.widget()->close();
      });
}

void DatabaseCommands::quit() {
  if (workerRunning_ || !decideQuit(true)) return;
  closeApproved_ = true;
  window_.widget()->close();
}

bool DatabaseCommands::mayClose() {
  if (closeApproved_) return true;
  if (workerRunning_) {
    // Closing now could cut a save in half: the window closes when the
    // worker has ended, through the usual questions.
    closeAfterWorker_ = true;
    return false;
  }
  if (!decideQuit(false)) return false;
  closeApproved_ = true;
  return true;
}
