// The frame of every redraw: clear, draw, present, and the values the next
// change tests compare against.
#include <cstdio>
#include <cstring>

#include "gauge_state.h"

namespace lumaro {

namespace {

constexpr Rgb kWarningRed = RgbFromColorRef(0x0000FF);

// Shown instead of the map while the database is unusable.
void DrawDatabaseError(DrawTarget& target, int widthPx, int heightPx, int statusCode) {
  char codeText[16];
  std::snprintf(codeText, sizeof(codeText), "ERROR %03d", statusCode);
  target.Text({widthPx / 2, heightPx / 2 - 10}, "NAV", FontSize::kLarge, TextAlign::kCentre,
              TextVertical::kTop, kWarningRed);
  target.Text({widthPx / 2, heightPx / 2}, "DATABASE", FontSize::kLarge, TextAlign::kCentre,
              TextVertical::kTop, kWarningRed);
  target.Text({widthPx / 2, heightPx / 2 + 10}, codeText, FontSize::kLarge, TextAlign::kCentre,
              TextVertical::kTop, kWarningRed);
}

void CopyRecords(std::span<const DisplayRecord> from, DisplayRecord* to) {
  std::memcpy(static_cast<void*>(to), from.data(), from.size_bytes());
}

}  // namespace

void Redraw(GaugeState& gauge) {
  gauge.shared.redrawRequest = false;
  gauge.surfaces.Clear();
  RememberRedrawValues(gauge.variables);
  gauge.previousRawLatitude = gauge.variables[kLatitudeVar].currentValue.number;
  gauge.previousRawLongitude = gauge.variables[kLongitudeVar].currentValue.number;
  DrawTarget* target = gauge.surfaces.Target();
  if (target != nullptr && gauge.modes.mapMode != 0 && gauge.database.statusCode != 0) {
    DrawDatabaseError(*target, gauge.surfaces.WidthPx(), gauge.surfaces.HeightPx(),
                      gauge.database.statusCode);
  }
  gauge.surfaces.Present();
  gauge.elementValue = gauge.elementValue == 0 ? 1 : 0;
  ++gauge.redrawCount;
}

void FillDiagnostics(GaugeState& gauge, LumaroDiagnostics& diagnostics) {
  diagnostics.sizeBytes = sizeof(LumaroDiagnostics);
  diagnostics.databaseStatus = gauge.database.statusCode;
  diagnostics.ndMode = gauge.modes.ndMode;
  diagnostics.mapMode = gauge.modes.mapMode;
  diagnostics.item = gauge.modes.item;
  diagnostics.rangeNm = gauge.modes.rangeNm;
  diagnostics.redrawCount = gauge.redrawCount;
  diagnostics.loaderRuns = gauge.shared.loaderRuns.load();
  diagnostics.loading = gauge.shared.loading.load() ? 1 : 0;
  diagnostics.startupDelayPassed = gauge.startupDelayPassed ? 1 : 0;
  diagnostics.passDataMapped = gauge.passData.block.IsMapped() ? 1 : 0;
  diagnostics.ndModeKey = gauge.keys.ndMode.virtualKey;
  diagnostics.ndModeModifiers = gauge.keys.ndMode.modifiers;
  diagnostics.elementValue = gauge.elementValue;
  diagnostics.surfaceFailed = gauge.surfaces.Failed() ? 1 : 0;
  diagnostics.compassCentreY = gauge.geometry.centreY;
  diagnostics.compassRadius = gauge.geometry.radiusPx;
  diagnostics.routeReads = gauge.routePoller.reads;
  diagnostics.nextRouteBlock = gauge.routePoller.blockNumber;
  {
    std::lock_guard guard(gauge.shared.lock);
    for (int list = 0; list < LUMARO_LIST_COUNT; ++list) {
      CopyRecords(gauge.shared.lists.lists[list], diagnostics.lists[list]);
    }
    diagnostics.tuned = gauge.shared.lists.tuned;
  }
  CopyRecords(gauge.route.points, diagnostics.route);
  diagnostics.departure = gauge.route.departure;
  diagnostics.arrival = gauge.route.arrival;
}

}  // namespace lumaro
