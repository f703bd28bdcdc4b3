// The main window's menu bar, beside its buttons: File, Edit (with Undo and
// Redo, undo_commands.h), Database and Help, with access keys and the usual
// shortcuts, and the lists' context menu (right click, the Menu key,
// Shift+F10) with the Edit menu's entry commands. An action with a button
// presses that button, so it does exactly what the button does, and it is
// enabled only while its button is (the window turns the buttons off while a
// worker runs or a waypoint pick waits).
#pragma once

#include <QMenuBar>
#include <QPoint>

#include <optional>
#include <vector>

class MainWindow;
class QAbstractButton;
class QAction;
class QListView;
class QMenu;

class MainMenuBar : public QMenuBar {
  Q_OBJECT

 public:
  explicit MainMenuBar(MainWindow& window);

  // The action named `text`: its text without the access key's '&', a
  // closing "..." and the shortcut hint; nullptr when there is none.
  QAction* action(const QString& text) const;
  // The lists' context menu.
  QMenu* listMenu() const { return listMenu_; }
  // Opens the context menu for the current tab's list: at `globalPos`, or
  // under its selected line when none is given (the keyboard's way).
  void showListMenu(QListView* view, std::optional<QPoint> globalPos = std::nullopt);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // An action that follows the enabled state of every widget in `guards`.
  struct Guarded {
    QAction* action;
    std::vector<QWidget*> guards;
  };

  QMenu* makeFileMenu();
  QMenu* makeEditMenu();
  QMenu* makeDatabaseMenu();
  QMenu* makeHelpMenu();
  QAction* addAction(QMenu* menu, const QString& text, const QKeySequence& shortcut = {});
  // An action that presses `button`.
  QAction* addButtonAction(QMenu* menu, const QString& text, QAbstractButton* button,
                           const QKeySequence& shortcut = {});
  void guard(QAction* action, std::vector<QWidget*> guards);
  void followGuards();
  void installListMenus();

  MainWindow& window_;
  std::vector<Guarded> guarded_;
  QAction* pickAction_ = nullptr;
  QMenu* listMenu_ = nullptr;
};
