#include "shell/skat/conflict_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <deque>

#include "navdb/edit_journal.h"
#include "shell/core/entry_search.h"
#include "shell/skat/hand_edit_parts.h"
#include "shell/skat/qt_text.h"

using shell::ConflictChoice;

namespace {

std::deque<std::function<void(ConflictDialog&)>>& PresetActions() {
  static std::deque<std::function<void(ConflictDialog&)>> actions;
  return actions;
}

int& ShownCount() {
  static int count = 0;
  return count;
}

enum Column { kRecords, kAction, kKind, kEntry, kProblem, kChoice, kColumnCount };

constexpr std::array<ConflictChoice, 3> kChoices = {
    ConflictChoice::ApplyAnyway, ConflictChoice::DropRecord, ConflictChoice::KeepForLater};

QString ChoiceText(ConflictChoice choice) {
  switch (choice) {
    case ConflictChoice::ApplyAnyway:
      return QStringLiteral("Apply anyway");
    case ConflictChoice::DropRecord:
      return QStringLiteral("Drop the record");
    case ConflictChoice::KeepForLater:
      break;
  }
  return QStringLiteral("Keep for later");
}

// "3" or "3, 5 and 8".
QString RecordNumbersText(const std::vector<size_t>& numbers) {
  QString text;
  for (size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) text += i + 1 == numbers.size() ? QStringLiteral(" and ") : QStringLiteral(", ");
    text += QString::number(numbers[i]);
  }
  return text;
}

// What happened, as a sentence.
QString ProblemSentence(const shell::ReplayConflict& conflict) {
  QString text = QStringFromWin1252(shell::ProblemText(conflict));
  if (!text.isEmpty()) text[0] = text[0].toUpper();
  return text + QLatin1Char('.');
}

}  // namespace

