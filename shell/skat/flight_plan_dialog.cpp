#include "shell/skat/flight_plan_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "planner/leg_computation.h"
#include "planner/performance_file.h"
#include "planner/plan_file.h"
#include "planner/plan_import.h"
#include "planner/plan_rows.h"
#include "planner/printout.h"
#include "planner/text_lines.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"
#include "shell/core/app_state.h"
#include "shell/skat/flight_plan_names.h"
#include "shell/skat/message_box.h"
#include "shell/skat/open_file_dialog.h"
#include "shell/skat/plan_export_dialog.h"
#include "shell/skat/plan_printer.h"
#include "shell/skat/qt_text.h"
#include "shell/skat/route_picture.h"
#include "shell/skat/ui_bridge.h"
#include "shell/skat/window_view.h"

namespace {

QString NumberText(int32_t value) {
  // The fields show the values unsigned, as the plan file does.
  return QString::number(static_cast<uint32_t>(value));
}

int32_t NumberOf(const QLineEdit* field) {
  return static_cast<int32_t>(platform::ReadLong(Win1252FromQString(field->text())));
}

void ShowRunway(QComboBox* combo, const planner::RunwayChoice& runway) {
  combo->clear();
  for (const std::string& entry : runway.entries) combo->addItem(QStringFromWin1252(entry));
  if (runway.selected) {
    combo->setCurrentIndex(static_cast<int>(*runway.selected));
  } else {
    combo->setCurrentIndex(-1);
    combo->setEditText(QStringFromWin1252(runway.editText));
  }
}

}  // namespace

FlightPlanDialog::FlightPlanDialog(WindowView& window, UiBridge& bridge, shell::AppState& app,
                                   planner::PlannerState& plan)
    : QDialog(nullptr), window_(window), app_(app), bridge_(bridge), plan_(plan) {
  setObjectName("Flight Plan");
  setWindowTitle("Flight Plan");
  setWindowModality(Qt::ApplicationModal);
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(makePerformanceGroup());
  top->addWidget(makeEndGroup("Departure", departureAirport_, departureRunway_));
  top->addWidget(makeEndGroup("Arrival", arrivalAirport_, arrivalRunway_));
  top->addWidget(makeSidStarGroup());
  top->addStretch(1);
  layout->addLayout(top);
  layout->addWidget(makeWaypointGroup(), 1);
  layout->addWidget(makeBottomRow());
  NameFlightPlanControls(*this);
  wire();
}

FlightPlanDialog::~FlightPlanDialog() {
  waitForWorker();
}

void FlightPlanDialog::wire() {
  auto button = [this](const char* name) { return findChild<QPushButton*>(name); };
  for (QLineEdit* field :
       {climbRate_, descentRate_, climbSpeed_, descentSpeed_, cruiseAltitude_, cruiseSpeed_}) {
    connect(field, &QLineEdit::editingFinished, this, [this] {
      if (refreshing_) return;
      readPerformanceFields();
      recompute();
    });
  }
  connect(aircraft_, &QLineEdit::textEdited, this, [this](const QString& text) {
    plan_.plan.performance.aircraftName = Win1252FromQString(text);
  });
  connect(planName_, &QLineEdit::textEdited, this,
          [this](const QString& text) { plan_.plan.planName = Win1252FromQString(text); });
  connect(rotationDistance_, &QLineEdit::textChanged, this,
          &FlightPlanDialog::onRotationTextChanged);
  connect(rotationRadius_, &QLineEdit::textChanged, this, &FlightPlanDialog::onRotationTextChanged);
  connect(enabled_, &QCheckBox::toggled, this, &FlightPlanDialog::onEnabledToggled);
  for (bool departure : {true, false}) {
    QComboBox* combo = departure ? departureRunway_ : arrivalRunway_;
    connect(combo, &QComboBox::activated, this,
            [this, departure](int index) { onRunwayChosen(departure, index); });
    connect(combo, &QComboBox::editTextChanged, this,
            [this, departure](const QString& text) { onRunwayTyped(departure, text); });
  }
  connect(rows_, &QListWidget::currentRowChanged, this, &FlightPlanDialog::onSelectionChanged);
  connect(button("Remove"), &QPushButton::clicked, this, [this] {
    planner::RemoveCommand(plan_, app_.db);
    refresh();
  });
  connect(button("Move Up"), &QPushButton::clicked, this, [this] {
    planner::MoveUpCommand(plan_, app_.db);
    refresh();
  });
  connect(button("Move Dn"), &QPushButton::clicked, this, [this] {
    planner::MoveDownCommand(plan_, app_.db);
    refresh();
  });
  connect(button("Insert"), &QPushButton::clicked, this, [this] { startPick(false); });
  connect(button("Replace"), &QPushButton::clicked, this, [this] { startPick(true); });
  connect(button("Load performance"), &QPushButton::clicked, this,
          &FlightPlanDialog::loadPerformance);
  connect(button("Save performance"), &QPushButton::clicked, this,
          &FlightPlanDialog::savePerformance);
  connect(button("Save"), &QPushButton::clicked, this, &FlightPlanDialog::save);
  connect(button("Print"), &QPushButton::clicked, this, &FlightPlanDialog::print);
  connect(button("Export..."), &QPushButton::clicked, this, &FlightPlanDialog::exportPlan);
  connect(button("Cancel"), &QPushButton::clicked, this, &FlightPlanDialog::cancel);
}

