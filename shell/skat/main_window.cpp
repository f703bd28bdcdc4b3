#include "shell/skat/main_window.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "shell/core/app_state.h"
#include "shell/skat/about_box.h"
#include "shell/skat/database_commands.h"
#include "shell/skat/entry_commands.h"
#include "shell/skat/entry_editors.h"
#include "shell/skat/entry_list_model.h"
#include "shell/skat/fixed_pitch_font.h"
#include "shell/skat/hand_edit_parts.h"
#include "shell/skat/hand_edits_view.h"
#include "shell/skat/help_window.h"
#include "shell/skat/index_window.h"
#include "shell/skat/map_window.h"
#include "shell/skat/menu_bar.h"
#include "shell/skat/message_box.h"
#include "shell/skat/plan_launcher.h"
#include "shell/skat/qt_text.h"
#include "shell/skat/radar_animation.h"
#include "shell/skat/search_box.h"
#include "shell/skat/status_icons.h"
#include "shell/skat/ui_bridge.h"
#include "shell/skat/window_accessibility.h"

using navdb::NavaidKind;

namespace {

constexpr std::array<const char*, 4> kColumnCaptions = {
    "ID      Name                      Freq       Lat           Lon      Alt(ft) Range(nm)",
    "ID      Name                        Type           Freq   Hdg       Lat           Lon      "
    "Alt(ft) Rg(nm) MVar",
    "ICAO    Name                      Runway     Hdg        Lat           Lon       Alt(ft)  "
    "Len  Width  ATIS",
    "ID      Comment                        Lat           Lon       Alt(ft)"};

QString Caption(NavaidKind kind) {
  return QString::fromLatin1(navdb::InfoOf(kind).tabCaption);
}

void Name(QWidget* widget, const QString& caption) {
  widget->setObjectName(caption);
  widget->setAccessibleName(caption);
}

// The view row of the first shown line that begins with `prefix`, given
// the list row `first` of the first such line of the whole list.
int FirstShownWithPrefix(const EntryListModel& model, int first, const QString& prefix) {
  if (!model.filtered() || model.viewRow(first) >= 0) return model.viewRow(first);
  for (int row = 0; row < model.rowCount(); ++row) {
    if (model.index(row).data().toString().startsWith(prefix, Qt::CaseInsensitive)) return row;
  }
  return -1;
}

}  // namespace

MainWindow::MainWindow(shell::AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
  InstallWindowAccessibility();
  setWindowTitle(QString::fromLatin1(shell::kWindowTitle));
  setWindowIcon(ApplicationIcon());
  setAccessibleName(windowTitle());
  listFont_ = ListFontFor(logicalDpiX(), logicalDpiY());
  for (NavaidKind kind : navdb::kAllKinds) {
    models_[navdb::IndexOf(kind)] = new EntryListModel(state_.db.List(kind), this);
  }
  indexWindow_ = std::make_unique<IndexWindow>(state_.db.index, this);
  bridge_ = new UiBridge(*this, state_);
  commands_ = new DatabaseCommands(*this, *bridge_, state_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(makeCommandRow());
  layout->addWidget(makePathRow());
  layout->addWidget(makeTabs(), 1);
  layout->addWidget(makeSearchRow());
  auto* hint = new QLabel("Double click a list item to Edit, Delete, or Add entries.", this);
  Name(hint, hint->text());
  layout->addWidget(hint);
  layout->addWidget(makeStatusRow());
  wireCommands();
  // Open, New and Import of the "Flight Plan" group
  auto* launcher = new PlanLauncher(*this, *bridge_, state_);
  connect(launcher, &PlanLauncher::planShown, this, &MainWindow::planShown);
  connect(this, &MainWindow::planWindowRaiseRequested, launcher, &PlanLauncher::raisePlanWindow);
  // Over the buttons; its actions press them, F1 and Ctrl+M among its shortcuts.
  layout->setMenuBar(new MainMenuBar(*this));

  // A system-wide hot key cannot be had portably; Escape acts wherever the
  // focus is inside the program.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::ApplicationShortcut);
  connect(escape, &QShortcut::activated, this, &MainWindow::onEscape);

  setStatus(navdb::StatusIcon::Ready, "Status : started");
  reloadLists();
  onTabChanged(0);
}

MainWindow::~MainWindow() {
  commands_->waitForWorker();
}

QFont MainWindow::ListFontFor(int dpiX, int dpiY) {
  return FixedPitchFont(dpiY / 9, dpiX / 16);
}

QPushButton* MainWindow::makeButton(const char* caption) {
  auto* button = new QPushButton(QString::fromLatin1(caption), this);
  Name(button, button->text());
  return button;
}

QWidget* MainWindow::makeCommandRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* animation = new RadarAnimation(row);
  animation->setAccessibleName("Animation");
  layout->addWidget(animation);

  auto* navaids = new QGroupBox("Navaids", row);
  Name(navaids, navaids->title());
  auto* navaidsLayout = new QHBoxLayout(navaids);
  for (const char* caption : {"Scan New Scenery", "Rebuild database", "Restore original DB"}) {
    navaidsLayout->addWidget(makeButton(caption));
  }
  layout->addWidget(navaids);

  auto* plans = new QGroupBox("Flight Plan", row);
  Name(plans, plans->title());
  auto* plansLayout = new QHBoxLayout(plans);
  for (const char* caption : {"Open", "New", "Import"}) plansLayout->addWidget(makeButton(caption));
  layout->addWidget(plans);
  layout->addStretch(1);

  auto* picture = new QLabel(row);
  picture->setPixmap(ApplicationIcon().pixmap(48, 48));
  picture->setAccessibleName("Skyatlas");
  layout->addWidget(picture);
  return row;
}

