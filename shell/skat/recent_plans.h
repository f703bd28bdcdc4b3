// The plans last opened or saved, newest first, kept in the settings for the
// "Recent plans" submenu of File.
#pragma once

#include <QString>
#include <QStringList>

inline constexpr qsizetype kMaxRecentPlans = 8;

// `plans` with `file` first: its absolute path, once (an older mention of
// the same path goes), and no more than kMaxRecentPlans in all.
QStringList WithRecentPlan(const QStringList& plans, const QString& file);

// The stored list, held to the same rules (the settings file may have been
// edited by hand).
QStringList RecentPlans();
void NoteRecentPlan(const QString& file);
void ForgetRecentPlan(const QString& file);
void ClearRecentPlans();
