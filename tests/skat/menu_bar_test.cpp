#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <set>
#include <thread>

#include "shell/skat/about_box.h"
#include "shell/skat/airport_filter_dialog.h"
#include "shell/skat/database_commands.h"
#include "shell/skat/duplicate_dialog.h"
#include "shell/skat/entry_editor_dialog.h"
#include "shell/skat/entry_list_model.h"
#include "shell/skat/flight_plan_dialog.h"
#include "shell/skat/folder_dialog.h"
#include "shell/skat/hand_edits_view.h"
#include "shell/skat/help_window.h"
#include "shell/skat/index_window.h"
#include "shell/skat/main_window.h"
#include "shell/skat/map_window.h"
#include "shell/skat/menu_bar.h"
#include "shell/skat/message_box.h"
#include "shell/skat/open_file_dialog.h"
#include "shell/skat/plan_launcher.h"
#include "shell/skat/qt_text.h"
#include "shell/skat/ui_bridge.h"
#include "tests/skat/skat_fixture.h"

namespace {

namespace fs = std::filesystem;
using navdb::MessageAnswer;
using navdb::NavaidKind;
using skat_test::WindowTest;

MainMenuBar& Menus(MainWindow& window) {
  return *window.findChild<MainMenuBar*>();
}

QAction* Action(MainWindow& window, const char* name) {
  QAction* action = Menus(window).action(name);
  EXPECT_NE(action, nullptr) << name;
  return action;
}

QPushButton* Button(QWidget& window, const char* caption) {
  return window.findChild<QPushButton*>(caption);
}

// Runs `act` on the modal dialog of type Dialog once it is up.
template <class Dialog>
void WhenModal(std::function<void(Dialog&)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
  });
}

QString Identifier(EntryEditorDialog& editor) {
  return editor.box(shell::EditorBox::Identifier)->text();
}

// Every shortcut the window gives its menus, as the user presses it.
void Press(MainWindow& window, QKeyCombination keys) {
  QApplication::setActiveWindow(&window);
  QTest::keyClick(&window, keys.key(), keys.keyboardModifiers());
}

TEST(MenuBar, EveryMenuHasItsAccessKeyAndEveryEntryOneOfItsOwn) {
  WindowTest test;
  test.Open();
  MainMenuBar& bar = Menus(*test.window);
  // The bar stands over the buttons, inside the window's layout.
  EXPECT_EQ(test.window->layout()->menuBar(), &bar);
  EXPECT_TRUE(bar.isVisible());
  EXPECT_TRUE(Button(*test.window, "Scan New Scenery")->isVisible());
  QStringList titles;
  std::set<QKeySequence> shortcuts;
  for (QAction* menuAction : bar.actions()) {
    titles << menuAction->text();
    std::set<QChar> keys;
    for (QAction* action : menuAction->menu()->actions()) {
      if (action->isSeparator()) continue;
      SCOPED_TRACE(action->text().toStdString());
      const qsizetype amp = action->text().indexOf('&');
      ASSERT_GE(amp, 0);
      EXPECT_TRUE(keys.insert(action->text().at(amp + 1).toLower()).second);
      if (!action->shortcut().isEmpty()) {
        EXPECT_TRUE(shortcuts.insert(action->shortcut()).second);
      }
    }
  }
  EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&Database", "&Help"}));
  const std::pair<const char*, QKeySequence> wanted[] = {
      {"Open plan", QKeySequence("Ctrl+O")}, {"New plan", QKeySequence("Ctrl+N")},
      {"Quit", QKeySequence("Ctrl+Q")},      {"Edit entry", QKeySequence("F2")},
      {"Delete entry", QKeySequence("Del")}, {"Find", QKeySequence("Ctrl+F")},
      {"Map", QKeySequence("Ctrl+M")},       {"Help", QKeySequence("F1")},
      {"Undo", QKeySequence("Ctrl+Z")},      {"Redo", QKeySequence("Ctrl+Shift+Z")}};
  for (const auto& [name, keys] : wanted) EXPECT_EQ(Action(*test.window, name)->shortcut(), keys);
  EXPECT_EQ(shortcuts.size(), std::size(wanted));
}

