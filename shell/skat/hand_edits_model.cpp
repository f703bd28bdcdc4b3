#include "shell/skat/hand_edits_model.h"

#include <QBrush>
#include <QPalette>

#include "shell/skat/hand_edit_parts.h"
#include "shell/skat/qt_text.h"

namespace {

// A line without its trailing blanks, which only pad the columns.
QString LineText(const std::string& line) {
  const size_t end = line.find_last_not_of(' ');
  return QStringFromWin1252(
      std::string_view(line).substr(0, end == std::string::npos ? 0 : end + 1));
}

}  // namespace

HandEditsModel::HandEditsModel(const QFont& listFont, QObject* parent)
    : QAbstractTableModel(parent), listFont_(listFont) {}

void HandEditsModel::setRecords(std::vector<navdb::JournalRecord> journal,
                                std::vector<navdb::JournalRecord> unsaved) {
  beginResetModel();
  journal_ = std::move(journal);
  unsaved_ = std::move(unsaved);
  endResetModel();
}

int HandEditsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(journal_.size() + unsaved_.size());
}

int HandEditsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

const navdb::JournalRecord& HandEditsModel::record(int row) const {
  const size_t index = static_cast<size_t>(row);
  return index < journal_.size() ? journal_[index] : unsaved_[index - journal_.size()];
}

std::optional<size_t> HandEditsModel::journalIndex(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= journal_.size()) return std::nullopt;
  return static_cast<size_t>(row);
}

QVariant HandEditsModel::text(const navdb::JournalRecord& record, int row, int column) const {
  switch (column) {
    case kNumber:
      return journalIndex(row) ? QVariant(row + 1) : QVariant(QStringLiteral("not saved"));
    case kTime:
      return QString::fromStdString(record.timeUtc);
    case kAction:
      return ActionCaption(record.action);
    case kKind:
      return KindCaption(record.kind);
    case kBefore:
      return LineText(record.before);
    case kAfter:
      return LineText(record.after);
    default:
      return {};
  }
}

QVariant HandEditsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const int row = index.row(), column = index.column();
  const bool saved = journalIndex(row).has_value();
  switch (role) {
    case Qt::DisplayRole:
      return text(record(row), row, column);
    case Qt::FontRole:
      if (column == kBefore || column == kAfter) return listFont_;
      return {};
    case Qt::TextAlignmentRole:
      if (column == kNumber) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    case Qt::ForegroundRole:
      if (!saved) return QBrush(QPalette().color(QPalette::Disabled, QPalette::Text));
      return {};
    case Qt::ToolTipRole:
      if (!saved) {
        return QStringLiteral("Not saved yet: the edit joins edits.journal with the next save.");
      }
      return {};
    default:
      return {};
  }
}

QVariant HandEditsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kCaptions[kColumnCount] = {"No.",  "Time (UTC)",  "Action",
                                                      "Kind", "Line before", "Line after"};
  if (section < 0 || section >= kColumnCount) return {};
  return QString::fromLatin1(kCaptions[section]);
}
