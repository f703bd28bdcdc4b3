// Pictures of the program's windows for its documentation: every tab of
// the main window, the Index window, the double-entry dialog, the entry
// editor of each kind, the About box, the help window, the loading window
// and the map window (round Paris, then with the plan), saved as PNG files.
#pragma once

#include <QString>

class MainWindow;

// Saves the pictures into `folder` (made when missing); false when one
// could not be written.
bool SaveScreenshots(MainWindow& window, const QString& folder);
