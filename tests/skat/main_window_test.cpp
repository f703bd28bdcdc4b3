#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "shell/skat/about_box.h"
#include "shell/skat/entry_list_model.h"
#include "shell/skat/help_window.h"
#include "shell/skat/index_window.h"
#include "shell/skat/main_window.h"
#include "shell/skat/message_box.h"
#include "shell/skat/qt_text.h"
#include "shell/skat/ui_bridge.h"
#include "tests/skat/skat_fixture.h"

namespace {

using navdb::NavaidKind;
using skat_test::WindowTest;

QString SelectedLine(MainWindow& window, NavaidKind kind) {
  const QModelIndexList selected = window.listView(kind)->selectionModel()->selectedIndexes();
  return selected.size() == 1 ? selected.front().data().toString() : QString();
}

TEST(MainWindow, ShowsEveryCaptionListAndCountOfTheLoadedDatabase) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  EXPECT_EQ(window.windowTitle(), "Skyatlas v1.3");
  for (const char* caption :
       {"Scan New Scenery", "Rebuild database", "Restore original DB", "Open", "New", "Import",
        "Change path", "View index", "Filter", "About", "Help", "Quit"}) {
    SCOPED_TRACE(caption);
    QPushButton* button = window.findChild<QPushButton*>(caption);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), caption);
    EXPECT_EQ(button->accessibleName(), caption);
  }
  EXPECT_TRUE(window.findChild<QPushButton*>("Help")->isDefault());
  auto* tabs = window.findChild<QTabWidget*>();
  ASSERT_EQ(tabs->count(), 4);
  EXPECT_EQ(tabs->tabText(0), "NDBs");
  EXPECT_EQ(tabs->tabText(1), "VORs");
  EXPECT_EQ(tabs->tabText(2), "Airports");
  EXPECT_EQ(tabs->tabText(3), "Intersections");
  EXPECT_EQ(tabs->currentIndex(), 0);

  // Every list shows its lines by row, in the list font, under its caption.
  const std::vector<std::string> runways = skat_test::RunwayLines();
  EntryListModel* airports = window.model(NavaidKind::Airport);
  ASSERT_EQ(airports->rowCount(), 4);
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(Win1252FromQString(airports->index(row).data().toString()), runways[row]);
  }
  EXPECT_EQ(window.listView(NavaidKind::Airport)->accessibleName(), "Airports list");
  EXPECT_TRUE(window.listView(NavaidKind::Ndb)->uniformItemSizes());
  EXPECT_EQ(window.listView(NavaidKind::Vor)->font().family(), "Liberation Mono");
  bool captionFound = false;
  for (QLabel* label : window.findChildren<QLabel*>()) {
    if (label->text() ==
        "ICAO    Name                      Runway     Hdg        Lat           Lon       Alt(ft)  "
        "Len  Width  ATIS") {
      captionFound = true;
      EXPECT_EQ(label->font(), window.listFont());
    }
  }
  EXPECT_TRUE(captionFound);
  EXPECT_EQ(window.findChild<QLineEdit*>("NDBs entries")->text(), "3");
  EXPECT_EQ(window.findChild<QLineEdit*>("Airports entries")->text(), "4");
  EXPECT_EQ(window.findChild<QLineEdit*>("Root path for scenery scan :")->text().toStdString(),
            test.scenery.string());
  EXPECT_EQ(window.findChild<QLabel*>("Status")->text(), "Status : started");
}

TEST(MainWindow, ListFontFollowsTheScreenResolution) {
  const QFont at96 = MainWindow::ListFontFor(96, 96);
  EXPECT_EQ(at96.pixelSize(), 10);  // 96 / 9, cut toward zero
  EXPECT_TRUE(at96.fixedPitch());
  const QFont at144 = MainWindow::ListFontFor(144, 144);
  EXPECT_EQ(at144.pixelSize(), 16);
  // 144 / 16 = 9 pixels a character: Liberation Mono at 16 pixels is 9.6
  // wide, so it is narrowed to fit.
  EXPECT_NEAR(QFontMetricsF(at144).horizontalAdvance('M'), 9.0, 0.6);
}

