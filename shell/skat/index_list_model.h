// The Index window's list: the primary index lines, read where they live.
// While another thread changes the index the model shows either nothing or
// a few lines copied out by that thread, never the list itself.
#pragma once

#include <QAbstractListModel>
#include <QStringList>

#include "navdb/entry_list.h"

// Lines around one row of a list that is changing, copied while it held still.
struct IndexSnapshot {
  int rowCount = 0;  // lines in the list at that moment
  int firstRow = 0;  // row of lines[0]
  QStringList lines;
};

class IndexListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit IndexListModel(const navdb::EntryList& lines, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  // The line at `row` as the list holds it; empty while not attached.
  std::string lineAt(int row) const;

  // Reads the list again (after it changed).
  void attach();
  // Shows no lines and stops reading the list.
  void detach();
  // Shows `snapshot` instead of the list; rows outside it are blank.
  void showSnapshot(IndexSnapshot snapshot);
  bool isAttached() const { return mode_ == Mode::Attached; }

 private:
  enum class Mode { Attached, Detached, Snapshot };

  const navdb::EntryList& lines_;
  Mode mode_ = Mode::Attached;
  IndexSnapshot snapshot_;
};
