// The records of the edit journal as a table: number, time, action, kind,
// the line before and the line after; then the edits made since the last
// save, which join the journal with the next one and have no number yet.
#pragma once

#include <QAbstractTableModel>
#include <QFont>

#include <optional>
#include <vector>

#include "navdb/edit_journal.h"

class HandEditsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kNumber, kTime, kAction, kKind, kBefore, kAfter, kColumnCount };

  // The lines are shown in `listFont`, the font of the main window's lists.
  HandEditsModel(const QFont& listFont, QObject* parent = nullptr);

  void setRecords(std::vector<navdb::JournalRecord> journal,
                  std::vector<navdb::JournalRecord> unsaved);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  size_t journalCount() const { return journal_.size(); }
  size_t unsavedCount() const { return unsaved_.size(); }
  // The record of `row`, and its place in the journal (from 0) when it has one.
  const navdb::JournalRecord& record(int row) const;
  std::optional<size_t> journalIndex(int row) const;

 private:
  QVariant text(const navdb::JournalRecord& record, int row, int column) const;

  QFont listFont_;
  std::vector<navdb::JournalRecord> journal_;
  std::vector<navdb::JournalRecord> unsaved_;
};