TEST(MainWindow, TabChangeShowsTheKindsCountAndFilterAndEmptiesFindId) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  auto* tabs = window.findChild<QTabWidget*>();
  auto* find = window.findChild<QLineEdit*>("Find ID");
  auto* filter = window.findChild<QPushButton*>("Filter");
  QTest::keyClicks(find, "CD");
  EXPECT_EQ(Win1252FromQString(SelectedLine(window, NavaidKind::Ndb)), skat_test::NdbLines()[1]);
  for (int tab : {1, 2, 3, 0}) {
    SCOPED_TRACE(tab);
    tabs->setCurrentIndex(tab);
    EXPECT_EQ(filter->isVisibleTo(&window), tab == 2);
    for (int kind = 0; kind < 4; ++kind) {
      const QString name = tabs->tabText(kind) + " entries";
      EXPECT_EQ(window.findChild<QLineEdit*>(name)->isVisibleTo(&window), kind == tab);
    }
    EXPECT_EQ(find->text(), "");
  }
}

TEST(MainWindow, FindIdSelectsTheFirstLineBeginningWithTheTextOnEveryTab) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  auto* tabs = window.findChild<QTabWidget*>();
  auto* find = window.findChild<QLineEdit*>("Find ID");
  struct Case {
    NavaidKind kind;
    const char* typed;
    std::string expected;  // empty: no line selected
  };
  const Case cases[] = {
      {NavaidKind::Ndb, "ef", skat_test::NdbLines()[2]},
      {NavaidKind::Ndb, "EX", ""},
      {NavaidKind::Vor, "PO", skat_test::VorLines()[0]},
      // The first runway line of the airport whose identifier begins with the text.
      {NavaidKind::Airport, "LFP", skat_test::RunwayLines()[1]},
      {NavaidKind::Airport, "lfpo", skat_test::RunwayLines()[3]},
      {NavaidKind::Intersection, "BO", skat_test::IntersectionLines()[1]},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    tabs->setCurrentIndex(static_cast<int>(navdb::IndexOf(c.kind)));
    QTest::keyClicks(find, c.typed);
    EXPECT_EQ(Win1252FromQString(SelectedLine(window, c.kind)), c.expected);
    find->clear();
  }
  // Each typed character searches again: "A" finds AB, "AX" nothing.
  tabs->setCurrentIndex(0);
  QTest::keyClicks(find, "A");
  EXPECT_EQ(Win1252FromQString(SelectedLine(window, NavaidKind::Ndb)), skat_test::NdbLines()[0]);
  QTest::keyClicks(find, "X");
  EXPECT_EQ(SelectedLine(window, NavaidKind::Ndb), "");
}

TEST(MainWindow, CommandsDisableAllOrOnlyTheTopOnes) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  window.setCommandsEnabled(false, true);
  for (const char* caption : {"Filter", "Open", "New", "Import", "Change path", "Scan New Scenery",
                              "Rebuild database", "Restore original DB", "Quit"}) {
    EXPECT_FALSE(window.findChild<QPushButton*>(caption)->isEnabled()) << caption;
  }
  EXPECT_TRUE(window.findChild<QPushButton*>("View index")->isEnabled());
  EXPECT_TRUE(window.findChild<QPushButton*>("About")->isEnabled());
  EXPECT_TRUE(window.listView(NavaidKind::Ndb)->isEnabled());
  window.setCommandsEnabled(false, false);
  for (NavaidKind kind : navdb::kAllKinds) EXPECT_FALSE(window.listView(kind)->isEnabled());
  window.setCommandsEnabled(true, false);
  EXPECT_TRUE(window.findChild<QPushButton*>("Quit")->isEnabled());
  for (NavaidKind kind : navdb::kAllKinds) EXPECT_TRUE(window.listView(kind)->isEnabled());
}