void FlightPlanDialog::openPlan(planner::PlanOpenMode mode) {
  // Loading a plan file has already shown it in the dialog's fields.
  if (mode != planner::PlanOpenMode::Loaded) planner::OpenPlanDialog(plan_, mode);
  app_.planWindowOpen = true;
  refresh();
  const bool importing = mode == planner::PlanOpenMode::FlightShopImport ||
                         mode == planner::PlanOpenMode::Fs200xImport;
  takeShownPlanAfterWorker_ = importing;
  if (!importing) shownPlan_ = planner::EncodePlanFile(plan_);
  show();
  raise();
  activateWindow();
  if (mode == planner::PlanOpenMode::FlightShopImport ||
      mode == planner::PlanOpenMode::Fs200xImport) {
    startImport(mode);
  }
}

void FlightPlanDialog::refresh() {
  refreshing_ = true;
  const planner::AircraftPerformance& p = plan_.plan.performance;
  const planner::PlanDialog& dialog = plan_.dialog;
  aircraft_->setText(QStringFromWin1252(p.aircraftName));
  climbRate_->setText(NumberText(p.climbRateFpm));
  climbSpeed_->setText(NumberText(p.climbSpeedKt));
  descentRate_->setText(NumberText(p.descentRateFpm));
  descentSpeed_->setText(NumberText(p.descentSpeedKt));
  cruiseAltitude_->setText(NumberText(p.cruiseAltitudeFt));
  cruiseSpeed_->setText(QStringFromWin1252(p.cruiseSpeed));
  departureAirport_->setText(QStringFromWin1252(dialog.departureAirportText));
  arrivalAirport_->setText(QStringFromWin1252(dialog.arrivalAirportText));
  ShowRunway(departureRunway_, dialog.departureRunway);
  ShowRunway(arrivalRunway_, dialog.arrivalRunway);
  enabled_->setChecked(dialog.sidStarEnabled);
  rotationDistance_->setEnabled(dialog.sidStarEnabled);
  rotationRadius_->setEnabled(dialog.sidStarEnabled);
  if (rotationDistance_->text() != QStringFromWin1252(dialog.rotationDistanceText))
    rotationDistance_->setText(QStringFromWin1252(dialog.rotationDistanceText));
  if (rotationRadius_->text() != QStringFromWin1252(dialog.rotationRadiusText))
    rotationRadius_->setText(QStringFromWin1252(dialog.rotationRadiusText));
  planName_->setText(QStringFromWin1252(plan_.plan.planName));
  rows_->clear();
  for (const planner::PlanRow& row : dialog.rows) {
    rows_->addItem(QStringFromWin1252(planner::FormatPlanRow(row)));
  }
  if (dialog.selectedRow && *dialog.selectedRow < dialog.rows.size()) {
    rows_->setCurrentRow(static_cast<int>(*dialog.selectedRow));
  }
  picture_->setRoute(dialog.rows, dialog.selectedRow);
  refreshing_ = false;
  emit planShown(&plan_);
}

