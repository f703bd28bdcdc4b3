#include "shell/skat/hand_edits_view.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <string>

#include "navdb/journal_file.h"
#include "shell/core/app_state.h"
#include "shell/skat/hand_edit_parts.h"
#include "shell/skat/hand_edits_model.h"
#include "shell/skat/message_box.h"
#include "shell/skat/qt_text.h"
#include "shell/skat/window_view.h"

namespace {

navdb::MessageAnswer Ask(QWidget* parent, std::string caption, std::string text,
                         navdb::MessageIcon icon, navdb::MessageButtons buttons) {
  return ShowMessageBox(parent, {std::move(caption), std::move(text), icon, buttons, false});
}

QString CountText(size_t count, const char* one, const char* many) {
  return QString::number(count) + QLatin1Char(' ') + QString::fromLatin1(count == 1 ? one : many);
}

}  // namespace

HandEditsView::HandEditsView(WindowView& window, shell::AppState& state)
    : QDialog(window.widget()), window_(window), state_(state) {
  setWindowTitle(QStringLiteral("Hand edits"));
  setObjectName(windowTitle());
  setWindowModality(Qt::WindowModal);
  setAttribute(Qt::WA_DeleteOnClose);

  auto* intro = new QLabel(
      QStringLiteral("Every change of an entry is kept in edits.journal and applied again after "
                     "\"Rebuild database\" and \"Restore original DB\". Dropping a record leaves "
                     "the database as it is: the edit is only no longer applied again."),
      this);
  intro->setWordWrap(true);
  summary_ = new QLabel(this);
  summary_->setObjectName("summary");

  model_ = new HandEditsModel(window.listFont(), this);
  table_ = new QTableView(this);
  table_->setObjectName("Hand edits list");
  table_->setAccessibleName(QStringLiteral("Hand edits"));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setWordWrap(false);
  table_->setTabKeyNavigation(false);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(QFontMetrics(window.listFont()).height() + 6);
  table_->horizontalHeader()->setHighlightSections(false);
  table_->setMinimumHeight(table_->verticalHeader()->defaultSectionSize() * 12);

  auto* detail = new QGroupBox(QStringLiteral("Selected record"), this);
  auto* detailLayout = new QGridLayout(detail);
  const std::array<const char*, 2> captions = {"Line before :", "Line after :"};
  for (int i = 0; i < 2; ++i) {
    auto* caption = new QLabel(QString::fromLatin1(captions[i]), detail);
    lines_[i] = MakeLineBox(detail, window.listFont());
    lines_[i]->setAccessibleName(caption->text());
    caption->setBuddy(lines_[i]);
    detailLayout->addWidget(caption, i, 0);
    detailLayout->addWidget(lines_[i], i, 1);
  }
  detailLayout->setColumnStretch(1, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  dropButton_ = buttons->addButton(QStringLiteral("&Drop record"), QDialogButtonBox::ActionRole);
  dropButton_->setObjectName("Drop record");
  dropButton_->setAutoDefault(false);
  buttons->button(QDialogButtonBox::Close)->setDefault(true);
  connect(dropButton_, &QPushButton::clicked, this, &HandEditsView::dropSelected);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* deleteKey = new QShortcut(QKeySequence::Delete, table_);
  deleteKey->setContext(Qt::WidgetShortcut);
  connect(deleteKey, &QShortcut::activated, this, &HandEditsView::dropSelected);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(14, 12, 14, 12);
  layout->setSpacing(10);
  layout->addWidget(intro);
  layout->addWidget(summary_);
  layout->addWidget(table_, 1);
  layout->addWidget(detail);
  layout->addWidget(buttons);

  connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { showCurrent(); });
}

