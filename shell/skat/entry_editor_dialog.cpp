#include "shell/skat/entry_editor_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

#include "shell/core/app_state.h"
#include "shell/skat/fixed_pitch_font.h"
#include "shell/skat/message_box.h"
#include "shell/skat/qt_text.h"
#include "shell/skat/unsaved_changes.h"
#include "shell/skat/window_view.h"

using shell::CoordinateAxis;
using shell::EditorBox;

namespace {

void Name(QWidget* widget, const QString& name) {
  widget->setObjectName(name);
  widget->setAccessibleName(name);
}

// What a screen reader says for a box that stands without its own caption
// (the parts of a coordinate, the decimals of a frequency); a box that
// opens a captioned row takes the row's caption instead.
QString BoxName(EditorBox box) {
  static const std::array<const char*, shell::kEditorBoxCount> kNames = {
      "Identifier",
      "Name",
      "Latitude degrees",
      "Latitude minutes",
      "Latitude seconds",
      "Latitude hundredths of a second",
      "Latitude whole minutes",
      "Latitude tenths of a minute",
      "Longitude degrees",
      "Longitude minutes",
      "Longitude seconds",
      "Longitude hundredths of a second",
      "Longitude whole minutes",
      "Longitude tenths of a minute",
      "Altitude",
      "Frequency",
      "Frequency decimals",
      "Range",
      "Direction",
      "Magnetic variation",
      "Runway",
      "Opposite runway",
      "Heading",
      "Opposite heading",
      "Length",
      "Width",
      "ATIS frequency",
      "ATIS frequency decimals"};
  return QString::fromLatin1(kNames[static_cast<size_t>(box)]);
}

// Leaving a box by the keyboard or the mouse; not the focus a message box
// or another window takes for a while.
bool UserLeaves(Qt::FocusReason reason) {
  return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
         reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason;
}

constexpr std::pair<EditorBox, EditorBox> kCoordinateBoxes[2][6] = {
    {{EditorBox::LatitudeDegrees, EditorBox::LatitudeMinutes},
     {EditorBox::LatitudeSeconds, EditorBox::LatitudeHundredths},
     {EditorBox::LatitudeDmMinutes, EditorBox::LatitudeDmTenths}},
    {{EditorBox::LongitudeDegrees, EditorBox::LongitudeMinutes},
     {EditorBox::LongitudeSeconds, EditorBox::LongitudeHundredths},
     {EditorBox::LongitudeDmMinutes, EditorBox::LongitudeDmTenths}},
};

}  // namespace

QFont EntryEditorDialog::EditorFontFor(int dpiX, int dpiY) {
  return FixedPitchFont(dpiY / 8, dpiX / 13);
}

EntryEditorDialog::EntryEditorDialog(WindowView& window, shell::AppState& state,
                                     navdb::NavaidKind kind, std::optional<size_t> row)
    : QDialog(window.widget()), window_(window), state_(state) {
  session_ = shell::OpenEntryEditor(state.db, kind, row);
  setWindowTitle(QString::fromLatin1(navdb::InfoOf(kind).editorTitle));
  setAccessibleName(windowTitle());
  setModal(true);
  setFont(EditorFontFor(window.widget()->logicalDpiX(), window.widget()->logicalDpiY()));
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  auto* formWidget = new QWidget(this);
  form_ = new QGridLayout(formWidget);
  form_->setContentsMargins(0, 0, 0, 0);
  form_->setHorizontalSpacing(8);
  form_->setColumnStretch(2, 1);
  layout->addWidget(formWidget);
}

navdb::MessageAnswer EntryEditorDialog::Reports::Message(
    const navdb::MessageRequest& request) const {
  return ShowMessageBox(&dialog_, request);
}

void EntryEditorDialog::Reports::EntryInFocus(navdb::NavaidKind kind, int row) const {
  // The list may have grown under its model: show the new rows first.
  dialog_.window_.reloadList(kind);
  dialog_.window_.selectRow(kind, row);
}

void EntryEditorDialog::Reports::EntryCountChanged(navdb::NavaidKind kind, int count) const {
  dialog_.window_.showEntryCount(kind, count);
}

void EntryEditorDialog::Reports::Alert() const {
  ++dialog_.beeps_;
  QApplication::beep();
}

QLineEdit* EntryEditorDialog::box(EditorBox box) const {
  const auto found = boxes_.find(box);
  return found == boxes_.end() ? nullptr : found->second;
}

QComboBox* EntryEditorDialog::hemisphereChoice(CoordinateAxis axis) const {
  return axis == CoordinateAxis::Latitude ? latitudeChoice_ : longitudeChoice_;
}

