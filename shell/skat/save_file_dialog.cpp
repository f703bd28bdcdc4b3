#include "shell/skat/save_file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

struct Asked {
  QString title;
  QString suggestedFile;
  QStringList filters;
  int filter = -1;
};

std::optional<SaveFileChoice> presetChoice;
Asked lastAsked;

std::optional<SaveFileChoice> RunDialog(QWidget* parent, const QString& title,
                                        const QString& suggestedFile, const QStringList& filters,
                                        int filter) {
  QFileDialog dialog(parent, title);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(filters);
  const QFileInfo suggested(suggestedFile);
  dialog.setDirectory(suggested.absolutePath());
  if (!suggested.fileName().isEmpty()) dialog.selectFile(suggested.fileName());
  if (filter >= 0 && filter < filters.size()) {
    dialog.selectNameFilter(filters[filter]);
    dialog.setDefaultSuffix(SuffixOfFilter(filters[filter]));
  }
  QObject::connect(
      &dialog, &QFileDialog::filterSelected, &dialog,
      [&dialog](const QString& chosen) { dialog.setDefaultSuffix(SuffixOfFilter(chosen)); });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return SaveFileChoice{dialog.selectedFiles().front(),
                        static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))};
}

}  // namespace

std::optional<SaveFileChoice> ChooseFileToSave(QWidget* parent, const QString& title,
                                               const QString& suggestedFile,
                                               const QStringList& filters, int filter) {
  lastAsked = {title, suggestedFile, filters, filter};
  std::optional<SaveFileChoice> choice;
  if (presetChoice) {
    choice = std::exchange(presetChoice, std::nullopt);
  } else {
    choice = RunDialog(parent, title, suggestedFile, filters, filter);
  }
  if (!choice || choice->file.isEmpty()) return std::nullopt;
  return choice;
}

QString SuffixOfFilter(const QString& filter) {
  static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
  return pattern.match(filter).captured(1);
}

void SaveFileDialogSeam::setNextFile(const QString& file, int filter) {
  presetChoice = SaveFileChoice{file, filter};
}

void SaveFileDialogSeam::clear() {
  presetChoice.reset();
  lastAsked = {};
}

QString SaveFileDialogSeam::lastTitle() {
  return lastAsked.title;
}

QString SaveFileDialogSeam::lastSuggestedFile() {
  return lastAsked.suggestedFile;
}

QStringList SaveFileDialogSeam::lastFilters() {
  return lastAsked.filters;
}

int SaveFileDialogSeam::lastFilter() {
  return lastAsked.filter;
}
