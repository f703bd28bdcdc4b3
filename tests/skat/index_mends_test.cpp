// The Index window as the main window uses it: the jump from a line to its
// entry.
#include <QApplication>
#include <QLineEdit>
#include <QListView>
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

}  // namespace
