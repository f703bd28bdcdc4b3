// The main window's "Flight Plan" commands: Open, New and Import, each
// ending in the Flight Plan dialog. It keeps the planner state, which
// outlives the dialog: a new plan starts from the name, performance and
// rotation settings of the last one.
#pragma once

#include <QObject>

#include <memory>

#include "planner/flight_plan.h"

class FlightPlanDialog;
class MainWindow;

class PlanLauncher : public QObject {
  Q_OBJECT

 public:
  // Wires the window's "Open", "New" and "Import" buttons.
  explicit PlanLauncher(MainWindow& window);
  ~PlanLauncher() override;

  planner::PlannerState& plan() { return plan_; }
  // The dialog, made at the first command.
  FlightPlanDialog* dialog() const { return dialog_.get(); }

 public slots:
  void openPlan();
  void newPlan();
  void importPlan();

 private:
  FlightPlanDialog& ensureDialog();
  // The folder the database lives in; its FlightPlans folder holds the plans.
  void followDatabaseFolder();

  MainWindow& window_;
  planner::PlannerState plan_;
  std::unique_ptr<FlightPlanDialog> dialog_;
};