QWidget* MainWindow::makePathRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel("Root path for scenery scan :", row);
  layout->addWidget(label);
  rootPathField_ = new QLineEdit(row);
  rootPathField_->setReadOnly(true);
  Name(rootPathField_, label->text());
  label->setBuddy(rootPathField_);
  layout->addWidget(rootPathField_, 1);
  layout->addWidget(makeButton("Change path"));
  layout->addWidget(makeButton("View index"));
  layout->addWidget(makeButton("Hand edits"));
  QPushButton* map = makeButton("Map");
  map->setToolTip("The database and the plan on a map (Ctrl+M)");
  map->setAccessibleDescription(map->toolTip());
  layout->addWidget(map);
  return row;
}

QWidget* MainWindow::makeListPage(NavaidKind kind) {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(0);
  auto* caption = new QLabel(QString::fromLatin1(kColumnCaptions[navdb::IndexOf(kind)]), page);
  caption->setFont(listFont_);
  caption->setAccessibleName(caption->text());
  caption->setTextInteractionFlags(Qt::NoTextInteraction);
  // The caption stands over the columns only when it starts where the
  // list's text starts: the view's frame and item margin.
  caption->setContentsMargins(4, 0, 0, 0);
  layout->addWidget(caption);

  auto* view = new QListView(page);
  view->setModel(models_[navdb::IndexOf(kind)]);
  view->setFont(listFont_);
  view->setUniformItemSizes(true);
  view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Name(view, Caption(kind));
  view->setAccessibleName(Caption(kind) + " list");  // the tab has the caption
  connect(view, &QListView::doubleClicked, this, [this, kind](const QModelIndex& index) {
    onListActivated(kind, model(kind)->listRow(index.row()));
  });
  connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this, kind](const QModelIndex& current) {
            const int row = model(kind)->listRow(current.row());
            if (row >= 0) emit entrySelected(kind, row);
          });
  views_[navdb::IndexOf(kind)] = view;
  layout->addWidget(view, 1);
  return page;
}

QWidget* MainWindow::makeTabs() {
  tabs_ = new QTabWidget(this);
  Name(tabs_, "Navaid lists");
  for (NavaidKind kind : navdb::kAllKinds) tabs_->addTab(makeListPage(kind), Caption(kind));
  connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::onTabChanged);
  return tabs_;
}