void HandEditsView::reload() {
  const navdb::Database& db = state_.db;
  std::vector<navdb::JournalRecord> journal;
  const platform::Result<navdb::JournalUpdate> opened = navdb::OpenJournalFile(db.folder);
  if (!opened) {
    Ask(this, "Error", opened.error().message, navdb::MessageIcon::Error,
        navdb::MessageButtons::Ok);
  } else {
    if (opened->setAside) {
      Ask(this, "Warning", navdb::SetAsideText(*opened->setAside, opened->records.size()),
          navdb::MessageIcon::Warning, navdb::MessageButtons::Ok);
    }
    journal = opened->records;
  }
  model_->setRecords(std::move(journal), db.unsavedEdits);
  QString summary =
      CountText(model_->journalCount(), "record", "records") + QStringLiteral(" in edits.journal");
  if (model_->unsavedCount() > 0) {
    summary += QStringLiteral("; ") +
               CountText(model_->unsavedCount(), "edit not saved yet", "edits not saved yet") +
               QStringLiteral(" (it joins the journal with the next save)");
  }
  summary_->setText(summary + QLatin1Char('.'));
  table_->resizeColumnsToContents();
  if (model_->rowCount() > 0) table_->selectRow(0);
  showCurrent();
  fitToScreen();
}

void HandEditsView::fitToScreen() {
  // Wide enough for both lines of a record when the screen has the room;
  // the table scrolls sideways otherwise.
  int tableWidthPx = table_->frameWidth() * 2 + table_->verticalScrollBar()->sizeHint().width();
  for (int column = 0; column < model_->columnCount(); ++column) {
    tableWidthPx += table_->columnWidth(column);
  }
  const QScreen* screen = window_.widget()->screen();
  const int screenWidthPx = screen ? screen->availableGeometry().width() * 9 / 10 : 1024;
  const int margins = width() - table_->width();
  const int wantedPx = std::min(screenWidthPx, std::max(width(), tableWidthPx + margins));
  if (wantedPx == width()) return;
  resize(wantedPx, height());
  CentreOnOwner(*this, *window_.widget());
}

int HandEditsView::currentRow() const {
  const QModelIndex current = table_->selectionModel()->currentIndex();
  return current.isValid() ? current.row() : -1;
}

void HandEditsView::showCurrent() {
  const int row = currentRow();
  dropButton_->setEnabled(row >= 0 && model_->journalIndex(row).has_value());
  if (row < 0) {
    for (QLabel* line : lines_) line->clear();
    return;
  }
  const navdb::JournalRecord& record = model_->record(row);
  const std::array<const std::string*, 2> texts = {&record.before, &record.after};
  for (size_t i = 0; i < texts.size(); ++i) {
    lines_[i]->setText(texts[i]->empty() ? QStringLiteral("(none)")
                                         : QStringFromWin1252(*texts[i]));
  }
}

void HandEditsView::dropSelected() {
  const int row = currentRow();
  const std::optional<size_t> index = row >= 0 ? model_->journalIndex(row) : std::nullopt;
  if (!index) return;
  const navdb::JournalRecord record = model_->record(row);
  const std::string number = std::to_string(*index + 1);
  if (Ask(this, "Warning",
          "Drop record " + number +
              " from edits.journal ?\r\rThe database keeps the edit; it "
              "is only no longer applied again after a rebuild or a restore.",
          navdb::MessageIcon::Warning, navdb::MessageButtons::YesNo) != navdb::MessageAnswer::Yes) {
    return;
  }
  const platform::Result<bool> dropped = navdb::DropJournalRecord(state_.db.folder, *index, record);
  if (!dropped) {
    Ask(this, "Error", dropped.error().message, navdb::MessageIcon::Error,
        navdb::MessageButtons::Ok);
    return;
  }
  if (!*dropped) {
    Ask(this, "Warning",
        "Record " + number + " of edits.journal is no longer the one shown: nothing was dropped.",
        navdb::MessageIcon::Warning, navdb::MessageButtons::Ok);
  }
  reload();
  // The focus stays where the user was, on the record that took its place.
  if (model_->rowCount() > 0) table_->selectRow(std::min(row, model_->rowCount() - 1));
}
