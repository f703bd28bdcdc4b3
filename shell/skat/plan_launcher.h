// The main window's "Flight Plan" commands: Open, New and Import, each
// ending in the Flight Plan dialog. It keeps the planner state, which
// outlives the dialog: a new plan starts from the name, performance and
// rotation settings of the last one.
#pragma once

#include <QObject>

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

 public slots:
  void openPlan();
  void newPlan();
  void importPlan();
  // The dialog, when shown, comes to the front.
  void raisePlanWindow();

 signals:
  // The dialog shows `plan` anew after a change; nullptr when it closed.
  void planShown(const planner::PlannerState* plan);

 private:
  FlightPlanDialog& ensureDialog();
  // The folder the database lives in; its FlightPlans folder holds the plans.
  void followDatabaseFolder();

  WindowView& window_;
  UiBridge& bridge_;
  shell::AppState& state_;
  planner::PlannerState plan_;
  std::unique_ptr<FlightPlanDialog> dialog_;
};
