#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "shell/skat/index_window.h"

namespace {

// Index line number `i` of a test index: east longitudes rising with `i`.
std::string TestIndexLine(int i, const char* tag = "INT") {
  char line[40];
  std::snprintf(line, sizeof line, " %03d.%06d  10.000000  %s%05d", i / 1000, (i % 1000) * 1000,
                tag, i % 100000);
  return line;
}

QString Shown(const IndexWindow& window, int row) {
  QAbstractItemModel* model = window.listView()->model();
  return model->data(model->index(row, 0)).toString();
}

// The list as the window shows it: its row count and its first and last lines.
void ExpectPage(const IndexWindow& window, int first, int count) {
  const QAbstractItemModel* model = window.listView()->model();
  ASSERT_EQ(model->rowCount(), count);
  EXPECT_EQ(Shown(window, 0).toStdString(), TestIndexLine(first));
  EXPECT_EQ(Shown(window, count - 1).toStdString(), TestIndexLine(first + count - 1));
}

class IndexWindowTest : public ::testing::Test {
 protected:
  void Fill(int lines) {
    for (int i = 0; i < lines; ++i) ASSERT_TRUE(navdb::AddIndexLine(index_, TestIndexLine(i)));
    window_->reload();
  }
  // Presses a paging button and waits for the worker to finish.
  void Press(QPushButton* button) {
    QSignalSpy started(window_.get(), &IndexWindow::pagingStarted);
    QSignalSpy finished(window_.get(), &IndexWindow::pagingFinished);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(started.count(), 1);
    EXPECT_TRUE(window_->isPaging() || finished.count() == 1);
    EXPECT_TRUE(finished.count() == 1 || finished.wait(10000));
    EXPECT_FALSE(window_->isPaging());
    EXPECT_TRUE(window_->listView()->selectionModel()->selectedIndexes().isEmpty());
  }
  QScrollBar* ScrollBar() const { return window_->listView()->verticalScrollBar(); }