void FlightPlanDialog::recompute() {
  planner::ComputeLegs(plan_, app_.db.List(navdb::NavaidKind::Airport));
  refresh();
}

void FlightPlanDialog::readPerformanceFields() {
  planner::AircraftPerformance& p = plan_.plan.performance;
  p.aircraftName = Win1252FromQString(aircraft_->text());
  p.climbRateFpm = NumberOf(climbRate_);
  p.climbSpeedKt = NumberOf(climbSpeed_);
  p.descentRateFpm = NumberOf(descentRate_);
  p.descentSpeedKt = NumberOf(descentSpeed_);
  p.cruiseAltitudeFt = NumberOf(cruiseAltitude_);
  p.cruiseSpeed = std::string(platform::Columns(Win1252FromQString(cruiseSpeed_->text()), 0,
                                                planner::kMaxCruiseSpeedChars));
}

void FlightPlanDialog::onRunwayChosen(bool departure, int index) {
  if (refreshing_ || index < 0) return;
  planner::RunwayChoice& runway =
      departure ? plan_.dialog.departureRunway : plan_.dialog.arrivalRunway;
  if (static_cast<size_t>(index) >= runway.entries.size()) return;
  runway.Select(static_cast<size_t>(index));
  recompute();
}

void FlightPlanDialog::onRunwayTyped(bool departure, const QString& text) {
  if (refreshing_) return;
  planner::RunwayChoice& runway =
      departure ? plan_.dialog.departureRunway : plan_.dialog.arrivalRunway;
  const std::string typed = Win1252FromQString(text);
  if (runway.selected && runway.entries[*runway.selected] == typed) return;
  runway.selected.reset();
  runway.editText = typed;
  recompute();
}

void FlightPlanDialog::onRotationTextChanged() {
  if (refreshing_) return;
  planner::PlanDialog& dialog = plan_.dialog;
  dialog.rotationDistanceText = Win1252FromQString(rotationDistance_->text());
  dialog.rotationRadiusText = Win1252FromQString(rotationRadius_->text());
  plan_.plan.rotationDistanceNm = platform::ReadDouble(dialog.rotationDistanceText);
  plan_.plan.rotationRadiusNm = platform::ReadDouble(dialog.rotationRadiusText);
  recompute();
}

void FlightPlanDialog::onEnabledToggled(bool enabled) {
  if (refreshing_) return;
  plan_.dialog.sidStarEnabled = enabled;
  recompute();
}

void FlightPlanDialog::onSelectionChanged(int row) {
  if (refreshing_) return;
  plan_.dialog.selectedRow =
      row < 0 ? std::nullopt : std::optional<size_t>(static_cast<size_t>(row));
  picture_->setRoute(plan_.dialog.rows, plan_.dialog.selectedRow);
}

void FlightPlanDialog::startPick(bool replace) {
  if (workerRunning_) return;
  hide();
  runWorker([this, replace] {
    if (replace) {
      planner::ReplaceCommand(plan_, app_.db, reports_);
    } else {
      planner::InsertCommand(plan_, app_.db, reports_);
    }
  });
}

void FlightPlanDialog::startImport(planner::PlanOpenMode mode) {
  // A Flight Shop waypoint picked by hand hides the dialog meanwhile.
  auto ui = std::make_shared<PickingReports>(
      bridge_,
      [this](bool picking) {
        if (picking) {
          hide();
        } else {
          show();
        }
      },
      this);
  // The dialog waits while the worker fills the rows it shows.
  setEnabled(false);
  runWorker([this, ui, mode] {
    if (mode == planner::PlanOpenMode::FlightShopImport) {
      planner::ImportFlightShopWaypoints(plan_, app_.db, *ui);
    } else {
      planner::ImportFs200xWaypoints(plan_, app_.db);
    }
  });
}

