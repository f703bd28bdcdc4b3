#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "navdb/journal_file.h"
#include "shell/core/entry_editor.h"
#include "shell/skat/database_commands.h"
#include "shell/skat/entry_editor_dialog.h"
#include "shell/skat/entry_editors.h"
#include "shell/skat/index_window.h"
#include "shell/skat/main_window.h"
#include "shell/skat/menu_bar.h"
#include "shell/skat/message_box.h"
#include "shell/skat/qt_text.h"
#include "tests/skat/skat_fixture.h"

namespace {

namespace fs = std::filesystem;
using navdb::MessageAnswer;
using navdb::NavaidKind;
using shell::EditorBox;
using skat_test::WindowTest;

constexpr std::array<const char*, 5> kDatabaseFiles = {"ndb.dat", "vor.dat", "apt.dat", "int.dat",
                                                       "idx.dat"};

QAction* Action(MainWindow& window, const char* name) {
  QAction* action = window.findChild<MainMenuBar*>()->action(name);
  EXPECT_NE(action, nullptr) << name;
  return action;
}

void Press(MainWindow& window, QKeyCombination keys) {
  QApplication::setActiveWindow(&window);
  QTest::keyClick(&window, keys.key(), keys.keyboardModifiers());
}

std::vector<std::string> Lines(const shell::AppState& state, NavaidKind kind) {
  std::vector<std::string> lines;
  state.db.List(kind).ForEach([&](size_t, std::string_view line) { lines.emplace_back(line); });
  return lines;
}

std::array<std::vector<std::string>, 4> AllLines(const shell::AppState& state) {
  std::array<std::vector<std::string>, 4> all;
  for (NavaidKind kind : navdb::kAllKinds) all[navdb::IndexOf(kind)] = Lines(state, kind);
  return all;
}

std::vector<std::string> FileBytes(const fs::path& navData) {
  std::vector<std::string> files;
  for (const char* name : kDatabaseFiles) files.push_back(skat_test::ReadBytes(navData / name));
  return files;
}

std::string SelectedLine(MainWindow& window, NavaidKind kind) {
  const QModelIndexList selected = window.listView(kind)->selectionModel()->selectedIndexes();
  return selected.size() == 1 ? Win1252FromQString(selected.front().data().toString()) : "";
}

NavaidKind ShownKind(MainWindow& window) {
  return navdb::kAllKinds[static_cast<size_t>(window.findChild<QTabWidget*>()->currentIndex())];
}

QString Count(MainWindow& window, const char* field) {
  return window.findChild<QLineEdit*>(field)->text();
}

// Opens the editor of `kind` on `row` (none: empty boxes), types into its
// boxes and presses `button`; returns the line its boxes made.
std::string EditAndPress(MainWindow& window, NavaidKind kind, std::optional<size_t> row,
                         const std::vector<std::pair<EditorBox, QString>>& typed,
                         const char* button) {
  std::unique_ptr<EntryEditorDialog> editor = MakeEntryEditor(window, window.state(), kind, row);
  editor->show();
  QApplication::setActiveWindow(editor.get());
  for (const auto& [box, text] : typed) {
    QLineEdit* edit = editor->box(box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
  }
  const std::string line = shell::BuildEditorLine(kind, editor->session().fields);
  QTest::mouseClick(editor->button(button), Qt::LeftButton);
  EXPECT_EQ(editor->result(), QDialog::Accepted);
  return line;
}

void DeleteFromTheMenu(MainWindow& window, NavaidKind kind, int row) {
  window.showKindTab(kind);
  window.selectRow(kind, row);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  Action(window, "Delete entry")->trigger();
}

void ExpectAction(QAction* action, const char* text, bool enabled) {
  SCOPED_TRACE(text);
  EXPECT_EQ(action->text(), text);
  EXPECT_EQ(action->isEnabled(), enabled);
}

TEST(UndoRedo, ModifyAddDeleteGoBackToTheLoadedFilesAndComeAgain) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  const auto loaded = AllLines(test.state);
  const std::vector<std::string> loadedFiles = FileBytes(test.navData);
  QAction* undo = Action(window, "Undo");
  QAction* redo = Action(window, "Redo");
  ExpectAction(undo, "&Undo", false);
  ExpectAction(redo, "&Redo", false);

  const std::string modified =
      EditAndPress(window, NavaidKind::Ndb, 0, {{EditorBox::Altitude, "777"}}, "Validate");
  ExpectAction(undo, "&Undo modify NDB AB", true);
  const std::string added =
      EditAndPress(window, NavaidKind::Vor, std::nullopt,
                   {{EditorBox::Identifier, "XYZ"}, {EditorBox::Name, "NEW VOR"}}, "Add");
  ExpectAction(undo, "&Undo add VOR XYZ", true);
  DeleteFromTheMenu(window, NavaidKind::Airport, 1);
  ExpectAction(undo, "&Undo delete runway LFPG 08L/26R", true);
  ExpectAction(redo, "&Redo", false);
  const auto edited = AllLines(test.state);
  EXPECT_EQ(Lines(test.state, NavaidKind::Ndb)[0], modified);
  EXPECT_EQ(Lines(test.state, NavaidKind::Vor)[1], added);
  EXPECT_EQ(Count(window, "Airports entries"), "3");

  // Ctrl+Z, three times: each shows and selects the entry on its own tab.
  window.showKindTab(NavaidKind::Intersection);
  QSignalSpy listsShown(&window, &MainWindow::listsChanged);
  Press(window, Qt::CTRL | Qt::Key_Z);
  EXPECT_EQ(ShownKind(window), NavaidKind::Airport);
  EXPECT_EQ(SelectedLine(window, NavaidKind::Airport), skat_test::RunwayLines()[1]);
  EXPECT_EQ(Count(window, "Airports entries"), "4");
  ExpectAction(undo, "&Undo add VOR XYZ", true);
  ExpectAction(redo, "&Redo delete runway LFPG 08L/26R", true);
  Press(window, Qt::CTRL | Qt::Key_Z);
  EXPECT_EQ(ShownKind(window), NavaidKind::Vor);
  // The added VOR left: the line that took its place is selected.
  EXPECT_EQ(SelectedLine(window, NavaidKind::Vor), skat_test::VorLines()[0]);
  EXPECT_EQ(Count(window, "VORs entries"), "1");
  Press(window, Qt::CTRL | Qt::Key_Z);
  EXPECT_EQ(ShownKind(window), NavaidKind::Ndb);
  EXPECT_EQ(SelectedLine(window, NavaidKind::Ndb), skat_test::NdbLines()[0]);
  EXPECT_EQ(listsShown.count(), 3);
  EXPECT_EQ(AllLines(test.state), loaded);
  EXPECT_TRUE(test.state.db.unsavedEdits.empty());
  // The lists are the files again: no * and nothing to save at Quit.
  EXPECT_EQ(window.windowTitle(), "Skyatlas v1.3");
  EXPECT_FALSE(test.state.db.databaseModified);
  ExpectAction(undo, "&Undo", false);
  ExpectAction(redo, "&Redo modify NDB AB", true);
  Press(window, Qt::CTRL | Qt::Key_Z);  // nothing left to undo
  EXPECT_EQ(AllLines(test.state), loaded);

  // Ctrl+Shift+Z and Ctrl+Y both redo, the earliest first.
  Press(window, Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
  EXPECT_EQ(SelectedLine(window, NavaidKind::Ndb), modified);
  EXPECT_EQ(window.windowTitle(), "Skyatlas v1.3 *");
  Press(window, Qt::CTRL | Qt::Key_Y);
  EXPECT_EQ(ShownKind(window), NavaidKind::Vor);
  EXPECT_EQ(SelectedLine(window, NavaidKind::Vor), added);
  Press(window, Qt::CTRL | Qt::Key_Y);
  EXPECT_EQ(AllLines(test.state), edited);
  EXPECT_EQ(test.state.db.unsavedEdits.size(), 3u);
  ExpectAction(undo, "&Undo delete runway LFPG 08L/26R", true);
  ExpectAction(redo, "&Redo", false);

  // Undone again and saved ("Rebuild index" saves): the files are the
  // loaded ones, the journal has nothing to replay, and the steps to redo
  // are still there.
  for (int i = 0; i < 3; ++i) undo->trigger();
  window.indexWindow().rebuildButton()->click();
  test.WaitForWorker();
  EXPECT_EQ(FileBytes(test.navData), loadedFiles);
  EXPECT_TRUE(navdb::ReadJournalFile(test.navData)->records.empty());
  ExpectAction(redo, "&Redo modify NDB AB", true);
}

TEST(UndoRedo, AnUndoThatNoLongerFitsIsToldAndChangesNothing) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  const std::string modified =
      EditAndPress(window, NavaidKind::Ndb, 0, {{EditorBox::Altitude, "777"}}, "Validate");
  // The line the undo would take out is not there any more.
  navdb::EntryList& ndbs = test.state.db.List(NavaidKind::Ndb);
  ndbs.DeleteLine(0);
  window.reloadLists();
  const auto before = AllLines(test.state);
  const size_t records = test.state.db.unsavedEdits.size();
  MessageBoxSeam::clearShown();
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  Press(window, Qt::CTRL | Qt::Key_Z);
  EXPECT_EQ(skat_test::ShownMessages(),
            std::vector<std::string>{
                "Error|Can't undo modify NDB AB: the NDB list no longer holds the line it takes "
                "out:\r" +
                modified + "\r\rThe database is left as it is."});
  EXPECT_EQ(AllLines(test.state), before);
  EXPECT_EQ(test.state.db.unsavedEdits.size(), records);
  ExpectAction(Action(window, "Undo"), "&Undo modify NDB AB", true);
  ExpectAction(Action(window, "Redo"), "&Redo", false);
}

TEST(UndoRedo, ANewChangeEndsTheRedoAPickTurnsThemOffARestoreEndsTheHistory) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  QAction* undo = Action(window, "Undo");
  QAction* redo = Action(window, "Redo");
  EditAndPress(window, NavaidKind::Ndb, 0, {{EditorBox::Altitude, "777"}}, "Validate");
  undo->trigger();
  ExpectAction(redo, "&Redo modify NDB AB", true);
  DeleteFromTheMenu(window, NavaidKind::Ndb, 1);
  ExpectAction(undo, "&Undo delete NDB CD", true);
  ExpectAction(redo, "&Redo", false);

