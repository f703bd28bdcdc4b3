// What the database, scanner and planner logic tells and asks the user,
// named by what happens in the engine, not by the widgets that show it. The
// desktop program shows it in its windows and dialogs, the command-line
// tool prints it or answers from its flags, and the tests record it with
// scripted answers. Every report has a default that tells nobody and
// answers what changes nothing, so a front end overrides only what it
// shows and a plain Reporter is the silent one.
//
// A scan and the planner ask a little more: scanner::ScanReporter (the
// duplicate decision, where the walk is) and planner::PlanReporter (the
// waypoint pick) add it to this one; a front end that serves both derives
// from both, which share this base.
//
// Reports come from worker threads too, so an implementation is safe to
// call from several threads at once, as the const suggests.
#pragma once

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

// The pieces of work whose progress is told in percent.
enum class ProgressTask { DatabaseLoad };

class Reporter {
 public:
  Reporter() = default;
  Reporter(const Reporter&) = delete;
  Reporter& operator=(const Reporter&) = delete;
  virtual ~Reporter() = default;

  // A message: with the Ok button alone a notice, otherwise a question.
  // Returns the button pressed; unanswered, the answer that changes nothing
  // (Ok, No for Yes/No, else Cancel).
  virtual MessageAnswer Message(const MessageRequest& request) const;
  // The state of the work, with its icon ("Status : scanning...").
  virtual void Status(StatusIcon, const std::string& /*text*/) const {}
  // How far `task` has come, 0 to 100.
  virtual void Progress(ProgressTask, int /*percent*/) const {}
  // A line on the work under way or on what it waits for (the index
  // rebuild's count, the planner's prompt); " " when there is none.
  virtual void ProgressText(const std::string& /*text*/) const {}
  // The list of `kind` now holds `count` entries.
  virtual void EntryCountChanged(NavaidKind, int /*count*/) const {}
  // The work is about the entry in `row` of the list of `kind`: the one a
  // duplicate question names, the one an editor has just written.
  virtual void EntryInFocus(NavaidKind, int /*row*/) const {}
  // The work changes the list of `kind` now.
  virtual void KindInFocus(NavaidKind) const {}
  // The geographic index is being rebuilt or reloaded (true), or is whole
  // again (false).
  virtual void IndexInFlux(bool /*inFlux*/) const {}
  // Something needs the user's attention at once: a refused value, a
  // question about to be asked.
  virtual void Alert() const {}
  // Work that changes the database starts (true) or has ended (false):
  // nothing else may start changing it meanwhile.
  virtual void DatabaseBusy(bool /*busy*/) const {}
};

// A message through `ui`, built from its parts.
MessageAnswer ShowMessage(const Reporter& ui, std::string caption, std::string text,
                          MessageIcon icon, MessageButtons buttons, bool topmost = false);

}  // namespace navdb