QWidget* MainWindow::makeSearchRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel("Find ID", row);
  layout->addWidget(label);
  findField_ = new QLineEdit(row);
  Name(findField_, label->text());
  label->setBuddy(findField_);
  findField_->setMaxLength(40);
  connect(findField_, &QLineEdit::textChanged, this, &MainWindow::onFindTextChanged);
  layout->addWidget(findField_);
  filterButton_ = makeButton("Filter");
  layout->addWidget(filterButton_);
  layout->addSpacing(16);
  searchBox_ = new SearchBox(*this, row);
  layout->addWidget(searchBox_, 1);
  for (NavaidKind kind : navdb::kAllKinds) {
    auto* field = new QLineEdit(row);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignRight);
    field->setFixedWidth(QFontMetrics(field->font()).horizontalAdvance("0000000") + 12);
    Name(field, Caption(kind) + " entries");
    countFields_[navdb::IndexOf(kind)] = field;
    layout->addWidget(field);
  }
  auto* entries = new QLabel("entries", row);
  Name(entries, entries->text());
  layout->addWidget(entries);
  return row;
}

QWidget* MainWindow::makeStatusRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  statusIcon_ = new QLabel(row);
  statusIcon_->setFixedSize(20, 20);
  statusIcon_->setAccessibleName("Status icon");
  layout->addWidget(statusIcon_);
  statusText_ = new QLabel("Status : ", row);
  statusText_->setMinimumWidth(220);
  Name(statusText_, "Status");
  layout->addWidget(statusText_);
  progressField_ = new QLineEdit(row);
  progressField_->setReadOnly(true);
  Name(progressField_, "Progress");
  layout->addWidget(progressField_, 1);
  scanProgress_ = new QProgressBar(row);
  Name(scanProgress_, "Scan progress");
  scanProgress_->setFormat("%v / %m files");
  scanProgress_->setMaximumWidth(200);
  scanProgress_->hide();
  layout->addWidget(scanProgress_);
  for (const char* caption : {"About", "Help", "Quit"}) layout->addWidget(makeButton(caption));
  findChild<QPushButton*>("Help")->setDefault(true);
  return row;
}

void MainWindow::wireCommands() {
  auto button = [this](const char* caption) { return findChild<QPushButton*>(caption); };
  DatabaseCommands* commands = commands_;
  connect(button("Scan New Scenery"), &QPushButton::clicked, commands, &DatabaseCommands::scan);
  connect(button("Rebuild database"), &QPushButton::clicked, commands,
          &DatabaseCommands::rebuildDatabase);
  connect(button("Restore original DB"), &QPushButton::clicked, commands,
          &DatabaseCommands::restore);
  connect(button("View index"), &QPushButton::clicked, this, [this] { showIndexWindow(true); });
  connect(button("Hand edits"), &QPushButton::clicked, this, &MainWindow::showHandEdits);
  connect(button("Map"), &QPushButton::clicked, this, &MainWindow::showMapWindow);
  connect(this, &MainWindow::planShown, this,
          [this](const planner::PlannerState* plan) { shownPlan_ = plan; });
  connect(button("Change path"), &QPushButton::clicked, commands, &DatabaseCommands::changePath);
  connect(filterButton_, &QPushButton::clicked, commands, &DatabaseCommands::airportFilter);
  connect(button("About"), &QPushButton::clicked, this, &MainWindow::showAbout);
  connect(button("Help"), &QPushButton::clicked, this, &MainWindow::showHelp);
  connect(button("Quit"), &QPushButton::clicked, commands, &DatabaseCommands::quit);
  for (const char* caption : {"Filter", "Open", "New", "Import", "Change path", "Scan New Scenery",
                              "Rebuild database", "Restore original DB", "Hand edits", "Quit"}) {
    topCommands_.push_back(button(caption));
  }
  connect(this, &MainWindow::editRequested, this, [this](NavaidKind kind, int row) {
    RunEntryEditor(*this, state_, kind, static_cast<size_t>(row));
  });
  connect(indexWindow_.get(), &IndexWindow::entryRequested, this, [this](NavaidKind kind, int row) {
    // The entry is shown on its own tab: selected on a hidden one,
    // nothing would visibly happen.
    showKindTab(kind);
    selectRow(kind, row);
  });
  connect(indexWindow_.get(), &IndexWindow::rebuildRequested, commands,
          &DatabaseCommands::rebuildIndex);
  connect(indexWindow_.get(), &IndexWindow::pagingStarted, this,
          [this] { setCommandsEnabled(false, false); });
  connect(indexWindow_.get(), &IndexWindow::pagingFinished, this,
          [this] { setCommandsEnabled(true, false); });
}

