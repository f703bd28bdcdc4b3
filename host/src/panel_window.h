// The live window of ndhost: shows the display element, flies the aircraft
// by the flight keys and hands the other key presses to the module. Only
// built when Qt 6 Widgets is available.
#pragma once

#include "flight_session.h"
#include "module_host.h"

namespace ndhost {

// Runs the module in a window at framesPerSecond until the window closes;
// the aircraft moves by the time measured between frames. The panel is
// shown zoom times its size. Returns the program's exit status.
int RunPanelWindow(ModuleHost& host, double framesPerSecond, int zoom, FlightSession& session,
                   int argc, char** argv);

}  // namespace ndhost
