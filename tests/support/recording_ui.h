// UiCallbacks for tests: answers questions from a script and records every
// message, status text and progress value shown.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "navdb/ui_callbacks.h"

namespace testing_support {

struct RecordedMessage {
  std::string caption;
  std::string text;
  navdb::MessageIcon icon;
  navdb::MessageButtons buttons;
  bool topmost;
};

class RecordingUi {
 public:
  RecordingUi();

  // Answers given to the next questions, in order; when none is queued a
  // question gets `defaultAnswer`.
  void QueueAnswers(std::initializer_list<navdb::MessageAnswer> answers);
  navdb::MessageAnswer defaultAnswer = navdb::MessageAnswer::Ok;

  const navdb::UiCallbacks& ui() const { return ui_; }
  navdb::UiCallbacks& ui() { return ui_; }

  std::vector<RecordedMessage> messages;
  std::vector<std::pair<navdb::StatusIcon, std::string>> statuses;
  std::vector<int> loadingProgress;
  std::vector<std::string> progressTexts;
  std::vector<std::pair<navdb::NavaidKind, int>> counts;
  std::vector<std::pair<navdb::NavaidKind, int>> selections;
  std::vector<bool> indexWindow;
  int beeps = 0;

 private:
  std::mutex mutex_;
  std::deque<navdb::MessageAnswer> answers_;
  navdb::UiCallbacks ui_;
};

}  // namespace testing_support
