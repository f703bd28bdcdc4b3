#include "shell/skat/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include "shell/core/app_state.h"
#include "shell/skat/about_box.h"
#include "shell/skat/duplicate_dialog.h"
#include "shell/skat/entry_editor_dialog.h"
#include "shell/skat/entry_editors.h"
#include "shell/skat/help_window.h"
#include "shell/skat/index_window.h"
#include "shell/skat/loading_window.h"
#include "shell/skat/main_window.h"

namespace {

bool Save(QWidget& widget, const QDir& folder, const QString& name) {
  widget.show();
  QApplication::processEvents();
  return widget.grab().save(folder.filePath(name + ".png"));
}

// The dialog as a scan raises it, over two versions of one runway line.
bool SaveDuplicateDialog(MainWindow& window, const QDir& folder) {
  const navdb::EntryList& airports = window.state().db.list(navdb::NavaidKind::Airport);
  if (airports.Count() < 2) return true;
  navdb::DuplicateRequest request;
  request.kind = navdb::NavaidKind::Airport;
  request.row = 0;
  request.existingLine = std::string(airports.GetLine(0));
  request.newLine = request.existingLine;
  // The new version's runway is a little longer.
  if (request.newLine.size() > 90) request.newLine.replace(87, 5, "03150");
  DuplicateDialog dialog(&window, request, window.listFont());
  dialog.placeOnOwner(window);
  return Save(dialog, folder, "duplicate");
}

// Each kind's editor on the fourth line of its list, as a double click
// opens it.
bool SaveEditors(MainWindow& window, const QDir& folder) {
  const char* names[] = {"editor-ndb", "editor-vor", "editor-airport", "editor-intersection"};
  bool saved = true;
  for (navdb::NavaidKind kind : navdb::kAllKinds) {
    const size_t rows = window.state().db.list(kind).Count();
    const std::optional<size_t> row =
        rows > 3 ? std::optional<size_t>(3) : std::optional<size_t>(0);
    std::unique_ptr<EntryEditorDialog> editor = MakeEntryEditor(window, kind, row);
    saved &= Save(*editor, folder, names[navdb::IndexOf(kind)]);
  }
  return saved;
}

}  // namespace

bool SaveScreenshots(MainWindow& window, const QString& folder) {
  QDir dir(folder);
  if (!dir.mkpath(".")) return false;
  bool saved = true;
  const char* names[] = {"main-ndbs", "main-vors", "main-airports", "main-intersections"};
  for (navdb::NavaidKind kind : navdb::kAllKinds) {
    window.showKindTab(kind);
    window.selectRow(kind, 3);
    saved &= Save(window, dir, names[navdb::IndexOf(kind)]);
  }
  window.showIndexWindow(true);
  saved &= Save(window.indexWindow(), dir, "index");
  window.showIndexWindow(false);
  saved &= SaveDuplicateDialog(window, dir);
  saved &= SaveEditors(window, dir);
  AboutBox about(&window);
  about.centreOnOwner();
  saved &= Save(about, dir, "about");
  HelpWindow help(&window);
  help.showContents();
  saved &= Save(help, dir, "help");
  LoadingWindow loading;
  loading.setProgress(60);
  saved &= Save(loading, dir, "loading");
  return saved;
}
