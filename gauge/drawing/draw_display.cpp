// The parts of the display in the order a redraw draws them: what is drawn
// later lies on top.
#include <mutex>

#include "drawing/display_steps.h"

namespace lumaro {

namespace {

// The map with its range and loading marks, or the database error screen in
// their place.
void DrawMapContent(const DisplayFrame& frame, const MapSources& sources) {
  if (sources.databaseStatus != 0) {
    DrawDatabaseError(frame, sources.databaseStatus);
    return;
  }
  {
    // The loader cannot swap the lists while they are drawn.
    std::lock_guard guard(sources.shared->lock);
    DrawMap(frame, {&sources.shared->lists, &sources.shared->trail, sources.route});
  }
  DrawRangeMark(frame);
  if (sources.shared->loading.load()) DrawLoadingMark(frame);
}

}  // namespace

void DrawDisplay(const DisplayFrame& frame, const MapSources& sources) {
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
      DrawMapContent(frame, sources);
      break;
    default:
      DrawMapContent(frame, sources);
      break;
  }
  DrawBottomLabels(frame);
  DrawMarkerBeacon(frame);
  DrawVerticalDeviation(frame);
  DrawSelectedHeadingPointer(frame);
}

}  // namespace lumaro