  // While the Flight Plan window waits for a waypoint, as the entry commands.
  window.beginWaypointPick({});
  EXPECT_FALSE(undo->isEnabled());
  const auto during = AllLines(test.state);
  Press(window, Qt::CTRL | Qt::Key_Z);
  EXPECT_EQ(AllLines(test.state), during);
  Press(window, Qt::Key_Escape);
  EXPECT_TRUE(undo->isEnabled());

  // A rebuild answered No changes nothing and keeps the history.
  MessageBoxSeam::clearShown();
  MessageBoxSeam::setNextAnswer(MessageAnswer::No);
  QTest::mouseClick(window.findChild<QPushButton*>("Rebuild database"), Qt::LeftButton);
  EXPECT_EQ(skat_test::ShownMessages().size(), 1u);
  ExpectAction(undo, "&Undo delete NDB CD", true);

  // A restore writes the lists anew: the hand edit is replayed, and there
  // is nothing to undo.
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);  // "Original database restored."
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);  // the replay's summary
  QTest::mouseClick(window.findChild<QPushButton*>("Restore original DB"), Qt::LeftButton);
  test.WaitForWorker();
  MessageBoxSeam::clearNextAnswers();
  EXPECT_EQ(Lines(test.state, NavaidKind::Ndb).size(), 2u);
  ExpectAction(undo, "&Undo", false);
  ExpectAction(redo, "&Redo", false);
}

TEST(UndoRedo, AScanEndsTheHistoryAndKeepsTheEdits) {
  WindowTest test;
  test.sim.Write("Scenery/a.bgl", skat_test::NdbSceneryFile({{"ZZ", "NDB ZZ", 46.0, 3.0}}));
  test.Open();
  MainWindow& window = *test.window;
  const std::string modified =
      EditAndPress(window, NavaidKind::Ndb, 0, {{EditorBox::Altitude, "777"}}, "Validate");
  ExpectAction(Action(window, "Undo"), "&Undo modify NDB AB", true);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);  // the summary
  QTest::mouseClick(window.findChild<QPushButton*>("Scan New Scenery"), Qt::LeftButton);
  test.WaitForWorker();
  EXPECT_EQ(Lines(test.state, NavaidKind::Ndb)[0], modified);
  EXPECT_EQ(Lines(test.state, NavaidKind::Ndb).size(), 4u);
  ExpectAction(Action(window, "Undo"), "&Undo", false);
  ExpectAction(Action(window, "Redo"), "&Redo", false);
}

}  // namespace
