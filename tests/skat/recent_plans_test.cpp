// "Recent plans" of the File menu: the plans opened or saved, newest first,
// once each and at most eight, opened again from the menu as Open does, a
// missing one taken off with a message, and the list kept for the next
// window.
#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "shell/skat/menu_bar.h"
#include "shell/skat/recent_plans.h"
#include "shell/skat/recent_plans_menu.h"
#include "tests/skat/plan_dialog_fixture.h"

namespace {

namespace fs = std::filesystem;
using navdb::MessageAnswer;
using navdb::NavaidKind;
using skat_test::ShownMessages;

QString Q(const fs::path& path) {
  return QString::fromStdString(path.string());
}

TEST(RecentPlans, NewestFirstOnceEachAndNoMoreThanEight) {
  QStringList plans;
  for (int i = 1; i <= 9; ++i) plans = WithRecentPlan(plans, QString("/p/%1.pln").arg(i));
  EXPECT_EQ(plans, QStringList({"/p/9.pln", "/p/8.pln", "/p/7.pln", "/p/6.pln", "/p/5.pln",
                                "/p/4.pln", "/p/3.pln", "/p/2.pln"}));
  // Again: to the top, not twice; the same file by another spelling too.
  plans = WithRecentPlan(plans, "/p/5.pln");
  EXPECT_EQ(plans, QStringList({"/p/5.pln", "/p/9.pln", "/p/8.pln", "/p/7.pln", "/p/6.pln",
                                "/p/4.pln", "/p/3.pln", "/p/2.pln"}));
  plans = WithRecentPlan(plans, "/p/x/../3.pln");
  EXPECT_EQ(plans, QStringList({"/p/3.pln", "/p/5.pln", "/p/9.pln", "/p/8.pln", "/p/7.pln",
                                "/p/6.pln", "/p/4.pln", "/p/2.pln"}));
  // A relative name is kept as the absolute path it stands for.
  EXPECT_EQ(WithRecentPlan({}, "a.pln"), QStringList({QDir::current().absoluteFilePath("a.pln")}));
}

class RecentPlansMenuTest : public skat_test::FlightPlanDialogTest {
 protected:
  void SetUp() override {
    FlightPlanDialogTest::SetUp();
    folder_ = test_.navData / "FlightPlans";
    fs::create_directories(folder_);
  }
  RecentPlansMenu& menu() { return *window().findChild<RecentPlansMenu*>("Recent plans"); }
  // The entries as shown: text, then the status tip.
  std::vector<std::string> entries() {
    emit menu().aboutToShow();
    std::vector<std::string> shown;
    for (QAction* action : menu().actions()) {
      if (action->isSeparator()) continue;
      shown.push_back(
          action->text().toStdString() +
          (action->statusTip().isEmpty() ? "" : " | " + action->statusTip().toStdString()));
    }
    return shown;
  }
  QAction* entry(int number) {
    emit menu().aboutToShow();
    return window().findChild<MainMenuBar*>()->action(QString("Recent plan %1").arg(number));
  }
  // A plan of two airports named `name`, saved from the dialog.
  fs::path savePlan(const std::string& name) {
    clickWindow("New");
    if (rows()->count() == 0) {
      pick("Insert", std::make_pair(NavaidKind::Airport, 3));
      pick("Insert", std::make_pair(NavaidKind::Airport, 0));
    }
    QLineEdit* field = child<QLineEdit>("Flight plan file name");
    field->clear();
    QTest::keyClicks(field, QString::fromStdString(name));
    MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);  // a sharp turn, if any, is kept
    click("Save");
    MessageBoxSeam::clearNextAnswers();
    EXPECT_FALSE(dialog().isVisible()) << name;
    return folder_ / (name + ".pln");
  }
  void open(const fs::path& file) {
    OpenFileDialogSeam::setNextFile(Q(file));
    clickWindow("Open");
    ASSERT_TRUE(dialog().isVisible());
    click("Cancel");
  }
  std::string line(int number, const std::string& name) {
    return "&" + std::to_string(number) + " " + name + ".pln | " + (folder_ / name).string() +
           ".pln";
  }

