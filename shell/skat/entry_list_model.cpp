#include "shell/skat/entry_list_model.h"

#include <algorithm>

#include "shell/skat/qt_text.h"

EntryListModel::EntryListModel(const navdb::EntryList& list, QObject* parent)
    : QAbstractListModel(parent), list_(list), rows_(static_cast<int>(list.Count())) {}

int EntryListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const {
  // The tooltip holds the whole line for a view narrower than the line.
  if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid()) return {};
  const int row = listRow(index.row());
  if (row < 0) return {};
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
  filtered_ = !search_.empty();
  shownRows_ = searchedRows(false);
  setRowCountTo(filtered_ ? static_cast<int>(shownRows_.size()) : static_cast<int>(list_.Count()));
}

void EntryListModel::setSearch(const LineSearch& search) {
  if (search == search_ && filtered_ == !search.empty()) return;
  const bool narrowing = filtered_ && search.narrows(search_);
  search_ = search;
  if (busy_) return;
  beginResetModel();
  filtered_ = !search_.empty();
  shownRows_ = searchedRows(narrowing);
  rows_ = filtered_ ? static_cast<int>(shownRows_.size()) : static_cast<int>(list_.Count());
  endResetModel();
}

std::vector<int> EntryListModel::searchedRows(bool narrowing) const {
  if (search_.empty()) return {};
  return MatchingRows(list_, search_, narrowing ? &shownRows_ : nullptr);
}

int EntryListModel::listRow(int viewRow) const {
  if (viewRow < 0 || viewRow >= rows_) return -1;
  if (!filtered_) return viewRow;
  return shownRows_[static_cast<size_t>(viewRow)];
}

int EntryListModel::viewRow(int listRow) const {
  if (listRow < 0) return -1;
  if (!filtered_) return listRow < rows_ ? listRow : -1;
  const auto found = std::lower_bound(shownRows_.begin(), shownRows_.end(), listRow);
  if (found == shownRows_.end() || *found != listRow) return -1;
  return static_cast<int>(found - shownRows_.begin());
}

void EntryListModel::setBusy(bool busy) {
  // The worker moves lines under the map of a search: while it runs every
  // line is shown, and the search is made again at the reload.
  if (busy && filtered_) {
    beginResetModel();
    filtered_ = false;
    shownRows_.clear();
    rows_ = static_cast<int>(list_.Count());
    endResetModel();
  }
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
