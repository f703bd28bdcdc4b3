#include "shell/skat/plan_export_dialog.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <cstring>
#include <string>
#include <system_error>

#include "planner/plan_export.h"
#include "platform/text_columns.h"
#include "shell/skat/message_box.h"
#include "shell/skat/qt_text.h"
#include "shell/skat/save_file_dialog.h"
#include "shell/skat/settings.h"

namespace {

struct ExportFilter {
  planner::ExportFormat format;
  const char* name;  // as skat-cli's --format names it, and as the settings keep it
  const char* filter;
};

constexpr std::array<ExportFilter, 3> kFilters{{
    {planner::ExportFormat::FlightGear, "fgfs", "FlightGear route (*.xml)"},
    {planner::ExportFormat::XPlaneFms, "fms", "X-Plane 11 flight plan (*.fms)"},
    {planner::ExportFormat::Gpx, "gpx", "GPX 1.1 route (*.gpx)"},
}};

constexpr const char* kTitle = "Save plan as / Export";
constexpr const char* kCaption = "Export plan";

void Tell(QWidget* parent, const std::string& text) {
  ShowMessageBox(parent,
                 {kCaption, text, navdb::MessageIcon::Error, navdb::MessageButtons::Ok, false});
}

int RememberedFilter() {
  const QString name = RememberedExportFormat();
  for (size_t i = 0; i < kFilters.size(); ++i) {
    if (name == QLatin1String(kFilters[i].name)) return static_cast<int>(i);
  }
  return 0;
}

QString SuggestedFile(const planner::PlannerState& plan, int filter) {
  QString folder = RememberedFolder(FolderSetting::PlanExport);
  if (folder.isEmpty()) folder = QString::fromStdString(planner::PlanFolder(plan).string());
  const QString name = QStringFromWin1252(platform::Trim(plan.plan.planName));
  if (name.isEmpty()) return folder + QLatin1Char('/');
  return folder + QLatin1Char('/') + name + QLatin1Char('.') +
         SuffixOfFilter(QLatin1String(kFilters[static_cast<size_t>(filter)].filter));
}

// The file as the user typed it, with the format's suffix when it has none.
QString WithSuffix(QString file, const ExportFilter& format) {
  if (!QFileInfo(file).suffix().isEmpty()) return file;
  if (file.endsWith(QLatin1Char('.'))) file.chop(1);
  return file + QLatin1Char('.') + SuffixOfFilter(QLatin1String(format.filter));
}

// The dialog asked about the name as typed; the suffix made it another file.
bool MayReplace(QWidget* parent, const QString& file) {
  if (!QFileInfo::exists(file)) return true;
  return ShowMessageBox(
             parent,
             {kCaption, "The file " + Win1252FromQString(file) + " already exists.\n\nOverwrite ?",
              navdb::MessageIcon::Warning, navdb::MessageButtons::YesNo, false}) ==
         navdb::MessageAnswer::Yes;
}

std::string ReasonOf(const platform::Error& error) {
  return error.errorNumber != 0 ? std::strerror(error.errorNumber) : error.message;
}

}  // namespace

QStringList PlanExportFilters() {
  QStringList filters;
  for (const ExportFilter& entry : kFilters) filters << QLatin1String(entry.filter);
  return filters;
}

PlanExportOutcome ExportPlanAs(QWidget* parent, const planner::PlannerState& plan,
                               const std::filesystem::path& planFile) {
  if (const platform::Result<planner::ExportRoute> route = planner::BuildExportRoute(plan);
      !route) {
    Tell(parent, "The flight plan cannot be exported: " + route.error().message + ".");
    return PlanExportOutcome::Refused;
  }
  const int remembered = RememberedFilter();
  std::optional<SaveFileChoice> choice = ChooseFileToSave(
      parent, kTitle, SuggestedFile(plan, remembered), PlanExportFilters(), remembered);
  if (!choice) return PlanExportOutcome::Cancelled;
  // A dialog that tells no filter leaves the one it was opened with.
  const int filter = choice->filter >= 0 && choice->filter < static_cast<int>(kFilters.size())
                         ? choice->filter
                         : remembered;
  const ExportFilter& format = kFilters[static_cast<size_t>(filter)];
  const QString file = WithSuffix(choice->file, format);
  if (file != choice->file && !MayReplace(parent, file)) return PlanExportOutcome::Cancelled;
  const std::filesystem::path target = QFile::encodeName(file).toStdString();
  // The export would replace the only copy of the route with a file the
  // Flight Plan dialog cannot open.
  std::error_code error;
  if (!planFile.empty() && std::filesystem::equivalent(target, planFile, error)) {
    Tell(parent, "The flight plan cannot be exported to " + Win1252FromQString(file) +
                     ": that file is the plan itself.");
    return PlanExportOutcome::Refused;
  }
  if (const platform::Status written = planner::ExportPlanFile(plan, format.format, target);
      !written) {
    Tell(parent, "The flight plan could not be written to " + Win1252FromQString(file) + ":\n" +
                     ReasonOf(written.error()));
    return PlanExportOutcome::Failed;
  }
  RememberFolder(FolderSetting::PlanExport, QFileInfo(file).absolutePath());
  RememberExportFormat(QLatin1String(format.name));
  return PlanExportOutcome::Exported;
}
