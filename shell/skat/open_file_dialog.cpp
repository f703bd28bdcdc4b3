#include "shell/skat/open_file_dialog.h"

#include <QFileDialog>

namespace {

std::optional<QString> presetFile;
QString lastTitleAsked;
QString lastStartFolderAsked;
QString lastFiltersAsked;

}  // namespace

std::optional<QString> ChooseFileToOpen(QWidget* parent, const QString& title,
                                        const QString& startFolder, const QString& filters) {
  lastTitleAsked = title;
  lastStartFolderAsked = startFolder;
  lastFiltersAsked = filters;
  QString file;
  if (presetFile) {
    file = *presetFile;
    presetFile.reset();
  } else {
    // Only existing files can be chosen; the read-only box does not exist here.
    file = QFileDialog::getOpenFileName(parent, title, startFolder, filters);
  }
  if (file.isEmpty()) return std::nullopt;
  return file;
}

void OpenFileDialogSeam::setNextFile(const QString& file) {
  presetFile = file;
}

void OpenFileDialogSeam::clear() {
  presetFile.reset();
  lastTitleAsked.clear();
  lastStartFolderAsked.clear();
  lastFiltersAsked.clear();
}

QString OpenFileDialogSeam::lastTitle() {
  return lastTitleAsked;
}

QString OpenFileDialogSeam::lastStartFolder() {
  return lastStartFolderAsked;
}

QString OpenFileDialogSeam::lastFilters() {
  return lastFiltersAsked;
}
