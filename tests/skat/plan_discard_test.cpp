// The Flight Plan dialog throws an edited plan away only when the user
// agrees, by Cancel, Escape or the close box alike, and whichever way it
// closes the main window's commands, Quit included, answer again.
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

#include "shell/skat/message_box.h"
#include "tests/skat/plan_dialog_fixture.h"

namespace {

using navdb::MessageAnswer;
using navdb::NavaidKind;
using skat_test::FlightPlanDialogTest;

constexpr const char* kQuestion = "Warning|The flight plan was changed.\n\nDiscard the changes ?";

class PlanDiscardTest : public FlightPlanDialogTest {
 protected:
  void closeBy(int way) {
    if (way == 0) click("Cancel");
    if (way == 1) QTest::keyClick(&dialog(), Qt::Key_Escape);
    if (way == 2) dialog().close();
  }
};

TEST_F(PlanDiscardTest, AnEditedPlanIsAskedForEveryWayOutAndTheProgramQuitsAfter) {
  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(way);
    MessageBoxSeam::clearShown();
    // Unchanged: closes at once.
    clickWindow("New");
    closeBy(way);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_FALSE(test_.state.planWindowOpen);
    EXPECT_TRUE(MessageBoxSeam::shown().empty());
    // A field typed in and left as the dialog reads it is a change too.
    clickWindow("New");
    QLineEdit* aircraft = child<QLineEdit>("Aircraft");
    aircraft->setFocus();
    QTest::keyClicks(aircraft, "X");
    MessageBoxSeam::setNextAnswer(MessageAnswer::No);
    closeBy(way);
    EXPECT_EQ(skat_test::ShownMessages(), std::vector<std::string>{kQuestion});
    EXPECT_TRUE(dialog().isVisible());
    EXPECT_TRUE(test_.state.planWindowOpen);
    EXPECT_TRUE(aircraft->text().endsWith("X"));
    // Typed away again: the plan is as it was shown, no question.
    QTest::keyClick(aircraft, Qt::Key_Backspace);
    closeBy(way);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(MessageBoxSeam::shown().size(), 1u);
    // A waypoint picked, and Yes: gone, and the state flag cleared.
    clickWindow("New");
    pick("Insert", std::make_pair(NavaidKind::Airport, 3));
    MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
    closeBy(way);
    EXPECT_EQ(MessageBoxSeam::shown().size(), 2u);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_FALSE(test_.state.planWindowOpen);
  }
  MessageBoxSeam::clearShown();
  clickWindow("Quit");
  EXPECT_FALSE(window().isVisible());
  EXPECT_TRUE(MessageBoxSeam::shown().empty());
}

TEST_F(PlanDiscardTest, ASavedPlanReopenedIsUnchangedUntilEdited) {
  clickWindow("New");
  pick("Insert", std::make_pair(NavaidKind::Airport, 3));  // LFPO
  pick("Insert", std::make_pair(NavaidKind::Airport, 0));  // LFOB
  QLineEdit* name = child<QLineEdit>("Flight plan file name");
  name->clear();
  QTest::keyClicks(name, "KEPT");
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);  // a sharp turn, if any, is kept
  click("Save");
  MessageBoxSeam::clearNextAnswers();
  ASSERT_FALSE(dialog().isVisible());
  const std::filesystem::path file = test_.navData / "FlightPlans" / "KEPT.pln";
  const std::string saved = skat_test::ReadBytes(file);
  MessageBoxSeam::clearShown();

  OpenFileDialogSeam::setNextFile(QString::fromStdString(file.string()));
  clickWindow("Open");
  ASSERT_TRUE(dialog().isVisible());
  QTest::keyClick(&dialog(), Qt::Key_Escape);
  EXPECT_FALSE(dialog().isVisible());
  EXPECT_TRUE(MessageBoxSeam::shown().empty());

  // Edited after the reopening: asked, and the file keeps its bytes.
  OpenFileDialogSeam::setNextFile(QString::fromStdString(file.string()));
  clickWindow("Open");
  ASSERT_TRUE(dialog().isVisible());
  selectRow(0);
  click("Remove");
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  click("Cancel");
  EXPECT_EQ(skat_test::ShownMessages(), std::vector<std::string>{kQuestion});
  EXPECT_FALSE(dialog().isVisible());
  EXPECT_FALSE(test_.state.planWindowOpen);
  EXPECT_EQ(skat_test::ReadBytes(file), saved);
}

}  // namespace
