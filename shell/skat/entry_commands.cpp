#include "shell/skat/entry_commands.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QListView>

#include "shell/core/app_state.h"
#include "shell/core/entry_editor.h"
#include "shell/skat/entry_editors.h"
#include "shell/skat/entry_list_model.h"
#include "shell/skat/main_window.h"
#include "shell/skat/message_box.h"

std::optional<int> SelectedRow(const MainWindow& window) {
  const QModelIndexList selected =
      window.listView(window.currentKind())->selectionModel()->selectedIndexes();
  if (selected.isEmpty()) return std::nullopt;
  return selected.front().row();
}

void EditSelectedEntry(MainWindow& window) {
  const std::optional<int> row = SelectedRow(window);
  if (!row) {
    QApplication::beep();
    return;
  }
  window.activateRow(window.currentKind(), *row);
}

void AddEntryOfCurrentKind(MainWindow& window) {
  RunEntryEditor(window, window.state(), window.currentKind(), std::nullopt);
}

void DeleteSelectedEntry(MainWindow& window) {
  const navdb::NavaidKind kind = window.currentKind();
  const std::optional<int> row = SelectedRow(window);
  shell::EditorSession session =
      shell::OpenEntryEditor(window.state().db, kind,
                             row ? std::optional<size_t>(static_cast<size_t>(*row)) : std::nullopt);
  if (!session.row) {
    QApplication::beep();
    return;
  }
  const MessageBoxReports reports(&window);
  const shell::EditStart editStart = shell::EditStartOf(window.state().db);
  if (shell::DeleteEntry(window.state().db, session, reports) != shell::EditorOutcome::Close) {
    return;
  }
  window.state().editHistory.NoteEdits(window.state().db, editStart);
  window.reloadLists();
  const int rows = window.model(kind)->rowCount();
  if (rows > 0) window.selectRow(kind, std::min(*row, rows - 1));
}

bool PickSelectedWaypoint(MainWindow& window) {
  if (!window.state().pick.SelectionPending()) return false;
  const std::optional<int> row = SelectedRow(window);
  if (!row) {
    QApplication::beep();
    return true;
  }
  window.activateRow(window.currentKind(), *row);
  return true;
}
