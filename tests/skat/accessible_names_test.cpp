#include <QAccessible>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "planner/plan_row.h"
#include "shell/skat/about_box.h"
#include "shell/skat/airport_filter_dialog.h"
#include "shell/skat/conflict_dialog.h"
#include "shell/skat/duplicate_dialog.h"
#include "shell/skat/entry_editor_dialog.h"
#include "shell/skat/entry_editors.h"
#include "shell/skat/hand_edits_view.h"
#include "shell/skat/help_window.h"
#include "shell/skat/index_window.h"
#include "shell/skat/map_widget.h"
#include "shell/skat/map_window.h"
#include "shell/skat/route_description.h"
#include "shell/skat/route_picture.h"
#include "shell/skat/window_accessibility.h"
#include "tests/skat/accessibility_checks.h"
#include "tests/skat/editor_window_fixture.h"
#include "tests/skat/plan_dialog_fixture.h"

namespace {

using navdb::NavaidKind;
using skat_test::TabOrderFaults;
using skat_test::UnnamedOrSharedControls;

QAccessible::Role RoleOf(QWidget& window) {
  return QAccessible::queryAccessibleInterface(&window)->role();
}

// Every control of `window` named apart from the others, and Tab in
// reading order.
void ExpectNamedAndInReadingOrder(QWidget& window) {
  SCOPED_TRACE(window.windowTitle().toStdString());
  for (const std::string& fault : UnnamedOrSharedControls(window)) ADD_FAILURE() << fault;
  for (const std::string& fault : TabOrderFaults(window)) ADD_FAILURE() << fault;
}

std::set<QString> AccessibleNames(const QWidget& window) {
  std::set<QString> names;
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    if (widget->focusPolicy() != Qt::NoFocus) names.insert(widget->accessibleName());
  }
  return names;
}

class AccessibleNamesTest : public EditorWindowTest {};

TEST_F(AccessibleNamesTest, EveryFocusableControlOfTheMainWindowHasItsOwnName) {
  MainWindow& window = OpenWindow();
  EXPECT_EQ(RoleOf(window), QAccessible::Window);
  ExpectNamedAndInReadingOrder(window);
}

TEST_F(AccessibleNamesTest, EveryFocusableControlOfEachEntryEditorHasItsOwnName) {
  MainWindow& window = OpenWindow();
  for (NavaidKind kind : navdb::kAllKinds) {
    auto editor = MakeEntryEditor(window, window.state(), kind, std::nullopt);
    editor->show();
    SCOPED_TRACE(editor->windowTitle().toStdString());
    EXPECT_EQ(RoleOf(*editor), QAccessible::Dialog);
    ExpectNamedAndInReadingOrder(*editor);
    editor->reject();
  }
}

TEST_F(AccessibleNamesTest, HelpIsAFrameWithNamedControlsAndItsTextAfterItsButtons) {
  MainWindow& window = OpenWindow();
  window.findChild<QPushButton*>("Help")->click();
  HelpWindow* help = window.helpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(RoleOf(*help), QAccessible::Window);
  ExpectNamedAndInReadingOrder(*help);
  const std::vector<QWidget*> stops = skat_test::TabStops(*help);
  ASSERT_FALSE(stops.empty());
  EXPECT_EQ(stops.front(), help->findChild<QPushButton*>("Contents"));
  EXPECT_EQ(stops.back(), static_cast<QWidget*>(help->browser()));
  help->close();
}

TEST_F(AccessibleNamesTest, TheAirportFilterIsADialogWithNamedControls) {
  OpenWindow();
  AirportFilterDialog dialog(window_.get(), 3000);
  dialog.show();
  EXPECT_EQ(RoleOf(dialog), QAccessible::Dialog);
  ExpectNamedAndInReadingOrder(dialog);
  EXPECT_EQ(AccessibleNames(dialog), (std::set<QString>{"Runway length", "OK", "Cancel"}));
}