QPushButton* EntryEditorDialog::button(const QString& caption) const {
  return findChild<QPushButton*>(caption);
}

QLineEdit* EntryEditorDialog::makeBox(EditorBox box) {
  const size_t maxChars = shell::MaxChars(session_.kind, box);
  auto* edit = new QLineEdit(this);
  edit->setAccessibleName(BoxName(box));
  edit->setMaxLength(static_cast<int>(maxChars));
  const QFontMetrics metrics(font());
  // Room for every character the box takes, and the frame around them.
  edit->setFixedWidth(metrics.horizontalAdvance(QString(static_cast<int>(maxChars), 'M')) + 12);
  if (shell::CharactersOf(box) == shell::BoxCharacters::Digits) edit->setAlignment(Qt::AlignRight);
  connect(edit, &QLineEdit::textEdited, this, [this, box] { onBoxEdited(box); });
  boxes_[box] = edit;
  registerFocus(edit);
  return edit;
}

QLineEdit* EntryEditorDialog::makeDisplayBox(EditorBox box) {
  QLineEdit* edit = makeBox(box);
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::NoFocus);
  focusChain_.pop_back();
  return edit;
}

QLabel* EntryEditorDialog::makeText(const QString& text) {
  auto* label = new QLabel(text, this);
  label->setAccessibleName(text);
  return label;
}

void EntryEditorDialog::addRow(const QString& caption, std::initializer_list<QWidget*> widgets) {
  auto* captionLabel = makeText(caption);
  captionLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  form_->addWidget(captionLabel, formRows_, 0);
  auto* content = new QWidget(this);
  auto* layout = new QHBoxLayout(content);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  for (QWidget* widget : widgets) layout->addWidget(widget);
  layout->addStretch(1);
  form_->addWidget(content, formRows_, 1, 1, 2);
  if (!std::empty(widgets)) {
    captionLabel->setBuddy(*widgets.begin());
    if (auto* edit = qobject_cast<QLineEdit*>(*widgets.begin())) Name(edit, caption);
  }
  ++formRows_;
}

void EntryEditorDialog::addWideRow(QWidget* widget) {
  form_->addWidget(widget, formRows_++, 0, 1, 3);
}

void EntryEditorDialog::addIdentityRows(const QString& identifierCaption,
                                        const QString& nameCaption) {
  addRow(identifierCaption, {makeBox(EditorBox::Identifier)});
  addRow(nameCaption, {makeBox(EditorBox::Name)});
}

void EntryEditorDialog::addCoordinateRow(const QString& caption, CoordinateAxis axis,
                                         bool minutesAndTenths) {
  const bool latitude = axis == CoordinateAxis::Latitude;
  const auto& boxes = kCoordinateBoxes[latitude ? 0 : 1];
  auto* choice = new QComboBox(this);
  choice->addItems(latitude ? QStringList{"N", "S"} : QStringList{"E", "W"});
  Name(choice, caption + " hemisphere");
  (latitude ? latitudeChoice_ : longitudeChoice_) = choice;
  registerFocus(choice);

  auto* coordinate = new QWidget(this);
  auto* grid = new QGridLayout(coordinate);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(2);
  grid->addWidget(choice, 0, 0);
  grid->addWidget(makeBox(boxes[0].first), 0, 1);
  grid->addWidget(makeText(QString(QChar(0xB0))), 0, 2);
  grid->addWidget(makeBox(boxes[0].second), 0, 3);
  grid->addWidget(makeText("'"), 0, 4);
  grid->addWidget(makeBox(boxes[1].first), 0, 5);
  grid->addWidget(makeText("."), 0, 6);
  grid->addWidget(makeBox(boxes[1].second), 0, 7);
  if (minutesAndTenths) {
    auto* dm = makeText("or");
    dm->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(dm, 1, 0, 1, 3);
    grid->addWidget(makeBox(boxes[2].first), 1, 3);
    grid->addWidget(makeText("."), 1, 4);
    grid->addWidget(makeBox(boxes[2].second), 1, 5, Qt::AlignLeft);
    grid->addWidget(makeText("'"), 1, 6);
  }
  grid->setColumnStretch(8, 1);
  auto* captionLabel = makeText(caption);
  captionLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
  captionLabel->setBuddy(choice);
  captionLabel->setContentsMargins(0, 4, 0, 0);
  form_->addWidget(captionLabel, formRows_, 0);
  form_->addWidget(coordinate, formRows_++, 1, 1, 2);
}

