#include "shell/skat/menu_bar.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>

#include <algorithm>

#include "shell/core/app_state.h"
#include "shell/skat/entry_commands.h"
#include "shell/skat/index_window.h"
#include "shell/skat/main_window.h"
#include "shell/skat/plan_launcher.h"
#include "shell/skat/recent_plans_menu.h"
#include "shell/skat/undo_commands.h"

namespace {

// The name of a menu entry: its text without the access key's '&', the
// dots of an entry that opens a dialog and the shortcut hint after a tab.
QString PlainText(const QString& text) {
  QString plain = text.section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
  if (plain.endsWith(QLatin1String("..."))) plain.chop(3);
  return plain;
}

}  // namespace

MainMenuBar::MainMenuBar(MainWindow& window) : QMenuBar(&window), window_(window) {
  setObjectName("Menu bar");
  setAccessibleName("Menu bar");
  addMenu(makeFileMenu());
  addMenu(makeEditMenu());
  addMenu(makeDatabaseMenu());
  addMenu(makeHelpMenu());
  installListMenus();
  followGuards();
}

QAction* MainMenuBar::action(const QString& text) const {
  for (QAction* candidate : findChildren<QAction*>()) {
    if (candidate->objectName() == text) return candidate;
  }
  return nullptr;
}

QAction* MainMenuBar::addAction(QMenu* menu, const QString& text, const QKeySequence& shortcut) {
  QAction* action = menu->addAction(text);
  action->setObjectName(PlainText(text));
  action->setShortcut(shortcut);
  return action;
}

QAction* MainMenuBar::addButtonAction(QMenu* menu, const QString& text, QAbstractButton* button,
                                      const QKeySequence& shortcut) {
  QAction* action = addAction(menu, text, shortcut);
  connect(action, &QAction::triggered, button, &QAbstractButton::click);
  guard(action, {button});
  return action;
}

