// The Index window as the main window uses it: the jump from a line to its
// entry, and the restore that shows its progress and then the restored lists.
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "shell/skat/database_commands.h"
#include "shell/skat/entry_list_model.h"
#include "shell/skat/index_window.h"
#include "shell/skat/main_window.h"
#include "shell/skat/message_box.h"
#include "shell/skat/qt_text.h"
#include "tests/skat/skat_fixture.h"

namespace {

using navdb::MessageAnswer;
using navdb::NavaidKind;
using skat_test::WindowTest;

TEST(IndexJump, ADoubleClickShowsTheEntryOnItsOwnTab) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  window.showKindTab(NavaidKind::Airport);
  window.showIndexWindow(true);
  QListView* list = window.indexWindow().listView();
  QApplication::processEvents();
  // The line of the second intersection.
  int line = -1;
  for (int row = 0; row < list->model()->rowCount() && line < 0; ++row) {
    const std::optional<IndexReference> reference =
        ParseIndexReference(Win1252FromQString(list->model()->index(row, 0).data().toString()));
    if (reference && reference->kind == NavaidKind::Intersection && reference->row == 1) line = row;
  }
  ASSERT_GE(line, 0);
  const QModelIndex index = list->model()->index(line, 0);
  list->scrollTo(index);
  const QPoint at = list->visualRect(index).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(window.currentKind(), NavaidKind::Intersection);
  EXPECT_EQ(window.listView(NavaidKind::Intersection)->currentIndex().row(), 1);
}

TEST(RestoreOriginalDb, ShowsABusyBoxWithoutAButtonThenTheRestoredLists) {
  WindowTest test;
  test.sim.Write("Sim/NavData/ndb.dat", "// NDB database for Skyatlas\r\n");
  test.Open();
  MainWindow& window = *test.window;
  ASSERT_EQ(window.model(NavaidKind::Ndb)->rowCount(), 1);  // "(no data found)"
  // What the user sees when the last word comes.
  int ndbRowsShown = -1;
  bool busyBoxShown = true;
  MessageBoxSeam::setOnShown([&](const navdb::MessageRequest& request) {
    if (request.text != "Original database restored.") return;
    ndbRowsShown = window.model(NavaidKind::Ndb)->rowCount();
    auto* box = window.findChild<QProgressDialog*>("Restoring original database");
    busyBoxShown = box == nullptr || box->isVisible();
  });
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  QTest::mouseClick(window.findChild<QPushButton*>("Restore original DB"), Qt::LeftButton);
  test.WaitForWorker();
  EXPECT_EQ(skat_test::ShownMessages().back(), "Information|Original database restored.");
  EXPECT_EQ(skat_test::ShownMessages().size(), 2u);  // no "Please wait" box to press
  EXPECT_EQ(ndbRowsShown, 3);
  EXPECT_FALSE(busyBoxShown);
  auto* box = window.findChild<QProgressDialog*>("Restoring original database");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->findChild<QPushButton*>(), nullptr);
  EXPECT_EQ(box->windowTitle(), "Please wait");
  EXPECT_EQ(box->labelText(), "Restoring original database...");
}

}  // namespace