TEST(AccessibleNames, TheDuplicateDialogsKeepButtonsSayWhichEntry) {
  const scanner::DuplicateRequest request{NavaidKind::Ndb, 12, "PGS    PARIS GARE   352.5",
                                          "PGS    PARIS GARE   352.6"};
  QFont font(QStringLiteral("Liberation Mono"));
  DuplicateDialog dialog(nullptr, request, font);
  dialog.show();
  EXPECT_EQ(RoleOf(dialog), QAccessible::Dialog);
  ExpectNamedAndInReadingOrder(dialog);
  EXPECT_EQ(dialog.keepExistingButton()->accessibleName(), "Keep only the existing entry");
  EXPECT_EQ(dialog.keepExistingAlwaysButton()->accessibleName(), "Keep the existing entry always");
  EXPECT_EQ(dialog.keepBothButton()->accessibleName(), "Keep both entries");
  EXPECT_EQ(dialog.keepBothAlwaysButton()->accessibleName(), "Keep both entries always");
  EXPECT_EQ(dialog.keepNewButton()->accessibleName(), "Keep only the new entry");
  EXPECT_EQ(dialog.keepNewAlwaysButton()->accessibleName(), "Keep the new entry always");
  // The captions stay as the user sees them.
  EXPECT_EQ(dialog.keepNewAlwaysButton()->text(), "Keep always");
  const std::vector<QWidget*> stops = skat_test::TabStops(dialog);
  EXPECT_EQ(stops,
            (std::vector<QWidget*>{dialog.keepExistingButton(), dialog.keepExistingAlwaysButton(),
                                   dialog.keepBothButton(), dialog.keepBothAlwaysButton(),
                                   dialog.keepNewButton(), dialog.keepNewAlwaysButton(),
                                   dialog.abortButton()}));
}

TEST(AccessibleNames, TheIndexWindowIsAFrameWhosePagingButtonsAreNamedInWords) {
  navdb::IndexLists index;
  QWidget mainWindow;
  InstallWindowAccessibility();
  IndexWindow window(index, &mainWindow);
  window.show();
  EXPECT_EQ(RoleOf(window), QAccessible::Window);
  ExpectNamedAndInReadingOrder(window);
  EXPECT_EQ(AccessibleNames(window),
            (std::set<QString>{"Index", "Page up", "Page down", "Rebuild index", "Hide"}));
}

TEST(AccessibleNames, TheHandEditsViewIsADialogWithNamedControls) {
  skat_test::WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  QTest::mouseClick(window.findChild<QPushButton*>("Hand edits"), Qt::LeftButton);
  auto* view = window.findChild<HandEditsView*>();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(RoleOf(*view), QAccessible::Dialog);
  ExpectNamedAndInReadingOrder(*view);
  view->reject();
}

TEST(AccessibleNames, TheMapWindowIsAFrameWithNamedControls) {
  skat_test::WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  window.showMapWindow();
  MapWindow* map = window.mapWindow();
  ASSERT_NE(map, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !map->map()->drawing(); }, 10000));
  EXPECT_EQ(RoleOf(*map), QAccessible::Window);
  ExpectNamedAndInReadingOrder(*map);
  map->close();
}

TEST_F(AccessibleNamesTest, AboutIsADialogWithNamedControls) {
  OpenWindow();
  AboutBox about(window_.get());
  about.show();
  EXPECT_EQ(RoleOf(about), QAccessible::Dialog);
  ExpectNamedAndInReadingOrder(about);
}

TEST(AccessibleNames, TheConflictDialogIsADialogWithNamedControls) {
  shell::ReplayConflict conflict;
  conflict.recordNumbers = {1};
  conflict.change.kind = NavaidKind::Ndb;
  conflict.change.before = "AB     NDB AB                    399.0";
  conflict.change.after = "AB     NDB AB                    400.0";
  QFont font(QStringLiteral("Liberation Mono"));
  ConflictDialog dialog(nullptr, {conflict, conflict}, font);
  dialog.show();
  EXPECT_EQ(RoleOf(dialog), QAccessible::Dialog);
  ExpectNamedAndInReadingOrder(dialog);
}

class PlanDialogNamesTest : public skat_test::FlightPlanDialogTest {};

