// The main window's "Flight Plan" commands: Open, New and Import, each
// ending in the Flight Plan dialog, and the File menu's recent plans and
// export. It keeps the planner state, which outlives the dialog: a new plan
// starts from the name, performance and rotation settings of the last one.
#pragma once

#include <QObject>
#include <QString>

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
  // The plan file last opened or saved here; empty before the first.
  QString currentPlanFile() const { return currentPlanFile_; }

 signals:
  // The recent plans or the current plan file changed.
  void planFilesChanged();

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

 private:
  FlightPlanDialog& ensureDialog();
  // The folder the database lives in; its FlightPlans folder holds the plans.
  void followDatabaseFolder();
  bool openPlanFile(const QString& file);
  void notePlanFile(const QString& file);

  MainWindow& window_;
  planner::PlannerState plan_;
  std::unique_ptr<FlightPlanDialog> dialog_;
  QString currentPlanFile_;
};