TEST(MenuBar, EveryActionDoesWhatItsButtonDoes) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  OpenFileDialogSeam::clear();
  const fs::path otherScenery = test.sim / "Other scenery";
  fs::create_directories(otherScenery);
  struct Case {
    const char* action;
    QAbstractButton* button;
    std::function<void()> before;
    std::function<void()> check;
  };
  const std::vector<Case> cases = {
      {"Open plan", Button(window, "Open"), [] { OpenFileDialogSeam::setNextFile(""); },
       [] { EXPECT_EQ(OpenFileDialogSeam::lastTitle(), "Select a Flight Plan"); }},
      {"Import plan", Button(window, "Import"), [] { OpenFileDialogSeam::setNextFile(""); },
       [] { EXPECT_EQ(OpenFileDialogSeam::lastTitle(), "Select a Flight Plan to import"); }},
      {"New plan", Button(window, "New"), [] {},
       [&] {
         FlightPlanDialog* dialog = window.findChild<PlanLauncher*>()->dialog();
         ASSERT_NE(dialog, nullptr);
         EXPECT_TRUE(dialog->isVisible());
         EXPECT_TRUE(test.state.planWindowOpen);
         Button(*dialog, "Cancel")->click();
         EXPECT_FALSE(test.state.planWindowOpen);
       }},
      {"Scan new scenery", Button(window, "Scan New Scenery"),
       [] { MessageBoxSeam::setNextAnswer(MessageAnswer::Ok); },
       [&] {
         test.WaitForWorker();
         const std::vector<std::string> shown = skat_test::ShownMessages();
         ASSERT_EQ(shown.size(), 1u);
         EXPECT_TRUE(shown[0].starts_with("Information|Added to the database :")) << shown[0];
       }},
      {"Rebuild database", Button(window, "Rebuild database"),
       [] { MessageBoxSeam::setNextAnswer(MessageAnswer::No); },
       [&] {
         ASSERT_EQ(MessageBoxSeam::shown().size(), 1u);
         EXPECT_EQ(MessageBoxSeam::shown()[0].buttons, navdb::MessageButtons::YesNo);
         EXPECT_FALSE(window.commands().workerRunning());
       }},
      {"Restore original DB", Button(window, "Restore original DB"),
       [] { MessageBoxSeam::setNextAnswer(MessageAnswer::No); },
       [&] {
         test.WaitForWorker();
         ASSERT_EQ(MessageBoxSeam::shown().size(), 1u);
         EXPECT_EQ(MessageBoxSeam::shown()[0].buttons, navdb::MessageButtons::YesNo);
         EXPECT_FALSE(window.commands().workerRunning());
       }},
      {"Rebuild index", window.indexWindow().rebuildButton(),
       [&] { fs::remove(test.navData / "idx.dat"); },
       [&] {
         test.WaitForWorker();
         EXPECT_TRUE(skat_test::ReadBytes(test.navData / "idx.dat").starts_with("// Index"));
       }},
      {"View index", Button(window, "View index"), [] {},
       [&] { EXPECT_TRUE(window.indexWindow().isVisible()); }},
      {"Change path", Button(window, "Change path"),
       [&] { FolderDialogSeam::setNextFolder(QString::fromStdString(otherScenery.string())); },
       [&] {
         EXPECT_EQ(fs::path(test.state.sceneryRootPath), otherScenery);
         EXPECT_EQ(
             window.findChild<QLineEdit*>("Root path for scenery scan :")->text().toStdString(),
             otherScenery.string());
       }},
      {"Airport filter", Button(window, "Filter"),
       [] { AirportFilterDialog::setNextAnswer(1234u); },
       [&] { EXPECT_EQ(test.state.minRunwayLengthFt, 1234u); }},
      {"Hand edits", Button(window, "Hand edits"), [] {},
       [&] {
         auto* view = window.findChild<HandEditsView*>();
         ASSERT_NE(view, nullptr);
         EXPECT_TRUE(view->isVisible());
         view->close();
       }},
      {"Map", Button(window, "Map"), [] {},
       [&] {
         ASSERT_NE(window.mapWindow(), nullptr);
         EXPECT_TRUE(window.mapWindow()->isVisible());
       }},
      {"Help", Button(window, "Help"), [] {},
       [&] {
         ASSERT_NE(window.helpWindow(), nullptr);
         EXPECT_TRUE(window.helpWindow()->isVisible());
       }},
      {"About", Button(window, "About"),
       [] { WhenModal<AboutBox>([](AboutBox& about) { about.accept(); }); },
       [] { EXPECT_EQ(QApplication::activeModalWidget(), nullptr); }},
      {"Quit", Button(window, "Quit"), [] {}, [&] { EXPECT_FALSE(window.isVisible()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    ASSERT_NE(c.button, nullptr);
    MessageBoxSeam::clearShown();
    QSignalSpy pressed(c.button, &QAbstractButton::clicked);
    c.before();
    QAction* action = Action(window, c.action);
    ASSERT_TRUE(action->isEnabled());
    action->trigger();
    EXPECT_EQ(pressed.count(), 1);
    c.check();
  }
}

TEST(MenuBar, ShortcutsTriggerTheirActions) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  OpenFileDialogSeam::clear();
  window.selectRow(NavaidKind::Ndb, 1);
  QString edited;
  struct Case {
    QKeyCombination keys;
    const char* action;
    std::function<void()> before;
    std::function<void()> check;
  };
  const std::vector<Case> cases = {
      {Qt::CTRL | Qt::Key_O, "Open plan", [] { OpenFileDialogSeam::setNextFile(""); },
       [] { EXPECT_EQ(OpenFileDialogSeam::lastTitle(), "Select a Flight Plan"); }},
      {Qt::CTRL | Qt::Key_F, "Find", [] {},
       [&] { EXPECT_EQ(QApplication::focusWidget(), window.findChild<QLineEdit*>("Search")); }},
      {QKeyCombination(Qt::Key_F2), "Edit entry",
       [&] {
         WhenModal<EntryEditorDialog>([&edited](EntryEditorDialog& editor) {
           edited = Identifier(editor);
           editor.reject();
         });
       },
       [&] { EXPECT_EQ(edited, "CD"); }},
      {QKeyCombination(Qt::Key_Delete), "Delete entry",
       [] { MessageBoxSeam::setNextAnswer(MessageAnswer::No); },
       [&] {
         EXPECT_EQ(skat_test::ShownMessages(),
                   std::vector<std::string>({"Warning|Do you really want to delete this NDB ?"}));
         EXPECT_EQ(window.model(NavaidKind::Ndb)->rowCount(), 3);
       }},
      {Qt::CTRL | Qt::Key_M, "Map", [] {}, [&] { EXPECT_TRUE(window.mapWindow()->isVisible()); }},
      {QKeyCombination(Qt::Key_F1), "Help", [] {},
       [&] { EXPECT_TRUE(window.helpWindow()->isVisible()); }},
      {Qt::CTRL | Qt::Key_N, "New plan", [] {},
       [&] {
         FlightPlanDialog* dialog = window.findChild<PlanLauncher*>()->dialog();
         ASSERT_NE(dialog, nullptr);
         EXPECT_TRUE(dialog->isVisible());
         Button(*dialog, "Cancel")->click();
       }},
      // Nothing to save: the window closes at once.
      {Qt::CTRL | Qt::Key_Q, "Quit", [] {}, [&] { EXPECT_FALSE(window.isVisible()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    MessageBoxSeam::clearShown();
    QSignalSpy triggered(Action(window, c.action), &QAction::triggered);
    c.before();
    Press(window, c.keys);
    EXPECT_EQ(triggered.count(), 1);
    c.check();
  }
}

// The actions that press a button, and that button.
std::vector<std::pair<QAction*, QAbstractButton*>> ButtonActions(MainWindow& window) {
  std::vector<std::pair<QAction*, QAbstractButton*>> pairs;
  const std::pair<const char*, const char*> names[] = {
      {"Open plan", "Open"},
      {"New plan", "New"},
      {"Import plan", "Import"},
      {"Quit", "Quit"},
      {"Scan new scenery", "Scan New Scenery"},
      {"Rebuild database", "Rebuild database"},
      {"Restore original DB", "Restore original DB"},
      {"View index", "View index"},
      {"Change path", "Change path"},
      {"Airport filter", "Filter"},
      {"Hand edits", "Hand edits"},
      {"Map", "Map"},
      {"Help", "Help"},
      {"About", "About"}};
  for (const auto& [action, button] : names) {
    pairs.emplace_back(Action(window, action), Button(window, button));
  }
  pairs.emplace_back(Action(window, "Rebuild index"), window.indexWindow().rebuildButton());
  return pairs;
}

TEST(MenuBar, ActionsAreOffWhileTheirButtonsAreDuringAWorkerAndAPick) {
  WindowTest test;
  test.sim.Write("Scenery/a.bgl", skat_test::NdbSceneryFile({{"AB", "NDB AB", 49.2, 2.2}}));
  test.Open();
  MainWindow& window = *test.window;
  const auto pairs = ButtonActions(window);
  const char* entryActions[] = {"Edit entry", "Add entry", "Delete entry"};
  int checkedDuringWorker = 0;
  // The scan asks about the second AB while it changes the lists.
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<DuplicateDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    ++checkedDuringWorker;
    EXPECT_TRUE(window.commands().workerRunning());
    for (const auto& [action, button] : pairs) {
      EXPECT_EQ(action->isEnabled(), button->isEnabled()) << action->text().toStdString();
    }
    EXPECT_FALSE(Action(window, "Scan new scenery")->isEnabled());
    EXPECT_FALSE(Action(window, "Rebuild index")->isEnabled());
    EXPECT_FALSE(Action(window, "Quit")->isEnabled());
    EXPECT_TRUE(Action(window, "Help")->isEnabled());
    EXPECT_TRUE(Action(window, "Find")->isEnabled());
    for (const char* name : entryActions) EXPECT_FALSE(Action(window, name)->isEnabled()) << name;
    dialog->keepExistingButton()->click();
  });
  answerer.start(10);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);  // the summary
  Action(window, "Scan new scenery")->trigger();
  test.WaitForWorker();
  answerer.stop();
  EXPECT_EQ(checkedDuringWorker, 1);
  for (const auto& [action, button] : pairs) EXPECT_TRUE(action->isEnabled());
  for (const char* name : entryActions) EXPECT_TRUE(Action(window, name)->isEnabled()) << name;

  // A pick leaves the lists on, but no entry may change under it.
  window.beginWaypointPick({true, planner::WaypointPick{NavaidKind::Ndb, 0}});
  for (const auto& [action, button] : pairs) {
    EXPECT_EQ(action->isEnabled(), button->isEnabled()) << action->text().toStdString();
  }
  EXPECT_FALSE(Action(window, "Open plan")->isEnabled());
  for (const char* name : entryActions) EXPECT_FALSE(Action(window, name)->isEnabled()) << name;
  QAction* pick = Action(window, "Pick waypoint");
  emit Menus(window).listMenu()->aboutToShow();
  EXPECT_TRUE(pick->isEnabled());
  QApplication::setActiveWindow(&window);
  QTest::keyClick(window.listView(NavaidKind::Ndb), Qt::Key_Escape);
  EXPECT_FALSE(test.state.pick.SelectionPending());
  emit Menus(window).listMenu()->aboutToShow();
  EXPECT_FALSE(pick->isEnabled());
  for (const char* name : entryActions) EXPECT_TRUE(Action(window, name)->isEnabled()) << name;
}

// Clicks `name` in the open context menu.
void ClickInMenu(QMenu& menu, const char* name) {
  QAction* found = nullptr;
  for (QAction* action : menu.actions()) {
    if (action->objectName() == name) found = action;
  }
  ASSERT_NE(found, nullptr) << name;
  QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(found).center());
}

