// What skat remembers between runs: the folders its file dialogs last
// used, the export format last chosen and the plans last opened or saved.
// All of it goes through QSettings under the names SetProgramNames gives the
// program, so it lands in the user's config folder ($XDG_CONFIG_HOME/
// Skyatlas/skat.conf); tests point QSettings at a folder of their own.
#pragma once

#include <QString>
#include <QStringList>

// The organisation and application names QSettings files everything under.
// No display name is set, so window titles stay exactly as the program sets them.
void SetProgramNames();

enum class FolderSetting { PlanExport, PlanImport };

// The folder last used, or an empty text when none was kept or it is gone.
QString RememberedFolder(FolderSetting which);
void RememberFolder(FolderSetting which, const QString& folder);

// The export format last written ("fgfs", "fms" or "gpx"); empty at first.
QString RememberedExportFormat();
void RememberExportFormat(const QString& name);

// The recent plans as stored, newest first.
QStringList StoredRecentPlans();
void StoreRecentPlans(const QStringList& files);
