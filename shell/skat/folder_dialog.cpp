#include "shell/skat/folder_dialog.h"

#include <QFileDialog>

namespace {

std::optional<QString> presetFolder;
QString lastTitleAsked;

}  // namespace

std::optional<QString> ChooseFolder(QWidget* parent, const QString& title,
                                    const QString& startFolder) {
  lastTitleAsked = title;
  if (presetFolder) {
    const QString folder = *presetFolder;
    presetFolder.reset();
    if (folder.isEmpty()) return std::nullopt;
    return folder;
  }
  const QString folder = QFileDialog::getExistingDirectory(parent, title, startFolder);
  if (folder.isEmpty()) return std::nullopt;
  return folder;
}

void FolderDialogSeam::setNextFolder(const QString& folder) {
  presetFolder = folder;
}

void FolderDialogSeam::clear() {
  presetFolder.reset();
  lastTitleAsked.clear();
}

QString FolderDialogSeam::lastTitle() {
  return lastTitleAsked;
}
