#include "shell/skat/ui_bridge.h"

#include <QApplication>
#include <QThread>

#include "scanner/scenery_walk.h"
#include "shell/core/app_state.h"
#include "shell/skat/duplicate_dialog.h"
#include "shell/skat/message_box.h"
#include "shell/skat/qt_text.h"
#include "shell/skat/window_view.h"

using navdb::NavaidKind;

UiBridge::UiBridge(WindowView& window, shell::AppState& state)
    : QObject(window.widget()), window_(window), state_(state) {}

void UiBridge::setLoadingProgressTarget(std::function<void(int)> target) {
  loadingTarget_ = std::move(target);
}

bool UiBridge::onWindowThreadNow() const {
  return QThread::currentThread() == thread();
}

void UiBridge::startScanProgress(size_t files) {
  note([files](Pending& pending) {
    pending.scanFilesDone = 0;
    pending.scanFilesTotal = files;
    pending.scanChanged = true;
  });
}

void UiBridge::note(const std::function<void(Pending&)>& change) const {
  bool due = false;
  {
    std::lock_guard lock(pendingMutex_);
    change(pending_);
    const auto now = std::chrono::steady_clock::now();
    if (onWindowThreadNow() || now - lastSync_ >= kSyncInterval) {
      lastSync_ = now;
      due = true;
    }
  }
  if (!due) return;
  if (onWindowThreadNow()) {
    applyPending();
    return;
  }
  ++handOvers_;
  if (liveLists_) {
    onWindowThread([this] { applyPending(); });
  } else if (!handOverPosted_.exchange(true)) {
    QMetaObject::invokeMethod(
        const_cast<UiBridge*>(this),
        [this] {
          handOverPosted_ = false;
          applyPending(false);
        },
        Qt::QueuedConnection);
  }
}

void UiBridge::flush(bool endScan) {
  applyPending();
  if (endScan) {
    std::lock_guard lock(pendingMutex_);
    pending_.scanFilesDone = pending_.scanFilesTotal = 0;
  }
  if (endScan) window_.setScanProgress(0, 0);
}

void UiBridge::applyPending(bool showLists) const {
  Pending taken;
  {
    std::lock_guard lock(pendingMutex_);
    taken = pending_;
    Pending next;
    next.scanFilesDone = pending_.scanFilesDone;
    next.scanFilesTotal = pending_.scanFilesTotal;
    pending_ = next;
  }
  if (taken.kindTab) window_.showKindTab(*taken.kindTab);
  for (NavaidKind kind : navdb::kAllKinds) {
    if (const auto& count = taken.counts[navdb::IndexOf(kind)])
      window_.showEntryCount(kind, *count);
  }
  if (taken.status) window_.setStatus(taken.status->first, taken.status->second);
  if (taken.progressText) window_.setProgressText(*taken.progressText);
  if (taken.currentFile) window_.setProgressText(*taken.currentFile);
  if (taken.scanChanged || taken.scanFilesTotal > 0) {
    window_.setScanProgress(static_cast<int>(taken.scanFilesDone),
                            static_cast<int>(taken.scanFilesTotal));
  }
  if (taken.loadingPercent && loadingTarget_) loadingTarget_(*taken.loadingPercent);
  if (showLists) window_.refreshBusyViews();
}

void UiBridge::noteCurrentFile(const std::string& text) const {
  const size_t slash = text.find_last_of('/');
  const std::string_view name = slash == std::string::npos
                                    ? std::string_view(text)
                                    : std::string_view(text).substr(slash + 1);
  const bool file = scanner::IsSceneryFileName(name);
  note([&text, file](Pending& pending) {
    // The progress field shows the path; a scan's newer status text and a
    // newer path replace older ones, in the order they came.
    pending.progressText.reset();
    pending.currentFile = text;
    // Files are counted before their total is known too: the walk lists
    // the tree while the first files are merged.
    if (file) {
      ++pending.scanFilesDone;
      pending.scanChanged = true;
    }
  });
}

navdb::MessageAnswer UiBridge::Message(const navdb::MessageRequest& request) const {
  return onWindowThread([this, &request] {
    applyPending();
    return ShowMessageBox(window_.widget(), request);
  });
}

void UiBridge::Status(navdb::StatusIcon icon, const std::string& text) const {
  note([&](Pending& pending) { pending.status = std::make_pair(icon, text); });
}

void UiBridge::Progress(navdb::ProgressTask, int percent) const {
  note([percent](Pending& pending) { pending.loadingPercent = percent; });
}

void UiBridge::ProgressText(const std::string& text) const {
  note([&text](Pending& pending) {
    pending.currentFile.reset();
    pending.progressText = text;
  });
}

void UiBridge::EntryCountChanged(NavaidKind kind, int count) const {
  note([kind, count](Pending& pending) { pending.counts[navdb::IndexOf(kind)] = count; });
}

void UiBridge::KindInFocus(NavaidKind kind) const {
  note([kind](Pending& pending) { pending.kindTab = kind; });
}

void UiBridge::ScanPosition(const std::string& path) const {
  noteCurrentFile(path);
}

void UiBridge::ScanFileTotal(size_t files) const {
  note([files](Pending& pending) {
    pending.scanFilesTotal = files;
    pending.scanChanged = true;
  });
}

void UiBridge::EntryInFocus(NavaidKind kind, int row) const {
  onWindowThread([this, kind, row] {
    applyPending();
    window_.selectRow(kind, row);
    window_.refreshBusyViews();
  });
}

void UiBridge::IndexInFlux(bool inFlux) const {
  // The Index window is up while its index is rebuilt, so the user sees it
  // refill; it closes when the index is whole again.
  onWindowThread([this, inFlux] {
    applyPending();
    window_.showIndexWindow(inFlux);
  });
}

void UiBridge::DatabaseBusy(bool busy) const {
  onWindowThread([this, busy] {
    applyPending();
    window_.setCommandsEnabled(!busy, false);
  });
}

void UiBridge::Alert() const {
  onWindowThread([] { QApplication::beep(); });
}

scanner::DuplicateAnswer UiBridge::ChooseDuplicate(const scanner::DuplicateRequest& request) const {
  return onWindowThread([this, &request] {
    applyPending();
    return AskDuplicate(window_.widget(), request, window_.listFont());
  });
}

std::optional<planner::WaypointPick> UiBridge::PickWaypoint(
    const planner::WaypointPickRequest& request) const {
  onWindowThread([this, &request] {
    applyPending();
    window_.beginWaypointPick(request);
  });
  // The window wakes this worker when the user double-clicks or presses Escape.
  return state_.pick.Wait();
}

navdb::MessageAnswer PickingReports::Message(const navdb::MessageRequest& request) const {
  // ShowMessageBox shows the box on the window's thread, from a worker too.
  if (messageParent_ != nullptr) return ShowMessageBox(messageParent_, request);
  return bridge_.Message(request);
}

std::optional<planner::WaypointPick> PickingReports::PickWaypoint(
    const planner::WaypointPickRequest& request) const {
  if (!picking_) return bridge_.PickWaypoint(request);
  bridge_.onWindowThread([this] { picking_(true); });
  std::optional<planner::WaypointPick> picked = bridge_.PickWaypoint(request);
  bridge_.onWindowThread([this] { picking_(false); });
  return picked;
}
