// The program's own artwork: the status line's icons and the application
// icon, drawn with QPainter so they stay sharp at every size.
#pragma once

#include <QIcon>

class QPainter;

#include "navdb/reporter.h"

// Ready: green check; Sorting: sort arrows; Saving: disk; Problem: red
// warning triangle; Selecting: crosshair; Scanning: radar sweep.
QIcon StatusIconImage(navdb::StatusIcon icon);

// A compass rose inside the arc of a navigation display.
QIcon ApplicationIcon();

// The drawings behind the icons, on a square of `sizePx` pixels.
QPixmap StatusIconPixmap(navdb::StatusIcon icon, int sizePx);
QPixmap ApplicationIconPixmap(int sizePx);

// The application icon drawn with `painter` on a square of `sizePx` pixels
// (or points) from its origin: the window's icon and the icon files of the
// desktop entry come from this one drawing.
void PaintApplicationIcon(QPainter& painter, double sizePx);
