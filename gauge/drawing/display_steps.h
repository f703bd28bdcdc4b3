// The parts of the display, in the order the redraw draws them.
#pragma once

#include <optional>

#include "data/display_data.h"
#include "data/route_reader.h"
#include "drawing/display_frame.h"

namespace lumaro {

// Compass: arc, aircraft symbol, scale, heading box, wind.
void DrawCompassArc(const DisplayFrame& frame);
void DrawAircraftSymbol(const DisplayFrame& frame);
void DrawCompassScale(const DisplayFrame& frame);
void DrawHeadingBox(const DisplayFrame& frame);
void DrawWind(const DisplayFrame& frame);

// Radios: needles and texts at the top.
void DrawAdfNeedle(const DisplayFrame& frame);
void DrawRadioTexts(const DisplayFrame& frame);
void DrawNav2Needle(const DisplayFrame& frame);

// The VOR course display of MapMode 0, and the north arrow of MapMode 2.
void DrawCourseDisplay(const DisplayFrame& frame);
void DrawNorthArrow(const DisplayFrame& frame);
void DrawDatabaseError(const DisplayFrame& frame, int statusCode);

// Map: the navaid lists, the tuned station, the route and the trail. Callers
// hold the shared lock around DrawMap.
struct MapContent {
  const DisplayLists* lists = nullptr;
  PositionTrail* trail = nullptr;  // its screen points are rewritten
  const RouteData* route = nullptr;
};
void DrawMap(const DisplayFrame& frame, const MapContent& content);
void DrawRangeMark(const DisplayFrame& frame);
void DrawLoadingMark(const DisplayFrame& frame);

// Symbol of one display record; its screen point when asked. The symbol is
// skipped near the top and, in the arc mode, below the bottom edge.
// previousAirport holds the identifier of the last airport drawn, so each
// airport is labelled once.
struct SymbolContext {
  const RouteData* route = nullptr;  // departure and arrival runways
  std::string previousAirport;
};
ScreenPoint DrawSymbol(const DisplayFrame& frame, const DisplayRecord& record,
                       SymbolContext& context);

// Bottom labels, marker beacon, vertical deviation scale, selected heading.
void DrawBottomLabels(const DisplayFrame& frame);
void DrawMarkerBeacon(const DisplayFrame& frame);
void DrawVerticalDeviation(const DisplayFrame& frame);
void DrawSelectedHeadingPointer(const DisplayFrame& frame);

// What the map part of a redraw shows besides the frame.
struct MapSources {
  int databaseStatus = 0;               // not 0: the database error screen instead
  SharedDisplayData* shared = nullptr;  // the loader's lists and trail, drawn under its lock
  const RouteData* route = nullptr;
};

// Everything a redraw draws between the clear and the present, on any target.
void DrawDisplay(const DisplayFrame& frame, const MapSources& sources);

}  // namespace lumaro
