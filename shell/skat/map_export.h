// "Export picture..." of the map window: the size of the picture (the
// view's, or one the user types) and the PNG file to write, with a seam so
// that tests and scripted runs give the answer instead of the dialogs.
#pragma once

#include <QSize>
#include <QString>

#include <optional>
#include <string>

#include "platform/result.h"
#include "shell/skat/map_renderer.h"

class QWidget;

inline constexpr int kMinExportSidePx = 16;
inline constexpr int kMaxExportSidePx = 4096;

struct ExportChoice {
  QString file;
  QSize size;
};

// Asks for the size (starting at the view's) and then the file; nothing
// when the user cancelled either. A file named without ".png" gets it.
std::optional<ExportChoice> AskExportChoice(QWidget* parent, QSize viewSize);

class ExportChoiceSeam {
 public:
  // The next AskExportChoice returns `choice` (nothing: cancelled)
  // without showing a dialog.
  static void setNextChoice(std::optional<ExportChoice> choice);
  static void clear();
};

// The view of `view`'s centre and range (to the nearer edge) at another size.
navmap::MapView ViewAtSize(const navmap::MapView& view, QSize size);

// Draws the request and writes it to `file` whole or not at all; fails
// saying why.
platform::Status WriteMapPicture(const MapRequest& request, const QString& file);
