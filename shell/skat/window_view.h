// What the main window offers the parts it makes: the bridge, the database
// commands, the entry editors, the flight plan dialog and the replay of hand
// edits show their work through it and never include the window itself, so
// the window is the only one that knows them all. Window thread only.
#pragma once

#include <QFont>

#include <string>

#include "navdb/navaid_kind.h"
#include "navdb/reporter.h"
#include "planner/plan_reporter.h"

class QWidget;

class WindowView {
 public:
  virtual ~WindowView() = default;

  // The window itself: the parent of messages and dialogs, and what they
  // centre on.
  virtual QWidget* widget() = 0;
  virtual QFont listFont() const = 0;

  virtual void setStatus(navdb::StatusIcon icon, const std::string& text) = 0;
  virtual void setProgressText(const std::string& text) = 0;
  virtual void showEntryCount(navdb::NavaidKind kind, int count) = 0;
  virtual void showKindTab(navdb::NavaidKind kind) = 0;
  // Selects `row` of `kind`'s list without changing the current tab.
  virtual void selectRow(navdb::NavaidKind kind, int row) = 0;
  virtual void showIndexWindow(bool visible) = 0;
  virtual void setCommandsEnabled(bool enabled, bool topOnly) = 0;
  // Files done out of files found; a total of 0 hides the bar.
  virtual void setScanProgress(int filesDone, int filesTotal) = 0;
  virtual void beginWaypointPick(const planner::WaypointPickRequest& request) = 0;

  // While a worker changes the lists the views show copies of the rows in
  // sight; refreshBusyViews() takes new copies while the worker waits.
  virtual void setListsBusy(bool busy) = 0;
  virtual void refreshBusyViews() = 0;
  // Shows `kind`'s list again after lines were added to it.
  virtual void reloadList(navdb::NavaidKind kind) = 0;
  // Shows the lists, counts and index again after they changed.
  virtual void reloadLists() = 0;
  virtual void showSceneryRootPath() = 0;
  // The flight plan window, when open, comes to the front.
  virtual void raisePlanWindow() = 0;
};
