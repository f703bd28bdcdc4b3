#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

#include "shell/skat/database_commands.h"
#include "shell/skat/index_window.h"
#include "shell/skat/main_window.h"
#include "shell/skat/message_box.h"
#include "shell/skat/ui_bridge.h"
#include "tests/skat/skat_fixture.h"

namespace {

namespace fs = std::filesystem;
using navdb::MessageAnswer;
using navdb::NavaidKind;
using skat_test::WindowTest;

void ClickQuit(MainWindow& window) {
  QTest::mouseClick(window.findChild<QPushButton*>("Quit"), Qt::LeftButton);
}

TEST(Quit, WithoutModificationsClosesAtOnceWithoutAQuestion) {
  WindowTest test;
  test.Open();
  fs::remove(test.navData / "idx.dat");
  test.window->showIndexWindow(true);
  ClickQuit(*test.window);
  EXPECT_FALSE(test.window->isVisible());
  EXPECT_FALSE(test.window->indexWindow().isVisible());
  EXPECT_FALSE(test.window->commands().workerRunning());
  EXPECT_TRUE(MessageBoxSeam::shown().empty());
  EXPECT_FALSE(fs::exists(test.navData / "idx.dat"));  // nothing saved
}

TEST(Quit, WithModificationsAnsweredNoClosesWithoutSaving) {
  WindowTest test;
  test.Open();
  test.state.db.databaseModified = true;
  fs::remove(test.navData / "idx.dat");
  MessageBoxSeam::setNextAnswer(MessageAnswer::No);
  test.window->close();  // the close box takes the same road
  EXPECT_FALSE(test.window->isVisible());
  ASSERT_EQ(MessageBoxSeam::shown().size(), 1u);
  EXPECT_EQ(MessageBoxSeam::shown()[0].caption, "Warning");
  EXPECT_EQ(MessageBoxSeam::shown()[0].text, "Save modifications ?");
  EXPECT_EQ(MessageBoxSeam::shown()[0].icon, navdb::MessageIcon::Question);
  EXPECT_EQ(MessageBoxSeam::shown()[0].buttons, navdb::MessageButtons::YesNoCancel);
  EXPECT_FALSE(fs::exists(test.navData / "idx.dat"));
}

TEST(Quit, CancelGoesBackToTheWindowWithItsModifications) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  EXPECT_EQ(window.windowTitle(), "Skyatlas v1.3");
  // A change in memory, as an editor makes it: the title tells it.
  const std::string added = skat_test::NdbLines()[0].replace(0, 2, "GH");
  ASSERT_TRUE(test.state.db.List(NavaidKind::Ndb).AddLine(added));
  test.state.db.databaseModified = true;
  window.reloadLists();
  EXPECT_EQ(window.windowTitle(), "Skyatlas v1.3 *");
  const std::string ndbFile = skat_test::ReadBytes(test.navData / "ndb.dat");
  for (bool byQuitButton : {true, false}) {
    MessageBoxSeam::setNextAnswer(MessageAnswer::Cancel);
    if (byQuitButton) {
      ClickQuit(window);
    } else {
      window.close();
    }
    EXPECT_TRUE(window.isVisible()) << byQuitButton;
    EXPECT_FALSE(window.commands().workerRunning());
    EXPECT_TRUE(test.state.db.databaseModified);
    EXPECT_EQ(skat_test::ReadBytes(test.navData / "ndb.dat"), ndbFile);
  }
  EXPECT_EQ(MessageBoxSeam::shown().size(), 2u);
  EXPECT_EQ(window.windowTitle(), "Skyatlas v1.3 *");
  // Yes saves: the star goes with the modifications.
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  ClickQuit(window);
  test.WaitForWorker();
  EXPECT_FALSE(test.state.db.databaseModified);
  EXPECT_EQ(window.windowTitle(), "Skyatlas v1.3");
  EXPECT_FALSE(window.isVisible());
}

TEST(Quit, WithModificationsAnsweredYesRebuildsTheIndexSavesAndCloses) {
  WindowTest test;
  test.Open();
  // A line added in memory, as an editor would.
  const std::string added = skat_test::NdbLines()[0].replace(0, 2, "GH");
  ASSERT_TRUE(test.state.db.List(NavaidKind::Ndb).AddLine(added));
  test.window->reloadLists();
  test.state.db.databaseModified = true;
  fs::remove(test.navData / "idx.dat");
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  ClickQuit(*test.window);
  // The save runs on a worker; the window closes when it is done.
  EXPECT_TRUE(test.window->isVisible());
  test.WaitForWorker();
  EXPECT_FALSE(test.window->isVisible());
  const std::string index = skat_test::ReadBytes(test.navData / "idx.dat");
  // Header and 4 + 1 + 4 + 2 index lines of 32 characters.
  EXPECT_TRUE(index.starts_with("// Index for Skyatlas 99\r\n"));
  EXPECT_EQ(index.size(), 26u + 11u * 34u);
  EXPECT_NE(index.find("NDB00002"), std::string::npos);
  const std::string ndbFile = skat_test::ReadBytes(test.navData / "ndb.dat");
  EXPECT_NE(ndbFile.find("GH   ;"), std::string::npos);
}

