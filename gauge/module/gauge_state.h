// Everything the module holds between callbacks: one instance per display.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "data/database_watch.h"
#include "data/display_data.h"
#include "data/host_variables.h"
#include "data/loader.h"
#include "data/nav_database.h"
#include "data/pass_data.h"
#include "data/route_reader.h"
#include "drawing/display_frame.h"
#include "drawing/surfaces.h"
#include "lumaro_diagnostics.h"
#include "module/key_commands.h"
#include "panel_interface.h"

namespace lumaro {

inline constexpr int64_t kStartupDelaySeconds = 4;

enum class LoaderRequest { None, Restart, FirstStart };

struct GaugeState {
  // The module's tables, as the host sees them.
  PanelGaugeHeader* header = nullptr;
  PanelElement* firstElement = nullptr;    // element A
  PanelElement* displayElement = nullptr;  // element B
  PanelMouseRect* mouseRects = nullptr;
  std::span<const uint8_t> backgroundBitmap;  // bitmap 4096
  const PanelServices* services = nullptr;
  std::string folder;  // the simulator folder; "" for the current directory

  HostVariables variables{};
  DisplayModes modes;
  KeyTable keys;
  int32_t elementValue = 0;
  bool firstInitializeDone = false;
  int64_t firstInitializeSeconds = 0;
  bool startupDelayPassed = false;
  LoaderRequest loaderRequest = LoaderRequest::None;
  double previousRawLatitude = 0;
  double previousRawLongitude = 0;
  std::string nav1IdentAtLoaderStart;
  CompassGeometry geometry;
  uint32_t redrawCount = 0;

  NavDatabase database;
  DatabaseWatch databaseWatch;
  SearchWindow window;
  SharedDisplayData shared;
  PassData passData;
  RoutePoller routePoller;
  RouteData route;
  DisplaySurfaces surfaces;
  LoaderThread loader;  // last, so it is joined before what it reads goes away
};

// The callbacks of the gauge header and element B.
void GaugeQuery(GaugeState& gauge);
void GaugeInstall(GaugeState& gauge, void* resourceArg);
void GaugeInitialize(GaugeState& gauge);
void GaugeUpdate(GaugeState& gauge);
void GaugeGenerate(GaugeState& gauge, uint32_t phase);
void GaugeDraw(GaugeState& gauge);
void GaugeKill(GaugeState& gauge);
int32_t GaugeElementCallback(GaugeState& gauge);

void FillDiagnostics(GaugeState& gauge, LumaroDiagnostics& diagnostics);

}  // namespace lumaro
