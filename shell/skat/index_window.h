// The "Index" window: the geographic index line by line, paging through an
// index larger than its list, the jump from a line to its entry, and the
// rebuild on demand. Modeless, owned by the main window.
#pragma once

#include <QWidget>

#include <mutex>
#include <optional>
#include <string_view>
#include <thread>

#include "navdb/geo_index.h"
#include "navdb/navaid_kind.h"
#include "shell/skat/index_list_model.h"
#include "shell/skat/index_paging.h"

class QLabel;
class QListView;
class QPushButton;

// The entry an index line refers to: the kind tag of columns 24-26 and the
// row of columns 27-31. Nothing for another tag or a negative row.
struct IndexReference {
  navdb::NavaidKind kind;
  int row;
};
std::optional<IndexReference> ParseIndexReference(std::string_view line);

// Liberation Mono, sized for the screen's logical resolution.
QFont IndexListFont(int logicalDpiY);

class IndexWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr const char* kColumnCaptions = " Longitudes     Latitudes      Ref.";

  IndexWindow(navdb::IndexLists& index, QWidget* mainWindow);
  // Stops a paging worker (no line is lost) and waits for it.
  ~IndexWindow() override;

  // Shows the index again after it changed.
  void reload();
  // Shows no lines until reload(); call before another thread changes the
  // index (rebuild, restore), so the list is never read meanwhile.
  void detachLists();

  // Right edge 15 pixels left of the main window's right edge, bottom edge
  // 90 pixels above its bottom edge.
  void placeBesideMainWindow();

  // "Rebuild index", "Up   ^" and "Down   v" follow the main window's
  // commands (not the top-only part).
  void setCommandsEnabled(bool enabled);

  // One paging step, as the buttons do; the worker reports pagingFinished.
  void pageUp() { page(PageDirection::Up); }
  void pageDown() { page(PageDirection::Down); }
  bool isPaging() const { return paging_; }

  QListView* listView() const { return list_; }
  QLabel* columnCaptions() const { return captions_; }
  QPushButton* upButton() const { return up_; }
  QPushButton* downButton() const { return down_; }
  QPushButton* rebuildButton() const { return rebuild_; }
  QPushButton* hideButton() const { return hide_; }

 signals:
  // A double-clicked line refers to row `row` of `kind`'s list.
  void entryRequested(navdb::NavaidKind kind, int row);
  // "Rebuild index" or the close box.
  void rebuildRequested();
  // Paging disables the main window's commands while it runs.
  void pagingStarted();
  void pagingFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void page(PageDirection direction);
  // Worker side: copies the lines around `row` and has the GUI show them.
  void publishScrollStep(size_t row);
  void showScrollStep();
  void finishPaging(PageDirection direction);
  void updateButtons();
  void jumpToEntry(const QModelIndex& index);

  navdb::IndexLists& index_;
  QWidget* mainWindow_;
  IndexListModel* model_;
  QLabel* captions_;
  QListView* list_;
  QPushButton* up_;
  QPushButton* down_;
  QPushButton* rebuild_;
  QPushButton* hide_;
  bool commandsEnabled_ = true;
  bool paging_ = false;

  // The latest scroll step of the worker, waiting for the GUI thread.
  std::mutex stepMutex_;
  std::optional<IndexSnapshot> pendingStep_;
  int pendingStepRow_ = 0;

  // Last member: stopped and joined before the rest goes.
  std::jthread worker_;
};
