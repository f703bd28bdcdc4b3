// The frame of every redraw: clear, draw every part of the display in its
// order, present, and the values the next change tests compare against.
#include <cstdio>
#include <cstring>

#include "drawing/display_steps.h"
#include "module/gauge_state.h"

namespace lumaro {

namespace {

void CopyRecords(std::span<const DisplayRecord> from, DisplayRecord* to) {
  std::memcpy(static_cast<void*>(to), from.data(), from.size_bytes());
}

// Steps 11 to 16: the map with its range and loading marks, or the database
// error screen in their place.
void DrawMapContent(GaugeState& gauge, const DisplayFrame& frame) {
  if (gauge.database.statusCode != 0) {
    DrawDatabaseError(frame, gauge.database.statusCode);
    return;
  }
  {
    // The loader cannot swap the lists while they are drawn.
    std::lock_guard guard(gauge.shared.lock);
    DrawMap(frame, {&gauge.shared.lists, &gauge.shared.trail, &gauge.route});
  }
  DrawRangeMark(frame);
  if (gauge.shared.loading.load()) DrawLoadingMark(frame);
}

}  // namespace

void DrawDisplay(GaugeState& gauge, const DisplayFrame& frame) {
  DrawCompassArc(frame);
  DrawAircraftSymbol(frame);
  DrawCompassScale(frame);
  DrawHeadingBox(frame);
  DrawWind(frame);
  DrawAdfNeedle(frame);
  DrawRadioTexts(frame);
  DrawNav2Needle(frame);
  switch (frame.modes.mapMode) {
    case kMapModeVor:
      DrawCourseDisplay(frame);
      break;
    case kMapModePlan:
      DrawNorthArrow(frame);
      DrawMapContent(gauge, frame);
      break;
    default:
      DrawMapContent(gauge, frame);
      break;
  }
  DrawBottomLabels(frame);
  DrawMarkerBeacon(frame);
  DrawVerticalDeviation(frame);
  DrawSelectedHeadingPointer(frame);
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
  diagnostics.compassCentreYPx = gauge.geometry.centreYPx;
  diagnostics.compassRadiusPx = gauge.geometry.radiusPx;
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