void EntryEditorDialog::checkOnLeave(QLineEdit* edit, std::function<shell::LeaveOutcome()> check) {
  leaveChecks_[edit] = std::move(check);
  edit->installEventFilter(this);
}

bool EntryEditorDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && leaveChecks_.count(watched) &&
      UserLeaves(static_cast<QFocusEvent*>(event)->reason())) {
    const shell::LeaveOutcome outcome = leaveChecks_[watched]();
    showFields();
    if (outcome == shell::LeaveOutcome::FocusStays) {
      auto* edit = static_cast<QLineEdit*>(watched);
      QTimer::singleShot(0, edit, [edit] {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
      });
    }
  }
  return QDialog::eventFilter(watched, event);
}

void EntryEditorDialog::finish() {
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (const char* caption : {"Validate", "Add", "Delete", "Cancel"}) {
    auto* button = new QPushButton(caption, this);
    Name(button, caption);
    buttons->addWidget(button);
    registerFocus(button);
  }
  static_cast<QVBoxLayout*>(layout())->addSpacing(8);
  static_cast<QVBoxLayout*>(layout())->addLayout(buttons);
  QPushButton* cancel = button("Cancel");
  cancel->setDefault(true);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(button("Validate"), &QPushButton::clicked, this, [this] { act(&shell::ValidateEntry); });
  connect(button("Add"), &QPushButton::clicked, this, [this] { act(&shell::AddEntry); });
  connect(button("Delete"), &QPushButton::clicked, this, [this] { act(&shell::DeleteEntry); });
  for (size_t i = 1; i < focusChain_.size(); ++i) {
    setTabOrder(focusChain_[i - 1], focusChain_[i]);
  }
  showFields();
  openedValues_ = ShownValuesOf(*this);
  if (!focusChain_.empty()) focusChain_.front()->setFocus();
}

bool EntryEditorDialog::changed() const {
  return ShownValuesOf(*this) != openedValues_;
}

void EntryEditorDialog::reject() {
  if (changed() && !AgreesToDiscard(this, "The entry was changed.\n\nDiscard the changes ?")) {
    return;
  }
  QDialog::reject();
}

void EntryEditorDialog::showFields() {
  for (const auto& [box, edit] : boxes_) {
    const QString text = QStringFromWin1252(shell::BoxText(session_.fields, box));
    if (edit->text() != text) edit->setText(text);
  }
  const auto showHemisphere = [](QComboBox* choice, const std::string& hemisphere) {
    if (choice) choice->setCurrentIndex(choice->findText(QString::fromStdString(hemisphere)));
  };
  showHemisphere(latitudeChoice_, session_.fields.latitude.hemisphere);
  showHemisphere(longitudeChoice_, session_.fields.longitude.hemisphere);
}

void EntryEditorDialog::readChoices() {
  const auto readHemisphere = [](QComboBox* choice, std::string& hemisphere) {
    if (choice) hemisphere = choice->currentIndex() < 0 ? "" : choice->currentText().toStdString();
  };
  readHemisphere(latitudeChoice_, session_.fields.latitude.hemisphere);
  readHemisphere(longitudeChoice_, session_.fields.longitude.hemisphere);
}

void EntryEditorDialog::onBoxEdited(EditorBox box) {
  QLineEdit* edit = boxes_[box];
  const QString typed = edit->text();
  const int cursor = edit->cursorPosition();
  shell::UserEditsBox(session_.kind, session_.fields, box, Win1252FromQString(typed));
  const QString clean = QStringFromWin1252(shell::BoxText(session_.fields, box));
  if (clean != typed) {
    // Refused characters vanish where they were typed.
    edit->setText(clean);
    edit->setCursorPosition(std::clamp(cursor - static_cast<int>(typed.size() - clean.size()), 0,
                                       static_cast<int>(clean.size())));
  }
  readChoices();
  showFields();
}

void EntryEditorDialog::act(shell::EditorOutcome (*buttonAction)(navdb::Database&,
                                                                 shell::EditorSession&,
                                                                 const navdb::Reporter&)) {
  readChoices();
  const shell::EditStart editStart = shell::EditStartOf(state_.db);
  const shell::EditorOutcome outcome = buttonAction(state_.db, session_, ui_);
  state_.editHistory.NoteEdits(state_.db, editStart);
  window_.reloadLists();
  if (outcome == shell::EditorOutcome::Close) accept();
}

void EntryEditorDialog::centreOnOwner() {
  ensurePolished();
  layout()->activate();
  adjustSize();
  const QRect owner = window_.widget()->frameGeometry();
  QRect frame = frameGeometry();
  frame.moveCenter(owner.center());
  move(frame.topLeft());
}