QMenu* MainMenuBar::makeFileMenu() {
  auto button = [this](const char* caption) { return window_.findChild<QPushButton*>(caption); };
  auto* menu = new QMenu("&File", this);
  addButtonAction(menu, "&Open plan...", button("Open"), QKeySequence(Qt::CTRL | Qt::Key_O));
  addButtonAction(menu, "&New plan", button("New"), QKeySequence(Qt::CTRL | Qt::Key_N));
  addButtonAction(menu, "&Import plan...", button("Import"));
  AddPlanFileEntries(menu, *window_.findChild<PlanLauncher*>("Plan launcher"), button("Open"));
  menu->addSeparator();
  addButtonAction(menu, "&Quit", button("Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
  return menu;
}

QMenu* MainMenuBar::makeEditMenu() {
  auto* menu = new QMenu("&Edit", this);
  // The entry commands change the database: off while a worker runs (the
  // lists are off then) and while a waypoint pick waits (the top commands,
  // "Hand edits" among them, are off then).
  std::vector<QWidget*> entryGuards{window_.findChild<QPushButton*>("Hand edits")};
  for (navdb::NavaidKind kind : navdb::kAllKinds) entryGuards.push_back(window_.listView(kind));
  new UndoCommands(window_, *menu, entryGuards);  // "Undo" and "Redo" first
  menu->addSeparator();
  QAction* edit = addAction(menu, "&Edit entry...", QKeySequence(Qt::Key_F2));
  connect(edit, &QAction::triggered, this, [this] { EditSelectedEntry(window_); });
  guard(edit, entryGuards);
  QAction* add = addAction(menu, "&Add entry...");
  connect(add, &QAction::triggered, this, [this] { AddEntryOfCurrentKind(window_); });
  guard(add, entryGuards);
  QAction* remove = addAction(menu, "&Delete entry", QKeySequence(Qt::Key_Delete));
  connect(remove, &QAction::triggered, this, [this] { DeleteSelectedEntry(window_); });
  guard(remove, entryGuards);
  menu->addSeparator();
  // Enter itself is the window's key (it presses "Help" outside a pick):
  // the entry only shows it.
  pickAction_ = addAction(menu, "&Pick waypoint\tEnter");
  pickAction_->setEnabled(false);
  connect(pickAction_, &QAction::triggered, this, [this] { PickSelectedWaypoint(window_); });
  connect(menu, &QMenu::aboutToShow, this,
          [this] { pickAction_->setEnabled(window_.state().pick.SelectionPending()); });
  menu->addSeparator();
  QAction* find = addAction(menu, "&Find...", QKeySequence(Qt::CTRL | Qt::Key_F));
  // Find is the search box, which filters the lists; "Find ID" keeps its
  // own place beside them.
  connect(find, &QAction::triggered, this, [this] { window_.focusSearch(); });
  return menu;
}

QMenu* MainMenuBar::makeDatabaseMenu() {
  auto button = [this](const char* caption) { return window_.findChild<QPushButton*>(caption); };
  auto* menu = new QMenu("&Database", this);
  addButtonAction(menu, "&Scan new scenery", button("Scan New Scenery"));
  addButtonAction(menu, "&Rebuild database", button("Rebuild database"));
  addButtonAction(menu, "Restore &original DB", button("Restore original DB"));
  menu->addSeparator();
  addButtonAction(menu, "Rebuild &index", window_.indexWindow().rebuildButton());
  addButtonAction(menu, "&View index", button("View index"));
  addButtonAction(menu, "&Change path...", button("Change path"));
  addButtonAction(menu, "Airport &filter...", button("Filter"));
  menu->addSeparator();
  addButtonAction(menu, "&Hand edits...", button("Hand edits"));
  addButtonAction(menu, "&Map", button("Map"), QKeySequence(Qt::CTRL | Qt::Key_M));
  return menu;
}

QMenu* MainMenuBar::makeHelpMenu() {
  auto button = [this](const char* caption) { return window_.findChild<QPushButton*>(caption); };
  auto* menu = new QMenu("&Help", this);
  addButtonAction(menu, "&Help", button("Help"), QKeySequence(Qt::Key_F1));
  addButtonAction(menu, "&About", button("About"));
  return menu;
}

void MainMenuBar::guard(QAction* action, std::vector<QWidget*> guards) {
  for (QWidget* widget : guards) widget->installEventFilter(this);
  guarded_.push_back({action, std::move(guards)});
}

void MainMenuBar::followGuards() {
  for (const Guarded& entry : guarded_) {
    entry.action->setEnabled(
        std::all_of(entry.guards.begin(), entry.guards.end(),
                    [](const QWidget* widget) { return widget->isEnabled(); }));
  }
}

void MainMenuBar::installListMenus() {
  listMenu_ = new QMenu("Entry", this);
  listMenu_->setObjectName("List menu");
  for (const char* text : {"Edit entry", "Add entry", "Delete entry"}) {
    listMenu_->addAction(action(text));
  }
  listMenu_->addSeparator();
  listMenu_->addAction(pickAction_);
  connect(listMenu_, &QMenu::aboutToShow, this,
          [this] { pickAction_->setEnabled(window_.state().pick.SelectionPending()); });
  for (navdb::NavaidKind kind : navdb::kAllKinds) {
    QListView* view = window_.listView(kind);
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
  }
}

void MainMenuBar::showListMenu(QListView* view, std::optional<QPoint> globalPos) {
  if (!globalPos) {
    // Under the selected line when it is in sight, else at the list's top.
    const QRect line = view->visualRect(view->currentIndex());
    const QPoint local = view->viewport()->rect().contains(line.center())
                             ? line.bottomLeft() + QPoint(line.height(), 0)
                             : QPoint(0, 0);
    globalPos = view->viewport()->mapToGlobal(local);
  }
  listMenu_->popup(*globalPos);
}

bool MainMenuBar::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::EnabledChange:
      followGuards();
      break;
    case QEvent::ContextMenu:
    case QEvent::KeyPress: {
      QListView* view = qobject_cast<QListView*>(watched);
      if (!view) view = qobject_cast<QListView*>(watched->parent());
      if (!view || view != window_.listView(window_.currentKind())) break;
      if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier) break;
        showListMenu(view);
        return true;
      }
      const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
      if (menuEvent->reason() == QContextMenuEvent::Mouse) {
        showListMenu(view, menuEvent->globalPos());
      } else {
        showListMenu(view);
      }
      return true;
    }
    default:
      break;
  }
  return QMenuBar::eventFilter(watched, event);
}
