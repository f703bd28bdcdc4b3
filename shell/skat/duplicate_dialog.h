// The "Double entry warning !" dialog: a scanned entry has the identity of
// one already in the list, and the user chooses which version stays.
#pragma once

#include <QDialog>

#include <vector>

#include "scanner/scan_reporter.h"

class QFont;
class QLabel;
class QPushButton;

// Shows the dialog modally over `parent` (the main window: centred on it
// horizontally, top at its top) and returns the button's answer; Escape and
// the close box abort the scan. With a preset answer (DuplicateDialog::
// setNextAnswer) the dialog is built but not run, and that answer returned.
// Called from a scan worker, it waits while the GUI thread asks.
scanner::DuplicateAnswer AskDuplicate(QWidget* parent, const scanner::DuplicateRequest& request,
                                      const QFont& listFont);

class DuplicateDialog : public QDialog {
  Q_OBJECT

 public:
  // Both lines are shown in `listFont`, the font of the main window's lists.
  DuplicateDialog(QWidget* parent, const scanner::DuplicateRequest& request, const QFont& listFont);

  // The answer of the button pressed; "Abort scanning" until one is.
  scanner::DuplicateAnswer answer() const { return answer_; }

  // Centred horizontally on `owner`, with its top at the owner's top.
  void placeOnOwner(const QWidget& owner);

  // Buttons by place, for tests and for screen readers' descriptions.
  QPushButton* keepExistingButton() const { return keepExisting_; }
  QPushButton* keepExistingAlwaysButton() const { return keepExistingAlways_; }
  QPushButton* keepBothButton() const { return keepBoth_; }
  QPushButton* keepBothAlwaysButton() const { return keepBothAlways_; }
  QPushButton* keepNewButton() const { return keepNew_; }
  QPushButton* keepNewAlwaysButton() const { return keepNewAlways_; }
  QPushButton* abortButton() const { return abort_; }

  // Queues the answer of a coming dialog (see AskDuplicate).
  static void setNextAnswer(scanner::DuplicateAnswer answer);
  static void clearNextAnswers();
  // Every request AskDuplicate received, answered by a preset or not.
  static const std::vector<scanner::DuplicateRequest>& shown();
  static void clearShown();

 public slots:
  void reject() override;

 private:
  // `name` is what a screen reader says, `description` its longer help.
  QPushButton* AddAnswerButton(const char* caption, const char* name, const char* description,
                               scanner::DuplicateOutcome outcome, bool always);
  QLabel* LineBox(const std::string& line, const QFont& listFont);

  scanner::DuplicateAnswer answer_{scanner::DuplicateOutcome::AbortScan, false};
  QPushButton* keepExisting_ = nullptr;
  QPushButton* keepExistingAlways_ = nullptr;
  QPushButton* keepBoth_ = nullptr;
  QPushButton* keepBothAlways_ = nullptr;
  QPushButton* keepNew_ = nullptr;
  QPushButton* keepNewAlways_ = nullptr;
  QPushButton* abort_ = nullptr;
};
