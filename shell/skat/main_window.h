// The main window: the four entry lists under their tabs, the database and
// flight plan commands, the root path, the status line and the progress
// field. It only shows and wires; the commands run in DatabaseCommands and
// the libraries.
#pragma once

#include <QFont>
#include <QWidget>

#include <array>
#include <memory>
#include <string>

#include "navdb/navaid_kind.h"
#include "planner/plan_reporter.h"
#include "shell/skat/window_view.h"

namespace planner {
struct PlannerState;
}
namespace shell {
struct AppState;
}
class DatabaseCommands;
class EntryListModel;
class HelpWindow;
class IndexWindow;
class MapWindow;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;
class QTabWidget;
class SearchBox;
class UiBridge;

class MainWindow : public QWidget, public WindowView {
  Q_OBJECT

 public:
  explicit MainWindow(shell::AppState& state, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The operations the libraries reach through UiBridge (window thread only).
  void setStatus(navdb::StatusIcon icon, const std::string& text) override;
  void setProgressText(const std::string& text) override;
  void showEntryCount(navdb::NavaidKind kind, int count) override;
  void showKindTab(navdb::NavaidKind kind) override;
  // Selects `row` of `kind`'s list without changing the current tab; a
  // line the search hides is shown by emptying the search.
  void selectRow(navdb::NavaidKind kind, int row) override;
  // The list row of the current line of `kind`'s list, or -1. Rows here
  // are always list rows, whatever the search shows.
  int currentEntryRow(navdb::NavaidKind kind) const;
  // Ctrl+F: the keyboard goes to the search box.
  void focusSearch();
  SearchBox& searchBox() { return *searchBox_; }
  void showIndexWindow(bool visible) override;
  // "Map" and Ctrl+M: the map window, made at the first call.
  void showMapWindow();
  MapWindow* mapWindow() const { return mapWindow_; }
  // The plan the Flight Plan dialog shows, or nullptr.
  const planner::PlannerState* shownPlan() const { return shownPlan_; }
  // As a double click on `row` of `kind`'s list: the waypoint of a pending
  // pick, else the entry's editor.
  void activateRow(navdb::NavaidKind kind, int row);
  void setCommandsEnabled(bool enabled, bool topOnly) override;
  // Files done out of files found; a total of 0 hides the bar.
  void setScanProgress(int filesDone, int filesTotal) override;
  // Starts a waypoint selection for the flight planner.
  void beginWaypointPick(const planner::WaypointPickRequest& request) override;

  // While a worker changes the lists the models show copies of the rows in
  // sight; refreshBusyViews() takes new copies while the worker waits.
  void setListsBusy(bool busy) override;
  void refreshBusyViews() override;
  // Shows the lists, counts and index again after they changed.
  void reloadLists() override;
  void reloadList(navdb::NavaidKind kind) override;
  // The title ends in " *" while the database holds unsaved modifications.
  void showModified();

  void showSceneryRootPath() override;
  void raisePlanWindow() override;
  QWidget* widget() override { return this; }
  QFont listFont() const override { return listFont_; }
  navdb::NavaidKind currentKind() const;

  shell::AppState& state() { return state_; }
  UiBridge& bridge() { return *bridge_; }
  DatabaseCommands& commands() { return *commands_; }
  IndexWindow& indexWindow() { return *indexWindow_; }
  QListView* listView(navdb::NavaidKind kind) const { return views_[navdb::IndexOf(kind)]; }
  EntryListModel* model(navdb::NavaidKind kind) const { return models_[navdb::IndexOf(kind)]; }

  // The list font: Liberation Mono (the metric twin of Courier New) with
  // a character height of dpiY / 9 and a width of dpiX / 16 pixels.
  static QFont ListFontFor(int dpiX, int dpiY);

  // The help window, made at the first "Help".
  HelpWindow* helpWindow() const { return helpWindow_; }

  // Centres on the primary screen; true when that screen is narrower than
  // 800 pixels (the caller then warns).
  bool centreOnScreen();

 signals:
  // A double click on a line outside a waypoint selection: the entry editor.
  void editRequested(navdb::NavaidKind kind, int row);
  // The flight plan window should come to the front.
  void planWindowRaiseRequested();
  // The lists were shown again after a change (edit, scan, rebuild, restore, load).
  void listsChanged();
  // The current line of `kind`'s list became `row`.
  void entrySelected(navdb::NavaidKind kind, int row);
  // The Flight Plan dialog shows `plan` anew after a change; nullptr when it closed.
  void planShown(const planner::PlannerState* plan);

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Enter presses the default button, "Help", as in a dialog; during a
  // waypoint pick it picks the selected line instead.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* makeCommandRow();
  QWidget* makePathRow();
  QWidget* makeTabs();
  QWidget* makeSearchRow();
  QWidget* makeStatusRow();
  QWidget* makeListPage(navdb::NavaidKind kind);
  QPushButton* makeButton(const char* caption);
  void wireCommands();
  void onTabChanged(int tab);
  void onFindTextChanged(const QString& text);
  void onListActivated(navdb::NavaidKind kind, int row);
  void onEscape();
  void showAbout();
  void showHelp();
  // The "Hand edits" view, window-modal; it deletes itself when closed.
  void showHandEdits();

  shell::AppState& state_;
  QFont listFont_;
  std::array<EntryListModel*, 4> models_{};
  std::array<QListView*, 4> views_{};
  std::array<QLineEdit*, 4> countFields_{};
  QTabWidget* tabs_ = nullptr;
  QLineEdit* rootPathField_ = nullptr;
  QLineEdit* findField_ = nullptr;
  QPushButton* filterButton_ = nullptr;
  SearchBox* searchBox_ = nullptr;
  QLabel* statusIcon_ = nullptr;
  QLabel* statusText_ = nullptr;
  QLineEdit* progressField_ = nullptr;
  QProgressBar* scanProgress_ = nullptr;
  // Enabled and disabled together by setCommandsEnabled.
  std::vector<QPushButton*> topCommands_;
  std::unique_ptr<IndexWindow> indexWindow_;
  UiBridge* bridge_ = nullptr;
  DatabaseCommands* commands_ = nullptr;
  HelpWindow* helpWindow_ = nullptr;
  MapWindow* mapWindow_ = nullptr;
  const planner::PlannerState* shownPlan_ = nullptr;
};
