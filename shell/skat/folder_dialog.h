// The folder choice of "Change path", with a seam so that tests and scripted
// runs preset the folder instead of running a modal dialog.
#pragma once

#include <QString>

#include <optional>

class QWidget;

// The chosen folder, or nothing when the user cancelled.
std::optional<QString> ChooseFolder(QWidget* parent, const QString& title,
                                    const QString& startFolder);

class FolderDialogSeam {
 public:
  // The next ChooseFolder returns `folder` (an empty text: cancelled)
  // without showing a dialog.
  static void setNextFolder(const QString& folder);
  static void clear();
  // The title of the last folder choice asked for.
  static QString lastTitle();
};
