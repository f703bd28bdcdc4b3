// Everything the database, scanner and planner logic asks or tells the user
// goes through this struct. The desktop program fills it with dialogs, the
// command-line tool with policies, and tests with scripted answers.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "navdb/navaid_kind.h"

namespace navdb {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, YesNo, RetryCancel, OkCancel, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Retry, Cancel };

struct MessageRequest {
  std::string caption;
  std::string text;  // Windows-1252 bytes; '\r' and '\n' break lines
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
  bool topmost = false;
};

// Icons beside the status line text.
enum class StatusIcon { Ready, Sorting, Saving, Problem, Selecting, Scanning };

// The two versions of an entry that the double-entry dialog shows.
struct DuplicateRequest {
  NavaidKind kind = NavaidKind::Ndb;  // the list of both lines
  int row = 0;                        // row of the existing line in its list
  std::string existingLine;
  std::string newLine;
};

// Outcomes of the double-entry dialog.
enum class DuplicateOutcome { AbortScan, KeepExisting, KeepBoth, KeepNew };

struct DuplicateAnswer {
  DuplicateOutcome outcome = DuplicateOutcome::KeepBoth;
  bool always = false;  // a "Keep always" button: the same answer for the rest of the scan
};

// A navaid picked for the flight planner: a row of one kind's list.
struct WaypointPick {
  NavaidKind kind;
  size_t row;
};

struct WaypointPickRequest {
  bool clearSelections = false;           // clear the selection of the four lists first
  std::optional<WaypointPick> suggested;  // a line to select before the user picks
};

struct UiCallbacks {
  // A modal message box; returns the button pressed.
  std::function<MessageAnswer(const MessageRequest&)> messageBox;
  // The main window's status line.
  std::function<void(StatusIcon, const std::string&)> setStatus;
  // The loading window's progress bar, 0 to 100.
  std::function<void(int percent)> setLoadingProgress;
  // The main window's progress field (index rebuild, planner prompts).
  std::function<void(const std::string&)> setProgressText;
  // The count field under a kind's tab.
  std::function<void(NavaidKind, int count)> showEntryCount;
  // Selects a row of a kind's list in the main window.
  std::function<void(NavaidKind, int row)> selectRow;
  // Shows or hides the Index window.
  std::function<void(bool visible)> showIndexWindow;
  // Lets the user double-click a navaid in the main window's lists for the
  // flight planner; nothing when the pick was aborted (Esc).
  std::function<std::optional<WaypointPick>(const WaypointPickRequest&)> pickWaypoint;
  // Brings a kind's list to the front of the main window.
  std::function<void(NavaidKind)> showKindTab;
  // A warning beep.
  std::function<void()> beep;
  // The double-entry dialog; unset, both versions are kept.
  std::function<DuplicateAnswer(const DuplicateRequest&)> chooseDuplicate;
  // The scan's current-file box (a folder or file path; " " when idle).
  std::function<void(const std::string&)> setCurrentFile;
  // How many scenery files the scan goes through, told once while it runs,
  // as soon as its walk has listed the tree.
  std::function<void(size_t files)> setScanFileTotal;
  // Enables or disables the main window's commands while a worker runs.
  // With `topOnly` the four lists and the Index window's buttons stay as
  // they are (a waypoint pick needs the lists).
  std::function<void(bool enabled, bool topOnly)> setCommandsEnabled;
};

// Helpers that call a callback only when it is set.
MessageAnswer ShowMessage(const UiCallbacks& ui, std::string caption, std::string text,
                          MessageIcon icon, MessageButtons buttons, bool topmost = false);
void SetStatus(const UiCallbacks& ui, StatusIcon icon, const std::string& text);

}  // namespace navdb
