#include "shell/skat/message_box.h"

#include <QCoreApplication>
#include <QThread>

#include <deque>

#include "shell/skat/qt_text.h"

namespace {

std::deque<navdb::MessageAnswer>& PresetAnswers() {
  static std::deque<navdb::MessageAnswer> answers;
  return answers;
}

std::vector<navdb::MessageRequest>& ShownRequests() {
  static std::vector<navdb::MessageRequest> shown;
  return shown;
}

std::function<void(const navdb::MessageRequest&)>& OnShown() {
  static std::function<void(const navdb::MessageRequest&)> hook;
  return hook;
}

std::vector<const QWidget*>& ShownParents() {
  static std::vector<const QWidget*> parents;
  return parents;
}

QMessageBox::Icon QtIcon(navdb::MessageIcon icon) {
  switch (icon) {
    case navdb::MessageIcon::Information:
      return QMessageBox::Information;
    case navdb::MessageIcon::Warning:
      return QMessageBox::Warning;
    case navdb::MessageIcon::Error:
      return QMessageBox::Critical;
    case navdb::MessageIcon::Question:
      return QMessageBox::Question;
    case navdb::MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// The buttons in the order they stand, the first being the default one.
std::vector<QMessageBox::StandardButton> QtButtons(navdb::MessageButtons buttons) {
  switch (buttons) {
    case navdb::MessageButtons::Ok:
      return {QMessageBox::Ok};
    case navdb::MessageButtons::YesNo:
      return {QMessageBox::Yes, QMessageBox::No};
    case navdb::MessageButtons::RetryCancel:
      return {QMessageBox::Retry, QMessageBox::Cancel};
    case navdb::MessageButtons::OkCancel:
      return {QMessageBox::Ok, QMessageBox::Cancel};
    case navdb::MessageButtons::YesNoCancel:
      return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
  }
  return {QMessageBox::Ok};
}

// What Escape and the close box answer: a box without Cancel says No to a
// question and Ok to a notice.
QMessageBox::StandardButton EscapeButton(navdb::MessageButtons buttons) {
  switch (buttons) {
    case navdb::MessageButtons::Ok:
      return QMessageBox::Ok;
    case navdb::MessageButtons::YesNo:
      return QMessageBox::No;
    default:
      return QMessageBox::Cancel;
  }
}

}  // namespace

navdb::MessageAnswer AnswerOfButton(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Yes:
      return navdb::MessageAnswer::Yes;
    case QMessageBox::No:
      return navdb::MessageAnswer::No;
    case QMessageBox::Retry:
      return navdb::MessageAnswer::Retry;
    case QMessageBox::Cancel:
      return navdb::MessageAnswer::Cancel;
    default:
      return navdb::MessageAnswer::Ok;
  }
}

std::unique_ptr<QMessageBox> BuildMessageBox(QWidget* parent,
                                             const navdb::MessageRequest& request) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setWindowTitle(QStringFromWin1252(request.caption));
  // Plain text always: a message that happens to hold '<' must not turn
  // into markup.
  box->setTextFormat(Qt::PlainText);
  box->setText(MessageTextToQt(request.text));
  box->setIcon(QtIcon(request.icon));
  const std::vector<QMessageBox::StandardButton> buttons = QtButtons(request.buttons);
  for (QMessageBox::StandardButton button : buttons) box->addButton(button);
  // A Yes/No warning asks whether to throw something away or write over
  // it (delete, restore, rebuild, overwrite, keep a duplicate): Enter must
  // not say Yes to it by accident.
  const bool destructive = request.icon == navdb::MessageIcon::Warning &&
                           request.buttons == navdb::MessageButtons::YesNo;
  box->setDefaultButton(destructive ? QMessageBox::No : buttons.front());
  box->setEscapeButton(box->button(EscapeButton(request.buttons)));
  if (request.topmost) box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  return box;
}

navdb::MessageAnswer ShowMessageBox(QWidget* parent, const navdb::MessageRequest& request) {
  if (QCoreApplication::instance() &&
      QThread::currentThread() != QCoreApplication::instance()->thread()) {
    navdb::MessageAnswer answer = navdb::MessageAnswer::Cancel;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { answer = ShowMessageBox(parent, request); },
        Qt::BlockingQueuedConnection);
    return answer;
  }
  ShownRequests().push_back(request);
  ShownParents().push_back(parent);
  if (OnShown()) OnShown()(request);
  std::deque<navdb::MessageAnswer>& preset = PresetAnswers();
  if (!preset.empty()) {
    const navdb::MessageAnswer answer = preset.front();
    preset.pop_front();
    return answer;
  }
  std::unique_ptr<QMessageBox> box = BuildMessageBox(parent, request);
  box->exec();
  QAbstractButton* clicked = box->clickedButton();
  QMessageBox::StandardButton pressed =
      clicked ? box->standardButton(clicked) : EscapeButton(request.buttons);
  if (pressed == QMessageBox::NoButton) pressed = EscapeButton(request.buttons);
  return AnswerOfButton(pressed);
}

void MessageBoxSeam::setNextAnswer(navdb::MessageAnswer answer) {
  PresetAnswers().push_back(answer);
}

void MessageBoxSeam::clearNextAnswers() {
  PresetAnswers().clear();
}

const std::vector<navdb::MessageRequest>& MessageBoxSeam::shown() {
  return ShownRequests();
}

const std::vector<const QWidget*>& MessageBoxSeam::shownParents() {
  return ShownParents();
}

void MessageBoxSeam::setOnShown(std::function<void(const navdb::MessageRequest&)> hook) {
  OnShown() = std::move(hook);
}

void MessageBoxSeam::clearShown() {
  ShownRequests().clear();
  ShownParents().clear();
  OnShown() = nullptr;
}
