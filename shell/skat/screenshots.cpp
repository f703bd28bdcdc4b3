#include "shell/skat/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include "shell/skat/index_window.h"
#include "shell/skat/loading_window.h"
#include "shell/skat/main_window.h"

namespace {

bool Save(QWidget& widget, const QDir& folder, const QString& name) {
  widget.show();
  QApplication::processEvents();
  return widget.grab().save(folder.filePath(name + ".png"));
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
  LoadingWindow loading;
  loading.setProgress(60);
  saved &= Save(loading, dir, "loading");
  return saved;
}
