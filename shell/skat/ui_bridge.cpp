#include "shell/skat/ui_bridge.h"

#include <QApplication>
#include <QThread>

#include "scanner/scenery_walk.h"
#include "shell/core/app_state.h"
#include "shell/skat/duplicate_dialog.h"
#include "shell/skat/main_window.h"
#include "shell/skat/message_box.h"
#include "shell/skat/qt_text.h"

using navdb::NavaidKind;

UiBridge::UiBridge(MainWindow& window, shell::AppState& state)
    : QObject(&window), window_(window), state_(state) {
  makeCallbacks();
}

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

void UiBridge::note(const std::function<void(Pending&)>& change) {
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
        this,
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

void UiBridge::applyPending(bool showLists) {
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

void UiBridge::noteCurrentFile(const std::string& text) {
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

void UiBridge::makeCallbacks() {
  navdb::UiCallbacks& ui = callbacks_;
  ui.messageBox = [this](const navdb::MessageRequest& request) {
    return onWindowThread([this, &request] {
      applyPending();
      return ShowMessageBox(&window_, request);
    });
  };
  ui.setStatus = [this](navdb::StatusIcon icon, const std::string& text) {
    note([&](Pending& pending) { pending.status = std::make_pair(icon, text); });
  };
  ui.setLoadingProgress = [this](int percent) {
    note([percent](Pending& pending) { pending.loadingPercent = percent; });
  };
  ui.setProgressText = [this](const std::string& text) {
    note([&text](Pending& pending) {
      pending.currentFile.reset();
      pending.progressText = text;
    });
  };
  ui.showEntryCount = [this](NavaidKind kind, int count) {
    note([kind, count](Pending& pending) { pending.counts[navdb::IndexOf(kind)] = count; });
  };
  ui.showKindTab = [this](NavaidKind kind) {
    note([kind](Pending& pending) { pending.kindTab = kind; });
  };
  ui.setCurrentFile = [this](const std::string& text) { noteCurrentFile(text); };
  ui.setScanFileTotal = [this](size_t files) {
    note([files](Pending& pending) {
      pending.scanFilesTotal = files;
      pending.scanChanged = true;
    });
  };
  ui.selectRow = [this](NavaidKind kind, int row) {
    onWindowThread([this, kind, row] {
      applyPending();
      window_.selectRow(kind, row);
      window_.refreshBusyViews();
    });
  };
  ui.showIndexWindow = [this](bool visible) {
    onWindowThread([this, visible] {
      applyPending();
      window_.showIndexWindow(visible);
    });
  };
  ui.setCommandsEnabled = [this](bool enabled, bool topOnly) {
    onWindowThread([this, enabled, topOnly] {
      applyPending();
      window_.setCommandsEnabled(enabled, topOnly);
    });
  };
  ui.beep = [this] { onWindowThread([] { QApplication::beep(); }); };
  ui.chooseDuplicate = [this](const navdb::DuplicateRequest& request) {
    return onWindowThread([this, &request] {
      applyPending();
      return AskDuplicate(&window_, request, window_.listFont());
    });
  };
  ui.pickWaypoint = [this](const navdb::WaypointPickRequest& request) {
    onWindowThread([this, &request] {
      applyPending();
      window_.beginWaypointPick(request);
    });
    // The window wakes this worker when the user double-clicks or presses Escape.
    return state_.pick.Wait();
  };
}