  navdb::IndexLists index_;
  QWidget mainWindow_;
  std::unique_ptr<IndexWindow> window_ = std::make_unique<IndexWindow>(index_, &mainWindow_);
};

TEST(IndexReference, TagAndRowOfTheLine) {
  auto ref = ParseIndexReference(" 002.350000  48.856666  INT00003");
  ASSERT_TRUE(ref);
  EXPECT_EQ(ref->kind, navdb::NavaidKind::Intersection);
  EXPECT_EQ(ref->row, 3);
  ref = ParseIndexReference("-151.175000 -33.933333  VOR00007");
  ASSERT_TRUE(ref);
  EXPECT_EQ(ref->kind, navdb::NavaidKind::Vor);
  EXPECT_EQ(ref->row, 7);
  EXPECT_EQ(ParseIndexReference(" 002.350000  48.856666  NDB12345")->kind, navdb::NavaidKind::Ndb);
  EXPECT_EQ(ParseIndexReference(" 002.350000  48.856666  APT99999")->row, 99999);
  EXPECT_EQ(ParseIndexReference(" 002.350000  48.856666  APT99999")->kind,
            navdb::NavaidKind::Airport);
  EXPECT_FALSE(ParseIndexReference(" 002.350000  48.856666  XYZ00001"));
  EXPECT_FALSE(ParseIndexReference(" 002.350000  48.856666  int00001"));
  EXPECT_FALSE(ParseIndexReference(" 002.350000  48.856666  IN"));
  EXPECT_FALSE(ParseIndexReference(" 002.350000  48.856666  NDB-0001"));
  EXPECT_EQ(ParseIndexReference(" 002.350000  48.856666  NDB00012x")->row, 12);
  EXPECT_EQ(ParseIndexReference(" 002.350000  48.856666  NDB")->row, 0);
}

TEST_F(IndexWindowTest, CaptionsButtonsAndFont) {
  EXPECT_EQ(window_->windowTitle(), "Index");
  EXPECT_TRUE(window_->isWindow());
  EXPECT_EQ(window_->parentWidget(), &mainWindow_);
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(window_->columnCaptions()->text(), " Longitudes     Latitudes      Ref.");
  EXPECT_EQ(window_->upButton()->text(), "Up   ^");
  EXPECT_EQ(window_->downButton()->text(), "Down   v");
  EXPECT_EQ(window_->rebuildButton()->text(), "Rebuild index");
  EXPECT_EQ(window_->hideButton()->text(), "Hide");
  EXPECT_TRUE(window_->hideButton()->isDefault());
  EXPECT_EQ(window_->listView()->font().family(), "Liberation Mono");
  EXPECT_EQ(window_->columnCaptions()->font(), window_->listView()->font());
  EXPECT_TRUE(window_->listView()->uniformItemSizes());
  EXPECT_EQ(window_->upButton()->accessibleName(), "Page up");
  EXPECT_EQ(window_->downButton()->accessibleName(), "Page down");
}

TEST_F(IndexWindowTest, StandsBesideTheMainWindowsLowerRightCorner) {
  mainWindow_.setGeometry(100, 60, 1000, 700);
  mainWindow_.show();
  const QRect main = mainWindow_.frameGeometry();
  // Placed while still hidden, as at start-up, and again once shown.
  for (int placing = 0; placing < 2; ++placing) {
    window_->placeBesideMainWindow();
    window_->show();
    const QRect own = window_->frameGeometry();
    EXPECT_EQ(own.x() + own.width(), main.x() + main.width() - 15);
    EXPECT_EQ(own.y() + own.height(), main.y() + main.height() - 90);
  }
}

TEST_F(IndexWindowTest, HideRebuildAndTheCloseBox) {
  mainWindow_.show();
  window_->show();
  QSignalSpy rebuild(window_.get(), &IndexWindow::rebuildRequested);
  QTest::mouseClick(window_->rebuildButton(), Qt::LeftButton);
  EXPECT_EQ(rebuild.count(), 1);
  window_->close();  // the close box asks for the same rebuild
  EXPECT_EQ(rebuild.count(), 2);
  EXPECT_TRUE(window_->isVisible());

  window_->setCommandsEnabled(false);
  EXPECT_FALSE(window_->upButton()->isEnabled());
  EXPECT_FALSE(window_->downButton()->isEnabled());
  EXPECT_FALSE(window_->rebuildButton()->isEnabled());
  EXPECT_TRUE(window_->hideButton()->isEnabled());
  window_->close();
  EXPECT_EQ(rebuild.count(), 2);
  window_->setCommandsEnabled(true);
  EXPECT_TRUE(window_->rebuildButton()->isEnabled());

  QTest::mouseClick(window_->hideButton(), Qt::LeftButton);
  EXPECT_FALSE(window_->isVisible());
  window_->show();
  QTest::keyClick(window_->listView(), Qt::Key_Return);  // Hide is the default button
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(rebuild.count(), 2);
}

TEST_F(IndexWindowTest, DoubleClickAsksForTheEntryOfTheLine) {
  ASSERT_TRUE(navdb::AddIndexLine(index_, " 001.000000  10.000000  NDB00012"));
  ASSERT_TRUE(navdb::AddIndexLine(index_, " 002.000000  10.000000  INT00003"));
  ASSERT_TRUE(index_.primary.AddLine(" 003.000000  10.000000  XYZ00001"));
  window_->reload();
  window_->show();
  QSignalSpy jumps(window_.get(), &IndexWindow::entryRequested);
  QListView* list = window_->listView();
  auto doubleClick = [list](int row) {
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  };
  doubleClick(1);
  ASSERT_EQ(jumps.count(), 1);
  EXPECT_EQ(jumps[0][0].value<navdb::NavaidKind>(), navdb::NavaidKind::Intersection);
  EXPECT_EQ(jumps[0][1].toInt(), 3);
  doubleClick(2);
  EXPECT_EQ(jumps.count(), 1);  // unknown tag: nothing
  doubleClick(0);
  ASSERT_EQ(jumps.count(), 2);
  EXPECT_EQ(jumps[1][0].value<navdb::NavaidKind>(), navdb::NavaidKind::Ndb);
  EXPECT_EQ(jumps[1][1].toInt(), 12);
}

TEST_F(IndexWindowTest, DetachedListsAreNotReadUntilReload) {
  Fill(300);
  window_->detachLists();
  EXPECT_EQ(window_->listView()->model()->rowCount(), 0);
  // Another thread may now change the index; the window shows none of it.
  ASSERT_TRUE(navdb::AddIndexLine(index_, TestIndexLine(300)));
  EXPECT_EQ(window_->listView()->model()->rowCount(), 0);
  window_->reload();
  ExpectPage(*window_, 0, 301);
}

TEST_F(IndexWindowTest, PagingAnIndexThatFitsOnlyScrolls) {
  Fill(300);
  window_->show();
  Press(window_->downButton());
  ExpectPage(*window_, 0, 300);
  EXPECT_EQ(ScrollBar()->value(), ScrollBar()->maximum());
  EXPECT_GT(ScrollBar()->maximum(), 0);
  Press(window_->upButton());
  ExpectPage(*window_, 0, 300);
  EXPECT_EQ(ScrollBar()->value(), 0);
  EXPECT_EQ(index_.primary.Count(), 300u);
  EXPECT_TRUE(index_.following.Empty());
  EXPECT_TRUE(index_.preceding.Empty());
}

TEST_F(IndexWindowTest, PagingDownAndUpOverALargeIndex) {
  Fill(40000);
  window_->show();
  ExpectPage(*window_, 0, 32735);

  // The list scrolls along as it fills: every line it selects meanwhile is
  // one put at a multiple of 500, shown from a copy.
  int scrollSteps = 0;
  int firstLineOfPage = 32735;
  QObject::connect(window_->listView()->selectionModel(), &QItemSelectionModel::currentChanged,
                   [this, &scrollSteps, &firstLineOfPage](const QModelIndex& current) {
                     if (!window_->isPaging() || !current.isValid()) return;
                     ++scrollSteps;
                     EXPECT_EQ(current.row() % 500, 0);
                     EXPECT_EQ(Shown(*window_, current.row()).toStdString(),
                               TestIndexLine(firstLineOfPage + current.row()));
                   });
  QTest::mouseClick(window_->downButton(), Qt::LeftButton);
  // While the worker runs the buttons are off and the list shows no line
  // of the changing index.
  EXPECT_FALSE(window_->downButton()->isEnabled());
  EXPECT_FALSE(window_->upButton()->isEnabled());
  EXPECT_FALSE(window_->rebuildButton()->isEnabled());
  QSignalSpy finished(window_.get(), &IndexWindow::pagingFinished);
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_TRUE(window_->downButton()->isEnabled());
  EXPECT_GE(scrollSteps, 1);

  ExpectPage(*window_, 32735, 7265);
  EXPECT_EQ(ScrollBar()->value(), ScrollBar()->maximum());
  EXPECT_TRUE(window_->listView()->selectionModel()->selectedIndexes().isEmpty());
  EXPECT_EQ(index_.Count(), 40000u);

  firstLineOfPage = 0;
  scrollSteps = 0;
  Press(window_->upButton());
  EXPECT_GE(scrollSteps, 1);
  ExpectPage(*window_, 0, 32735);
  EXPECT_EQ(ScrollBar()->value(), 0);
  EXPECT_EQ(index_.following.Count(), 7265u);
  EXPECT_EQ(index_.Count(), 40000u);
}

TEST_F(IndexWindowTest, ClosingDuringPagingStopsTheWorkerWithoutLosingALine) {
  Fill(80000);
  window_->show();
  QTest::mouseClick(window_->downButton(), Qt::LeftButton);
  window_.reset();
  EXPECT_EQ(index_.Count(), 80000u);
  // Every line is still held once, in index order across the three lists.
  std::string previous;
  size_t lines = 0;
  for (const navdb::EntryList* list : {&index_.preceding, &index_.primary, &index_.following}) {
    list->ForEach([&](size_t, std::string_view line) {
      EXPECT_LT(previous, line);
      previous = line;
      ++lines;
    });
  }
  EXPECT_EQ(lines, 80000u);
}

}  // namespace
