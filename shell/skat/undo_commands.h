// "Undo" and "Redo" of the Edit menu (Ctrl+Z; Ctrl+Shift+Z or Ctrl+Y): the
// session's entry changes one step back or forward, through the history of
// shell/core/edit_history.h. Each names the change it turns ("Undo modify
// NDB ABC") and is enabled only while there is one and the entry commands
// are (no worker running, no waypoint pick waiting). After a turn the entry
// is shown and selected on its own tab, and the lists, counts, index and
// title are shown anew, as after an editor's change; a turn that cannot be
// made is told in an error box and changes nothing.
#pragma once

#include <QObject>

#include <vector>

namespace shell {
struct StepDone;
}
class MainWindow;
class QAction;
class QMenu;
class QWidget;

class UndoCommands : public QObject {
  Q_OBJECT

 public:
  // Adds the two actions to `menu`; they are off while any of `guards`
  // (the widgets that guard the entry commands) is.
  UndoCommands(MainWindow& window, QMenu& menu, std::vector<QWidget*> guards);

  QAction* undoAction() const { return undo_; }
  QAction* redoAction() const { return redo_; }

  void undo() { turn(true); }
  void redo() { turn(false); }
  // The actions' texts and states from the history and the guards.
  void refresh();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool mayChangeEntries() const;
  void turn(bool back);
  // The entry a turn changed, selected on its own tab (the line that took
  // its place when it left its list).
  void showEntry(const shell::StepDone& done);

  MainWindow& window_;
  std::vector<QWidget*> guards_;
  QAction* undo_ = nullptr;
  QAction* redo_ = nullptr;
};
