#include "shell/skat/skat_program.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "shell/skat/command_line.h"
#include "shell/skat/database_commands.h"
#include "shell/skat/index_window.h"
#include "shell/skat/loading_window.h"
#include "shell/skat/main_window.h"
#include "shell/skat/message_box.h"
#include "shell/skat/screenshots.h"
#include "shell/skat/settings.h"
#include "shell/skat/single_instance.h"
#include "shell/skat/status_icons.h"
#include "shell/skat/ui_bridge.h"

SkatProgram::SkatProgram(StartOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {
  if (options_.instanceKey.isEmpty()) {
    options_.instanceKey = QString::fromLatin1(shell::kWindowTitle);
  }
}

SkatProgram::~SkatProgram() {
  if (window_) window_->commands().waitForWorker();
}

StartOutcome SkatProgram::start() {
  // One window per database: the folder is found first, as it names the instance.
  locateSimulator();
  instance_ =
      std::make_unique<SingleInstance>(DatabaseInstanceKey(options_.instanceKey, state_.db.folder));
  if (instance_->activateRunning()) return StartOutcome::AnotherInstanceRuns;
  instance_->listen([this] { bringToFront(); });

  if (!lockDatabase()) return StartOutcome::DatabaseInUse;
  window_ = std::make_unique<MainWindow>(state_);
  // The load starts first and runs while the windows are built and while
  // the warnings below wait for the user.
  window_->bridge().setLoadingProgressTarget([this](int percent) {
    if (loading_) loading_->setProgress(percent);
  });
  window_->commands().startLoad([this] {
    window_->bridge().setLoadingProgressTarget({});
    loading_->finishAfterMinimum([this] { finishStart(); });
  });
  loading_ = std::make_unique<LoadingWindow>();
  loading_->setMinimumShowTime(options_.loadingMinimum);
  loading_->centreOnScreen();
  loading_->show();
  window_->resize(window_->sizeHint().expandedTo(QSize(900, 600)));
  window_->showSceneryRootPath();
  window_->show();
  warnWhenNarrowScreen();
  window_->indexWindow().placeBesideMainWindow();
  if (!simulatorFound_) {
    ShowMessageBox(window_.get(), {"Warning", std::string(shell::kSimulatorNotFoundText),
                                   navdb::MessageIcon::Warning, navdb::MessageButtons::Ok, true});
  }
  if (loading_) loading_->raise();  // the load may already be done
  return StartOutcome::Started;
}

bool SkatProgram::lockDatabase() {
  // Without a NavData folder there is nothing to load; the first save makes
  // the folder, and the program is then the only one that knows of it.
  std::error_code error;
  if (!std::filesystem::is_directory(state_.db.folder, error)) return true;
  // The lock finishes a save that was killed half-way, and says so.
  const MessageBoxReports ui(nullptr);
  platform::Result<navdb::DatabaseLock> acquired =
      navdb::DatabaseLock::Acquire(state_.db.folder, navdb::LockMode::Exclusive, "skat", ui);
  if (!acquired) {
    ShowMessageBox(nullptr, {"Error", acquired.error().message, navdb::MessageIcon::Error,
                             navdb::MessageButtons::Ok, true});
    return false;
  }
  lock_ = std::move(acquired).value();
  return true;
}

void SkatProgram::locateSimulator() {
  const std::string current = options_.currentDirectory.toStdString();
  const shell::SimulatorLocation location =
      options_.arguments.isEmpty()
          ? shell::LocateFromCurrentDirectory(current)
          : shell::LocateFromArgument(options_.arguments.front().toStdString(), current);
  simulatorFound_ = location.found;
  state_.simulatorRoot = location.simulatorRoot;
  state_.sceneryRootPath = location.simulatorRoot;
  state_.db.folder = location.navDataFolder;
}

void SkatProgram::warnWhenNarrowScreen() {
  if (!window_->centreOnScreen()) return;
  ShowMessageBox(window_.get(), {"Warning",
                                 "The current resolution is lower than 800x600.\r"
                                 "ND works fine only in 800x600 or higher res.",
                                 navdb::MessageIcon::Warning, navdb::MessageButtons::Ok, true});
}

void SkatProgram::finishStart() {
  // This runs inside the loading window's own timer call: it goes when
  // that call has returned.
  loading_.release()->deleteLater();
  bringToFront();
  if (!simulatorFound_) window_->findChild<QLineEdit*>("Root path for scenery scan :")->setFocus();
  ready_ = true;
  emit becameReady();
}

void SkatProgram::bringToFront() {
  if (!window_) return;
  window_->setWindowState((window_->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  window_->show();
  window_->raise();
  window_->activateWindow();
}

int RunSkat(int argc, char** argv) {
  if (std::optional<int> answered =
          AnswerHelpOrVersion(std::vector<std::string>(argv + 1, argv + argc), std::cout)) {
    return *answered;
  }
  QApplication app(argc, argv);
  SetProgramNames();
  // Ties the windows to the desktop entry skat.desktop, whose icon the
  // desktop shows for them (Wayland names a window's program this way).
  QGuiApplication::setDesktopFileName(QStringLiteral("skat"));
  QApplication::setWindowIcon(ApplicationIcon());
  StartOptions options;
  options.arguments = QApplication::arguments().mid(1);
  options.currentDirectory = QDir::currentPath();
  const QByteArray screenshotFolder = qgetenv("SKAT_SCREENSHOTS");
  if (!screenshotFolder.isEmpty()) {
    options.instanceKey = QStringLiteral("Skyatlas screenshots");
    options.loadingMinimum = std::chrono::milliseconds(0);
  }
  SkatProgram program(options);
  // Connected before the start: a quick load may be ready while a start-up
  // message box runs its own event loop. Queued, because a load that is
  // ready inside start() would otherwise save and call exit() before the
  // event loop runs, and exit() is lost when no loop is running.
  if (!screenshotFolder.isEmpty()) {
    QObject::connect(
        &program, &SkatProgram::becameReady, &program,
        [&program, screenshotFolder] {
          const bool saved =
              SaveScreenshots(*program.window(), QString::fromLocal8Bit(screenshotFolder));
          QApplication::exit(saved ? 0 : 1);
        },
        Qt::QueuedConnection);
  }
  switch (program.start()) {
    case StartOutcome::Started:
      break;
    case StartOutcome::AnotherInstanceRuns:
      // Said on the terminal, if any: the start did not open a window.
      std::fprintf(stderr,
                   "skat: the database in %s is open in a running window, now brought to the "
                   "front. Start skat on another simulator folder to open another database.\n",
                   program.state().db.folder.c_str());
      return 0;
    case StartOutcome::DatabaseInUse:
      return 1;
  }
  return QApplication::exec();
}
