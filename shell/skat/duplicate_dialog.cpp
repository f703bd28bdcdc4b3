#include "shell/skat/duplicate_dialog.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include <deque>

#include "scanner/merge.h"
#include "shell/skat/qt_text.h"

namespace {

std::deque<scanner::DuplicateAnswer>& PresetAnswers() {
  static std::deque<scanner::DuplicateAnswer> answers;
  return answers;
}

std::vector<scanner::DuplicateRequest>& ShownRequests() {
  static std::vector<scanner::DuplicateRequest> shown;
  return shown;
}

// Room for the longest entry line (VOR, 109 characters) and a little more.
constexpr int kLineBoxChars = 111;

// The fixed texts double an ampersand that must show as one.
QString Caption(std::string_view text) {
  return QStringFromWin1252(text).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

}  // namespace

DuplicateDialog::DuplicateDialog(QWidget* parent, const scanner::DuplicateRequest& request,
                                 const QFont& listFont)
    : QDialog(parent) {
  setWindowTitle(Caption(scanner::kDuplicateDialogTitle));
  setModal(true);

  keepExisting_ = AddAnswerButton("Keep only", "Keep only the existing entry",
                                  "Keep only the entry already in the list",
                                  scanner::DuplicateOutcome::KeepExisting, false);
  keepExistingAlways_ =
      AddAnswerButton("Keep always", "Keep the existing entry always",
                      "Keep the entry already in the list for the rest of the scan",
                      scanner::DuplicateOutcome::KeepExisting, true);
  keepBoth_ = AddAnswerButton("Keep both", "Keep both entries", "Keep both entries",
                              scanner::DuplicateOutcome::KeepBoth, false);
  keepBothAlways_ = AddAnswerButton("Keep always", "Keep both entries always",
                                    "Keep both entries for the rest of the scan",
                                    scanner::DuplicateOutcome::KeepBoth, true);
  keepNew_ = AddAnswerButton("Keep only", "Keep only the new entry",
                             "Keep only the entry about to be added",
                             scanner::DuplicateOutcome::KeepNew, false);
  keepNewAlways_ = AddAnswerButton("Keep always", "Keep the new entry always",
                                   "Keep the entry about to be added for the rest of the scan",
                                   scanner::DuplicateOutcome::KeepNew, true);
  abort_ = AddAnswerButton("Abort scanning", "Abort scanning", "Abort scanning",
                           scanner::DuplicateOutcome::AbortScan, false);

  auto* existingLabel = new QLabel(Caption(scanner::DuplicateExistingLabel(request.kind)), this);
  existingLabel->setObjectName("existingLabel");
  auto* newLabel = new QLabel(Caption(scanner::kDuplicateNewLineLabel), this);
  newLabel->setObjectName("newLabel");
  QLabel* existingLine = LineBox(request.existingLine, listFont);
  existingLine->setObjectName("existingLine");
  QLabel* newLine = LineBox(request.newLine, listFont);
  newLine->setObjectName("newLine");
  // Screen readers name each line by the text above it.
  existingLine->setAccessibleName(existingLabel->text());
  newLine->setAccessibleName(newLabel->text());
  auto* choose = new QLabel(Caption(scanner::kDuplicateChooseText), this);
  choose->setObjectName("chooseText");
  choose->setAlignment(Qt::AlignCenter);

  // Lines on the left, each with its two buttons beside it; "Keep both"
  // and its "Keep always" stand between the two lines.
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(6);
  grid->addWidget(existingLabel, 0, 0);
  grid->addWidget(existingLine, 1, 0);
  grid->addWidget(keepExisting_, 1, 1);
  grid->addWidget(keepExistingAlways_, 1, 2);
  grid->addWidget(keepBoth_, 2, 1, 2, 1, Qt::AlignVCenter);
  grid->addWidget(keepBothAlways_, 2, 2, 2, 1, Qt::AlignVCenter);
  grid->addWidget(newLabel, 3, 0, Qt::AlignBottom);
  grid->addWidget(newLine, 4, 0);
  grid->addWidget(keepNew_, 4, 1);
  grid->addWidget(keepNewAlways_, 4, 2);
  grid->setRowMinimumHeight(2, 16);
  grid->setColumnStretch(0, 1);

  auto* abortRow = new QHBoxLayout;
  abortRow->addStretch();
  abortRow->addWidget(abort_);
  abortRow->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(14, 12, 14, 12);
  layout->setSpacing(10);
  layout->addLayout(grid);
  layout->addWidget(choose);
  layout->addLayout(abortRow);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QPushButton* DuplicateDialog::AddAnswerButton(const char* caption, const char* name,
                                              const char* description,
                                              scanner::DuplicateOutcome outcome, bool always) {
  auto* button = new QPushButton(QString::fromLatin1(caption), this);
  // Three buttons read "Keep only" or "Keep always": the name says which entry.
  button->setAccessibleName(QString::fromLatin1(name));
  button->setAccessibleDescription(QString::fromLatin1(description));
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, [this, outcome, always] {
    answer_ = {outcome, always};
    done(QDialog::Accepted);
  });
  return button;
}

QLabel* DuplicateDialog::LineBox(const std::string& line, const QFont& listFont) {
  auto* box = new QLabel(QStringFromWin1252(line), this);
  box->setTextFormat(Qt::PlainText);
  box->setFont(listFont);
  box->setTextInteractionFlags(Qt::TextSelectableByMouse);
  box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  box->setAutoFillBackground(true);
  box->setBackgroundRole(QPalette::Base);
  box->setMargin(3);
  const QFontMetrics metrics(listFont);
  box->setMinimumWidth(metrics.horizontalAdvance(QString(kLineBoxChars, QLatin1Char('M'))) + 8);
  return box;
}

void DuplicateDialog::placeOnOwner(const QWidget& owner) {
  const QRect ownerFrame = owner.frameGeometry();
  ensurePolished();
  layout()->activate();
  adjustSize();
  // Until it is shown the dialog knows no frame of its own; the owner's
  // frame is the best guess of what the window manager will add.
  const int frameWidth =
      isVisible() ? frameGeometry().width() : width() + ownerFrame.width() - owner.width();
  move(ownerFrame.x() + (ownerFrame.width() - frameWidth) / 2, ownerFrame.y());
}

// Escape and the close box mean "Abort scanning".
void DuplicateDialog::reject() {
  answer_ = {scanner::DuplicateOutcome::AbortScan, false};
  QDialog::reject();
}

void DuplicateDialog::setNextAnswer(scanner::DuplicateAnswer answer) {
  PresetAnswers().push_back(answer);
}

void DuplicateDialog::clearNextAnswers() {
  PresetAnswers().clear();
}

const std::vector<scanner::DuplicateRequest>& DuplicateDialog::shown() {
  return ShownRequests();
}

void DuplicateDialog::clearShown() {
  ShownRequests().clear();
}

scanner::DuplicateAnswer AskDuplicate(QWidget* parent, const scanner::DuplicateRequest& request,
                                      const QFont& listFont) {
  if (QCoreApplication::instance() &&
      QThread::currentThread() != QCoreApplication::instance()->thread()) {
    scanner::DuplicateAnswer answer{scanner::DuplicateOutcome::AbortScan, false};
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { answer = AskDuplicate(parent, request, listFont); },
        Qt::BlockingQueuedConnection);
    return answer;
  }
  ShownRequests().push_back(request);
  DuplicateDialog dialog(parent, request, listFont);
  std::deque<scanner::DuplicateAnswer>& preset = PresetAnswers();
  if (!preset.empty()) {
    const scanner::DuplicateAnswer answer = preset.front();
    preset.pop_front();
    return answer;
  }
  if (parent) dialog.placeOnOwner(*parent->window());
  QApplication::beep();
  dialog.exec();
  return dialog.answer();
}
