// What the four entry editors share: the modal window in the editor font,
// centred on the main window; boxes sized to what they hold and kept in step
// with the editor logic as the user types; the coordinate rows; the leave
// checks of boxes whose value must fit its columns; and the buttons "Cancel"
// (the default), "Validate", "Add" and "Delete". Cancel, Enter, Escape and
// the close box ask before they throw away what the user changed. Each
// kind's editor adds its own rows between the common ones.
#pragma once

#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "navdb/reporter.h"
#include "shell/core/entry_editor.h"

namespace shell {
struct AppState;
}
class QComboBox;
class QGridLayout;
class QPushButton;
class WindowView;

class EntryEditorDialog : public QDialog {
  Q_OBJECT

 public:
  // The editor font: Liberation Mono with a character height of dpiY / 8
  // and a width of dpiX / 13 pixels.
  static QFont EditorFontFor(int dpiX, int dpiY);

  const shell::EditorSession& session() const { return session_; }
  QLineEdit* box(shell::EditorBox box) const;
  QComboBox* hemisphereChoice(shell::CoordinateAxis axis) const;
  QPushButton* button(const QString& caption) const;
  // Beeps of the leave checks since the editor opened.
  int beeps() const { return beeps_; }

  // Moves the editor to the centre of the main window.
  void centreOnOwner();

  // Whether a box or choice shows another value than when the editor opened.
  bool changed() const;

 public slots:
  // Cancel, Enter, Escape and the close box: closes at once when nothing
  // was changed, else only when the user agrees to lose the changes.
  void reject() override;

 protected:
  EntryEditorDialog(WindowView& window, shell::AppState& state, navdb::NavaidKind kind,
                    std::optional<size_t> row);

  // Building blocks, called by the kinds' constructors from top to bottom:
  // the tab order is the order the focusable widgets are made in.
  QLineEdit* makeBox(shell::EditorBox box);
  QLineEdit* makeDisplayBox(shell::EditorBox box);
  QLabel* makeText(const QString& text);
  // A row of the form: a caption at the left and the widgets side by side.
  void addRow(const QString& caption, std::initializer_list<QWidget*> widgets);
  void addWideRow(QWidget* widget);
  void addIdentityRows(const QString& identifierCaption, const QString& nameCaption);
  // The hemisphere choice and degrees, minutes, seconds and hundredths; with
  // `minutesAndTenths` a second row of minutes and tenths of a minute.
  void addCoordinateRow(const QString& caption, shell::CoordinateAxis axis, bool minutesAndTenths);
  // Checks `check` when the user leaves `edit`; when the focus must stay,
  // it goes back to the box.
  void checkOnLeave(QLineEdit* edit, std::function<shell::LeaveOutcome()> check);
  // Adds the buttons, shows the session's values and sets the tab order.
  void finish();

  // The session's values shown in every widget; the kinds add their own.
  virtual void showFields();
  // The choices (hemispheres, check boxes) read into the session before a
  // button acts.
  virtual void readChoices();
  void registerFocus(QWidget* widget) { focusChain_.push_back(widget); }

  // What the editor logic reports: messages open over the editor, the
  // entries it writes show in the main window's lists at once.
  class Reports : public navdb::Reporter {
   public:
    explicit Reports(EntryEditorDialog& dialog) : dialog_(dialog) {}
    navdb::MessageAnswer Message(const navdb::MessageRequest& request) const override;
    void EntryInFocus(navdb::NavaidKind kind, int row) const override;
    void EntryCountChanged(navdb::NavaidKind kind, int count) const override;
    void Alert() const override;

   private:
    EntryEditorDialog& dialog_;
  };

  shell::EditorSession session_;
  Reports ui_{*this};
  WindowView& window_;
  shell::AppState& state_;

 private:
  void onBoxEdited(shell::EditorBox box);
  void act(shell::EditorOutcome (*buttonAction)(navdb::Database&, shell::EditorSession&,
                                                const navdb::Reporter&));
  bool eventFilter(QObject* watched, QEvent* event) override;

  QGridLayout* form_ = nullptr;
  int formRows_ = 0;
  std::map<shell::EditorBox, QLineEdit*> boxes_;
  std::map<QObject*, std::function<shell::LeaveOutcome()>> leaveChecks_;
  QComboBox* latitudeChoice_ = nullptr;
  QComboBox* longitudeChoice_ = nullptr;
  std::vector<QWidget*> focusChain_;
  // What the widgets showed once the editor was made.
  QStringList openedValues_;
  int beeps_ = 0;
};
