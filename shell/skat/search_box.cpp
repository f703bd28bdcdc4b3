#include "shell/skat/search_box.h"

#include <QAction>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QShortcut>
#include <QTimer>

#include "shell/skat/entry_list_model.h"
#include "shell/skat/main_window.h"
#include "shell/skat/qt_text.h"

SearchBox::SearchBox(MainWindow& window, QWidget* parent) : QWidget(parent), window_(window) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel("Search", this);
  layout->addWidget(label);
  field_ = new QLineEdit(this);
  field_->setObjectName("Search");
  field_->setAccessibleName("Search");
  field_->setAccessibleDescription(
      "Shows only the lines whose identifier, name or frequency "
      "holds the text (Ctrl+F)");
  field_->setToolTip(field_->accessibleDescription());
  field_->setPlaceholderText("ID, name or frequency");
  field_->setClearButtonEnabled(true);
  field_->setMaxLength(40);
  // Room for a 24-character name and the clear button.
  field_->setMinimumWidth(field_->fontMetrics().horizontalAdvance(QString(26, QLatin1Char('M'))));
  label->setBuddy(field_);
  layout->addWidget(field_, 1);
  result_ = new QLabel(this);
  result_->setObjectName("Search result");
  result_->setAccessibleName("Search result");
  result_->setMinimumWidth(result_->fontMetrics().horizontalAdvance("000,000 matches"));
  layout->addWidget(result_);

  connect(field_, &QLineEdit::textChanged, this, &SearchBox::apply);
  connect(&window_, &MainWindow::listsChanged, this, &SearchBox::showResult);
  // The window's actions are made by the time the event loop runs.
  QTimer::singleShot(0, this, &SearchBox::addFindShortcut);
}

void SearchBox::addFindShortcut() {
  const QKeySequence find(Qt::CTRL | Qt::Key_F);
  for (const QAction* action : window_.findChildren<QAction*>()) {
    if (action->shortcuts().contains(find)) return;
  }
  auto* shortcut = new QShortcut(find, &window_);
  connect(shortcut, &QShortcut::activated, this, &SearchBox::focus);
}

void SearchBox::apply() {
  const navdb::NavaidKind kind = window_.currentKind();
  EntryListModel* model = window_.model(kind);
  QListView* view = window_.listView(kind);
  const int current = window_.currentEntryRow(kind);
  model->setSearch(LineSearch(kind, Win1252FromQString(field_->text())));
  const int shown = model->viewRow(current);
  if (shown >= 0 && view->selectionModel()->currentIndex().row() != shown) {
    const QModelIndex index = model->index(shown);
    view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    view->scrollTo(index, QAbstractItemView::PositionAtCenter);
  }
  showResult();
}

void SearchBox::clear() {
  const QSignalBlocker quiet(field_);
  field_->clear();
  for (navdb::NavaidKind kind : navdb::kAllKinds) window_.model(kind)->setSearch(LineSearch());
  showResult();
}

void SearchBox::focus() {
  field_->setFocus(Qt::ShortcutFocusReason);
  field_->selectAll();
}

QString SearchBox::resultText() const {
  const EntryListModel* model = window_.model(window_.currentKind());
  if (!model->filtered()) return {};
  const int found = model->rowCount();
  if (found == 0) return QStringLiteral("not found");
  if (found == 1) return QStringLiteral("1 match");
  return QStringLiteral("%L1 matches").arg(found);
}

void SearchBox::showResult() {
  result_->setText(resultText());
}