  fs::path folder_;
};

TEST_F(RecentPlansMenuTest, SavedAndOpenedPlansAreListedNewestFirstAndReopened) {
  EXPECT_EQ(entries(), (std::vector<std::string>{"&Clear recent plans"}));
  EXPECT_FALSE(window().findChild<MainMenuBar*>()->action("Clear recent plans")->isEnabled());
  const fs::path first = savePlan("FIRST");
  const fs::path second = savePlan("SECOND");
  EXPECT_EQ(entries(),
            (std::vector<std::string>{line(1, "SECOND"), line(2, "FIRST"), "&Clear recent plans"}));
  // Open puts a plan first again, and it is listed once.
  open(first);
  EXPECT_EQ(entries(),
            (std::vector<std::string>{line(1, "FIRST"), line(2, "SECOND"), "&Clear recent plans"}));

  // Ten plans in all: the eight newest stay, &1 to &8.
  for (int i = 3; i <= 10; ++i)
    fs::copy_file(second, folder_ / ("PLAN" + std::to_string(i) + ".pln"));
  for (int i = 3; i <= 10; ++i) open(folder_ / ("PLAN" + std::to_string(i) + ".pln"));
  std::vector<std::string> wanted;
  for (int i = 10; i >= 3; --i) wanted.push_back(line(11 - i, "PLAN" + std::to_string(i)));
  wanted.push_back("&Clear recent plans");
  EXPECT_EQ(entries(), wanted);

  // Chosen from the menu, a plan opens as Open opens it, and goes first.
  entry(8)->trigger();
  ASSERT_TRUE(dialog().isVisible());
  EXPECT_EQ(child<QLineEdit>("Flight plan file name")->text(), "PLAN3");
  click("Cancel");
  EXPECT_EQ(entries()[0], line(1, "PLAN3"));
  EXPECT_EQ(entries()[1], line(2, "PLAN10"));
  EXPECT_TRUE(ShownMessages().empty());

  // Kept for the next window.
  test_.window.reset();
  test_.Open();
  launcher_ = window().findChild<PlanLauncher*>("Plan launcher");
  EXPECT_EQ(entries()[0], line(1, "PLAN3"));
  EXPECT_EQ(entries().size(), 9u);
}

TEST_F(RecentPlansMenuTest, AMissingPlanIsToldAndTakenOffAndClearEmptiesTheList) {
  const fs::path kept = savePlan("KEPT");
  const fs::path gone = savePlan("GONE");
  fs::remove(gone);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  entry(1)->trigger();
  EXPECT_EQ(ShownMessages(),
            (std::vector<std::string>{"Recent plans|The flight plan " + gone.string() +
                                      " no longer exists.\n\nIt is taken off the recent plans."}));
  EXPECT_FALSE(dialog().isVisible());
  EXPECT_FALSE(test_.state.planWindowOpen);
  EXPECT_EQ(entries(), (std::vector<std::string>{line(1, "KEPT"), "&Clear recent plans"}));

  // Off, as Open is, while the commands are.
  window().setCommandsEnabled(false, true);
  for (QMenu* menu : window().findChild<MainMenuBar*>()->findChildren<QMenu*>()) {
    if (menu->title() == "&File") emit menu->aboutToShow();
  }
  EXPECT_FALSE(menu().menuAction()->isEnabled());
  window().setCommandsEnabled(true, true);

  QAction* clearList = window().findChild<MainMenuBar*>()->action("Clear recent plans");
  ASSERT_NE(clearList, nullptr);
  EXPECT_TRUE(clearList->isEnabled());
  clearList->trigger();
  EXPECT_EQ(entries(), (std::vector<std::string>{"&Clear recent plans"}));
  EXPECT_TRUE(RecentPlans().isEmpty());
  EXPECT_TRUE(fs::exists(kept)) << "clearing the list removes no file";
}

}  // namespace