void FlightPlanDialog::runWorker(std::function<void()> job) {
  workerRunning_ = true;
  worker_ = std::jthread([this, job = std::move(job)] {
    job();
    QMetaObject::invokeMethod(
        this, [this] { onWorkerEnded(); }, Qt::QueuedConnection);
  });
}

void FlightPlanDialog::onWorkerEnded() {
  if (worker_.joinable()) worker_.join();
  workerRunning_ = false;
  bridge_.flush(false);
  setEnabled(true);
  refresh();
  if (std::exchange(takeShownPlanAfterWorker_, false)) shownPlan_ = planner::EncodePlanFile(plan_);
  if (app_.planWindowOpen) {
    show();
    raise();
    activateWindow();
  }
  emit workerFinished();
}

void FlightPlanDialog::waitForWorker() {
  while (workerRunning_) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
}

void FlightPlanDialog::save() {
  readPerformanceFields();
  // With no rows the leg computation has nothing to check: its last
  // warning would be asked about, and an empty file written.
  if (plan_.dialog.rows.empty()) {
    ShowMessageBox(this, {std::string(planner::kErrorCaption),
                          "The flight plan has no waypoints: there is nothing to save.",
                          navdb::MessageIcon::Error, navdb::MessageButtons::Ok, false});
    return;
  }
  if (!planner::SaveFlightPlan(plan_, reports_)) {
    refresh();  // the row of a sharp turn is selected
    return;
  }
  emit planSaved(
      QString::fromStdString(planner::PlanFilePath(plan_, plan_.plan.planName).string()));
  finish();
}

void FlightPlanDialog::print() {
  const PrintOutcome outcome =
      PrintPages(this, planner::LayoutPrintout(plan_), SuggestedPdfFile(plan_));
  if (outcome != PrintOutcome::InitFailed) return;
  navdb::ShowMessage(reports_, std::string(planner::kErrorCaption), "Print init failed.",
                     navdb::MessageIcon::Error, navdb::MessageButtons::Ok);
}

void FlightPlanDialog::exportPlan() {
  readPerformanceFields();
  ExportPlanAs(this, plan_, planner::PlanFilePath(plan_, plan_.plan.planName));
}

void FlightPlanDialog::loadPerformance() {
  const std::optional<QString> file = ChooseFileToOpen(
      this, "Select an aicraft performance file",
      QString::fromStdString(planner::PlanFolder(plan_).string()), "Aircraft performance (*.perf)");
  if (!file) return;
  if (planner::LoadPerformanceFile(plan_, file->toStdString(), reports_)) recompute();
}

void FlightPlanDialog::savePerformance() {
  readPerformanceFields();
  planner::SavePerformanceFile(plan_, reports_);
}

void FlightPlanDialog::finish() {
  app_.planWindowOpen = false;
  hide();
  emit planShown(nullptr);
  window_.widget()->showNormal();
  window_.widget()->raise();
  window_.widget()->activateWindow();
}

void FlightPlanDialog::reject() {
  // QDialog would only hide: the main window would go on believing the plan
  // window open and refuse every command, Quit included.
  cancel();
}

bool FlightPlanDialog::mayDiscard() {
  readPerformanceFields();
  if (planner::EncodePlanFile(plan_) == shownPlan_) return true;
  return ShowMessageBox(this, {"Warning", "The flight plan was changed.\n\nDiscard the changes ?",
                               navdb::MessageIcon::Warning, navdb::MessageButtons::YesNo, false}) ==
         navdb::MessageAnswer::Yes;
}

void FlightPlanDialog::cancel() {
  if (workerRunning_ || !mayDiscard()) return;
  finish();
}

void FlightPlanDialog::closeEvent(QCloseEvent* event) {
  // Cancel's way out, asked once: QDialog's own would go through reject()
  // and ask a second time.
  cancel();
  if (isVisible()) {
    event->ignore();
  } else {
    event->accept();
  }
}
