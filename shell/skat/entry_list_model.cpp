#include "shell/skat/entry_list_model.h"

#include <algorithm>

#include "shell/skat/qt_text.h"

EntryListModel::EntryListModel(const navdb::EntryList& list, QObject* parent)
    : QAbstractListModel(parent), list_(list), rows_(static_cast<int>(list.Count())) {}

int EntryListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  const int row = index.row();
  if (row < 0 || row >= rows_) return {};
  if (busy_) {
    const int at = row - cacheFirstRow_;
    if (at < 0 || at >= static_cast<int>(cache_.size())) return {};
    return cache_[static_cast<size_t>(at)];
  }
  if (static_cast<size_t>(row) >= list_.Count()) return {};
  return LineText(list_.GetLine(static_cast<size_t>(row)));
}

QString EntryListModel::LineText(std::string_view line) {
  // Plain ASCII needs no conversion; only the degree sign and accented
  // names take the slow road.
  if (std::all_of(line.begin(), line.end(), [](char c) { return (c & 0x80) == 0; })) {
    return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
  }
  return QStringFromWin1252(line);
}

void EntryListModel::reload() {
  cache_.clear();
  setRowCountTo(static_cast<int>(list_.Count()));
}

void EntryListModel::setBusy(bool busy) {
  busy_ = busy;
  cache_.clear();
  if (!busy) reload();
}

void EntryListModel::refreshWhileBusy(int firstRow, int rows) {
  const int count = static_cast<int>(list_.Count());
  firstRow = std::clamp(firstRow, 0, count);
  const int last = std::min(count, firstRow + std::max(rows, 0));
  cache_.clear();
  cache_.reserve(static_cast<size_t>(last - firstRow));
  for (int row = firstRow; row < last; ++row) {
    cache_.push_back(LineText(list_.GetLine(static_cast<size_t>(row))));
  }
  cacheFirstRow_ = firstRow;
  setRowCountTo(count);
}

void EntryListModel::setRowCountTo(int rows) {
  if (rows > rows_) {
    beginInsertRows(QModelIndex(), rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
  } else if (rows < rows_) {
    beginRemoveRows(QModelIndex(), rows, rows_ - 1);
    rows_ = rows;
    endRemoveRows();
  }
  if (rows_ > 0) emit dataChanged(index(0), index(rows_ - 1), {Qt::DisplayRole});
}