NavaidKind MainWindow::currentKind() const {
  return navdb::kAllKinds[static_cast<size_t>(std::clamp(tabs_->currentIndex(), 0, 3))];
}

void MainWindow::onTabChanged(int tab) {
  for (NavaidKind kind : navdb::kAllKinds) {
    countFields_[navdb::IndexOf(kind)]->setVisible(static_cast<int>(navdb::IndexOf(kind)) == tab);
  }
  filterButton_->setVisible(currentKind() == NavaidKind::Airport);
  findField_->clear();
  searchBox_->apply();
}

void MainWindow::onFindTextChanged(const QString& text) {
  const NavaidKind kind = currentKind();
  QListView* view = listView(kind);
  EntryListModel* model = this->model(kind);
  if (model->busy()) return;  // a worker is changing the list
  const std::optional<size_t> row =
      text.isEmpty() ? std::nullopt : state_.db.List(kind).FindPrefix(Win1252FromQString(text));
  // Under a search the first shown line that begins with the text.
  const int shown = !row ? -1 : FirstShownWithPrefix(*model, static_cast<int>(*row), text);
  if (shown < 0) {
    view->clearSelection();
    return;
  }
  const QModelIndex index = model->index(shown);
  view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  view->scrollTo(index, QAbstractItemView::PositionAtTop);
}

void MainWindow::onListActivated(NavaidKind kind, int row) {
  if (row < 0) return;
  if (state_.pick.Pick(kind, static_cast<size_t>(row))) {
    setCommandsEnabled(true, true);
    emit planWindowRaiseRequested();
    return;
  }
  emit editRequested(kind, row);
}

void MainWindow::activateRow(NavaidKind kind, int row) {
  onListActivated(kind, row);
}

void MainWindow::onEscape() {
  if (!state_.pick.Abort()) return;
  setCommandsEnabled(true, true);
  emit planWindowRaiseRequested();
}

void MainWindow::beginWaypointPick(const planner::WaypointPickRequest& request) {
  setCommandsEnabled(false, true);
  if (request.clearSelections) {
    for (QListView* view : views_) view->clearSelection();
  }
  if (request.suggested) {
    selectRow(request.suggested->kind, static_cast<int>(request.suggested->row));
  }
  state_.pick.Begin();
}

void MainWindow::setStatus(navdb::StatusIcon icon, const std::string& text) {
  statusIcon_->setPixmap(StatusIconImage(icon).pixmap(18, 18));
  statusText_->setText(QStringFromWin1252(text));
}

void MainWindow::setProgressText(const std::string& text) {
  progressField_->setText(QStringFromWin1252(text));
}

void MainWindow::showEntryCount(NavaidKind kind, int count) {
  countFields_[navdb::IndexOf(kind)]->setText(QString::number(count));
}

void MainWindow::showKindTab(NavaidKind kind) {
  tabs_->setCurrentIndex(static_cast<int>(navdb::IndexOf(kind)));
}

void MainWindow::selectRow(NavaidKind kind, int row) {
  EntryListModel* model = this->model(kind);
  if (row < 0) return;
  if (model->filtered() && model->viewRow(row) < 0) searchBox_->clear();
  const int shown = model->viewRow(row);
  if (shown < 0) return;
  QListView* view = listView(kind);
  const QModelIndex index = model->index(shown);
  view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  view->scrollTo(index, QAbstractItemView::EnsureVisible);
}

int MainWindow::currentEntryRow(NavaidKind kind) const {
  return model(kind)->listRow(listView(kind)->selectionModel()->currentIndex().row());
}

void MainWindow::focusSearch() {
  searchBox_->focus();
}

