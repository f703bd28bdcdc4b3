// The gauge callbacks the host calls, in the order of the gauge's life:
// query, install, initialize, then update/generate/draw per frame, kill.
#include <cmath>

#include "data/mode_file.h"
#include "drawing/startup_screen.h"
#include "module/gauge_state.h"
#include "module/redraw.h"

namespace lumaro {

namespace {

template <typename Service, typename... Arguments>
void CallService(Service service, Arguments... arguments) {
  if (service != nullptr) service(arguments...);
}

int64_t NowSeconds(const GaugeState& gauge) {
  if (gauge.services == nullptr || gauge.services->calendarSeconds == nullptr) return 0;
  return gauge.services->calendarSeconds();
}

void ClearDisplayLists(GaugeState& gauge) {
  std::lock_guard guard(gauge.shared.lock);
  gauge.shared.lists = {};
  gauge.shared.trail = {};
}

void ResetForInstall(GaugeState& gauge) {
  gauge.modes = {};
  gauge.keys = {};
  gauge.elementValue = 0;
  gauge.firstInitializeDone = false;
  gauge.firstInitializeSeconds = 0;
  gauge.startupDelayPassed = false;
  gauge.loaderRequest = LoaderRequest::None;
  gauge.previousRawLatitude = 0;
  gauge.previousRawLongitude = 0;
  gauge.nav1IdentAtLoaderStart.clear();
  gauge.redrawCount = 0;
  gauge.window = {};
  gauge.routePoller.blockNumber = 0;
  gauge.routePoller.notYetFound = true;
  gauge.routePoller.reads = 0;
  gauge.route = {};
  gauge.shared.loading = false;
  gauge.shared.redrawRequest = false;
  gauge.shared.loaderRuns = 0;
}

void ShowStartupScreen(GaugeState& gauge) {
  DisplaySurfaces& surfaces = gauge.surfaces;
  surfaces.LoadFromImage();
  DrawStartupTexts(*surfaces.Target(), surfaces.WidthPx(), surfaces.HeightPx());
  surfaces.Present();
}

// The first time the start-up delay has passed: the shared block, the stored
// modes, and the first loader run.
void EndStartupDelay(GaugeState& gauge) {
  gauge.startupDelayPassed = true;
  OpenPassData(gauge.passData);
  LoadModeFile(gauge.folder, gauge.passData, gauge.modes);
  gauge.loaderRequest = LoaderRequest::FirstStart;
}

// Files changed on disk are read again, whole or not: a database that no
// longer agrees shows its error until it does again. The lists go, as their
// rows point into the files read before, and the loader searches anew.
void ReloadChangedDatabase(GaugeState& gauge) {
  // The loader reads the copies being replaced; the check waits for its end.
  if (gauge.loader.IsRunning()) return;
  if (!DatabaseFilesChanged(gauge.databaseWatch, gauge.database, gauge.folder, NowSeconds(gauge))) {
    return;
  }
  OpenNavDatabase(gauge.database, gauge.folder);
  gauge.window = {};
  {
    std::lock_guard guard(gauge.shared.lock);
    gauge.shared.lists = {};
  }
  // Before the start-up delay has passed the start-up screen stays, and the
  // first loader run is still to come.
  if (!gauge.startupDelayPassed) return;
  if (gauge.loaderRequest == LoaderRequest::None && gauge.modes.mapMode != kMapModeVor) {
    gauge.loaderRequest = LoaderRequest::Restart;
  }
  gauge.shared.redrawRequest = true;
}

void StartLoaderWhenAsked(GaugeState& gauge) {
  if (gauge.loaderRequest == LoaderRequest::None || gauge.database.statusCode != 0 ||
      gauge.loader.IsRunning()) {
    return;
  }
  gauge.previousRawLatitude = gauge.variables[HostVariable::Latitude].currentValue.number;
  gauge.previousRawLongitude = gauge.variables[HostVariable::Longitude].currentValue.number;
  gauge.nav1IdentAtLoaderStart = VariableText(gauge.variables[HostVariable::Nav1Ident]);
  LoaderInputs inputs{gauge.previousRawLatitude, gauge.previousRawLongitude, gauge.modes.rangeNm,
                      gauge.nav1IdentAtLoaderStart};
  gauge.shared.loading = true;
  bool lowPriority = gauge.loaderRequest != LoaderRequest::FirstStart;
  if (!gauge.loader.Start(gauge.database, gauge.window, gauge.shared, inputs, lowPriority)) {
    gauge.shared.loading = false;
  }
  gauge.loaderRequest = LoaderRequest::None;
}

void PublishDiagnostics(GaugeState& gauge) {
  if (gauge.services == nullptr || gauge.services->publishDiagnostics == nullptr) return;
  static LumaroDiagnostics diagnostics;
  FillDiagnostics(gauge, diagnostics);
  gauge.services->publishDiagnostics(&diagnostics, sizeof(diagnostics));
}

}  // namespace

void GaugeQuery(GaugeState& gauge) {
  if (gauge.services == nullptr) return;
  CallService(gauge.services->elementListQuery, gauge.firstElement);
}

void GaugeInstall(GaugeState& gauge, void* resourceArg) {
  gauge.loader.Stop();
  ResetForInstall(gauge);
  if (gauge.services != nullptr) {
    CallService(gauge.services->elementListInstall, gauge.firstElement, resourceArg);
    PanelImage* imageA = gauge.firstElement != nullptr ? gauge.firstElement->image : nullptr;
    void* imageSize = imageA != nullptr ? static_cast<void*>(&imageA->sizeBytes) : nullptr;
    CallService(gauge.services->mouseListInstall, gauge.mouseRects, gauge.header, imageSize);
    CallService(gauge.services->mouseListRegister, gauge.mouseRects, gauge.header);
  }
  gauge.keys.ndMode = ReadPanelNineKey(gauge.folder);
  OpenNavDatabase(gauge.database, gauge.folder);
  ResetDatabaseWatch(gauge.databaseWatch, gauge.database);
  ClearDisplayLists(gauge);
  ResetPassFields(gauge.passData);
  ResetHostVariables(gauge.variables);
  if (gauge.services == nullptr) return;
  for (PanelVariable& variable : gauge.variables) {
    CallService(gauge.services->variableInitialize, &variable);
  }
}

void GaugeInitialize(GaugeState& gauge) {
  if (gauge.services != nullptr) {
    CallService(gauge.services->elementListInitialize, gauge.firstElement);
  }
  SurfaceSetup setup;
  setup.elementAImage = gauge.firstElement != nullptr ? gauge.firstElement->image : nullptr;
  setup.elementBImage = gauge.displayElement != nullptr ? gauge.displayElement->image : nullptr;
  setup.haveModuleHandle = gauge.header != nullptr && gauge.header->instanceHandle != nullptr;
  setup.backgroundBitmap = gauge.backgroundBitmap;
  setup.folder = gauge.folder;
  const PanelServices* services = gauge.services;
  setup.messageBox = [services](const std::string& text, const std::string& caption,
                                uint32_t flags) {
    if (services != nullptr && services->messageBox != nullptr) {
      services->messageBox(text.c_str(), caption.c_str(), flags);
    }
  };
  gauge.surfaces.Create(setup);
  if (!gauge.firstInitializeDone && gauge.surfaces.HasDeviceContext()) {
    gauge.firstInitializeDone = true;
    gauge.firstInitializeSeconds = NowSeconds(gauge);
    ShowStartupScreen(gauge);
  }
  gauge.geometry = ComputeCompassGeometry(gauge.modes.ndMode, gauge.surfaces.WidthPx(),
                                          gauge.surfaces.HeightPx());
}

void GaugeUpdate(GaugeState& gauge) {
  if (gauge.services != nullptr) {
    CallService(gauge.services->elementListUpdate, gauge.firstElement);
  }
  if (NowSeconds(gauge) - gauge.firstInitializeSeconds < kStartupDelaySeconds) {
    gauge.shared.redrawRequest = false;
  } else if (!gauge.startupDelayPassed) {
    EndStartupDelay(gauge);
  }
  ReloadChangedDatabase(gauge);
  StartLoaderWhenAsked(gauge);
  if (PollRoute(gauge.routePoller, gauge.route) && gauge.startupDelayPassed) {
    gauge.shared.redrawRequest = true;
  }
  if (gauge.surfaces.HasDeviceContext() && gauge.shared.redrawRequest) Redraw(gauge);
  if (gauge.services != nullptr) {
    for (PanelVariable& variable : gauge.variables) {
      CallService(gauge.services->variableLookup, &variable);
    }
  }
  PublishDiagnostics(gauge);
}

void GaugeGenerate(GaugeState& gauge, uint32_t phase) {
  if (gauge.services == nullptr) return;
  CallService(gauge.services->elementListGenerate, gauge.firstElement, phase);
}

void GaugeDraw(GaugeState& gauge) {
  if (gauge.services == nullptr) return;
  CallService(gauge.services->elementListPlot, gauge.firstElement);
}

void GaugeKill(GaugeState& gauge) {
  if (gauge.services != nullptr) {
    CallService(gauge.services->mouseListUnregister, gauge.mouseRects, gauge.header);
    CallService(gauge.services->elementListKill, gauge.firstElement);
  }
  gauge.surfaces.Release();
  ClosePassData(gauge.passData);
  gauge.loader.Stop();
  CloseNavDatabase(gauge.database);
  StoreModeFile(gauge.folder, gauge.modes);
}

}  // namespace lumaro
