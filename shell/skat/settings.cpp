#include "shell/skat/settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace {

constexpr const char* kExportFolderKey = "folders/planExport";
constexpr const char* kImportFolderKey = "folders/planImport";
constexpr const char* kExportFormatKey = "plans/exportFormat";
constexpr const char* kRecentPlansKey = "plans/recent";

const char* KeyOf(FolderSetting which) {
  return which == FolderSetting::PlanExport ? kExportFolderKey : kImportFolderKey;
}

// The settings are written when the object goes; a failure there costs the
// user a remembered folder, never a file, so it is only logged.
void Store(const char* key, const QVariant& value) {
  QSettings settings;
  settings.setValue(key, value);
  settings.sync();
  if (settings.status() != QSettings::NoError) {
    qWarning("skat: the settings could not be written to %s", qPrintable(settings.fileName()));
  }
}

}  // namespace

void SetProgramNames() {
  // The file's name carries no version, so an update keeps what was kept.
  QCoreApplication::setOrganizationName(QStringLiteral("Skyatlas"));
  QCoreApplication::setApplicationName(QStringLiteral("skat"));
  // No display name: the window system would add it to every window's
  // title ("NDB entry edition — ..."), and the captions are the program's own.
}

QString RememberedFolder(FolderSetting which) {
  const QString folder = QSettings().value(KeyOf(which)).toString();
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) return {};
  return folder;
}

void RememberFolder(FolderSetting which, const QString& folder) {
  Store(KeyOf(which), folder);
}

QString RememberedExportFormat() {
  return QSettings().value(kExportFormatKey).toString();
}

void RememberExportFormat(const QString& name) {
  Store(kExportFormatKey, name);
}

QStringList StoredRecentPlans() {
  return QSettings().value(kRecentPlansKey).toStringList();
}

void StoreRecentPlans(const QStringList& files) {
  Store(kRecentPlansKey, files);
}
