#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "map/map_palette.h"
#include "navdb/coordinates.h"
#include "navdb/entry_lines.h"
#include "shell/skat/entry_editor_dialog.h"
#include "shell/skat/entry_editors.h"
#include "shell/skat/main_window.h"
#include "shell/skat/map_export.h"
#include "shell/skat/map_window.h"
#include "shell/skat/message_box.h"
#include "shell/skat/qt_text.h"
#include "tests/skat/plan_dialog_fixture.h"
#include "tests/skat/skat_fixture.h"

namespace {

using navdb::NavaidKind;
using navmap::EntryRef;
using skat_test::WindowTest;

// The test database's places.
constexpr double kEfLatDeg = 47.1, kEfLonDeg = -1.2;       // NDB EF, row 2
constexpr double kCdLatDeg = 48.5, kCdLonDeg = 2.6;        // NDB CD, row 1
constexpr double kPonLatDeg = 49.1, kPonLonDeg = 2.0;      // VOR PON, row 0
constexpr double kOrlyLatDeg = 48.72, kOrlyLonDeg = 2.37;  // LFPO, airport row 3

void WaitDrawn(MapWidget& map) {
  QApplication::processEvents();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !map.drawing(); }, 10000));
  QApplication::processEvents();
}

MapWindow& OpenMap(MainWindow& window) {
  window.showMapWindow();
  MapWindow* map = window.mapWindow();
  EXPECT_NE(map, nullptr);
  WaitDrawn(*map->map());
  return *map;
}

// The map `rangeNm` round a place, drawn.
void ShowAround(MapWidget& map, double latDeg, double lonDeg, double rangeNm) {
  map.setView(navmap::ViewOfRange(latDeg, lonDeg, rangeNm, map.width(), map.height()));
  WaitDrawn(map);
}

QPoint PointOf(const MapWidget& map, double latDeg, double lonDeg) {
  return map.pointOf(latDeg, lonDeg).toPoint();
}

int CurrentRow(MainWindow& window, NavaidKind kind) {
  return window.listView(kind)->currentIndex().row();
}

// Opened by the button, by Ctrl+M and by the call; not modal; the map,
// its buttons and its status line are named for the accessible tree.
TEST(MapWindow, OpensModelessFromTheButtonAndCtrlMWithNamedControls) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  QPushButton* button = window.findChild<QPushButton*>("Map");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->accessibleName(), "Map");
  EXPECT_EQ(window.mapWindow(), nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
  MapWindow* map = window.mapWindow();
  ASSERT_NE(map, nullptr);
  EXPECT_TRUE(map->isVisible());
  EXPECT_EQ(map->windowTitle(), "Map");
  EXPECT_FALSE(map->isModal());
  map->hide();
  QTest::keyClick(&window, Qt::Key_M, Qt::ControlModifier);
  EXPECT_TRUE(map->isVisible());
  EXPECT_EQ(window.mapWindow(), map);

  EXPECT_EQ(map->map()->accessibleName(), "Map");
  EXPECT_FALSE(map->map()->accessibleDescription().isEmpty());
  for (const char* name : {"Zoom in", "Zoom out", "Show all", "Export picture"}) {
    SCOPED_TRACE(name);
    auto* control = map->findChild<QToolButton*>(name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->accessibleName(), name);
    EXPECT_FALSE(control->accessibleDescription().isEmpty());
  }
  for (const char* name : {"Pointer position", "View range"}) {
    auto* label = map->findChild<QLabel*>(name);
    ASSERT_NE(label, nullptr) << name;
    EXPECT_EQ(label->accessibleName(), name);
  }
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(map->map());
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->text(QAccessible::Name), "Map");
}

