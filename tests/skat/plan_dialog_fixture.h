// The Flight Plan dialog over the test database, driven through its real
// widgets: the buttons, the rows and the picks in the main window.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "shell/skat/flight_plan_dialog.h"
#include "shell/skat/main_window.h"
#include "shell/skat/message_box.h"
#include "shell/skat/open_file_dialog.h"
#include "shell/skat/plan_launcher.h"
#include "shell/skat/plan_printer.h"
#include "shell/skat/qt_text.h"
#include "tests/skat/skat_fixture.h"

namespace skat_test {

class FlightPlanDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    OpenFileDialogSeam::clear();
    PrintDialogSeam::clear();
    test_.Open();
    launcher_ = window().findChild<PlanLauncher*>("Plan launcher");
    ASSERT_NE(launcher_, nullptr);
  }
  void TearDown() override {
    if (launcher_->dialog()) launcher_->dialog()->waitForWorker();
    OpenFileDialogSeam::clear();
    PrintDialogSeam::clear();
  }

  MainWindow& window() { return *test_.window; }
  FlightPlanDialog& dialog() { return *launcher_->dialog(); }
  template <class T>
  T* child(const char* name) {
    T* widget = dialog().findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  void click(const char* button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }
  void clickWindow(const char* button) {
    QTest::mouseClick(window().findChild<QPushButton*>(button), Qt::LeftButton);
  }
  QListWidget* rows() { return child<QListWidget>("Waypoint rows"); }
  std::vector<std::string> rowTexts() {
    std::vector<std::string> texts;
    for (int i = 0; i < rows()->count(); ++i)
      texts.push_back(Win1252FromQString(rows()->item(i)->text()));
    return texts;
  }
  // The kinds and identifiers of the rows, e.g. "APT LFPO|TOC *****".
  std::string route() {
    std::string text;
    for (const std::string& row : rowTexts()) {
      text +=
          (text.empty() ? "" : "|") + row.substr(0, 3) + " " + row.substr(5, row.find(' ', 5) - 5);
    }
    return text;
  }
  void selectRow(int row) { rows()->setCurrentRow(row); }
  // Cancel on a changed plan, answering Yes to throwing the changes away.
  void discard() {
    MessageBoxSeam::setNextAnswer(navdb::MessageAnswer::Yes);
    click("Cancel");
    EXPECT_FALSE(dialog().isVisible());
  }
  void setField(const char* name, const QString& text) {
    QLineEdit* field = child<QLineEdit>(name);
    field->setText(text);
    emit field->editingFinished();
  }

  void doubleClick(navdb::NavaidKind kind, int row) {
    window().showKindTab(kind);
    QApplication::processEvents();
    QListView* view = window().listView(kind);
    const QRect line = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, line.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, line.center());
  }
  // Insert or Replace, then the pick in the main window (nothing: Escape).
  void pick(const char* button, std::optional<std::pair<navdb::NavaidKind, int>> line) {
    click(button);
    ASSERT_TRUE(QTest::qWaitFor([&] { return test_.state.pick.SelectionPending(); }, 5000));
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_FALSE(window().findChild<QPushButton*>("Open")->isEnabled());
    if (line) {
      doubleClick(line->first, line->second);
    } else {
      QTest::keyClick(window().listView(navdb::NavaidKind::Ndb), Qt::Key_Escape);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog().workerRunning(); }, 5000));
    EXPECT_TRUE(dialog().isVisible());
  }

  skat_test::WindowTest test_;
  PlanLauncher* launcher_ = nullptr;
};

}  // namespace skat_test
