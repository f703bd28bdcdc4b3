// The live window of ndhost: shows the display element, flies the aircraft
// by the flight keys and hands the other key presses to the module. Only
// built when Qt 6 Widgets is available.
#pragma once

#include <memory>

#include "flight_session.h"
#include "module_host.h"

class QWidget;

namespace ndhost {

class FgfsFeed;

// The panel widget alone, for tests: its timer runs the frames while the
// application's event loop runs. Needs a QApplication. With a feed (not
// null) FlightGear's packets drive the aircraft instead of the session, and
// the panel shows the feed's strip.
std::unique_ptr<QWidget> MakePanelWidget(ModuleHost& host, double framesPerSecond, int zoom,
                                         FlightSession& session, FgfsFeed* feed = nullptr);

// Runs the module in a window at framesPerSecond until the window closes;
// the aircraft moves by the time measured between frames. The panel is
// shown zoom times its size. Returns the program's exit status.
int RunPanelWindow(ModuleHost& host, double framesPerSecond, int zoom, FlightSession& session,
                   FgfsFeed* feed, int argc, char** argv);

}  // namespace ndhost
