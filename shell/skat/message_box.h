// The program's message boxes: the library's MessageRequest shown as a modal
// QMessageBox. Tests (and flows driven without a person) preset the answers
// through MessageBoxSeam, so no modal loop runs.
#pragma once

#include <QMessageBox>

#include <functional>
#include <memory>
#include <vector>

#include "navdb/reporter.h"

class QWidget;

// Shows `request` and returns the button pressed. Escape or the close box
// give the answer of the box's escape button: Cancel, or No for Yes/No.
// Every request is recorded in MessageBoxSeam::shown(). Called from another
// thread, it waits while the GUI thread shows the box.
navdb::MessageAnswer ShowMessageBox(QWidget* parent, const navdb::MessageRequest& request);

// Reports whose messages are message boxes over `parent` and that tell
// nothing else: for work done before the main window is up.
class MessageBoxReports : public navdb::Reporter {
 public:
  explicit MessageBoxReports(QWidget* parent) : parent_(parent) {}
  navdb::MessageAnswer Message(const navdb::MessageRequest& request) const override {
    return ShowMessageBox(parent_, request);
  }

 private:
  QWidget* parent_;
};

// The message box ShowMessageBox would run, not yet shown: caption, text
// (Windows-1252 converted, line breaks applied, always plain text), icon,
// buttons with the first one as default (No for a Yes/No warning), and the
// topmost flag.
std::unique_ptr<QMessageBox> BuildMessageBox(QWidget* parent, const navdb::MessageRequest& request);

// The answer a standard button stands for.
navdb::MessageAnswer AnswerOfButton(QMessageBox::StandardButton button);

class MessageBoxSeam {
 public:
  // Queues the answer of a coming message box; while answers are queued, no
  // box is shown and the first queued answer is returned instead.
  static void setNextAnswer(navdb::MessageAnswer answer);
  static void clearNextAnswers();
  // Every request ShowMessageBox received, answered by the seam or not.
  static const std::vector<navdb::MessageRequest>& shown();
  // The window each of those boxes belonged to, in the same order.
  static const std::vector<const QWidget*>& shownParents();
  static void clearShown();
  // Runs at each box, before its answer is given (tests look at the
  // windows as the user sees them then); cleared by clearShown().
  static void setOnShown(std::function<void(const navdb::MessageRequest&)> hook);
};
