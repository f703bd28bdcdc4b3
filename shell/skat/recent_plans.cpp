#include "shell/skat/recent_plans.h"

#include <QDir>
#include <QFileInfo>

#include "shell/skat/settings.h"

namespace {

// One spelling per file, so that "FlightPlans/../FlightPlans/A.pln" and
// "FlightPlans/A.pln" are one entry.
QString Normalized(const QString& file) {
  return QDir::cleanPath(QFileInfo(file).absoluteFilePath());
}

}  // namespace

QStringList WithRecentPlan(const QStringList& plans, const QString& file) {
  QStringList kept{Normalized(file)};
  for (const QString& plan : plans) {
    if (plan.isEmpty()) continue;
    const QString normalized = Normalized(plan);
    if (!kept.contains(normalized)) kept.append(normalized);
  }
  if (kept.size() > kMaxRecentPlans) kept.resize(kMaxRecentPlans);
  return kept;
}

QStringList RecentPlans() {
  QStringList plans;
  const QStringList stored = StoredRecentPlans();
  // Oldest first, so that each one read goes before those already kept.
  for (auto plan = stored.crbegin(); plan != stored.crend(); ++plan) {
    if (!plan->isEmpty()) plans = WithRecentPlan(plans, *plan);
  }
  return plans;
}

void NoteRecentPlan(const QString& file) {
  StoreRecentPlans(WithRecentPlan(RecentPlans(), file));
}

void ForgetRecentPlan(const QString& file) {
  QStringList plans = RecentPlans();
  plans.removeAll(Normalized(file));
  StoreRecentPlans(plans);
}

void ClearRecentPlans() {
  StoreRecentPlans({});
}