ConflictDialog::ConflictDialog(QWidget* parent, std::vector<shell::ReplayConflict> conflicts,
                               const QFont& listFont)
    : QDialog(parent),
      conflicts_(std::move(conflicts)),
      choices_(conflicts_.size(), ConflictChoice::KeepForLater) {
  setWindowTitle(QStringLiteral("Hand edits not replayed"));
  setObjectName(windowTitle());
  setModal(true);

  const size_t count = conflicts_.size();
  auto* intro = new QLabel(
      QString::number(count) +
          (count == 1 ? QStringLiteral(" hand edit of edits.journal could not be made again as it "
                                       "was recorded.")
                      : QStringLiteral(" hand edits of edits.journal could not be made again as "
                                       "they were recorded.")) +
          QStringLiteral(" Choose what becomes of each: applied anyway, its records dropped from "
                         "the journal, or kept in the journal for later."),
      this);
  intro->setWordWrap(true);
  intro->setObjectName("intro");

  list_ = new QTreeWidget(this);
  list_->setObjectName("Hand edits not replayed list");
  list_->setAccessibleName(QStringLiteral("Hand edits not replayed"));
  list_->setColumnCount(kColumnCount);
  list_->setHeaderLabels({"Records", "Action", "Kind", "Entry", "What happened", "Choice"});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  for (size_t i = 0; i < count; ++i) {
    const shell::ReplayConflict& conflict = conflicts_[i];
    const navdb::JournalRecord& change = conflict.change;
    const std::string_view line = change.after.empty() ? change.before : change.after;
    auto* item = new QTreeWidgetItem(list_);
    item->setText(kRecords, RecordNumbersText(conflict.recordNumbers));
    item->setText(kAction, ActionCaption(change.action));
    item->setText(kKind, KindCaption(change.kind));
    item->setText(kEntry, QStringFromWin1252(shell::IdentityOf(change.kind, line)).simplified());
    item->setText(kProblem, ProblemSentence(conflict));
    item->setToolTip(kProblem, item->text(kProblem));
    item->setText(kChoice, ChoiceText(choices_[i]));
  }
  // What happened takes the room the short columns leave.
  QHeaderView* header = list_->header();
  header->setStretchLastSection(false);
  for (int column = 0; column < kColumnCount; ++column) {
    header->setSectionResizeMode(
        column, column == kProblem ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
  }
  const int rowHeightPx = QFontMetrics(font()).height() + 6;
  list_->setMinimumHeight(rowHeightPx * static_cast<int>(std::clamp<size_t>(count, 3, 8) + 1));

  auto* detail = new QGroupBox(QStringLiteral("Selected hand edit"), this);
  auto* detailLayout = new QGridLayout(detail);
  problem_ = new QLabel(detail);
  problem_->setWordWrap(true);
  problem_->setObjectName("problem");
  detailLayout->addWidget(problem_, 0, 0, 1, 2);
  const std::array<const char*, 3> captions = {
      "Recorded before :", "Recorded after :", "Found now :"};
  for (int i = 0; i < 3; ++i) {
    lineCaptions_[i] = new QLabel(QString::fromLatin1(captions[i]), detail);
    lines_[i] = MakeLineBox(detail, listFont);
    lines_[i]->setAccessibleName(lineCaptions_[i]->text());
    lineCaptions_[i]->setBuddy(lines_[i]);
    detailLayout->addWidget(lineCaptions_[i], i + 1, 0);
    detailLayout->addWidget(lines_[i], i + 1, 1);
  }
  detailLayout->setColumnStretch(1, 1);

  auto* choiceBox = new QGroupBox(QStringLiteral("What becomes of the selected hand edits"), this);
  auto* choiceLayout = new QHBoxLayout(choiceBox);
  choiceGroup_ = new QButtonGroup(this);
  const std::array<const char*, 3> choiceCaptions = {"&Apply anyway", "&Drop the record",
                                                     "&Keep for later"};
  for (size_t i = 0; i < kChoices.size(); ++i) {
    auto* button = new QRadioButton(QString::fromLatin1(choiceCaptions[i]), choiceBox);
    button->setObjectName(ChoiceText(kChoices[i]));
    // The focus stays in the list: Alt and the underlined letter choose
    // for its selected rows, the arrows go on to the next.
    button->setFocusPolicy(Qt::NoFocus);
    choiceGroup_->addButton(button, static_cast<int>(kChoices[i]));
    choiceLayout->addWidget(button);
  }
  choiceLayout->addStretch(1);
  connect(choiceGroup_, &QButtonGroup::idClicked, this,
          [this](int id) { choose(static_cast<ConflictChoice>(id)); });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(14, 12, 14, 12);
  layout->setSpacing(10);
  layout->addWidget(intro);
  layout->addWidget(list_, 1);
  layout->addWidget(detail);
  layout->addWidget(choiceBox);
  layout->addWidget(buttons);

  connect(list_, &QTreeWidget::currentItemChanged, this, [this] { showCurrent(); });
  if (count > 0) list_->setCurrentItem(list_->topLevelItem(0));
  list_->setFocus();
  showCurrent();
}

QRadioButton* ConflictDialog::choiceButton(ConflictChoice choice) const {
  return qobject_cast<QRadioButton*>(choiceGroup_->button(static_cast<int>(choice)));
}

RecordChoices ConflictDialog::recordChoices() const {
  RecordChoices chosen;
  for (size_t i = 0; i < conflicts_.size(); ++i) {
    chosen.emplace_back(conflicts_[i].recordNumbers.back(), choices_[i]);
  }
  return chosen;
}

void ConflictDialog::showCurrent() {
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  if (row < 0) {
    problem_->clear();
    for (QLabel* line : lines_) line->clear();
    return;
  }
  const shell::ReplayConflict& conflict = conflicts_[static_cast<size_t>(row)];
  const QString records =
      conflict.recordNumbers.size() == 1 ? QStringLiteral("Record ") : QStringLiteral("Records ");
  problem_->setText(records + RecordNumbersText(conflict.recordNumbers) + QStringLiteral(" (") +
                    list_->currentItem()->text(kAction).toLower() + QLatin1Char(' ') +
                    list_->currentItem()->text(kKind) + QStringLiteral(", ") +
                    QString::fromStdString(conflict.change.timeUtc) + QStringLiteral("): ") +
                    ProblemSentence(conflict));
  const std::array<const std::string*, 3> texts = {&conflict.change.before, &conflict.change.after,
                                                   &conflict.foundLine};
  for (size_t i = 0; i < texts.size(); ++i) {
    lines_[i]->setText(texts[i]->empty() ? QStringLiteral("(none)")
                                         : QStringFromWin1252(*texts[i]));
  }
  showChoice(row);
}

void ConflictDialog::showChoice(int row) {
  choiceButton(choices_[static_cast<size_t>(row)])->setChecked(true);
}

void ConflictDialog::choose(ConflictChoice choice) {
  QList<QTreeWidgetItem*> chosen = list_->selectedItems();
  if (chosen.isEmpty() && list_->currentItem()) chosen.push_back(list_->currentItem());
  for (QTreeWidgetItem* item : chosen) {
    choices_[static_cast<size_t>(list_->indexOfTopLevelItem(item))] = choice;
    item->setText(kChoice, ChoiceText(choice));
  }
}

// Escape and the close box keep every record for later: nothing is applied
// or dropped that the user did not confirm.
void ConflictDialog::reject() {
  std::fill(choices_.begin(), choices_.end(), ConflictChoice::KeepForLater);
  QDialog::reject();
}

void ConflictDialog::setNextAction(std::function<void(ConflictDialog&)> action) {
  PresetActions().push_back(std::move(action));
}

int ConflictDialog::shownCount() {
  return ShownCount();
}

void ConflictDialog::clearShown() {
  ShownCount() = 0;
  PresetActions().clear();
}

RecordChoices AskConflictChoices(QWidget* parent,
                                 const std::vector<shell::ReplayConflict>& conflicts,
                                 const QFont& listFont) {
  ++ShownCount();
  ConflictDialog dialog(parent, conflicts, listFont);
  FitToContents(dialog);
  if (parent) CentreOnOwner(dialog, *parent->window());
  std::deque<std::function<void(ConflictDialog&)>>& preset = PresetActions();
  if (!preset.empty()) {
    const std::function<void(ConflictDialog&)> action = std::move(preset.front());
    preset.pop_front();
    dialog.show();
    action(dialog);
    if (dialog.isVisible()) dialog.reject();
  } else {
    dialog.exec();
  }
  return dialog.recordChoices();
}
