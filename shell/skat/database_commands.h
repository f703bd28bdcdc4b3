// The commands of the main window that change the database, and the one
// worker thread they run on: load, scan, rebuild, restore, index rebuild and
// the save at quit. The window disables every command that could start a
// second worker while one runs, so the database has one writer at a time.
#pragma once

#include <QObject>

#include <functional>

#include "platform/worker_thread.h"

namespace shell {
struct AppState;
}
class QProgressDialog;
class UiBridge;
class WindowView;

class DatabaseCommands : public QObject {
  Q_OBJECT

 public:
  DatabaseCommands(WindowView& window, UiBridge& bridge, shell::AppState& state);

  bool workerRunning() const { return workerRunning_; }
  // Keeps the window's events going until the worker has ended, so that a
  // worker waiting for the window can finish; then joins it.
  void waitForWorker();

  // The start-up load on a worker; `loaded` runs on the window's thread.
  void startLoad(std::function<void()> loaded);

  // The window's close box: true when the window may close now. Otherwise
  // it stays open (a waypoint pick, the flight plan window), the save
  // worker was started, or a worker runs and the window closes after it.
  bool mayClose();

 public slots:
  void scan();
  void rebuildDatabase();
  void restore();
  void rebuildIndex();
  void changePath();
  void airportFilter();
  void quit();

 private:
  void startWorker(std::function<void()> job, std::function<void()> done = {});
  void finishWorker();
  // With `rebuild` the hand edits are replayed after the scan.
  void startScan(bool rebuild);
  void startQuitSave();
  bool sceneryRootPathChosen();
  // The busy box while a restore loads the database again (window thread).
  void showRestoreProgress(bool loading);
  // The steps of quitting; true when the window may close at once.
  bool decideQuit(bool byQuitButton);

  WindowView& window_;
  UiBridge& bridge_;
  shell::AppState& state_;
  platform::WorkerThread worker_;
  bool workerRunning_ = false;
  std::function<void()> workerDone_;
  bool closeAfterWorker_ = false;
  bool closeApproved_ = false;
  QProgressDialog* restoreProgress_ = nullptr;
};
