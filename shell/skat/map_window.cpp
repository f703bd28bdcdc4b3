#include "shell/skat/map_window.h"

#include <QAction>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolTip>

#include "map/route_adapter.h"
#include "navdb/coordinates.h"
#include "shell/core/app_state.h"
#include "shell/skat/entry_list_model.h"
#include "shell/skat/main_window.h"
#include "shell/skat/map_export.h"
#include "shell/skat/message_box.h"
#include "shell/skat/qt_text.h"

namespace {

constexpr int kDefaultWidthPx = 900;
constexpr int kDefaultHeightPx = 640;

QAction* MakeAction(QWidget* owner, const QString& text, const QString& description,
                    const QList<QKeySequence>& keys) {
  auto* action = new QAction(text, owner);
  action->setObjectName(QString(text).remove("..."));
  action->setToolTip(description);
  action->setStatusTip(description);
  action->setShortcuts(keys);
  owner->addAction(action);
  return action;
}

}  // namespace

MapWindow::MapWindow(MainWindow& mainWindow)
    : QMainWindow(&mainWindow, Qt::Window), mainWindow_(mainWindow), map_(new MapWidget(this)) {
  setObjectName("Map window");
  setWindowTitle("Map");
  setAccessibleName("Map");
  setAccessibleDescription("The database and the plan on a map");
  setCentralWidget(map_);
  makeMenus();
  makeStatusBar();
  resize(kDefaultWidthPx, kDefaultHeightPx);

  connect(&mainWindow_, &MainWindow::listsChanged, this, [this] {
    snapshotStale_ = true;
    if (isVisible()) takeSnapshot();
  });
  connect(&mainWindow_, &MainWindow::entrySelected, this, &MapWindow::onEntrySelected);
  connect(&mainWindow_, &MainWindow::planShown, this, &MapWindow::onPlanShown);
  connect(map_, &MapWidget::entryClicked, this, &MapWindow::onEntryClicked);
  connect(map_, &MapWidget::entryDoubleClicked, this, &MapWindow::onEntryDoubleClicked);
  connect(map_, &MapWidget::pointerMoved, this, &MapWindow::showPointer);
  connect(map_, &MapWidget::viewChanged, this, &MapWindow::showRange);
  connect(map_, &MapWidget::homeRequested, this, &MapWindow::showAll);
  onPlanShown(mainWindow_.shownPlan());
}

void MapWindow::makeMenus() {
  QAction* exportAction = MakeAction(this, "Export picture...", "Writes the map as a PNG picture",
                                     {QKeySequence(Qt::CTRL | Qt::Key_S)});
  QAction* close =
      MakeAction(this, "Close", "Closes the map", {QKeySequence(Qt::CTRL | Qt::Key_W)});
  QAction* zoomIn = MakeAction(this, "Zoom in", "Shows the map closer (+ or the wheel)",
                               {Qt::Key_Plus, Qt::Key_Equal});
  QAction* zoomOut =
      MakeAction(this, "Zoom out", "Shows more of the map (- or the wheel)", {Qt::Key_Minus});
  QAction* all =
      MakeAction(this, "Show all", "Shows the whole plan, or the whole database", {Qt::Key_Home});
  connect(exportAction, &QAction::triggered, this, &MapWindow::exportPicture);
  connect(close, &QAction::triggered, this, &QWidget::close);
  connect(zoomIn, &QAction::triggered, map_, [this] { map_->zoomBy(2); });
  connect(zoomOut, &QAction::triggered, map_, [this] { map_->zoomBy(0.5); });
  connect(all, &QAction::triggered, this, &MapWindow::showAll);

  QMenu* file = menuBar()->addMenu("&File");
  file->setAccessibleName("File");
  file->addAction(exportAction);
  file->addSeparator();
  file->addAction(close);
  QMenu* view = menuBar()->addMenu("&View");
  view->setAccessibleName("View");
  for (QAction* action : {zoomIn, zoomOut, all}) view->addAction(action);

  QToolBar* tools = addToolBar("Map tools");
  tools->setObjectName("Map tools");
  tools->setAccessibleName("Map tools");
  tools->setMovable(false);
  for (QAction* action : {zoomIn, zoomOut, all}) tools->addAction(action);
  tools->addSeparator();
  tools->addAction(exportAction);
  for (QAction* action : {zoomIn, zoomOut, all, exportAction}) {
    QWidget* button = tools->widgetForAction(action);
    button->setObjectName(action->objectName());
    button->setAccessibleName(action->text().remove("..."));
    button->setAccessibleDescription(action->toolTip());
  }
}

void MapWindow::makeStatusBar() {
  pointerText_ = new QLabel(this);
  pointerText_->setObjectName("Pointer position");
  pointerText_->setAccessibleName("Pointer position");
  pointerText_->setAccessibleDescription("Latitude and longitude under the pointer");
  pointerText_->setMinimumWidth(
      pointerText_->fontMetrics().horizontalAdvance("N00\u00B000'00.00  W000\u00B000'00.00") + 16);
  rangeText_ = new QLabel(this);
  rangeText_->setObjectName("View range");
  rangeText_->setAccessibleName("View range");
  rangeText_->setAccessibleDescription("Nautical miles from the centre to the nearer edge");
  statusBar()->addWidget(pointerText_);
  statusBar()->addPermanentWidget(rangeText_);
  showRange();
}

void MapWindow::showAndRaise() {
  show();
  raise();
  activateWindow();
}

void MapWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (snapshotStale_) takeSnapshot();
  if (!std::exchange(shownOnce_, true)) showAll();
}

void MapWindow::takeSnapshot() {
  // A worker is changing the lists: the map keeps the copy it has until
  // the lists are shown again.
  for (navdb::NavaidKind kind : navdb::kAllKinds) {
    if (mainWindow_.model(kind)->busy()) return;
  }
  snapshotStale_ = false;
  // Rows may have moved: the ring goes to the line now selected, if any.
  const navdb::NavaidKind kind = mainWindow_.currentKind();
  const int row = mainWindow_.currentEntryRow(kind);
  map_->setHighlight(row < 0 ? std::nullopt
                             : std::optional(navmap::EntryRef{kind, static_cast<uint32_t>(row)}));
  map_->setSnapshot(std::make_shared<const MapSnapshot>(mainWindow_.state().db));
}

void MapWindow::showAll() {
  const std::optional<navmap::RouteBox> route =
      map_->route() ? navmap::BoxOf(*map_->route()) : std::nullopt;
  if (route) {
    map_->showBox(route->southDeg, route->westDeg, route->northDeg, route->eastDeg);
    return;
  }
  // The box is known once the worker has indexed the lists.
  std::optional<EntryBox> entries;
  if (map_->snapshot()) {
    map_->snapshot()->index();
    entries = map_->snapshot()->box();
  }
  if (entries) {
    map_->showBox(entries->southDeg, entries->westDeg, entries->northDeg, entries->eastDeg);
  } else {
    map_->showWorld();
  }
}

void MapWindow::onEntrySelected(navdb::NavaidKind kind, int row) {
  if (selectingLine_ || row < 0 || mainWindow_.model(kind)->busy()) return;
  const navmap::EntryRef entry{kind, static_cast<uint32_t>(row)};
  const navdb::EntryList& list = mainWindow_.state().db.List(kind);
  if (static_cast<size_t>(row) >= list.Count()) return;
  map_->setHighlight(entry);
  if (const auto position = navmap::PositionOfEntry(mainWindow_.state().db, entry)) {
    map_->centreOn(position->latDeg, position->lonDeg);
  }
}

void MapWindow::onPlanShown(const planner::PlannerState* plan) {
  std::shared_ptr<const navmap::MapRoute> route;
  if (plan != nullptr) {
    platform::Result<navmap::MapRoute> made = navmap::RouteOfPlan(*plan);
    if (made) route = std::make_shared<const navmap::MapRoute>(std::move(made).value());
  }
  map_->setRoute(std::move(route));
}

void MapWindow::selectLine(const navmap::EntryRef& entry) {
  selectingLine_ = true;
  mainWindow_.showKindTab(entry.kind);
  mainWindow_.selectRow(entry.kind, static_cast<int>(entry.row));
  selectingLine_ = false;
  map_->setHighlight(entry);
}

void MapWindow::onEntryClicked(const navmap::EntryRef& entry, const QPoint& globalPos) {
  pickedByClick_ = false;
  if (mainWindow_.model(entry.kind)->busy()) return;
  if (mainWindow_.state().pick.SelectionPending()) {
    // As a double click on the line: the Flight Plan dialog takes it.
    selectLine(entry);
    pickedByClick_ = true;
    mainWindow_.activateRow(entry.kind, static_cast<int>(entry.row));
    return;
  }
  selectLine(entry);
  const navdb::EntryList& list = map_->snapshot()->database().List(entry.kind);
  if (entry.row >= list.Count()) return;
  lastTooltip_ = QStringFromWin1252(list.GetLine(entry.row));
  QToolTip::showText(globalPos, "<pre>" + lastTooltip_.toHtmlEscaped() + "</pre>", map_);
}

void MapWindow::onEntryDoubleClicked(const navmap::EntryRef& entry) {
  // The first click of this double click already picked the waypoint.
  if (std::exchange(pickedByClick_, false)) return;
  if (mainWindow_.model(entry.kind)->busy()) return;
  selectLine(entry);
  mainWindow_.activateRow(entry.kind, static_cast<int>(entry.row));
}

void MapWindow::showPointer(std::optional<navmap::GeoPosition> position) {
  if (!position) {
    pointerText_->clear();
    return;
  }
  pointerText_->setText(QStringFromWin1252(navdb::FormatLatitude(position->latDeg) + "  " +
                                           navdb::FormatLongitude(position->lonDeg)));
}

void MapWindow::showRange() {
  const double rangeNm = navmap::RangeNm(map_->view());
  rangeText_->setText(QString("Range %1 NM")
                          .arg(rangeNm < 10 ? QString::number(rangeNm, 'f', 1)
                                            : QString::number(std::lround(rangeNm))));
}

void MapWindow::exportPicture() {
  const QSize viewSize(map_->view().widthPx, map_->view().heightPx);
  const std::optional<ExportChoice> choice = AskExportChoice(this, viewSize);
  if (!choice) return;
  const MapRequest request{map_->snapshot(), map_->route(), map_->highlight(),
                           ViewAtSize(map_->view(), choice->size)};
  if (const platform::Status written = WriteMapPicture(request, choice->file); !written) {
    ShowMessageBox(this, {"Export picture",
                          "The picture could not be written to " +
                              Win1252FromQString(choice->file) + ":\n" + written.error().message,
                          navdb::MessageIcon::Error, navdb::MessageButtons::Ok, false});
  }
}