void MainWindow::showIndexWindow(bool visible) {
  if (!visible) {
    indexWindow_->hide();
    return;
  }
  indexWindow_->show();
  indexWindow_->raise();
}

void MainWindow::showMapWindow() {
  if (!mapWindow_) mapWindow_ = new MapWindow(*this);
  mapWindow_->showAndRaise();
}

void MainWindow::setCommandsEnabled(bool enabled, bool topOnly) {
  for (QPushButton* button : topCommands_) button->setEnabled(enabled);
  if (topOnly) return;
  for (QListView* view : views_) view->setEnabled(enabled);
  searchBox_->setEnabled(enabled);
  indexWindow_->setCommandsEnabled(enabled);
}

void MainWindow::setScanProgress(int filesDone, int filesTotal) {
  if (filesTotal <= 0) {
    scanProgress_->hide();
    return;
  }
  scanProgress_->setRange(0, filesTotal);
  scanProgress_->setValue(std::min(filesDone, filesTotal));
  scanProgress_->show();
}

void MainWindow::setListsBusy(bool busy) {
  for (EntryListModel* model : models_) model->setBusy(busy);
  if (busy) {
    indexWindow_->detachLists();
  } else {
    reloadLists();
  }
}

void MainWindow::refreshBusyViews() {
  const int lineHeight = std::max(1, QFontMetrics(listFont_).lineSpacing());
  const int rowsInSight = listView(currentKind())->viewport()->height() / lineHeight + 4;
  for (NavaidKind kind : navdb::kAllKinds) {
    EntryListModel* model = this->model(kind);
    if (!model->busy()) continue;
    const int first = listView(kind)->verticalScrollBar()->value();
    model->refreshWhileBusy(first - 2, rowsInSight + 4);
  }
}

void MainWindow::reloadLists() {
  bool anyBusy = false;
  for (NavaidKind kind : navdb::kAllKinds) {
    EntryListModel* model = this->model(kind);
    if (model->busy()) {
      anyBusy = true;
      continue;
    }
    model->reload();
    showEntryCount(kind, static_cast<int>(state_.db.List(kind).EntryCount()));
  }
  indexWindow_->reload();
  showModified();
  if (!anyBusy) emit listsChanged();
}

void MainWindow::reloadList(NavaidKind kind) {
  model(kind)->reload();
}

void MainWindow::showModified() {
  // The lists are shown again after every change and every save: the title
  // follows then whether the database files are behind the lists.
  const QString title = QString::fromLatin1(shell::kWindowTitle);
  setWindowTitle(state_.db.databaseModified ? title + " *" : title);
}

void MainWindow::showSceneryRootPath() {
  rootPathField_->setText(QString::fromStdString(state_.sceneryRootPath));
}

void MainWindow::raisePlanWindow() {
  emit planWindowRaiseRequested();
}

bool MainWindow::centreOnScreen() {
  QScreen* screen = this->screen();
  if (!screen) return false;
  const QRect available = screen->availableGeometry();
  QRect frame = frameGeometry();
  frame.moveCenter(available.center());
  move(frame.topLeft());
  return screen->geometry().width() < 800;
}

void MainWindow::showAbout() {
  AboutBox about(this);
  about.centreOnOwner();
  about.exec();
}

void MainWindow::showHandEdits() {
  if (commands_->workerRunning()) return;
  auto* view = new HandEditsView(*this, state_);
  FitToContents(*view);
  CentreOnOwner(*view, *this);
  view->open();
  view->reload();
}

void MainWindow::showHelp() {
  if (!helpWindow_) helpWindow_ = new HelpWindow(this);
  helpWindow_->showContents();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!commands_->mayClose()) {
    event->ignore();
    return;
  }
  // Hidden, not closed: the Index window's close box means "Rebuild index".
  indexWindow_->hide();
  if (mapWindow_) mapWindow_->hide();
  event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    // During a waypoint pick Enter picks the selected line, as a double click.
    if (!PickSelectedWaypoint(*this)) findChild<QPushButton*>("Help")->click();
    return;
  }
  QWidget::keyPressEvent(event);
}
