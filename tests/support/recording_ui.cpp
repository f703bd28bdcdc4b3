#include "tests/support/recording_ui.h"

namespace testing_support {

void RecordingUi::QueueAnswers(std::initializer_list<navdb::MessageAnswer> answers) {
  std::lock_guard guard(mutex_);
  answers_.insert(answers_.end(), answers.begin(), answers.end());
}

navdb::MessageAnswer RecordingUi::Message(const navdb::MessageRequest& r) const {
  std::lock_guard guard(mutex_);
  messages.push_back({r.caption, r.text, r.icon, r.buttons, r.topmost});
  if (answers_.empty()) return defaultAnswer;
  const navdb::MessageAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void RecordingUi::Status(navdb::StatusIcon icon, const std::string& text) const {
  std::lock_guard guard(mutex_);
  statuses.emplace_back(icon, text);
}

void RecordingUi::Progress(navdb::ProgressTask, int percent) const {
  std::lock_guard guard(mutex_);
  loadingProgress.push_back(percent);
}

void RecordingUi::ProgressText(const std::string& text) const {
  std::lock_guard guard(mutex_);
  progressTexts.push_back(text);
}

void RecordingUi::EntryCountChanged(navdb::NavaidKind kind, int count) const {
  std::lock_guard guard(mutex_);
  counts.emplace_back(kind, count);
}

void RecordingUi::EntryInFocus(navdb::NavaidKind kind, int row) const {
  std::lock_guard guard(mutex_);
  selections.emplace_back(kind, row);
}

void RecordingUi::KindInFocus(navdb::NavaidKind kind) const {
  std::lock_guard guard(mutex_);
  kindsInFocus.push_back(kind);
}

void RecordingUi::IndexInFlux(bool inFlux) const {
  std::lock_guard guard(mutex_);
  indexWindow.push_back(inFlux);
}

void RecordingUi::Alert() const {
  std::lock_guard guard(mutex_);
  ++beeps;
}

void RecordingUi::DatabaseBusy(bool isBusy) const {
  std::lock_guard guard(mutex_);
  busy.push_back(isBusy);
}

scanner::DuplicateAnswer RecordingUi::ChooseDuplicate(
    const scanner::DuplicateRequest& request) const {
  // The script runs unlocked: it may read what was recorded so far.
  return duplicateAnswer ? duplicateAnswer(request) : scanner::DuplicateAnswer{};
}

void RecordingUi::ScanPosition(const std::string& path) const {
  std::lock_guard guard(mutex_);
  scanPositions.push_back(path);
}

void RecordingUi::ScanFileTotal(size_t files) const {
  std::lock_guard guard(mutex_);
  scanFileTotals.push_back(files);
}

std::optional<planner::WaypointPick> RecordingUi::PickWaypoint(
    const planner::WaypointPickRequest& request) const {
  return waypointAnswer ? waypointAnswer(request) : std::nullopt;
}

}  // namespace testing_support
