// The "Flight Plan" dialog: aircraft performance, the two runways, the
// SID/STAR generator, the waypoint rows with the route picture, the plan
// name and Save, Print, Cancel. Every change runs the leg computation; the
// rows, runway lists and fields are then shown again from the planner state.
// Insert and Replace hide the dialog while a worker waits for the user to
// pick a navaid in the main window.
#pragma once

#include <QDialog>

#include <thread>

#include "navdb/reporter.h"
#include "planner/flight_plan.h"
#include "planner/number_ranges.h"
#include "shell/skat/ui_bridge.h"

namespace shell {
struct AppState;
}
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class RoutePicture;
class UiBridge;
class WindowView;

class FlightPlanDialog : public QDialog {
  Q_OBJECT

 public:
  FlightPlanDialog(WindowView& window, UiBridge& bridge, shell::AppState& app,
                   planner::PlannerState& plan);
  ~FlightPlanDialog() override;

  // Shows the dialog for `mode`. The caller has read the plan file (mode 1)
  // or the foreign plan (modes 2 and 3), whose waypoints are then looked up
  // on a worker.
  void openPlan(planner::PlanOpenMode mode);

  // Runs the leg computation and shows the result (after the planner state
  // was changed from outside the dialog, as a script does).
  void recompute();

  // True while a worker (a pick or an import) owns the planner state.
  bool workerRunning() const { return workerRunning_; }
  // Keeps events going until the worker has ended (tests, closing).
  void waitForWorker();

 signals:
  // The worker of a pick or an import has ended and the rows are shown.
  void workerFinished();
  // The rows and fields show `plan` anew; nullptr when the dialog closed.
  void planShown(const planner::PlannerState* plan);
  // Save wrote the plan to `file`.
  void planSaved(const QString& file);

 public slots:
  // Escape: the same as Cancel.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* makePerformanceGroup();
  QWidget* makeEndGroup(const char* title, QLineEdit*& airport, QComboBox*& runway);
  QWidget* makeSidStarGroup();
  QWidget* makeWaypointGroup();
  QWidget* makeBottomRow();
  QLineEdit* makeNumberField(const char* name, const planner::WholeRange& range);
  void wire();

  // Shows the planner state in the widgets.
  void refresh();
  void readPerformanceFields();
  void onRunwayChosen(bool departure, int index);
  void onRunwayTyped(bool departure, const QString& text);
  void onRotationTextChanged();
  void onEnabledToggled(bool enabled);
  void onSelectionChanged(int row);
  void startPick(bool replace);
  void startImport(planner::PlanOpenMode mode);
  void runWorker(std::function<void()> job);
  void onWorkerEnded();
  void save();
  void print();
  void exportPlan();
  void loadPerformance();
  void savePerformance();
  void finish();
  // Cancel, Escape and the close box: true when nothing was changed since
  // the plan was shown, or the user agrees to throw the changes away.
  bool mayDiscard();
  void cancel();
  WindowView& window_;
  shell::AppState& app_;
  UiBridge& bridge_;
  // The bridge's reports with the messages shown over this dialog, the
  // window they speak for, not over the main window.
  PickingReports reports_{bridge_, {}, this};
  planner::PlannerState& plan_;
  bool refreshing_ = false;
  bool workerRunning_ = false;
  // The plan file the shown plan would be, as it was shown (for an import,
  // once its waypoints were looked up).
  std::string shownPlan_;
  bool takeShownPlanAfterWorker_ = false;
  std::jthread worker_;

  QLineEdit* aircraft_ = nullptr;
  QLineEdit* climbRate_ = nullptr;
  QLineEdit* descentRate_ = nullptr;
  QLineEdit* climbSpeed_ = nullptr;
  QLineEdit* descentSpeed_ = nullptr;
  QLineEdit* cruiseSpeed_ = nullptr;
  QLineEdit* cruiseAltitude_ = nullptr;
  QLineEdit* departureAirport_ = nullptr;
  QComboBox* departureRunway_ = nullptr;
  QLineEdit* arrivalAirport_ = nullptr;
  QComboBox* arrivalRunway_ = nullptr;
  QCheckBox* enabled_ = nullptr;
  QLineEdit* rotationDistance_ = nullptr;
  QLineEdit* rotationRadius_ = nullptr;
  QLabel* header_ = nullptr;
  QListWidget* rows_ = nullptr;
  RoutePicture* picture_ = nullptr;
  QLineEdit* planName_ = nullptr;
};