// A line selected in a list centres the map on its entry and rings it; a
// click on a symbol selects its line on its own tab and shows the line as
// a tooltip, without moving the map.
TEST(MapWindow, FollowsTheListsSelectionAndSelectsTheClickedSymbolsLine) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  MapWindow& mapWindow = OpenMap(window);
  MapWidget& map = *mapWindow.map();

  window.showKindTab(NavaidKind::Ndb);
  window.selectRow(NavaidKind::Ndb, 1);
  EXPECT_NEAR(map.view().centreLatDeg, kCdLatDeg, 1e-6);
  EXPECT_NEAR(map.view().centreLonDeg, kCdLonDeg, 1e-6);
  EXPECT_EQ(map.highlight(), (EntryRef{NavaidKind::Ndb, 1}));

  window.showKindTab(NavaidKind::Airport);
  ShowAround(map, kEfLatDeg, kEfLonDeg + 0.1, 30);
  const navmap::MapView before = map.view();
  QTest::mouseClick(&map, Qt::LeftButton, {}, PointOf(map, kEfLatDeg, kEfLonDeg));
  EXPECT_EQ(window.currentKind(), NavaidKind::Ndb);
  EXPECT_EQ(CurrentRow(window, NavaidKind::Ndb), 2);
  EXPECT_EQ(map.highlight(), (EntryRef{NavaidKind::Ndb, 2}));
  EXPECT_EQ(Win1252FromQString(mapWindow.lastTooltip()), skat_test::NdbLines()[2]);
  EXPECT_EQ(map.view().centreLonDeg, before.centreLonDeg);

  // A click on the sea selects nothing.
  window.selectRow(NavaidKind::Ndb, 0);
  ShowAround(map, kEfLatDeg, kEfLonDeg, 30);
  QTest::mouseClick(&map, Qt::LeftButton, {}, PointOf(map, kEfLatDeg + 0.4, kEfLonDeg - 0.4));
  EXPECT_EQ(CurrentRow(window, NavaidKind::Ndb), 0);
}

// A double click on a symbol opens the entry's editor on its line.
TEST(MapWindow, DoubleClickOnASymbolOpensItsEditor) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  MapWidget& map = *OpenMap(window).map();
  ShowAround(map, kPonLatDeg, kPonLonDeg, 20);
  QString seenTitle;
  QString seenIdentifier;
  QTimer::singleShot(0, &window, [&] {
    auto* editor = qobject_cast<EntryEditorDialog*>(QApplication::activeModalWidget());
    if (!editor) return;
    seenTitle = editor->windowTitle();
    seenIdentifier = editor->box(shell::EditorBox::Identifier)->text();
    editor->button("Cancel")->click();
  });
  const QPoint pon = PointOf(map, kPonLatDeg, kPonLonDeg);
  QTest::mouseClick(&map, Qt::LeftButton, {}, pon);
  QTest::mouseDClick(&map, Qt::LeftButton, {}, pon);
  EXPECT_EQ(seenTitle, "VOR/ILS entry edition");
  EXPECT_EQ(seenIdentifier, "PON");
}

// An entry moved in its editor is drawn at its new place at once, and a
// click there finds it.
TEST(MapWindow, AnEditAppearsOnTheMap) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  MapWidget& map = *OpenMap(window).map();
  const auto oldSnapshot = map.snapshot();
  ShowAround(map, kEfLatDeg - 0.5, kEfLonDeg, 40);
  EXPECT_EQ(map.entryAt(PointOf(map, kEfLatDeg, kEfLonDeg)), (EntryRef{NavaidKind::Ndb, 2}));
  EXPECT_EQ(map.entryAt(PointOf(map, kEfLatDeg - 1, kEfLonDeg)), std::nullopt);

  auto editor = MakeEntryEditor(window, window.state(), NavaidKind::Ndb, 2);
  editor->show();
  QLineEdit* degrees = editor->box(shell::EditorBox::LatitudeDegrees);
  degrees->selectAll();
  QTest::keyClick(degrees, Qt::Key_Backspace);
  QTest::keyClicks(degrees, "46");
  QTest::mouseClick(editor->button("Validate"), Qt::LeftButton);
  ASSERT_EQ(editor->result(), QDialog::Accepted);
  EXPECT_NE(map.snapshot(), oldSnapshot);
  WaitDrawn(map);
  EXPECT_EQ(map.entryAt(PointOf(map, kEfLatDeg - 1, kEfLonDeg)), (EntryRef{NavaidKind::Ndb, 2}));
  EXPECT_EQ(map.entryAt(PointOf(map, kEfLatDeg, kEfLonDeg)), std::nullopt);
}

