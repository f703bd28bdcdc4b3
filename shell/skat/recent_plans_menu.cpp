#include "shell/skat/recent_plans_menu.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileInfo>

#include "shell/skat/plan_launcher.h"
#include "shell/skat/recent_plans.h"

RecentPlansMenu::RecentPlansMenu(PlanLauncher& launcher, QWidget* parent)
    : QMenu("&Recent plans", parent), launcher_(launcher) {
  setObjectName("Recent plans");
  menuAction()->setObjectName("Recent plans");
  connect(this, &QMenu::aboutToShow, this, &RecentPlansMenu::refresh);
  connect(&launcher_, &PlanLauncher::planFilesChanged, this, &RecentPlansMenu::refresh);
  refresh();
}

void RecentPlansMenu::refresh() {
  // An entry may be the one whose click made this change: it goes once its
  // signal has returned.
  for (QAction* old : actions()) {
    removeAction(old);
    if (old->parent() != this) continue;
    old->setParent(nullptr);  // no longer found among the menu's entries
    old->deleteLater();
  }
  const QStringList plans = RecentPlans();
  for (qsizetype i = 0; i < plans.size(); ++i) {
    const QString& file = plans[i];
    QAction* entry = addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(file).fileName()));
    entry->setObjectName(QStringLiteral("Recent plan %1").arg(i + 1));
    entry->setStatusTip(file);
    entry->setToolTip(file);
    connect(entry, &QAction::triggered, &launcher_,
            [this, file] { launcher_.openRecentPlan(file); });
  }
  addSeparator();
  QAction* clearList = addAction("&Clear recent plans");
  clearList->setObjectName("Clear recent plans");
  clearList->setEnabled(!plans.isEmpty());
  connect(clearList, &QAction::triggered, &launcher_, &PlanLauncher::clearRecentPlans);
}

void AddPlanFileEntries(QMenu* fileMenu, PlanLauncher& launcher, QAbstractButton* openButton) {
  fileMenu->addSeparator();
  QAction* exportPlan = fileMenu->addAction("&Save plan as / Export...");
  exportPlan->setObjectName("Save plan as / Export");
  exportPlan->setStatusTip(
      "Writes the plan last opened or saved as a FlightGear route, an X-Plane 11 flight plan or "
      "a GPX route");
  QObject::connect(exportPlan, &QAction::triggered, &launcher, &PlanLauncher::exportCurrentPlan);
  fileMenu->addSeparator();
  auto* recent = new RecentPlansMenu(launcher, fileMenu);
  fileMenu->addMenu(recent);
  // The entries are reached only through the open menu: their state is set
  // as it opens.
  auto follow = [&launcher, openButton, exportPlan, recent] {
    exportPlan->setEnabled(openButton->isEnabled() && !launcher.currentPlanFile().isEmpty());
    recent->menuAction()->setEnabled(openButton->isEnabled());
  };
  QObject::connect(fileMenu, &QMenu::aboutToShow, exportPlan, follow);
  QObject::connect(&launcher, &PlanLauncher::planFilesChanged, exportPlan, follow);
  follow();
}
