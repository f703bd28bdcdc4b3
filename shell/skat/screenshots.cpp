#include "shell/skat/screenshots.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

#include "planner/plan_rows.h"
#include "shell/core/app_state.h"
#include "shell/skat/about_box.h"
#include "shell/skat/duplicate_dialog.h"
#include "shell/skat/entry_editor_dialog.h"
#include "shell/skat/entry_editors.h"
#include "shell/skat/flight_plan_dialog.h"
#include "shell/skat/help_window.h"
#include "shell/skat/index_window.h"
#include "shell/skat/loading_window.h"
#include "shell/skat/main_window.h"
#include "shell/skat/map_window.h"
#include "shell/skat/menu_bar.h"
#include "shell/skat/plan_launcher.h"
#include "shell/skat/plan_printer.h"

namespace {

bool Save(QWidget& widget, const QDir& folder, const QString& name) {
  widget.show();
  QApplication::processEvents();
  return widget.grab().save(folder.filePath(name + ".png"));
}

// The dialog as a scan raises it, over two versions of one runway line.
bool SaveDuplicateDialog(MainWindow& window, const QDir& folder) {
  const navdb::EntryList& airports = window.state().db.List(navdb::NavaidKind::Airport);
  if (airports.Count() < 2) return true;
  scanner::DuplicateRequest request;
  request.kind = navdb::NavaidKind::Airport;
  request.row = 0;
  request.existingLine = std::string(airports.GetLine(0));
  request.newLine = request.existingLine;
  // The new version's runway is a little longer.
  if (request.newLine.size() > 90) request.newLine.replace(87, 5, "03150");
  DuplicateDialog dialog(&window, request, window.listFont());
  dialog.placeOnOwner(window);
  return Save(dialog, folder, "duplicate");
}

// Each kind's editor on the fourth line of its list, as a double click
// opens it.
bool SaveEditors(MainWindow& window, const QDir& folder) {
  const char* names[] = {"editor-ndb", "editor-vor", "editor-airport", "editor-intersection"};
  bool saved = true;
  for (navdb::NavaidKind kind : navdb::kAllKinds) {
    const size_t rows = window.state().db.List(kind).Count();
    const std::optional<size_t> row =
        rows > 3 ? std::optional<size_t>(3) : std::optional<size_t>(0);
    std::unique_ptr<EntryEditorDialog> editor = MakeEntryEditor(window, window.state(), kind, row);
    saved &= Save(*editor, folder, names[navdb::IndexOf(kind)]);
  }
  return saved;
}

std::optional<planner::WaypointPick> FirstLine(const navdb::Database& db, navdb::NavaidKind kind,
                                               std::string_view identifier) {
  const std::optional<size_t> row = db.List(kind).FindPrefix(identifier);
  if (!row) return std::nullopt;
  return planner::WaypointPick{kind, *row};
}

// The Flight Plan dialog over Orly 02 to Beauvais 04 by Pontoise, with the
// generated turns, and the first page of its printout.
bool SaveFlightPlanPictures(MainWindow& window, const QDir& folder) {
  auto* launcher = window.findChild<PlanLauncher*>("Plan launcher");
  const navdb::Database& db = window.state().db;
  const auto orly = FirstLine(db, navdb::NavaidKind::Airport, "LFPO");
  const auto beauvais = FirstLine(db, navdb::NavaidKind::Airport, "LFOB");
  const auto pontoise = FirstLine(db, navdb::NavaidKind::Vor, "PON ");
  if (!launcher || !orly || !beauvais || !pontoise) return true;  // not the demo database
  launcher->newPlan();
  planner::PlannerState& plan = launcher->plan();
  plan.plan.planName = "ORLY-BEAUVAIS";
  plan.plan.performance = {"B737", 2500, 250, 2000, 260, 6000, "280"};
  plan.dialog.departureRunway.editText = "02";
  plan.dialog.arrivalRunway.editText = "04";
  planner::PlaceWaypoint(plan, db, -1, *orly);
  planner::PlaceWaypoint(plan, db, -1, *beauvais);
  planner::InsertBeforeArrival(plan, db, *pontoise);
  plan.dialog.selectedRow = 0;
  for (size_t row = 0; row < plan.dialog.rows.size(); ++row) {
    const planner::PlanRow& waypoint = plan.dialog.rows[row];
    if (waypoint.kind == planner::PlanRowKind::Vor && waypoint.identifier == "PON") {
      plan.dialog.selectedRow = row;
      break;
    }
  }
  FlightPlanDialog& dialog = *launcher->dialog();
  dialog.recompute();
  dialog.resize(dialog.sizeHint());
  bool saved = Save(dialog, folder, "flight-plan");

  // A printed page at 100 dots per inch, as the printer draws it.
  QImage page(827, 1169, QImage::Format_RGB32);
  page.setDotsPerMeterX(3937);
  page.setDotsPerMeterY(3937);
  page.fill(Qt::white);
  QPainter painter(&page);
  PaintPrintPage(painter, planner::LayoutPrintout(plan).front());
  painter.end();
  saved &= page.save(folder.filePath("printed-page.png"));
  dialog.hide();
  window.state().planWindowOpen = false;
  return saved;
}

// The map window once its worker has drawn the view.
bool SaveMap(MapWindow& map, const QDir& folder, const QString& name) {
  map.show();
  QApplication::processEvents();
  while (map.map()->drawing()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  QApplication::processEvents();
  return map.grab().save(folder.filePath(name + ".png"));
}

// The map 40 NM round Pontoise, selected in its list.
bool SaveMapPictures(MainWindow& window, const QDir& folder) {
  window.showMapWindow();
  MapWindow& map = *window.mapWindow();
  map.resize(1000, 700);
  map.showAll();
  const std::optional<size_t> pontoise =
      window.state().db.List(navdb::NavaidKind::Vor).FindPrefix("PON ");
  if (!pontoise) return true;  // not the demo database
  window.showKindTab(navdb::NavaidKind::Vor);
  window.selectRow(navdb::NavaidKind::Vor, static_cast<int>(*pontoise));
  map.map()->setRangeNm(40);
  return SaveMap(map, folder, "map-paris");
}

// The main window with the bar's menu number `menuIndex` open under the
// bar. A grab of the window leaves out the menu, a window of its own: it is
// drawn in where it stands.
bool SaveMenuPicture(MainWindow& window, const QDir& folder, int menuIndex, const char* name) {
  auto* bar = window.findChild<MainMenuBar*>();
  if (!bar || menuIndex >= bar->actions().size()) return false;
  window.show();
  QApplication::processEvents();
  QAction* title = bar->actions().at(menuIndex);
  QMenu* menu = title->menu();
  menu->popup(bar->mapToGlobal(bar->actionGeometry(title).bottomLeft()));
  QApplication::processEvents();
  QPixmap picture = window.grab();
  {
    QPainter painter(&picture);
    painter.drawPixmap(window.mapFromGlobal(menu->mapToGlobal(QPoint(0, 0))), menu->grab());
  }
  menu->hide();
  return picture.save(folder.filePath(QString::fromLatin1(name) + ".png"));
}

}  // namespace

bool SaveScreenshots(MainWindow& window, const QString& folder) {
  QDir dir(folder);
  if (!dir.mkpath(".")) return false;
  bool saved = true;
  const char* names[] = {"main-ndbs", "main-vors", "main-airports", "main-intersections"};
  for (navdb::NavaidKind kind : navdb::kAllKinds) {
    window.showKindTab(kind);
    window.selectRow(kind, 3);
    saved &= Save(window, dir, names[navdb::IndexOf(kind)]);
  }
  saved &= SaveMenuPicture(window, dir, 0, "main-menu-file");
  saved &= SaveMenuPicture(window, dir, 1, "main-menu-edit");
  saved &= SaveMenuPicture(window, dir, 2, "main-menu");
  window.showIndexWindow(true);
  saved &= Save(window.indexWindow(), dir, "index");
  window.showIndexWindow(false);
  saved &= SaveDuplicateDialog(window, dir);
  saved &= SaveEditors(window, dir);
  AboutBox about(&window);
  about.centreOnOwner();
  saved &= Save(about, dir, "about");
  HelpWindow help(&window);
  help.showContents();
  saved &= Save(help, dir, "help");
  saved &= SaveMapPictures(window, dir);
  saved &= SaveFlightPlanPictures(window, dir);
  // The plan stays on the map after its dialog was put away.
  if (MapWindow* map = window.mapWindow()) {
    map->showAll();
    saved &= SaveMap(*map, dir, "map-plan");
    map->hide();
  }
  LoadingWindow loading;
  loading.setProgress(60);
  saved &= Save(loading, dir, "loading");
  return saved;
}
