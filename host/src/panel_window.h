// The live window of ndhost: shows the display element and hands key
// presses to the module. Only built when Qt 6 Widgets is available.
#pragma once

#include <optional>

#include "module_host.h"

namespace ndhost {

class FgfsFeed;
class RouteFlight;

// Runs the module in a window at framesPerSecond until the window closes.
// Returns the program's exit status.
// The panel is shown zoom times its size. With a feed (not null) FlightGear's
// packets drive the aircraft and the panel shows the feed's strip.
int RunPanelWindow(ModuleHost& host, double framesPerSecond, int zoom,
                   std::optional<RouteFlight>& flight, FgfsFeed* feed, int argc, char** argv);

}  // namespace ndhost
