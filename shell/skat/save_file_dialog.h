// The file-save dialog of exports that offer several formats, one name
// filter each, with a seam so that tests and scripted runs preset the
// answer instead of running a modal dialog.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

struct SaveFileChoice {
  QString file;
  int filter = 0;  // the index in the filters offered
};

// The chosen file and filter, or nothing when the user cancelled. The dialog
// opens on `suggestedFile` (a folder and a name) with filter `filter` chosen;
// its default suffix follows the chosen filter's first pattern ("*.gpx"),
// and it asks before a file is replaced.
std::optional<SaveFileChoice> ChooseFileToSave(QWidget* parent, const QString& title,
                                               const QString& suggestedFile,
                                               const QStringList& filters, int filter);

// "gpx" of "GPX route (*.gpx)"; empty when the filter names no suffix.
QString SuffixOfFilter(const QString& filter);

class SaveFileDialogSeam {
 public:
  // The next ChooseFileToSave returns `file` as typed with filter `filter`
  // (an empty file: cancelled) without showing a dialog.
  static void setNextFile(const QString& file, int filter);
  static void clear();
  // What the last choice asked for.
  static QString lastTitle();
  static QString lastSuggestedFile();
  static QStringList lastFilters();
  static int lastFilter();
};
