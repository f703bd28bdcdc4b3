#include "shell/skat/index_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kRightInsetPx = 15;
constexpr int kBottomInsetPx = 90;
constexpr int kVisibleLines = 24;
// Lines copied around a scroll step: more than the list ever shows at once.
constexpr int kSnapshotLines = 120;

std::optional<navdb::NavaidKind> KindOfTag(std::string_view tag) {
  for (navdb::NavaidKind kind : navdb::kAllKinds) {
    if (navdb::InfoOf(kind).indexTag == tag) return kind;
  }
  return std::nullopt;
}

}  // namespace

std::optional<IndexReference> ParseIndexReference(std::string_view line) {
  constexpr size_t kTagColumn = 24;
  constexpr size_t kRowColumn = 27;
  constexpr size_t kRowEnd = 32;
  if (line.size() < kRowColumn) return std::nullopt;
  const std::optional<navdb::NavaidKind> kind = KindOfTag(line.substr(kTagColumn, 3));
  if (!kind) return std::nullopt;
  // Decimal like strtol: blanks skipped, a sign, digits up to the first other character.
  std::string_view digits = line.substr(kRowColumn, kRowEnd - kRowColumn);
  size_t at = 0;
  while (at < digits.size() && digits[at] == ' ') ++at;
  bool negative = false;
  if (at < digits.size() && (digits[at] == '+' || digits[at] == '-'))
    negative = digits[at++] == '-';
  int row = 0;
  for (; at < digits.size() && digits[at] >= '0' && digits[at] <= '9'; ++at) {
    row = row * 10 + (digits[at] - '0');
  }
  if (negative && row != 0) return std::nullopt;
  return IndexReference{*kind, row};
}

QFont IndexListFont(int logicalDpiY) {
  QFont font(QStringLiteral("Liberation Mono"));
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPixelSize(std::max(12, logicalDpiY * 13 / 96));
  return font;
}