// Arrow keys move the view by a quarter, + and - zoom about the pointer,
// Home shows the whole database; the range in the status line follows.
TEST(MapWindow, KeysPanAndZoom) {
  WindowTest test;
  test.Open();
  MainWindow& window = *test.window;
  MapWindow& mapWindow = OpenMap(window);
  MapWidget& map = *mapWindow.map();
  ShowAround(map, 48, 2, 100);
  map.setFocus();
  const navmap::MapView start = map.view();
  const double pxPerDegLon = navmap::Projection(start).PxPerDegLon();

  QTest::keyClick(&map, Qt::Key_Right);
  EXPECT_NEAR(map.view().centreLonDeg, 2 + start.widthPx / 4.0 / pxPerDegLon, 1e-9);
  QTest::keyClick(&map, Qt::Key_Left);
  EXPECT_NEAR(map.view().centreLonDeg, 2, 1e-9);
  QTest::keyClick(&map, Qt::Key_Up);
  EXPECT_GT(map.view().centreLatDeg, 48);
  QTest::keyClick(&map, Qt::Key_Down);
  EXPECT_NEAR(map.view().centreLatDeg, 48, 1e-6);

  // The place under the pointer stays under it.
  const QPoint pointer(map.width() / 4, map.height() / 3);
  QMouseEvent move(QEvent::MouseMove, QPointF(pointer), map.mapToGlobal(QPointF(pointer)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&map, &move);
  const navmap::GeoPosition held = navmap::Projection(map.view()).ToGeo(pointer.x(), pointer.y());
  QTest::keyClick(&map, Qt::Key_Plus);
  EXPECT_NEAR(map.view().pxPerNm, start.pxPerNm * 2, 1e-9);
  const QPointF after = map.pointOf(held.latDeg, held.lonDeg);
  EXPECT_NEAR(after.x(), pointer.x(), 1e-6);
  EXPECT_NEAR(after.y(), pointer.y(), 1e-6);
  EXPECT_EQ(mapWindow.findChild<QLabel*>("View range")->text(), "Range 50 NM");
  QTest::keyClick(&map, Qt::Key_Minus);
  QTest::keyClick(&map, Qt::Key_Minus);
  EXPECT_NEAR(map.view().pxPerNm, start.pxPerNm / 2, 1e-9);

  // The database lies between 47.1 N 1.2 W and 49.45 N 2.6 E.
  QTest::keyClick(&map, Qt::Key_Home);
  EXPECT_NEAR(map.view().centreLatDeg, (47.1 + 49.45) / 2, 1e-4);
  EXPECT_NEAR(map.view().centreLonDeg, (-1.2 + 2.6) / 2, 1e-4);
  EXPECT_FALSE(mapWindow.findChild<QLabel*>("Pointer position")->text().isEmpty());
}

// A drag moves the map with the pointer, and the last picture is shown
// moved until the new one is drawn.
TEST(MapWindow, DragPansWithThePointer) {
  WindowTest test;
  test.Open();
  MapWidget& map = *OpenMap(*test.window).map();
  ShowAround(map, 48, 2, 100);
  const QPoint from(map.width() / 2, map.height() / 2);
  const QPoint to = from + QPoint(60, -40);
  const navmap::GeoPosition grabbed = navmap::Projection(map.view()).ToGeo(from.x(), from.y());
  QTest::mousePress(&map, Qt::LeftButton, {}, from);
  QTest::mouseMove(&map, from + QPoint(30, -20));
  QTest::mouseMove(&map, to);
  QTest::mouseRelease(&map, Qt::LeftButton, {}, to);
  const QPointF now = map.pointOf(grabbed.latDeg, grabbed.lonDeg);
  EXPECT_NEAR(now.x(), to.x(), 0.5);
  EXPECT_NEAR(now.y(), to.y(), 1.5);
}

// "Export picture..." writes a PNG of the view's size or of the asked
// size; a file that cannot be written is said so and nothing is left.
TEST(MapWindow, ExportWritesAPngOfTheAskedSize) {
  WindowTest test;
  test.Open();
  MapWindow& mapWindow = OpenMap(*test.window);
  MapWidget& map = *mapWindow.map();
  ShowAround(map, kCdLatDeg, kCdLonDeg, 60);
  const std::filesystem::path file = test.sim / "paris.png";
  ExportChoiceSeam::setNextChoice(
      ExportChoice{QString::fromStdString(file.string()), QSize(320, 200)});
  mapWindow.exportPicture();
  const QImage written(QString::fromStdString(file.string()));
  ASSERT_FALSE(written.isNull());
  EXPECT_EQ(written.size(), QSize(320, 200));
  EXPECT_EQ(skat_test::ReadBytes(file).substr(0, 8), "\x89PNG\r\n\x1a\n");

  ExportChoiceSeam::setNextChoice(
      ExportChoice{QString::fromStdString(file.string()), QSize(map.width(), map.height())});
  mapWindow.exportPicture();
  EXPECT_EQ(QImage(QString::fromStdString(file.string())).size(), map.size());

  // Cancelled: nothing asked, nothing written.
  ExportChoiceSeam::setNextChoice(std::nullopt);
  mapWindow.exportPicture();
  EXPECT_TRUE(MessageBoxSeam::shown().empty());

  const std::filesystem::path nowhere = test.sim / "missing" / "map.png";
  ExportChoiceSeam::setNextChoice(
      ExportChoice{QString::fromStdString(nowhere.string()), QSize(64, 64)});
  MessageBoxSeam::setNextAnswer(navdb::MessageAnswer::Ok);
  mapWindow.exportPicture();
  ASSERT_EQ(MessageBoxSeam::shown().size(), 1u);
  EXPECT_EQ(MessageBoxSeam::shown()[0].caption, "Export picture");
  EXPECT_EQ(MessageBoxSeam::shown()[0].text.rfind(
                "The picture could not be written to " + nowhere.string() + ":\n", 0),
            0u);
  EXPECT_FALSE(std::filesystem::exists(nowhere.parent_path()));
  ExportChoiceSeam::clear();
}

// The worker draws the newest request; those it had no time for are
// dropped, the pictures come in order, and Cairo's pixels are the image's.
TEST(MapRenderer, DrawsTheNewestRequestIntoTheImage) {
  MapRenderer renderer;
  std::vector<uint64_t> serials;
  MapPicture last;
  QObject::connect(&renderer, &MapRenderer::pictureReady, [&](const MapPicture& picture) {
    serials.push_back(picture.serial);
    last = picture;
  });
  uint64_t serial = 0;
  for (int step = 0; step < 20; ++step) {
    // Mid-Atlantic, drifting east: sea at the centre.
    serial = renderer.request(
        {nullptr, nullptr, {}, navmap::ViewOfRange(0, -30 + step * 0.1, 100, 200, 100)});
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return !renderer.busy(); }, 10000));
  ASSERT_FALSE(serials.empty());
  EXPECT_TRUE(std::is_sorted(serials.begin(), serials.end()));
  EXPECT_EQ(serials.back(), serial);
  EXPECT_NEAR(last.view.centreLonDeg, -28.1, 1e-9);
  ASSERT_EQ(last.image.size(), QSize(200, 100));
  EXPECT_EQ(last.image.pixel(100, 50), 0xff000000u | navmap::kSeaColour);
}

