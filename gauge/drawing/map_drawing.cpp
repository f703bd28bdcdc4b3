// The map of the MAP and PLAN modes: navaid lists, the station tuned on
// NAV 1 with its course line, the route, the trail, the range mark and the
// mark shown while the loader runs.
#include "drawing/display_steps.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace lumaro {

namespace {

constexpr size_t kLocalizerCourseColumn = 58;

struct ListChoice {
  int item;
  int list;
};
// The order the lists are drawn in, each with the item bit that shows it.
constexpr std::array<ListChoice, LUMARO_LIST_COUNT> kListOrder = {{
    {kItemVors, LUMARO_LIST_VOR},
    {kItemNdbs, LUMARO_LIST_NDB},
    {kItemAirports, LUMARO_LIST_AIRPORT},
    {kItemIntersections, LUMARO_LIST_INTERSECTION},
}};

void DrawLists(const DisplayFrame& frame, const DisplayLists& lists, SymbolContext& context) {
  for (const ListChoice& choice : kListOrder) {
    if ((frame.modes.item & choice.item) == 0) continue;
    for (const DisplayRecord& record : lists.lists[static_cast<size_t>(choice.list)]) {
      if (record.shown == 0) break;
      DrawSymbol(frame, record, context);
    }
  }
}

double TunedCourseLineTurnRad(const DisplayFrame& frame, const DisplayRecord& tuned) {
  if (tuned.kind == LUMARO_KIND_ILS && frame.database != nullptr && tuned.row >= 0) {
    std::optional<std::string_view> record =
        frame.database->views[DatabaseFile::Vor].Record(static_cast<size_t>(tuned.row));
    std::string_view course =
        record ? platform::Columns(*record, kLocalizerCourseColumn, 3) : std::string_view();
    return DegToRad(180 - static_cast<double>(platform::ReadLong(course))) + frame.mapAngleRad;
  }
  const double courseDeg =
      frame.Number(HostVariable::CourseOffset) + frame.Number(HostVariable::NavCourse);
  return DegToRad(-courseDeg) + frame.mapAngleRad;
}

// The course line turns about the station itself; in the MAP mode it turns
// further by the map angle so it stays on the station and on its course.
void DrawTunedStation(const DisplayFrame& frame, const DisplayRecord& tuned,
                      SymbolContext& context) {
  const ScreenPoint station = ProjectPosition(frame, tuned.latitudeDeg, tuned.longitudeDeg);
  const int h = frame.heightPx;
  std::array<ScreenPoint, 2> line =
      RotateAll<2>({{{station.x, station.y - h}, {station.x, station.y + h}}}, station,
                   TunedCourseLineTurnRad(frame, tuned));
  DrawSymbol(frame, tuned, context);
  frame.Target().DottedLine(line[0], line[1], frame.Colour(PaletteSlot::VorCourse));
}

void DrawRoute(const DisplayFrame& frame, const RouteData& route, SymbolContext& context) {
  const RouteTable& points = route.points;
  if (points[0].shown == 0) {
    const int x = frame.widthPx / 2;
    frame.Target().Text({x, frame.heightPx / 2 - 10}, "NO ROUTE", FontSize::Large,
                        TextAlign::Centre, TextVertical::Top, kWarningRed);
    frame.Target().Text({x, frame.heightPx / 2}, "AVAILABLE", FontSize::Large, TextAlign::Centre,
                        TextVertical::Top, kWarningRed);
    return;
  }
  std::array<ScreenPoint, 2> leg{};
  leg[1] = DrawSymbol(frame, points[0], context);
  for (size_t index = 1; index < points.size() && points[index].shown != 0; ++index) {
    leg[0] = leg[1];
    leg[1] = DrawSymbol(frame, points[index], context);
    frame.Target().Polyline(leg, frame.Colour(PaletteSlot::Route));
  }
}

// From the aircraft back through the positions of the loader runs, newest
// first; an entry at (0, 0) was never written and ends the trail.
void DrawTrail(const DisplayFrame& frame, PositionTrail& trail) {
  std::array<ScreenPoint, PositionTrail::kEntries + 1> points{};
  size_t count = 0;
  points[count++] = frame.Centre();
  int index = trail.writeIndex;
  for (int step = 0; step < PositionTrail::kEntries; ++step) {
    index = index == PositionTrail::kEntries - 1 ? 0 : index + 1;
    TrailEntry& entry = trail.entries[static_cast<size_t>(index)];
    if (entry.latitudeDeg == 0 && entry.longitudeDeg == 0) break;
    ScreenPoint at = ProjectPosition(frame, entry.latitudeDeg, entry.longitudeDeg);
    entry.screenXPx = at.x;
    entry.screenYPx = at.y;
    points[count++] = at;
  }
  if (count > 1)
    frame.Target().Polyline(std::span(points.data(), count), frame.Colour(PaletteSlot::Compass));
}

}  // namespace

void DrawMap(const DisplayFrame& frame, const MapContent& content) {
  SymbolContext context;
  context.route = content.route;
  DrawLists(frame, *content.lists, context);
  if (content.lists->tuned.shown != 0) DrawTunedStation(frame, content.lists->tuned, context);
  if ((frame.modes.item & kItemRoute) == 0) return;
  DrawRoute(frame, *content.route, context);
  DrawTrail(frame, *content.trail);
}

void DrawRangeMark(const DisplayFrame& frame) {
  const ScreenPoint at{frame.geometry.centreXPx,
                       frame.geometry.centreYPx - frame.geometry.radiusPx / 2};
  frame.Target().Text(at, std::to_string(frame.modes.rangeNm / 2), FontSize::Medium,
                      TextAlign::Centre, TextVertical::Bottom,
                      frame.Colour(PaletteSlot::RangeMark));
}

void DrawLoadingMark(const DisplayFrame& frame) {
  // A short bar just under the range mark.
  const int y = frame.geometry.centreYPx - frame.geometry.radiusPx / 2 + 2;
  std::array<ScreenPoint, 2> bar = {
      {{frame.geometry.centreXPx - 4, y}, {frame.geometry.centreXPx + 4, y}}};
  frame.Target().Polyline(bar, frame.Colour(PaletteSlot::SelectedHeading));
}

}  // namespace lumaro
