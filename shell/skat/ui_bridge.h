// The desktop program's front end for what the libraries report. Workers
// report from their own threads; every report ends up on the window's thread:
// - a question that needs an answer (message box, double-entry dialog,
//   waypoint pick) blocks the worker until the window has the answer;
// - rare steps whose order matters (commands enabled, Index window shown,
//   a row selected, a beep) block too, so they happen before the worker goes on;
// - the frequent notices (status line, progress field, counts, current
//   file, visible tab, loading and scan progress) are only noted; the
//   worker hands them over at most every kSyncInterval, so a scan of 50,000
//   lines costs a few hundred round trips, not 50,000. With live lists (a
//   scan) that hand-over blocks, because the window copies the rows in
//   sight of the lists the worker changes meanwhile; otherwise (load,
//   restore, saves) it is only posted and the worker never waits for it.
// Reported on the window's own thread, everything acts at once.
#pragma once

#include <QObject>
#include <QWidget>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "navdb/reporter.h"
#include "planner/plan_reporter.h"
#include "scanner/scan_reporter.h"

namespace shell {
struct AppState;
}
class WindowView;

class UiBridge : public QObject, public scanner::ScanReporter, public planner::PlanReporter {
  Q_OBJECT

 public:
  static constexpr std::chrono::milliseconds kSyncInterval{100};

  UiBridge(WindowView& window, shell::AppState& state);

  navdb::MessageAnswer Message(const navdb::MessageRequest& request) const override;
  void Status(navdb::StatusIcon icon, const std::string& text) const override;
  void Progress(navdb::ProgressTask task, int percent) const override;
  void ProgressText(const std::string& text) const override;
  void EntryCountChanged(navdb::NavaidKind kind, int count) const override;
  void EntryInFocus(navdb::NavaidKind kind, int row) const override;
  void KindInFocus(navdb::NavaidKind kind) const override;
  void IndexInFlux(bool inFlux) const override;
  void Alert() const override;
  void DatabaseBusy(bool busy) const override;
  scanner::DuplicateAnswer ChooseDuplicate(const scanner::DuplicateRequest& request) const override;
  void ScanPosition(const std::string& path) const override;
  void ScanFileTotal(size_t files) const override;
  std::optional<planner::WaypointPick> PickWaypoint(
      const planner::WaypointPickRequest& request) const override;

  // Where loading progress goes while the loading window is open.
  void setLoadingProgressTarget(std::function<void(int percent)> target);

  // Whether the lists follow a worker's changes while it runs (set by the
  // window before the worker starts).
  void setLiveLists(bool live) { liveLists_ = live; }

  // Worker side: a scan starts now, with `files` scenery files when known
  // (0 until the scan tells its total).
  void startScanProgress(size_t files);

  // Window side: shows every noted value now and forgets the scan progress
  // when `endScan` is set. Called when a worker has ended.
  void flush(bool endScan);

  // How many times a worker handed its notices over (for tests and measurements).
  size_t handOvers() const { return handOvers_; }

  // Runs `fn` on the window's thread and returns its result; the caller
  // waits. On the window's thread it simply calls `fn`.
  template <class Fn>
  auto onWindowThread(Fn fn) const -> decltype(fn());

 private:
  struct Pending {
    std::optional<std::pair<navdb::StatusIcon, std::string>> status;
    std::optional<std::string> progressText;
    std::optional<std::string> currentFile;
    std::array<std::optional<int>, 4> counts;
    std::optional<navdb::NavaidKind> kindTab;
    std::optional<int> loadingPercent;
    size_t scanFilesDone = 0;
    size_t scanFilesTotal = 0;
    bool scanChanged = false;
  };

  bool onWindowThreadNow() const;
  // Notes a change; on the window's thread it is shown at once, on a worker
  // it is handed over when the interval has passed.
  // Reports are const to the libraries; what they change is the window's.
  void note(const std::function<void(Pending&)>& change) const;
  // Window side: shows and clears what is noted, then shows the lists as
  // they are now (the worker waits meanwhile).
  void applyPending(bool showLists = true) const;
  void noteCurrentFile(const std::string& text) const;

  WindowView& window_;
  shell::AppState& state_;
  std::function<void(int)> loadingTarget_;
  mutable std::mutex pendingMutex_;
  mutable Pending pending_;
  mutable std::chrono::steady_clock::time_point lastSync_{};
  mutable std::atomic<size_t> handOvers_{0};
  std::atomic<bool> liveLists_{false};
  mutable std::atomic<bool> handOverPosted_{false};
};

template <class Fn>
auto UiBridge::onWindowThread(Fn fn) const -> decltype(fn()) {
  using Result = decltype(fn());
  if (onWindowThreadNow()) return fn();
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(const_cast<UiBridge*>(this), fn, Qt::BlockingQueuedConnection);
  } else {
    Result result{};
    QMetaObject::invokeMethod(const_cast<UiBridge*>(this), fn, Qt::BlockingQueuedConnection,
                              &result);
    return result;
  }
}

// The bridge's reports, with `picking` (when given) run on the window's
// thread just before (true) and after (false) the user picks a waypoint: a
// dialog that stands over the lists gets out of the way meanwhile. With a
// `messageParent`, messages are shown over that window (the dialog they are
// about) instead of the main window.
class PickingReports : public planner::PlanReporter {
 public:
  PickingReports(const UiBridge& bridge, std::function<void(bool picking)> picking,
                 QWidget* messageParent = nullptr)
      : bridge_(bridge), picking_(std::move(picking)), messageParent_(messageParent) {}

  navdb::MessageAnswer Message(const navdb::MessageRequest& request) const override;
  void Status(navdb::StatusIcon icon, const std::string& text) const override {
    bridge_.Status(icon, text);
  }
  void Progress(navdb::ProgressTask task, int percent) const override {
    bridge_.Progress(task, percent);
  }
  void ProgressText(const std::string& text) const override { bridge_.ProgressText(text); }
  void EntryCountChanged(navdb::NavaidKind kind, int count) const override {
    bridge_.EntryCountChanged(kind, count);
  }
  void EntryInFocus(navdb::NavaidKind kind, int row) const override {
    bridge_.EntryInFocus(kind, row);
  }
  void KindInFocus(navdb::NavaidKind kind) const override { bridge_.KindInFocus(kind); }
  void IndexInFlux(bool inFlux) const override { bridge_.IndexInFlux(inFlux); }
  void Alert() const override { bridge_.Alert(); }
  void DatabaseBusy(bool busy) const override { bridge_.DatabaseBusy(busy); }
  std::optional<planner::WaypointPick> PickWaypoint(
      const planner::WaypointPickRequest& request) const override;

 private:
  const UiBridge& bridge_;
  std::function<void(bool)> picking_;
  QWidget* messageParent_;
};