IndexWindow::IndexWindow(navdb::IndexLists& index, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window),
      index_(index),
      mainWindow_(mainWindow),
      model_(new IndexListModel(index.primary, this)),
      captions_(new QLabel(QString::fromLatin1(kColumnCaptions), this)),
      list_(new QListView(this)),
      up_(new QPushButton(QStringLiteral("Up   ^"), this)),
      down_(new QPushButton(QStringLiteral("Down   v"), this)),
      rebuild_(new QPushButton(QStringLiteral("Rebuild index"), this)),
      hide_(new QPushButton(QStringLiteral("Hide"), this)) {
  setWindowTitle(QStringLiteral("Index"));
  const QFont listFont = IndexListFont(logicalDpiY());

  captions_->setFont(listFont);
  captions_->setTextFormat(Qt::PlainText);
  captions_->setAccessibleName(captions_->text());
  // The captions stand over the columns: same font, same left edge as the
  // text inside the list.
  captions_->setContentsMargins(list_->frameWidth() + 2, 0, 0, 0);

  list_->setModel(model_);
  list_->setFont(listFont);
  list_->setUniformItemSizes(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setAccessibleName(windowTitle());
  const QFontMetrics metrics(listFont);
  list_->setMinimumWidth(metrics.horizontalAdvance(QString(34, QLatin1Char('0'))) +
                         list_->verticalScrollBar()->sizeHint().width() + 2 * list_->frameWidth());
  list_->setMinimumHeight(metrics.height() * kVisibleLines);

  for (QPushButton* button : {up_, down_, rebuild_, hide_}) {
    button->setAutoDefault(true);
    button->setAccessibleName(button->text());
  }
  // The arrows of the paging captions mean nothing read aloud.
  up_->setAccessibleName(QStringLiteral("Page up"));
  down_->setAccessibleName(QStringLiteral("Page down"));
  hide_->setDefault(true);

  connect(up_, &QPushButton::clicked, this, &IndexWindow::pageUp);
  connect(down_, &QPushButton::clicked, this, &IndexWindow::pageDown);
  connect(rebuild_, &QPushButton::clicked, this, &IndexWindow::rebuildRequested);
  connect(hide_, &QPushButton::clicked, this, &QWidget::hide);
  connect(list_, &QListView::doubleClicked, this, &IndexWindow::jumpToEntry);

  auto* listColumn = new QVBoxLayout;
  listColumn->setSpacing(2);
  listColumn->addWidget(captions_);
  listColumn->addWidget(list_, 1);
  auto* buttonColumn = new QVBoxLayout;
  buttonColumn->addSpacing(captions_->sizeHint().height() + 2);
  buttonColumn->addWidget(up_);
  buttonColumn->addWidget(down_);
  buttonColumn->addStretch();
  buttonColumn->addWidget(rebuild_);
  buttonColumn->addSpacing(12);
  buttonColumn->addWidget(hide_);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->addLayout(listColumn, 1);
  layout->addLayout(buttonColumn);
  adjustSize();
}

IndexWindow::~IndexWindow() {
  if (worker_.joinable()) {
    worker_.request_stop();
    worker_.join();
  }
}

void IndexWindow::reload() {
  if (paging_) return;  // the end of paging reads the lists again
  model_->attach();
}

void IndexWindow::detachLists() {
  if (paging_) return;
  model_->detach();
}

void IndexWindow::placeBesideMainWindow() {
  if (!mainWindow_) return;
  const QRect mainFrame = mainWindow_->frameGeometry();
  // Until it is first shown the window knows no frame of its own; the main
  // window's frame is the best guess of what the window manager will add.
  const QSize ownFrameSize = frameGeometry().size() != size()
                                 ? frameGeometry().size()
                                 : size() + mainFrame.size() - mainWindow_->size();
  move(mainFrame.x() + mainFrame.width() - kRightInsetPx - ownFrameSize.width(),
       mainFrame.y() + mainFrame.height() - kBottomInsetPx - ownFrameSize.height());
}

void IndexWindow::setCommandsEnabled(bool enabled) {
  commandsEnabled_ = enabled;
  updateButtons();
}

void IndexWindow::updateButtons() {
  const bool enabled = commandsEnabled_ && !paging_;
  up_->setEnabled(enabled);
  down_->setEnabled(enabled);
  rebuild_->setEnabled(enabled);
}

void IndexWindow::page(PageDirection direction) {
  if (paging_) return;
  paging_ = true;
  updateButtons();
  emit pagingStarted();
  // From here until finishPaging the view reads only copies of the lines.
  model_->detach();
  if (worker_.joinable()) worker_.join();
  worker_ = std::jthread([this, direction](std::stop_token stop) {
    PageIndex(
        index_, direction, [this](size_t row) { publishScrollStep(row); }, stop);
    if (stop.stop_requested()) return;
    QMetaObject::invokeMethod(
        this, [this, direction] { finishPaging(direction); }, Qt::QueuedConnection);
  });
}

void IndexWindow::publishScrollStep(size_t row) {
  const navdb::EntryList& primary = index_.primary;
  const int count = static_cast<int>(primary.Count());
  IndexSnapshot snapshot;
  snapshot.rowCount = count;
  snapshot.firstRow = std::max(0, static_cast<int>(row) - kSnapshotLines + 1);
  const int last = std::min(count, static_cast<int>(row) + kSnapshotLines / 4);
  for (int r = snapshot.firstRow; r < last; ++r) {
    const std::string_view line = primary.GetLine(static_cast<size_t>(r));
    snapshot.lines.push_back(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
  }
  bool alreadyPosted = false;
  {
    std::lock_guard lock(stepMutex_);
    alreadyPosted = pendingStep_.has_value();
    pendingStep_ = std::move(snapshot);
    pendingStepRow_ = static_cast<int>(row);
  }
  // A step still waiting for the GUI thread just gets newer lines.
  if (!alreadyPosted) {
    QMetaObject::invokeMethod(
        this, [this] { showScrollStep(); }, Qt::QueuedConnection);
  }
}

void IndexWindow::showScrollStep() {
  std::optional<IndexSnapshot> step;
  int row = 0;
  {
    std::lock_guard lock(stepMutex_);
    step.swap(pendingStep_);
    row = pendingStepRow_;
  }
  if (!step || !paging_) return;
  model_->showSnapshot(std::move(*step));
  const QModelIndex selected = model_->index(row);
  list_->setCurrentIndex(selected);
  list_->scrollTo(selected);
}

void IndexWindow::finishPaging(PageDirection direction) {
  if (worker_.joinable()) worker_.join();
  {
    std::lock_guard lock(stepMutex_);
    pendingStep_.reset();
  }
  paging_ = false;
  model_->attach();
  list_->clearSelection();
  list_->setCurrentIndex(QModelIndex());
  if (direction == PageDirection::Up) {
    list_->scrollToTop();
  } else {
    list_->scrollToBottom();
  }
  updateButtons();
  emit pagingFinished();
}

void IndexWindow::jumpToEntry(const QModelIndex& index) {
  if (paging_ || !index.isValid()) return;
  if (const std::optional<IndexReference> reference =
          ParseIndexReference(model_->lineAt(index.row()))) {
    emit entryRequested(reference->kind, reference->row);
  }
}

// The close box rebuilds the index, like "Rebuild index" (and does nothing
// while that is disabled). The program itself hides the window instead;
// only once the main window is gone does a close really close.
void IndexWindow::closeEvent(QCloseEvent* event) {
  if (!mainWindow_ || !mainWindow_->isVisible()) {
    event->accept();
    return;
  }
  event->ignore();
  if (rebuild_->isEnabled()) emit rebuildRequested();
}

// Return and Enter press "Hide", the default button, unless a button has
// the focus and takes them itself.
void IndexWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    hide_->click();
    return;
  }
  QWidget::keyPressEvent(event);
}