TEST(MainWindow, AboutAndHelpShowTheirBoxes) {
  WindowTest test;
  test.Open();
  QString aboutTitle;
  QTimer::singleShot(0, test.window.get(), [&] {
    if (auto* about = qobject_cast<AboutBox*>(QApplication::activeModalWidget())) {
      aboutTitle = about->windowTitle();
      about->accept();
    }
  });
  QTest::mouseClick(test.window->findChild<QPushButton*>("About"), Qt::LeftButton);
  EXPECT_EQ(aboutTitle, "About");
  QTest::keyClick(test.window.get(), Qt::Key_Return);  // "Help" is the default button
  ASSERT_NE(test.window->helpWindow(), nullptr);
  EXPECT_TRUE(test.window->helpWindow()->isVisible());
  EXPECT_TRUE(MessageBoxSeam::shown().empty());
}

}  // namespace

namespace {

TEST(MainWindow, TheIndexWindowJumpsToAnEntryOnItsTab) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  QTest::mouseClick(window.findChild<QPushButton*>("View index"), Qt::LeftButton);
  EXPECT_TRUE(window.indexWindow().isVisible());
  emit window.indexWindow().entryRequested(NavaidKind::Intersection, 1);
  EXPECT_EQ(window.currentKind(), NavaidKind::Intersection);
  EXPECT_EQ(Win1252FromQString(SelectedLine(window, NavaidKind::Intersection)),
            skat_test::IntersectionLines()[1]);
  // Its buttons follow the main window's commands, but not the top-only part.
  window.setCommandsEnabled(false, true);
  EXPECT_TRUE(window.indexWindow().rebuildButton()->isEnabled());
  window.setCommandsEnabled(false, false);
  EXPECT_FALSE(window.indexWindow().rebuildButton()->isEnabled());
  window.setCommandsEnabled(true, false);
}

TEST(MainWindow, RebuildIndexFromTheIndexWindowSavesWithoutClearingTheModifiedFlag) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  test.state.db.databaseModified = true;
  std::filesystem::remove(test.navData / "idx.dat");
  window.showIndexWindow(true);
  emit window.indexWindow().rebuildRequested();
  test.WaitForWorker();
  EXPECT_TRUE(
      skat_test::ReadBytes(test.navData / "idx.dat").starts_with("// Index for Skyatlas 99\r\n"));
  EXPECT_EQ(skat_test::ReadBytes(test.navData / "idx.dat").size(), 26u + 10u * 34u);
  EXPECT_TRUE(test.state.db.databaseModified);
  EXPECT_EQ(window.findChild<QLabel*>("Status")->text(), "Status : done");
  EXPECT_EQ(window.findChild<QLineEdit*>("Progress")->text(), " ");
}

}  // namespace

namespace {

TEST(UiBridge, WorkerNoticesArriveCoalescedWithFilesDoneOutOfFilesFound) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  UiBridge& bridge = window.bridge();
  std::jthread([&bridge] {
    const UiBridge& ui = bridge;
    bridge.startScanProgress(3);
    ui.Status(navdb::StatusIcon::Scanning, "Status : scanning...");
    ui.ScanPosition("/x/Scenery");            // a folder
    ui.ScanPosition("/x/Scenery/a.bgl");      // file 1
    ui.ScanPosition("/x/Scenery/sub");        // a folder
    ui.ScanPosition("/x/Scenery/sub/b.BGL");  // file 2
    ui.EntryCountChanged(NavaidKind::Vor, 7);
    ui.KindInFocus(NavaidKind::Vor);
  }).join();
  bridge.flush(false);
  auto* bar = window.findChild<QProgressBar*>("Scan progress");
  EXPECT_TRUE(bar->isVisibleTo(&window));
  EXPECT_EQ(bar->maximum(), 3);
  EXPECT_EQ(bar->value(), 2);
  EXPECT_EQ(window.findChild<QLineEdit*>("Progress")->text(), "/x/Scenery/sub/b.BGL");
  EXPECT_EQ(window.findChild<QLabel*>("Status")->text(), "Status : scanning...");
  EXPECT_EQ(window.findChild<QLineEdit*>("VORs entries")->text(), "7");
  EXPECT_EQ(window.currentKind(), NavaidKind::Vor);
  bridge.flush(true);  // the scan has ended
  EXPECT_FALSE(bar->isVisibleTo(&window));
}

}  // namespace
