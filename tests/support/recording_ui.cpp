#include "tests/support/recording_ui.h"

namespace testing_support {

RecordingUi::RecordingUi() {
  ui_.messageBox = [this](const navdb::MessageRequest& r) {
    std::lock_guard guard(mutex_);
    messages.push_back({r.caption, r.text, r.icon, r.buttons, r.topmost});
    if (answers_.empty()) return defaultAnswer;
    navdb::MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  };
  ui_.setStatus = [this](navdb::StatusIcon icon, const std::string& text) {
    std::lock_guard guard(mutex_);
    statuses.emplace_back(icon, text);
  };
  ui_.setLoadingProgress = [this](int percent) {
    std::lock_guard guard(mutex_);
    loadingProgress.push_back(percent);
  };
  ui_.setProgressText = [this](const std::string& text) {
    std::lock_guard guard(mutex_);
    progressTexts.push_back(text);
  };
  ui_.showEntryCount = [this](navdb::NavaidKind kind, int count) {
    std::lock_guard guard(mutex_);
    counts.emplace_back(kind, count);
  };
  ui_.selectRow = [this](navdb::NavaidKind kind, int row) {
    std::lock_guard guard(mutex_);
    selections.emplace_back(kind, row);
  };
  ui_.showIndexWindow = [this](bool visible) {
    std::lock_guard guard(mutex_);
    indexWindow.push_back(visible);
  };
  ui_.beep = [this] {
    std::lock_guard guard(mutex_);
    ++beeps;
  };
}

void RecordingUi::QueueAnswers(std::initializer_list<navdb::MessageAnswer> answers) {
  std::lock_guard guard(mutex_);
  answers_.insert(answers_.end(), answers.begin(), answers.end());
}

}  // namespace testing_support
