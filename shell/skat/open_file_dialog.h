// The file-open dialogs of the flight planner (plans, imports, performance
// files), with a seam so that tests and scripted runs preset the chosen
// file instead of running a modal dialog.
#pragma once

#include <QString>

#include <optional>

class QWidget;

// The chosen file, or nothing when the user cancelled. `filters` holds
// Qt name filters separated by ";;", e.g. "ND Flight Plan (*.pln)".
std::optional<QString> ChooseFileToOpen(QWidget* parent, const QString& title,
                                        const QString& startFolder, const QString& filters);

class OpenFileDialogSeam {
 public:
  // The next ChooseFileToOpen returns `file` (an empty text: cancelled)
  // without showing a dialog.
  static void setNextFile(const QString& file);
  static void clear();
  // What the last choice asked for.
  static QString lastTitle();
  static QString lastStartFolder();
  static QString lastFilters();
};
