// The search under the lists: a box that narrows the shown list to the
// lines whose identifier, name or frequency hold what is typed, as it is
// typed, with the count of the lines found ("not found" when none). It
// sits beside "Find ID", which still selects the first line that begins
// with its text. One text searches every list: a list is searched when it
// is shown.
#pragma once

#include <QWidget>

class MainWindow;
class QLabel;
class QLineEdit;

class SearchBox : public QWidget {
  Q_OBJECT

 public:
  SearchBox(MainWindow& window, QWidget* parent);

  QLineEdit* field() const { return field_; }
  // The count of the lines found in the shown list, or "not found".
  QString resultText() const;

  // Searches the shown list for the text, keeping its current line when
  // that line is still shown.
  void apply();
  // Empties the box and shows every line of every list again.
  void clear();
  // Puts the keyboard in the box with its text selected, to type anew.
  void focus();

 private:
  void showResult();
  // Ctrl+F comes to the box unless one of the window's actions has it.
  void addFindShortcut();

  MainWindow& window_;
  QLineEdit* field_ = nullptr;
  QLabel* result_ = nullptr;
};
