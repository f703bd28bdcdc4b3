#include "module/redraw.h"

#include <mutex>

namespace lumaro {

DisplayFrame MakeDisplayFrame(GaugeState& gauge, DrawTarget& target, int widthPx, int heightPx,
                              const DisplayColours& colours) {
  FrameSources sources;
  sources.geometry = gauge.geometry;
  sources.modes = gauge.modes;
  sources.variables = &gauge.variables;
  sources.database = &gauge.database;
  {
    std::lock_guard guard(gauge.shared.lock);
    sources.nmPerDegreeLongitude = gauge.shared.nmPerDegreeLongitude;
  }
  return MakeDisplayFrame(target, widthPx, heightPx, colours, sources);
}

void DrawDisplay(GaugeState& gauge, const DisplayFrame& frame) {
  DrawDisplay(frame, {gauge.database.statusCode, &gauge.shared, &gauge.route});
}

void Redraw(GaugeState& gauge) {
  gauge.shared.redrawRequest = false;
  gauge.surfaces.Clear();
  RememberRedrawValues(gauge.variables);
  gauge.previousRawLatitude = gauge.variables[HostVariable::Latitude].currentValue.number;
  gauge.previousRawLongitude = gauge.variables[HostVariable::Longitude].currentValue.number;
  DrawTarget* target = gauge.surfaces.Target();
  if (target != nullptr) {
    DisplayFrame frame = MakeDisplayFrame(gauge, *target, gauge.surfaces.WidthPx(),
                                          gauge.surfaces.HeightPx(), gauge.surfaces.Colours());
    DrawDisplay(gauge, frame);
  }
  gauge.surfaces.Present();
  gauge.elementValue = gauge.elementValue == 0 ? 1 : 0;
  ++gauge.redrawCount;
}

}  // namespace lumaro
