// The "Map" window: the database and the plan's route on a map beside the
// lists. It follows the main window: a line selected there is centred and
// ringed here, a changed list is drawn anew, the Flight Plan dialog's plan
// is drawn as it changes. A click on a symbol selects its line, a double
// click opens its editor, and during a waypoint pick a click picks it.
// Modeless, owned by the main window.
#pragma once

#include <QMainWindow>

#include <memory>
#include <optional>

#include "map/map_route.h"
#include "navdb/navaid_kind.h"
#include "shell/skat/map_widget.h"

namespace planner {
struct PlannerState;
}
class MainWindow;
class QAction;
class QLabel;

class MapWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MapWindow(MainWindow& mainWindow);

  MapWidget* map() const { return map_; }
  // Shows and raises the window, with the lists as they are now.
  void showAndRaise();
  // Home: the whole plan when one is open, else the whole database.
  void showAll();
  // "Export picture...": asks for a size and a file, then writes the PNG.
  void exportPicture();
  // The text the last click on a symbol showed as its tooltip.
  QString lastTooltip() const { return lastTooltip_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void makeMenus();
  void makeStatusBar();
  void takeSnapshot();
  void onEntrySelected(navdb::NavaidKind kind, int row);
  void onPlanShown(const planner::PlannerState* plan);
  void onEntryClicked(const navmap::EntryRef& entry, const QPoint& globalPos);
  void onEntryDoubleClicked(const navmap::EntryRef& entry);
  void showPointer(std::optional<navmap::GeoPosition> position);
  void showRange();
  // Selects the entry's line in the main window without the map following.
  void selectLine(const navmap::EntryRef& entry);

  MainWindow& mainWindow_;
  MapWidget* map_;
  QLabel* pointerText_ = nullptr;
  QLabel* rangeText_ = nullptr;
  QString lastTooltip_;
  bool snapshotStale_ = true;   // the lists changed while the window was hidden
  bool selectingLine_ = false;  // the map itself selects a line
  bool pickedByClick_ = false;  // the click before a double click picked
  bool shownOnce_ = false;
};
