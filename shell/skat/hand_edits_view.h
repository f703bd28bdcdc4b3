// The "Hand edits" view: the records of edits.journal, which "Rebuild
// database" and "Restore original DB" apply again, each with its lines
// before and after, and "Drop record" to take one out (the database keeps
// the edit; it is only no longer applied again). Window-modal over the main
// window, which holds the database lock, so the journal cannot change
// behind it.
#pragma once

#include <QDialog>

#include <array>

namespace shell {
struct AppState;
}
class HandEditsModel;
class QLabel;
class QPushButton;
class QTableView;
class WindowView;

class HandEditsView : public QDialog {
  Q_OBJECT

 public:
  // Empty until reload(), which the opener calls once the view is shown,
  // so that what it tells stands over the view.
  HandEditsView(WindowView& window, shell::AppState& state);

  // Reads the journal again (a damaged rest is set aside and told) and
  // lists it with the edits not saved yet.
  void reload();

  QTableView* table() const { return table_; }
  HandEditsModel* model() const { return model_; }
  QPushButton* dropButton() const { return dropButton_; }
  QLabel* lineLabel(int line) const { return lines_[line]; }  // 0 before, 1 after

 public slots:
  // Asks, then takes the selected record out of the journal.
  void dropSelected();

 private:
  int currentRow() const;
  // Widens the view to show whole lines, within the screen.
  void fitToScreen();
  void showCurrent();

  WindowView& window_;
  shell::AppState& state_;
  HandEditsModel* model_ = nullptr;
  QTableView* table_ = nullptr;
  QLabel* summary_ = nullptr;
  std::array<QLabel*, 2> lines_{};
  QPushButton* dropButton_ = nullptr;
};
