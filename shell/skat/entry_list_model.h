// One kind's entry list as a Qt list model: row r is line r of the list,
// read where it lives, so a list of 100,000 lines costs the view nothing
// until a line is painted.
#pragma once

#include <QAbstractListModel>
#include <QString>

#include <vector>

#include "navdb/entry_list.h"

class EntryListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  EntryListModel(const navdb::EntryList& list, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  // Takes the list's line count again and repaints every row, since any
  // line may have moved. Only while no worker changes the list.
  void reload();

  // While a worker changes the list the model must not read it: it then
  // shows the rows copied by the last refreshWhileBusy() and blanks
  // elsewhere (the lists are disabled meanwhile, so only the rows in sight
  // matter).
  void setBusy(bool busy);
  bool busy() const { return busy_; }
  // Copies the line count and the lines [firstRow, firstRow + rows) while
  // the worker that changes the list waits.
  void refreshWhileBusy(int firstRow, int rows);

  // The line at `row` as the list holds it (Windows-1252 bytes).
  static QString LineText(std::string_view line);

 private:
  // Tells the view that the rows became `rows` and every line may differ.
  void setRowCountTo(int rows);

  const navdb::EntryList& list_;
  int rows_ = 0;
  bool busy_ = false;
  int cacheFirstRow_ = 0;
  std::vector<QString> cache_;
};
