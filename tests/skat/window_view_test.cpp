// The database commands and the bridge need no main window: over a window
// that only notes what it is asked, a load and a quit show their work in
// the order the real window would see it.
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/skat/database_commands.h"
#include "shell/skat/message_box.h"
#include "shell/skat/ui_bridge.h"
#include "shell/skat/window_view.h"
#include "tests/skat/skat_fixture.h"

namespace {

using navdb::NavaidKind;

class NotingWindow : public QWidget, public WindowView {
 public:
  QWidget* widget() override { return this; }
  QFont listFont() const override { return font(); }
  void setStatus(navdb::StatusIcon, const std::string& text) override { note(text); }
  void setProgressText(const std::string&) override {}
  void showEntryCount(NavaidKind kind, int count) override {
    note("count " + std::to_string(navdb::IndexOf(kind)) + " " + std::to_string(count));
  }
  void showKindTab(NavaidKind) override {}
  void selectRow(NavaidKind, int) override {}
  void showIndexWindow(bool) override {}
  void setCommandsEnabled(bool enabled, bool topOnly) override {
    note(std::string("commands ") + (enabled ? "on" : "off") + (topOnly ? " top" : ""));
  }
  void setScanProgress(int, int) override {}
  void beginWaypointPick(const planner::WaypointPickRequest&) override {}
  void setListsBusy(bool busy) override { note(busy ? "lists busy" : "lists free"); }
  void refreshBusyViews() override {}
  void reloadList(NavaidKind) override {}
  void reloadLists() override { note("lists shown"); }
  void showSceneryRootPath() override {}
  void raisePlanWindow() override { note("plan window raised"); }

  // What was asked, without repeats in a row (the bridge may show a count
  // twice when it hands its notes over twice).
  std::vector<std::string> calls;

 private:
  void note(const std::string& call) {
    if (calls.empty() || calls.back() != call) calls.push_back(call);
  }
};

TEST(DatabaseCommandsOverAWindowView, LoadShowsTheCountsWhileTheListsAreBusy) {
  skat_test::WindowTest test;
  NotingWindow window;
  UiBridge bridge(window, test.state);
  DatabaseCommands commands(window, bridge, test.state);
  bool loaded = false;
  commands.startLoad([&] { loaded = true; });
  commands.waitForWorker();
  ASSERT_TRUE(loaded);
  const std::vector<std::string> expected = {
      "lists busy",
      "count 0 " + std::to_string(skat_test::NdbLines().size()),
      "count 1 " + std::to_string(skat_test::VorLines().size()),
      "count 2 " + std::to_string(skat_test::RunwayLines().size()),
      "count 3 " + std::to_string(skat_test::IntersectionLines().size()),
      "lists free"};
  EXPECT_EQ(window.calls, expected);
  EXPECT_TRUE(skat_test::ShownMessages().empty());
}

TEST(DatabaseCommandsOverAWindowView, QuitAsksRaisesOrSavesAndClosesTheWindow) {
  skat_test::WindowTest test;
  NotingWindow window;
  window.show();
  UiBridge bridge(window, test.state);
  DatabaseCommands commands(window, bridge, test.state);
  commands.startLoad({});
  commands.waitForWorker();

  // An open plan window keeps the program up and comes to the front.
  test.state.planWindowOpen = true;
  window.calls.clear();
  commands.quit();
  EXPECT_EQ(window.calls, std::vector<std::string>{"plan window raised"});
  EXPECT_TRUE(window.isVisible());
  test.state.planWindowOpen = false;

  // Modifications are saved on a worker that holds the commands off; the
  // window closes once the save has ended.
  test.state.db.databaseModified = true;
  window.calls.clear();
  MessageBoxSeam::setNextAnswer(navdb::MessageAnswer::Yes);
  commands.quit();
  commands.waitForWorker();
  EXPECT_EQ(skat_test::ShownMessages(), std::vector<std::string>{"Warning|Save modifications ?"});
  ASSERT_GE(window.calls.size(), 3u);
  EXPECT_EQ(window.calls.front(), "lists busy");
  EXPECT_EQ(window.calls[1], "commands off");
  EXPECT_EQ(window.calls.back(), "lists free");
  EXPECT_FALSE(test.state.db.databaseModified);
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
