// The Flight Plan dialog where a user once lost the program or the plan:
// Escape, a pick given up, an empty plan saved, and messages hidden behind
// the main window.
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

class PlanDialogMendsTest : public FlightPlanDialogTest {
 protected:
  // LFPO, PON and LFOB with the turn points of the generator.
  void buildPlan() {
    clickWindow("New");
    pick("Insert", std::make_pair(NavaidKind::Airport, 3));  // LFPO
    pick("Insert", std::make_pair(NavaidKind::Airport, 0));  // LFOB
    selectRow(rows()->count() - 1);
    pick("Insert", std::make_pair(NavaidKind::Vor, 0));  // PON before the arrival
    ASSERT_EQ(route(), "APT LFPO|BRD *****|ERD *****|VOR PON|BRA *****|ERA *****|APT LFOB");
  }
};

TEST_F(PlanDialogMendsTest, EscapeClosesLikeCancelAndTheProgramCanStillQuit) {
  for (int round = 0; round < 2; ++round) {
    clickWindow("New");
    ASSERT_TRUE(dialog().isVisible());
    QTest::keyClick(&dialog(), Qt::Key_Escape);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_FALSE(test_.state.planWindowOpen) << round;
  }
  // The commands of the main window answer again: New opens the dialog...
  clickWindow("New");
  EXPECT_TRUE(dialog().isVisible());
  click("Cancel");
  // ...and Quit ends the program.
  clickWindow("Quit");
  EXPECT_FALSE(window().isVisible());
  EXPECT_TRUE(MessageBoxSeam::shown().empty());
}

TEST_F(PlanDialogMendsTest, ChangesAreNotThrownAwayWithoutAQuestion) {
  // Unchanged: Cancel and Escape close at once.
  clickWindow("New");
  click("Cancel");
  EXPECT_FALSE(dialog().isVisible());
  EXPECT_TRUE(MessageBoxSeam::shown().empty());
  clickWindow("New");
  pick("Insert", std::make_pair(NavaidKind::Airport, 3));
  const std::vector<std::string> plan = rowTexts();
  // Changed: No keeps the dialog and the plan, for Cancel, Escape and the close box.
  for (int way = 0; way < 3; ++way) {
    MessageBoxSeam::setNextAnswer(MessageAnswer::No);
    if (way == 0) click("Cancel");
    if (way == 1) QTest::keyClick(&dialog(), Qt::Key_Escape);
    if (way == 2) dialog().close();
    EXPECT_TRUE(dialog().isVisible()) << way;
    EXPECT_TRUE(test_.state.planWindowOpen);
    EXPECT_EQ(rowTexts(), plan);
  }
  ASSERT_EQ(skat_test::ShownMessages().size(), 3u);
  EXPECT_EQ(skat_test::ShownMessages()[0],
            "Warning|The flight plan was changed.\n\nDiscard the changes ?");
  EXPECT_EQ(MessageBoxSeam::shownParents()[0], &dialog());
  // Yes throws them away.
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  QTest::keyClick(&dialog(), Qt::Key_Escape);
  EXPECT_FALSE(dialog().isVisible());
  EXPECT_FALSE(test_.state.planWindowOpen);
}

TEST_F(PlanDialogMendsTest, GivingUpAPickLeavesThePlanAsItWas) {
  buildPlan();
  selectRow(3);
  const std::vector<std::string> before = rowTexts();
  pick("Replace", std::nullopt);
  EXPECT_EQ(rowTexts(), before);
  EXPECT_EQ(rows()->currentRow(), 3);
  pick("Insert", std::nullopt);
  EXPECT_EQ(rowTexts(), before);
  EXPECT_EQ(rows()->currentRow(), 3);
  // A pick made still replaces the row.
  pick("Replace", std::make_pair(NavaidKind::Ndb, 0));
  EXPECT_EQ(route(), "APT LFPO|BRD *****|ERD *****|NDB AB|BRA *****|ERA *****|APT LFOB");
  discard();
}

TEST_F(PlanDialogMendsTest, AnEmptyPlanIsNotSaved) {
  clickWindow("New");
  QLineEdit* name = child<QLineEdit>("Flight plan file name");
  name->clear();
  QTest::keyClicks(name, "EMPTY");
  MessageBoxSeam::clearShown();
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);  // whatever a question would be
  click("Save");
  MessageBoxSeam::clearNextAnswers();
  EXPECT_EQ(skat_test::ShownMessages(),
            std::vector<std::string>{
                "Error !|The flight plan has no waypoints: there is nothing to save."});
  EXPECT_FALSE(std::filesystem::exists(test_.navData / "FlightPlans" / "EMPTY.pln"));
  EXPECT_TRUE(dialog().isVisible());
  EXPECT_TRUE(test_.state.planWindowOpen);
  discard();
}

TEST_F(PlanDialogMendsTest, MessagesAboutThePlanBelongToTheDialog) {
  buildPlan();
  child<QLineEdit>("Flight plan file name")->clear();
  emit child<QLineEdit>("Flight plan file name")->textEdited("");
  MessageBoxSeam::clearShown();
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);  // a sharp turn, if any, is kept
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  click("Save");
  MessageBoxSeam::clearNextAnswers();
  ASSERT_FALSE(MessageBoxSeam::shown().empty());
  EXPECT_EQ(MessageBoxSeam::shown().back().text, "You must specify a name for the flight plan.");
  for (const QWidget* parent : MessageBoxSeam::shownParents()) EXPECT_EQ(parent, &dialog());

  // The same from the performance buttons and the printer.
  MessageBoxSeam::clearShown();
  child<QLineEdit>("Aircraft")->clear();
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  click("Save performance");
  PrintDialogSeam::setNextPdfFile(QString::fromStdString((test_.sim / "missing/x.pdf").string()));
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  click("Print");
  ASSERT_EQ(skat_test::ShownMessages(),
            (std::vector<std::string>{"Error !|You must specify a name for the aircraft.",
                                      "Error !|Print init failed."}));
  for (const QWidget* parent : MessageBoxSeam::shownParents()) EXPECT_EQ(parent, &dialog());
  discard();
}

}  // namespace
