// The front end of the tests: answers questions from a script and records
// every message, status text, progress value and notice shown, in the order
// each kind came. Serves the database's, the scan's and the planner's
// reports alike; safe to call from the workers of a scan or a load.
#pragma once

#include <deque>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "navdb/reporter.h"
#include "planner/plan_reporter.h"
#include "scanner/scan_reporter.h"

namespace testing_support {

struct RecordedMessage {
  std::string caption;
  std::string text;
  navdb::MessageIcon icon;
  navdb::MessageButtons buttons;
  bool topmost;
};

class RecordingUi : public scanner::ScanReporter, public planner::PlanReporter {
 public:
  // Answers given to the next messages, in order; when none is queued a
  // message gets `defaultAnswer`.
  void QueueAnswers(std::initializer_list<navdb::MessageAnswer> answers);
  navdb::MessageAnswer defaultAnswer = navdb::MessageAnswer::Ok;
  // The scripted answers of the scan's and the planner's questions; unset,
  // both versions of a duplicate stay and no waypoint is picked.
  std::function<scanner::DuplicateAnswer(const scanner::DuplicateRequest&)> duplicateAnswer;
  std::function<std::optional<planner::WaypointPick>(const planner::WaypointPickRequest&)>
      waypointAnswer;

  navdb::MessageAnswer Message(const navdb::MessageRequest& request) const override;
  void Status(navdb::StatusIcon icon, const std::string& text) const override;
  void Progress(navdb::ProgressTask task, int percent) const override;
  void ProgressText(const std::string& text) const override;
  void EntryCountChanged(navdb::NavaidKind kind, int count) const override;
  void EntryInFocus(navdb::NavaidKind kind, int row) const override;
  void KindInFocus(navdb::NavaidKind kind) const override;
  void IndexInFlux(bool inFlux) const override;
  void Alert() const override;
  void DatabaseBusy(bool busy) const override;
  scanner::DuplicateAnswer ChooseDuplicate(const scanner::DuplicateRequest& request) const override;
  void ScanPosition(const std::string& path) const override;
  void ScanFileTotal(size_t files) const override;
  std::optional<planner::WaypointPick> PickWaypoint(
      const planner::WaypointPickRequest& request) const override;

  // What was shown, each kind in its order.
  mutable std::vector<RecordedMessage> messages;
  mutable std::vector<std::pair<navdb::StatusIcon, std::string>> statuses;
  mutable std::vector<int> loadingProgress;
  mutable std::vector<std::string> progressTexts;
  mutable std::vector<std::pair<navdb::NavaidKind, int>> counts;
  mutable std::vector<std::pair<navdb::NavaidKind, int>> selections;
  mutable std::vector<navdb::NavaidKind> kindsInFocus;
  mutable std::vector<bool> indexWindow;
  mutable std::vector<bool> busy;
  mutable std::vector<std::string> scanPositions;
  mutable std::vector<size_t> scanFileTotals;
  mutable int beeps = 0;

 private:
  mutable std::mutex mutex_;
  mutable std::deque<navdb::MessageAnswer> answers_;
};

}  // namespace testing_support