TEST(Quit, DuringAWaypointPickTheCloseBoxIsRefusedUntilAPickOrEscape) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  int raised = 0;
  QObject::connect(&window, &MainWindow::planWindowRaiseRequested, [&raised] { ++raised; });
  window.beginWaypointPick({true, planner::WaypointPick{NavaidKind::Vor, 0}});
  EXPECT_TRUE(test.state.pick.SelectionPending());
  // Only the top commands are off: the lists stay usable for the pick.
  EXPECT_FALSE(window.findChild<QPushButton*>("Quit")->isEnabled());
  EXPECT_TRUE(window.listView(NavaidKind::Ndb)->isEnabled());

  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  window.close();
  EXPECT_TRUE(window.isVisible());
  ASSERT_EQ(MessageBoxSeam::shown().size(), 1u);
  EXPECT_EQ(MessageBoxSeam::shown()[0].caption, "Error");
  EXPECT_EQ(MessageBoxSeam::shown()[0].text,
            "ND waits for a waypoint selection.\nPlease, double click on a data or press Escape !");

  // Escape, wherever the focus is, aborts the pick.
  QTest::keyClick(window.listView(NavaidKind::Ndb), Qt::Key_Escape);
  EXPECT_FALSE(test.state.pick.SelectionPending());
  EXPECT_EQ(test.state.pick.PickedListId(), shell::kPickAborted);
  EXPECT_EQ(raised, 1);
  EXPECT_TRUE(window.findChild<QPushButton*>("Quit")->isEnabled());
  ClickQuit(window);
  EXPECT_FALSE(window.isVisible());
}

TEST(WaypointPick, ADoubleClickHandsTheRowToTheWaitingWorker) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  std::optional<planner::WaypointPick> picked;
  std::atomic<bool> done{false};
  std::jthread planner([&] {
    picked = window.bridge().PickWaypoint({});
    done = true;
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return test.state.pick.SelectionPending(); }, 5000));
  QListView* airports = window.listView(NavaidKind::Airport);
  window.showKindTab(NavaidKind::Airport);
  QApplication::processEvents();
  const QRect line = airports->visualRect(airports->model()->index(2, 0));
  // A double click is a press, then the double-click event on the same line.
  QTest::mouseClick(airports->viewport(), Qt::LeftButton, {}, line.center());
  QTest::mouseDClick(airports->viewport(), Qt::LeftButton, {}, line.center());
  ASSERT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
  ASSERT_TRUE(picked.has_value());
  EXPECT_EQ(picked->kind, NavaidKind::Airport);
  EXPECT_EQ(picked->row, 2u);
  EXPECT_EQ(airports->currentIndex().row(), 2);  // the picked line stays selected
  EXPECT_TRUE(window.findChild<QPushButton*>("Quit")->isEnabled());
}

TEST(Quit, TheCloseBoxDuringAScanWaitsForTheScanToEnd) {
  WindowTest test;
  test.sim.Write("Scenery/a.bgl", skat_test::NdbSceneryFile({{"ZZ", "NDB ZZ", 46.0, 3.0}}));
  test.Open();
  MainWindow& window = *test.window;
  // The summary box of the scan is the moment to try to close.
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  QTest::mouseClick(window.findChild<QPushButton*>("Scan New Scenery"), Qt::LeftButton);
  window.close();
  EXPECT_TRUE(window.isVisible() || !window.commands().workerRunning());
  test.WaitForWorker();
  // The scan saved what it merged, so there is nothing to ask: it closed.
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(skat_test::ShownMessages().size(), 1u);
}

}  // namespace

namespace {

TEST(Quit, AFailedSaveKeepsTheWindowOpenWithItsModifications) {
  WindowTest test;
  test.Open();
  // The database folder is gone and a file stands in its place: nothing can be written.
  fs::remove_all(test.navData);
  test.sim.Write("Sim/NavData", "not a folder");
  test.state.db.databaseModified = true;
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);  // "Save modifications ?"
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);   // "Can't create file ..."
  ClickQuit(*test.window);
  test.WaitForWorker();
  EXPECT_TRUE(test.window->isVisible());
  EXPECT_TRUE(test.state.db.databaseModified);
  const std::vector<std::string> shown = skat_test::ShownMessages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1],
            "Error|Can't create file ndb.dat\r\rNot a directory\r\rThe database files were left "
            "as they were.");
  EXPECT_EQ(test.window->findChild<QLabel*>("Status")->text(),
            "Status : a problem occurs while saving !");
  EXPECT_TRUE(test.window->findChild<QPushButton*>("Quit")->isEnabled());
  // The user gives up on the modifications.
  MessageBoxSeam::setNextAnswer(MessageAnswer::No);
  ClickQuit(*test.window);
  EXPECT_FALSE(test.window->isVisible());
  EXPECT_FALSE(test.window->commands().workerRunning());
}

}  // namespace