// The box of the entries: the widest empty span of longitudes is left out,
// so islands either side of the 180th meridian make a narrow box.
TEST(MapSnapshot, BoxOfEntriesSpansTheDateLineTheShortWay) {
  const auto ndb = [](double latDeg, double lonDeg) {
    return navdb::BuildNdbLine({"NB", "NDB", "375.0", navdb::FormatLatitude(latDeg),
                                navdb::FormatLongitude(lonDeg), 0, 25});
  };
  navdb::Database db;
  EXPECT_EQ(BoxOfEntries(navmap::SpatialIndex(db)).has_value(), false);
  ASSERT_TRUE(db.List(NavaidKind::Ndb).AddLine(ndb(-17.5, 177.5)));
  ASSERT_TRUE(db.List(NavaidKind::Ndb).AddLine(ndb(-13.5, -172.5)));
  std::optional<EntryBox> box = BoxOfEntries(navmap::SpatialIndex(db));
  ASSERT_TRUE(box);
  EXPECT_NEAR(box->southDeg, -17.5, 1e-4);
  EXPECT_NEAR(box->northDeg, -13.5, 1e-4);
  EXPECT_NEAR(box->westDeg, 177.5, 1e-4);
  EXPECT_NEAR(box->eastDeg, 187.5, 1e-4);

  // London too: the Pacific is no longer the widest gap, Asia is.
  ASSERT_TRUE(db.List(NavaidKind::Ndb).AddLine(ndb(51.5, -0.5)));
  box = BoxOfEntries(navmap::SpatialIndex(db));
  ASSERT_TRUE(box);
  EXPECT_NEAR(box->westDeg, 177.5, 1e-4);
  EXPECT_NEAR(box->eastDeg, 359.5, 1e-4);
  EXPECT_NEAR(box->northDeg, 51.5, 1e-4);
}

}  // namespace

