// The snapshot of the display's state that the module hands to its host
// after every update: what a test or a window beside the panel may inspect.
#include <cstring>
#include <mutex>

#include "module/gauge_state.h"

namespace lumaro {

namespace {

void CopyRecords(std::span<const DisplayRecord> from, DisplayRecord* to) {
  std::memcpy(static_cast<void*>(to), from.data(), from.size_bytes());
}

}  // namespace

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
  diagnostics.passDataMapped = gauge.passData.block.IsOpen() ? 1 : 0;
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
