// The desktop program from start to end: single instance, the loading
// window, the main window, the simulator folder, the database load.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>
#include <optional>

#include "navdb/database_lock.h"
#include "shell/core/app_state.h"

class LoadingWindow;
class MainWindow;
class SingleInstance;

struct StartOptions {
  QStringList arguments;     // without the program name: [SIMULATOR_FOLDER]
  QString currentDirectory;  // where the program was started
  QString instanceKey;       // the single-instance key (the window title unless a test sets one),
                             // to which the NavData folder is added
  std::chrono::milliseconds loadingMinimum{2000};
};

enum class StartOutcome {
  Started,
  AnotherInstanceRuns,  // the program on this database was asked to come to the front; this
                        // start ends with exit code 0
  DatabaseInUse,        // another program changes the database; this start ends with exit code 1
};

class SkatProgram : public QObject {
  Q_OBJECT

 public:
  explicit SkatProgram(StartOptions options, QObject* parent = nullptr);
  ~SkatProgram() override;

  // Starts the program: the main window opens and the load begins, unless
  // another instance runs or another program holds the database.
  StartOutcome start();

  bool ready() const { return ready_; }
  shell::AppState& state() { return state_; }
  MainWindow* window() { return window_.get(); }
  LoadingWindow* loadingWindow() { return loading_.get(); }

 signals:
  // The database is loaded, the loading window closed and the main window
  // in front.
  void becameReady();

 private:
  void locateSimulator();
  bool lockDatabase();
  void warnWhenNarrowScreen();
  void bringToFront();
  void finishStart();

  StartOptions options_;
  shell::AppState state_;
  std::unique_ptr<SingleInstance> instance_;
  // Held from before the load until the program ends: the whole session is
  // one load-change-save.
  std::optional<navdb::DatabaseLock> lock_;
  std::unique_ptr<LoadingWindow> loading_;
  std::unique_ptr<MainWindow> window_;
  bool simulatorFound_ = false;
  bool ready_ = false;
};

// The program's main: runs until the main window closes.
int RunSkat(int argc, char** argv);
