// The library callbacks of the desktop program. Workers call them from
// their own threads; every one ends up on the window's thread:
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
// Called on the window's own thread, every callback acts at once.
#pragma once

#include <QObject>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "navdb/ui_callbacks.h"

namespace shell {
struct AppState;
}
class MainWindow;

class UiBridge : public QObject {
  Q_OBJECT

 public:
  static constexpr std::chrono::milliseconds kSyncInterval{100};

  UiBridge(MainWindow& window, shell::AppState& state);

  // The callbacks for the libraries; valid as long as the bridge lives.
  const navdb::UiCallbacks& callbacks() const { return callbacks_; }

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
  auto onWindowThread(Fn fn) -> decltype(fn());

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

  void makeCallbacks();
  bool onWindowThreadNow() const;
  // Notes a change; on the window's thread it is shown at once, on a worker
  // it is handed over when the interval has passed.
  void note(const std::function<void(Pending&)>& change);
  // Window side: shows and clears what is noted, then shows the lists as
  // they are now (the worker waits meanwhile).
  void applyPending(bool showLists = true);
  void noteCurrentFile(const std::string& text);

  MainWindow& window_;
  shell::AppState& state_;
  navdb::UiCallbacks callbacks_;
  std::function<void(int)> loadingTarget_;
  std::mutex pendingMutex_;
  Pending pending_;
  std::chrono::steady_clock::time_point lastSync_{};
  std::atomic<size_t> handOvers_{0};
  std::atomic<bool> liveLists_{false};
  std::atomic<bool> handOverPosted_{false};
};

template <class Fn>
auto UiBridge::onWindowThread(Fn fn) -> decltype(fn()) {
  using Result = decltype(fn());
  if (onWindowThreadNow()) return fn();
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(this, fn, Qt::BlockingQueuedConnection);
  } else {
    Result result{};
    QMetaObject::invokeMethod(this, fn, Qt::BlockingQueuedConnection, &result);
    return result;
  }
}