TEST(ListContextMenu, RightClickMenuKeyAndShiftF10OfferEditAddAndDelete) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  window.showKindTab(NavaidKind::Intersection);
  window.showKindTab(NavaidKind::Ndb);
  QListView* ndbs = window.listView(NavaidKind::Ndb);
  QMenu& menu = *Menus(window).listMenu();
  QApplication::processEvents();

  // A right click selects the line under it and opens the menu there.
  const QRect line = ndbs->visualRect(ndbs->model()->index(1, 0));
  QTest::mousePress(ndbs->viewport(), Qt::RightButton, {}, line.center());
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, line.center(),
                               ndbs->viewport()->mapToGlobal(line.center()));
  QApplication::sendEvent(ndbs->viewport(), &rightClick);
  QTest::mouseRelease(ndbs->viewport(), Qt::RightButton, {}, line.center());
  ASSERT_TRUE(menu.isVisible());
  EXPECT_EQ(ndbs->currentIndex().row(), 1);
  QStringList entries;
  for (QAction* action : menu.actions()) {
    if (!action->isSeparator() && action->isEnabled()) entries << action->objectName();
  }
  EXPECT_EQ(entries, QStringList({"Edit entry", "Add entry", "Delete entry"}));
  QString edited;
  WhenModal<EntryEditorDialog>([&edited](EntryEditorDialog& editor) {
    edited = Identifier(editor);
    editor.reject();
  });
  ClickInMenu(menu, "Edit entry");
  EXPECT_FALSE(menu.isVisible());
  EXPECT_EQ(edited, "CD");

  // The Menu key (the platform sends it as a keyboard context menu event)
  // opens the menu under the selected line.
  QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(0, 0),
                            ndbs->mapToGlobal(QPoint(0, 0)));
  QApplication::sendEvent(ndbs, &menuKey);
  ASSERT_TRUE(menu.isVisible());
  EXPECT_TRUE(menu.geometry().contains(ndbs->viewport()->mapToGlobal(line.bottomLeft()) +
                                       QPoint(line.height() + 1, 1)));
  WhenModal<EntryEditorDialog>([&edited](EntryEditorDialog& editor) {
    edited = Identifier(editor);
    editor.reject();
  });
  ClickInMenu(menu, "Add entry");
  EXPECT_EQ(edited, "");

  // Shift+F10: Delete asks first, No by default, and No keeps the line.
  const std::string second = skat_test::NdbLines()[1];
  QTest::keyClick(ndbs, Qt::Key_F10, Qt::ShiftModifier);
  ASSERT_TRUE(menu.isVisible());
  MessageBoxSeam::setNextAnswer(MessageAnswer::No);
  ClickInMenu(menu, "Delete entry");
  EXPECT_EQ(skat_test::ShownMessages(),
            std::vector<std::string>({"Warning|Do you really want to delete this NDB ?"}));
  const std::unique_ptr<QMessageBox> question =
      BuildMessageBox(&window, MessageBoxSeam::shown()[0]);
  EXPECT_EQ(question->defaultButton(), question->button(QMessageBox::No));
  EXPECT_EQ(Win1252FromQString(ndbs->model()->index(1, 0).data().toString()), second);
  EXPECT_FALSE(test.state.db.databaseModified);

  // Yes deletes it, and the line that took its place is selected.
  QTest::keyClick(ndbs, Qt::Key_F10, Qt::ShiftModifier);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  ClickInMenu(menu, "Delete entry");
  const int rows = static_cast<int>(skat_test::NdbLines().size()) - 1;
  ASSERT_EQ(ndbs->model()->rowCount(), rows);
  for (int row = 0; row < rows; ++row) {
    EXPECT_NE(Win1252FromQString(ndbs->model()->index(row, 0).data().toString()), second);
  }
  EXPECT_EQ(ndbs->currentIndex().row(), 1);  // EF, after AB
  EXPECT_TRUE(test.state.db.databaseModified);
  EXPECT_TRUE(window.windowTitle().endsWith(" *"));
}

