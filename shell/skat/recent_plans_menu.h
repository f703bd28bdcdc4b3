// The File menu's entries for plan files beside Open, New and Import:
// "Save plan as / Export..." for the plan last opened or saved, and the
// "Recent plans" submenu (numbered entries with the file name, the full path
// in the status tip, and "Clear recent plans").
#pragma once

#include <QMenu>

class PlanLauncher;
class QAbstractButton;

class RecentPlansMenu : public QMenu {
  Q_OBJECT

 public:
  RecentPlansMenu(PlanLauncher& launcher, QWidget* parent);

  // Lists the stored plans again (another window may have changed them).
  void refresh();

 private:
  PlanLauncher& launcher_;
};

// Adds both to `fileMenu`. They are off while `openButton` is, as "Open
// plan..." is; the export also while no plan was opened or saved.
void AddPlanFileEntries(QMenu* fileMenu, PlanLauncher& launcher, QAbstractButton* openButton);