namespace skat_test {

// During a pick of the Flight Plan dialog a click on a symbol picks it as a
// double click on its line does; the double click that began with it
// opens no editor; the map draws the new route.
TEST_F(FlightPlanDialogTest, AMapClickDuringAPickAddsTheWaypoint) {
  MapWidget& map = *OpenMap(window()).map();
  clickWindow("New");
  ASSERT_TRUE(dialog().isVisible());

  click("Insert");
  ASSERT_TRUE(QTest::qWaitFor([&] { return test_.state.pick.SelectionPending(); }, 5000));
  ShowAround(map, kOrlyLatDeg, kOrlyLonDeg, 20);
  QTest::mouseClick(&map, Qt::LeftButton, {}, PointOf(map, kOrlyLatDeg, kOrlyLonDeg));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog().workerRunning(); }, 5000));
  EXPECT_EQ(route(), "APT LFPO");

  click("Insert");
  ASSERT_TRUE(QTest::qWaitFor([&] { return test_.state.pick.SelectionPending(); }, 5000));
  ShowAround(map, kPonLatDeg, kPonLonDeg, 20);
  const QPoint pon = PointOf(map, kPonLatDeg, kPonLonDeg);
  QTest::mouseClick(&map, Qt::LeftButton, {}, pon);
  QTest::mouseDClick(&map, Qt::LeftButton, {}, pon);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog().workerRunning(); }, 5000));
  EXPECT_EQ(QApplication::activeModalWidget(), &dialog());
  // The runway turns come with the second point.
  EXPECT_EQ(route(), "APT LFPO|BRD *****|ERD *****|VOR PON");
  ASSERT_NE(map.route(), nullptr);
  ASSERT_EQ(map.route()->points.size(), 4u);
  EXPECT_EQ(map.route()->points[0].identifier, "LFPO");
  EXPECT_EQ(map.route()->points[3].identifier, "PON");

  discard();
  EXPECT_EQ(map.route(), nullptr);
}

}  // namespace skat_test
