#include "shell/skat/plan_launcher.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>

#include "planner/plan_file.h"
#include "planner/plan_import.h"
#include "shell/core/app_state.h"
#include "shell/skat/flight_plan_dialog.h"
#include "shell/skat/message_box.h"
#include "shell/skat/open_file_dialog.h"
#include "shell/skat/plan_export_dialog.h"
#include "shell/skat/qt_text.h"
#include "shell/skat/recent_plans.h"
#include "shell/skat/settings.h"
#include "shell/skat/ui_bridge.h"
#include "shell/skat/window_view.h"

PlanLauncher::PlanLauncher(WindowView& window, UiBridge& bridge, shell::AppState& state)
    : QObject(window.widget()), window_(window), bridge_(bridge), state_(state) {
  setObjectName("Plan launcher");
  auto connectButton = [&](const char* caption, void (PlanLauncher::*slot)()) {
    if (auto* button = window.widget()->findChild<QPushButton*>(caption))
      connect(button, &QPushButton::clicked, this, slot);
  };
  connectButton("Open", &PlanLauncher::openPlan);
  connectButton("New", &PlanLauncher::newPlan);
  connectButton("Import", &PlanLauncher::importPlan);
}

PlanLauncher::~PlanLauncher() = default;

FlightPlanDialog& PlanLauncher::ensureDialog() {
  if (!dialog_) {
    dialog_ = std::make_unique<FlightPlanDialog>(window_, bridge_, state_, plan_);
    connect(dialog_.get(), &FlightPlanDialog::planShown, this, &PlanLauncher::planShown);
    connect(dialog_.get(), &FlightPlanDialog::planSaved, this, &PlanLauncher::notePlanFile);
  }
  return *dialog_;
}

void PlanLauncher::raisePlanWindow() {
  if (dialog_ && dialog_->isVisible()) dialog_->raise();
}

void PlanLauncher::followDatabaseFolder() {
  plan_.navDataFolder = state_.db.folder;
}

void PlanLauncher::openPlan() {
  if (state_.planWindowOpen) return;
  followDatabaseFolder();
  const std::optional<QString> file = ChooseFileToOpen(
      window_.widget(), "Select a Flight Plan",
      QString::fromStdString(planner::PlanFolder(plan_).string()), "ND Flight Plan (*.pln)");
  if (file) openPlanFile(*file);
}

bool PlanLauncher::openPlanFile(const QString& file) {
  if (!planner::LoadFlightPlan(plan_, file.toStdString(), bridge_)) return false;
  notePlanFile(file);
  ensureDialog().openPlan(planner::PlanOpenMode::Loaded);
  return true;
}

void PlanLauncher::notePlanFile(const QString& file) {
  NoteRecentPlan(file);
  currentPlanFile_ = RecentPlans().value(0);
  emit planFilesChanged();
}

void PlanLauncher::openRecentPlan(const QString& file) {
  if (state_.planWindowOpen) return;
  followDatabaseFolder();
  if (!QFileInfo::exists(file)) {
    ShowMessageBox(window_.widget(),
                   {"Recent plans",
                    "The flight plan " + Win1252FromQString(file) +
                        " no longer exists.\n\nIt is taken off the recent plans.",
                    navdb::MessageIcon::Warning, navdb::MessageButtons::Ok, false});
    ForgetRecentPlan(file);
    emit planFilesChanged();
    return;
  }
  openPlanFile(file);
}

void PlanLauncher::clearRecentPlans() {
  ClearRecentPlans();
  emit planFilesChanged();
}

void PlanLauncher::exportCurrentPlan() {
  if (state_.planWindowOpen || currentPlanFile_.isEmpty()) return;
  // Read again as skat-cli reads it: the plan as stored, not changes the
  // dialog was cancelled on.
  planner::PlannerState stored;
  stored.navDataFolder = state_.db.folder;
  const std::filesystem::path file = currentPlanFile_.toStdString();
  if (!planner::LoadFlightPlan(stored, file, bridge_)) return;
  ExportPlanAs(window_.widget(), stored, file);
}

void PlanLauncher::newPlan() {
  if (state_.planWindowOpen) return;
  followDatabaseFolder();
  ensureDialog().openPlan(planner::PlanOpenMode::New);
}

void PlanLauncher::importPlan() {
  if (state_.planWindowOpen) return;
  followDatabaseFolder();
  QString start = RememberedFolder(FolderSetting::PlanImport);
  if (start.isEmpty()) {
    const std::string root = state_.simulatorRoot;
    start = root.empty() ? QDir::currentPath() : QString::fromStdString(root);
    if (root.find("2000") != std::string::npos) start += "/Pilots";
    if (root.find("2002") != std::string::npos) start += "/Flights";
  }
  const std::optional<QString> file =
      ChooseFileToOpen(window_.widget(), "Select a Flight Plan to import", start,
                       "FS200X Flight Plan (*.pln);;Flight Shop Flight Plan (*.fsp)");
  if (!file) return;
  RememberFolder(FolderSetting::PlanImport, QFileInfo(*file).absolutePath());
  const std::filesystem::path path = file->toStdString();
  const std::optional<planner::ForeignPlanForm> form = planner::ForeignFormOf(path);
  if (!form) return;
  if (!planner::ParseForeignPlanFile(plan_, path, *form, bridge_)) return;
  ensureDialog().openPlan(*form == planner::ForeignPlanForm::FlightShop
                              ? planner::PlanOpenMode::FlightShopImport
                              : planner::PlanOpenMode::Fs200xImport);
}
