// The "Hand edits not replayed" dialog: after a rebuild or a restore, every
// hand edit of the journal that could not be made again as it was recorded,
// in one list, each with the user's choice: apply it anyway, drop its
// records from the journal, or keep them for later (the default, and what
// Escape and the close box leave every record at).
#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <utility>
#include <vector>

#include "shell/core/journal_replay.h"

class QButtonGroup;
class QFont;
class QLabel;
class QPushButton;
class QRadioButton;
class QTreeWidget;

// The choice for each conflict by its last record number, the form
// shell::DecisionsByRecord takes.
using RecordChoices = std::vector<std::pair<size_t, shell::ConflictChoice>>;

// Shows the dialog modally over `parent` and returns the choices; Escape
// keeps every record for later. With a preset action (ConflictDialog::
// setNextAction) the dialog is shown without a modal loop of its own and
// the action plays the user. On the window's thread only.
RecordChoices AskConflictChoices(QWidget* parent,
                                 const std::vector<shell::ReplayConflict>& conflicts,
                                 const QFont& listFont);

class ConflictDialog : public QDialog {
  Q_OBJECT

 public:
  // The recorded and found lines are shown in `listFont`, the font of the
  // main window's lists, so that their columns line up.
  ConflictDialog(QWidget* parent, std::vector<shell::ReplayConflict> conflicts,
                 const QFont& listFont);

  // The choice of every conflict, in the dialog's order.
  const std::vector<shell::ConflictChoice>& choices() const { return choices_; }
  RecordChoices recordChoices() const;

  QTreeWidget* list() const { return list_; }
  QRadioButton* choiceButton(shell::ConflictChoice choice) const;
  QLabel* lineLabel(int line) const { return lines_[line]; }  // 0 before, 1 after, 2 found

  // Runs at the next AskConflictChoices instead of the user, on the dialog
  // shown; the dialog counts as answered when the action accepted it.
  static void setNextAction(std::function<void(ConflictDialog&)> action);
  // How many times AskConflictChoices was called.
  static int shownCount();
  static void clearShown();

 public slots:
  void reject() override;

 private:
  void showCurrent();
  void choose(shell::ConflictChoice choice);
  void showChoice(int row);

  std::vector<shell::ReplayConflict> conflicts_;
  std::vector<shell::ConflictChoice> choices_;
  QTreeWidget* list_ = nullptr;
  QLabel* problem_ = nullptr;
  std::array<QLabel*, 3> lines_{};
  std::array<QLabel*, 3> lineCaptions_{};
  QButtonGroup* choiceGroup_ = nullptr;
};