TEST(WaypointPick, EnterPicksTheSelectedLineAsADoubleClickDoes) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  window.showKindTab(NavaidKind::Airport);
  std::optional<planner::WaypointPick> picked;
  std::atomic<bool> done{false};
  std::jthread planner([&] {
    picked = window.bridge().PickWaypoint({true, std::nullopt});
    done = true;
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return test.state.pick.SelectionPending(); }, 5000));
  QListView* airports = window.listView(NavaidKind::Airport);
  // Nothing selected: Enter is used up by the pick, and it still waits.
  QTest::keyClick(airports, Qt::Key_Return);
  EXPECT_TRUE(test.state.pick.SelectionPending());
  EXPECT_EQ(window.helpWindow(), nullptr);

  // The line is chosen by the keyboard: Find, then the arrow key, then Enter.
  auto* find = window.findChild<QLineEdit*>("Find ID");
  QTest::keyClicks(find, QString::fromStdString(skat_test::RunwayLines()[1].substr(0, 4)));
  ASSERT_EQ(airports->currentIndex().row(), 1);
  QTest::keyClick(airports, Qt::Key_Down);
  QTest::keyClick(airports, Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
  ASSERT_TRUE(picked.has_value());
  EXPECT_EQ(picked->kind, NavaidKind::Airport);
  EXPECT_EQ(picked->row, 2u);
  EXPECT_FALSE(test.state.pick.SelectionPending());
  EXPECT_TRUE(Button(window, "Quit")->isEnabled());
  EXPECT_EQ(window.helpWindow(), nullptr);

  // Outside a pick, Enter is "Help" again.
  QTest::keyClick(airports, Qt::Key_Return);
  ASSERT_NE(window.helpWindow(), nullptr);
  EXPECT_TRUE(window.helpWindow()->isVisible());
}

TEST(EscapeKey, ClosesHelpAndTheAirportFilterWhichCancelLeavesUnapplied) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  Action(window, "Help")->trigger();
  HelpWindow* help = window.helpWindow();
  ASSERT_TRUE(help->isVisible());
  QApplication::setActiveWindow(help);
  QTest::keyClick(help->browser(), Qt::Key_Escape);
  EXPECT_FALSE(help->isVisible());

  test.state.minRunwayLengthFt = 3000;
  window.showKindTab(NavaidKind::Airport);
  for (const bool byEscape : {true, false}) {
    SCOPED_TRACE(byEscape ? "Escape" : "Cancel");
    bool closed = false;
    WhenModal<AirportFilterDialog>([&](AirportFilterDialog& dialog) {
      dialog.lengthField()->selectAll();
      QTest::keyClicks(dialog.lengthField(), "4500");
      if (byEscape) {
        QTest::keyClick(dialog.lengthField(), Qt::Key_Escape);
      } else {
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
      }
      closed = !dialog.isVisible();
    });
    QTest::mouseClick(Button(window, "Filter"), Qt::LeftButton);
    EXPECT_TRUE(closed);
    EXPECT_EQ(test.state.minRunwayLengthFt, 3000u);
  }
}

}  // namespace
