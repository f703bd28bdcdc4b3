// The main window's "Flight Plan" commands: Open, New and Import, each
// ending in the Flight Plan dialog, and the File menu's recent plans and
// export. It keeps the planner state, which outlives the dialog: a new plan
// starts from the name, performance and rotation settings of the last one.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

#include "planner/flight_plan.h"

namespace shell {
struct AppState;
}
class FlightPlanDialog;
class UiBridge;
class WindowView;

class PlanLauncher : public QObject {
  Q_OBJECT

 public:
  // Wires the window's "Open", "New" and "Import" buttons.
  PlanLauncher(WindowView& window, UiBridge& bridge, shell::AppState& state);
  ~PlanLauncher() override;

  planner::PlannerState& plan() { return plan_; }
  // The dialog, made at the first command.
  FlightPlanDialog* dialog() const { return dialog_.get(); }
  // The plan file last opened or saved here; empty before the first.
  QString currentPlanFile() const { return currentPlanFile_; }

 signals:
  // The recent plans or the current plan file changed.
  void planFilesChanged();
  // The dialog shows `plan` anew after a change; nullptr when it closed.
  void planShown(const planner::PlannerState* plan);

 public slots:
  void openPlan();
  void newPlan();
  void importPlan();
  // A plan of "Recent plans", opened as Open does; a file that is gone is
  // said so and taken off the list.
  void openRecentPlan(const QString& file);
  // "Save plan as / Export...": the current plan file as it is stored.
  void exportCurrentPlan();
  void clearRecentPlans();
  // The dialog, when shown, comes to the front.
  void raisePlanWindow();

 private:
  FlightPlanDialog& ensureDialog();
  // The folder the database lives in; its FlightPlans folder holds the plans.
  void followDatabaseFolder();
  bool openPlanFile(const QString& file);
  void notePlanFile(const QString& file);

  WindowView& window_;
  UiBridge& bridge_;
  shell::AppState& state_;
  planner::PlannerState plan_;
  std::unique_ptr<FlightPlanDialog> dialog_;
  QString currentPlanFile_;
};
