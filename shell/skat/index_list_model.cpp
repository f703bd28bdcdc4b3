#include "shell/skat/index_list_model.h"

IndexListModel::IndexListModel(const navdb::EntryList& lines, QObject* parent)
    : QAbstractListModel(parent), lines_(lines) {}

int IndexListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  switch (mode_) {
    case Mode::Attached:
      return static_cast<int>(lines_.Count());
    case Mode::Snapshot:
      return snapshot_.rowCount;
    case Mode::Detached:
      break;
  }
  return 0;
}

QVariant IndexListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) {
    return {};
  }
  const int row = index.row();
  if (mode_ == Mode::Snapshot) {
    const int at = row - snapshot_.firstRow;
    if (at < 0 || at >= snapshot_.lines.size()) return {};
    return snapshot_.lines[at];
  }
  if (mode_ != Mode::Attached || row < 0 || static_cast<size_t>(row) >= lines_.Count()) return {};
  const std::string_view line = lines_.GetLine(static_cast<size_t>(row));
  return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
}

std::string IndexListModel::lineAt(int row) const {
  if (mode_ != Mode::Attached || row < 0 || static_cast<size_t>(row) >= lines_.Count()) return {};
  return std::string(lines_.GetLine(static_cast<size_t>(row)));
}

void IndexListModel::attach() {
  beginResetModel();
  mode_ = Mode::Attached;
  snapshot_ = {};
  endResetModel();
}

void IndexListModel::detach() {
  beginResetModel();
  mode_ = Mode::Detached;
  snapshot_ = {};
  endResetModel();
}

void IndexListModel::showSnapshot(IndexSnapshot snapshot) {
  beginResetModel();
  mode_ = Mode::Snapshot;
  snapshot_ = std::move(snapshot);
  endResetModel();
}