// The distance of the whole route as the list's last row shows it.
QString TotalOfLastRow(const std::vector<std::string>& rows) {
  // The distance column, then the time column when there were speeds to time with.
  static const QRegularExpression distance(
      " 0*([0-9]+\\.[0-9])( +[0-9-]{2}:[0-9-]{2}:[0-9-]{2})? *$");
  const QRegularExpressionMatch match = distance.match(QString::fromStdString(rows.back()));
  return match.hasMatch() ? match.captured(1) : QString("<no distance>");
}

TEST_F(PlanDialogNamesTest, EveryControlOfTheFlightPlanDialogHasItsOwnName) {
  clickWindow("New");
  ASSERT_TRUE(dialog().isVisible());
  EXPECT_EQ(RoleOf(dialog()), QAccessible::Dialog);
  ExpectNamedAndInReadingOrder(dialog());
  const std::set<QString> names = AccessibleNames(dialog());
  for (const char* name :
       {"Aircraft name", "Climb rate in feet per minute", "Descent rate in feet per minute",
        "Climb speed in knots", "Descent speed in knots", "Cruise speed, Mach or knots",
        "Cruise altitude in feet above sea level", "Waypoints", "Flight plan file name",
        "Save flight plan", "Save performance", "Departure runway", "Arrival runway"}) {
    EXPECT_TRUE(names.count(name)) << name;
  }

  // The route picture says the route in words, and follows the plan.
  auto* picture = dialog().findChild<RoutePicture*>("Route picture");
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->accessibleName(), "Route picture");
  EXPECT_EQ(picture->accessibleDescription(), "No route: the plan has no waypoints");
  pick("Insert", std::make_pair(NavaidKind::Airport, 3));  // LFPO
  EXPECT_EQ(picture->accessibleDescription(), "Route of 1 waypoint at LFPO");
  pick("Insert", std::make_pair(NavaidKind::Airport, 0));  // LFOB
  selectRow(rows()->count() - 1);
  pick("Insert", std::make_pair(NavaidKind::Vor, 0));  // PON before the arrival
  const QString total = TotalOfLastRow(rowTexts());
  EXPECT_NE(total, "0.0");
  EXPECT_EQ(picture->accessibleDescription().toStdString(),
            ("Route of 3 waypoints from LFPO to LFOB, total " + total + " NM").toStdString());
  selectRow(rows()->count() - 1);
  click("Remove");
  EXPECT_EQ(picture->accessibleDescription().toStdString(),
            ("Route of 2 waypoints from LFPO to PON, total " + TotalOfLastRow(rowTexts()) + " NM")
                .toStdString());
  discard();
}

TEST(RouteDescription, CountsTheWaypointsNotThePlacedPointsAndTellsWhatItLeavesOut) {
  using planner::PlanRowKind;
  planner::PlanRow departure = planner::ForeignWaypointRow(PlanRowKind::Airport, "LFPO", 48.7, 2.4);
  planner::PlanRow climb = planner::GeneratedRow(PlanRowKind::TopOfClimb, 48.8, 2.5);
  planner::PlanRow arrival = planner::ForeignWaypointRow(PlanRowKind::Airport, "LFOB", 49.4, 2.1);
  const planner::PlanRow verbatim = planner::ParsePlanRow("not a row");
  EXPECT_EQ(RouteDescription({}), "No route: the plan has no waypoints");
  EXPECT_EQ(RouteDescription({climb}), "No route: the plan has no waypoints");
  EXPECT_EQ(RouteDescription({departure}), "Route of 1 waypoint at LFPO");
  // Not computed yet: no distance to tell.
  EXPECT_EQ(RouteDescription({departure, climb, arrival}),
            "Route of 2 waypoints from LFPO to LFOB, distance not computed");
  climb.distanceTenthsNm = 120;
  arrival.distanceTenthsNm = 1874;
  EXPECT_EQ(RouteDescription({departure, climb, arrival}),
            "Route of 2 waypoints from LFPO to LFOB, total 187.4 NM");
  arrival.distanceTenthsNm = 7;
  EXPECT_EQ(RouteDescription({departure, climb, arrival, verbatim}),
            "Route of 2 waypoints from LFPO to LFOB, total 0.7 NM; 1 row not in the row layout "
            "left out");
  EXPECT_EQ(RouteDescription({verbatim, verbatim}),
            "No route: the plan has no waypoints; 2 rows not in the row layout left out");
}

}  // namespace
