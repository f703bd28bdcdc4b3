// One kind's entry list as a Qt list model: row r is line r of the list,
// read where it lives, so a list of 100,000 lines costs the view nothing
// until a line is painted. A search narrows the rows to the matching lines
// through a map of list rows, without copying a line; the rest of the
// program speaks in list rows and maps through listRow() and viewRow().
#pragma once

#include <QAbstractListModel>
#include <QString>

#include <vector>

#include "navdb/entry_list.h"
#include "shell/skat/list_search.h"

class EntryListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  EntryListModel(const navdb::EntryList& list, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  // Takes the list's line count again, searches it again, and repaints
  // every row, since any line may have moved. Only while no worker changes
  // the list.
  void reload();

  // Shows only the lines that `search` matches (every line when it is
  // empty). Typing on narrows the rows already found instead of searching
  // the whole list again. While busy the search waits for the reload.
  void setSearch(const LineSearch& search);
  const LineSearch& search() const { return search_; }
  // True while a search hides lines; never while busy (every line shows).
  bool filtered() const { return filtered_; }
  // The list row shown at `viewRow`, or -1 outside the rows shown.
  int listRow(int viewRow) const;
  // The row that shows list row `listRow`, or -1 when the search hides it.
  int viewRow(int listRow) const;

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

  // The rows shown and their lines: all lines, or those of shownRows_.
  std::vector<int> searchedRows(bool narrowing) const;

  const navdb::EntryList& list_;
  int rows_ = 0;  // the rows the view knows
  LineSearch search_;
  bool filtered_ = false;
  std::vector<int> shownRows_;  // list rows in row order, while filtered_
  bool busy_ = false;
  int cacheFirstRow_ = 0;
  std::vector<QString> cache_;
};
