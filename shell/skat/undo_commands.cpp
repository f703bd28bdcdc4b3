#include "shell/skat/undo_commands.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QListView>
#include <QMenu>

#include <algorithm>

#include "shell/core/app_state.h"
#include "shell/core/edit_history.h"
#include "shell/skat/database_commands.h"
#include "shell/skat/main_window.h"
#include "shell/skat/message_box.h"
#include "shell/skat/qt_text.h"

namespace {

// A menu text shows '&' as the access key's mark: a name's own is doubled.
QString MenuText(const char* verb, const std::string& stepName) {
  QString name = QStringFromWin1252(stepName);
  name.replace(QLatin1Char('&'), QLatin1String("&&"));
  return QString::fromLatin1(verb) + QLatin1Char(' ') + name;
}

}  // namespace

UndoCommands::UndoCommands(MainWindow& window, QMenu& menu, std::vector<QWidget*> guards)
    : QObject(&menu), window_(window), guards_(std::move(guards)) {
  undo_ = menu.addAction("&Undo");
  undo_->setObjectName("Undo");
  undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  redo_ = menu.addAction("&Redo");
  redo_->setObjectName("Redo");
  redo_->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  connect(undo_, &QAction::triggered, this, &UndoCommands::undo);
  connect(redo_, &QAction::triggered, this, &UndoCommands::redo);
  // Every entry change, scan, rebuild and restore ends in the lists shown
  // anew; the guards change as workers and waypoint picks come and go.
  connect(&window_, &MainWindow::listsChanged, this, &UndoCommands::refresh);
  connect(&menu, &QMenu::aboutToShow, this, &UndoCommands::refresh);
  for (QWidget* guard : guards_) guard->installEventFilter(this);
  refresh();
}

bool UndoCommands::mayChangeEntries() const {
  return !window_.commands().workerRunning() &&
         std::all_of(guards_.begin(), guards_.end(),
                     [](const QWidget* guard) { return guard->isEnabled(); });
}

void UndoCommands::refresh() {
  const shell::EditHistory& history = window_.state().editHistory;
  const bool allowed = mayChangeEntries();
  undo_->setText(history.CanUndo() ? MenuText("&Undo", shell::StepName(history.NextUndo()))
                                   : QStringLiteral("&Undo"));
  redo_->setText(history.CanRedo() ? MenuText("&Redo", shell::StepName(history.NextRedo()))
                                   : QStringLiteral("&Redo"));
  undo_->setEnabled(allowed && history.CanUndo());
  redo_->setEnabled(allowed && history.CanRedo());
}

bool UndoCommands::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::EnabledChange) refresh();
  return QObject::eventFilter(watched, event);
}

void UndoCommands::turn(bool back) {
  shell::AppState& state = window_.state();
  shell::EditHistory& history = state.editHistory;
  if (!mayChangeEntries() || !(back ? history.CanUndo() : history.CanRedo())) return;
  const platform::Result<shell::StepDone> done =
      back ? history.Undo(state.db) : history.Redo(state.db);
  if (!done) {
    ShowMessageBox(&window_, {"Error", done.error().message, navdb::MessageIcon::Error,
                              navdb::MessageButtons::Ok, false});
    return;
  }
  // The lists, counts, index, title and map as after an editor's change.
  window_.reloadLists();
  showEntry(*done);
}

void UndoCommands::showEntry(const shell::StepDone& done) {
  window_.showKindTab(done.kind);
  const size_t rows = window_.state().db.List(done.kind).Count();
  if (rows == 0) return;
  window_.selectRow(done.kind, static_cast<int>(std::min(done.row, rows - 1)));
  window_.listView(done.kind)->setFocus();
}
