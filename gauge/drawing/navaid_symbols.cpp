// The symbol of each display-record kind with its identifier: circles for
// VOR, DME and NDB stations, the localizer outline of an ILS, runway lines
// for airports, triangles for intersections, dots for the top of climb and
// descent, and the runways of the route's departure and arrival.
#include <cstring>

#include "drawing/display_steps.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"
#include "symbols/display_palette.h"
#include "symbols/navaid_shapes.h"

namespace lumaro {

namespace {

using symbols::kIdentGapPx;
using symbols::kIdentRisePx;

constexpr int kSmallRunwayLabelsBelowRangeNm = 20;
constexpr size_t kIdentChars = symbols::kIdentChars;

// The map takes the symbols' colours from the shared palette by these numbers.
static_assert(static_cast<int>(PaletteSlot::HeadingBox) == symbols::kIntersectionColour);
static_assert(static_cast<int>(PaletteSlot::VorCourse) == symbols::kVorColour);
static_assert(static_cast<int>(PaletteSlot::Ils) == symbols::kIlsColour);
static_assert(static_cast<int>(PaletteSlot::Route) == symbols::kRouteColour);
static_assert(static_cast<int>(PaletteSlot::NdbAdf) == symbols::kNdbColour);
static_assert(static_cast<int>(PaletteSlot::Airport) == symbols::kAirportColour);

// Columns of the database records the symbols read.
constexpr size_t kLocalizerCourseColumn = 58;
constexpr size_t kRunwayEndColumn = 33;
constexpr size_t kRunwayOtherEndColumn = 37;
constexpr size_t kRunwayHeadingColumn = 42;
constexpr size_t kRunwayLengthColumn = 87;

// Records are padded with blanks, labels of the route with NULs.
constexpr std::string_view kLabelPadding(" \0", 2);

std::string Trimmed(std::string_view text) {
  return std::string(platform::TrimEnd(text, kLabelPadding));
}

std::optional<std::string_view> DatabaseRecord(const DisplayFrame& frame,
                                               const DisplayRecord& record) {
  if (frame.database == nullptr || record.row < 0) return std::nullopt;
  DatabaseFile file;
  switch (record.kind) {
    case LUMARO_KIND_VOR:
    case LUMARO_KIND_ILS:
    case LUMARO_KIND_DME:
      file = DatabaseFile::Vor;
      break;
    case LUMARO_KIND_NDB:
      file = DatabaseFile::Ndb;
      break;
    case LUMARO_KIND_AIRPORT:
      file = DatabaseFile::Airport;
      break;
    case LUMARO_KIND_INTERSECTION:
      file = DatabaseFile::Intersection;
      break;
    default:
      return std::nullopt;
  }
  return frame.database->views[file].Record(static_cast<size_t>(record.row));
}

std::string RouteLabel(const DisplayRecord& record) {
  return Trimmed(std::string_view(record.label, strnlen(record.label, sizeof(record.label))));
}

void DrawIdent(const DisplayFrame& frame, ScreenPoint at, const std::string& ident,
               PaletteSlot slot, TextAlign align = TextAlign::Left) {
  const int x = align == TextAlign::Right ? at.x - kIdentGapPx : at.x + kIdentGapPx;
  frame.Target().Text({x, at.y - kIdentRisePx}, ident, frame.labelFont, align,
                      TextVertical::Baseline, frame.Colour(slot));
}

// The shape's points about `at`.
template <size_t N>
std::array<ScreenPoint, N> ShapeAt(ScreenPoint at, const std::array<symbols::Offset, N>& shape) {
  std::array<ScreenPoint, N> points;
  for (size_t i = 0; i < N; ++i) points[i] = {at.x + shape[i].dx, at.y + shape[i].dy};
  return points;
}

// In the MAP mode the map is turned heading-up; symbols with a direction
// turn with it, so runways and localizers keep lying along their courses.
double SymbolTurnRad(const DisplayFrame& frame, double turnDeg) {
  return DegToRad(turnDeg) + frame.mapAngleRad;
}

void DrawIls(const DisplayFrame& frame, ScreenPoint at, std::string_view record) {
  const double courseDeg =
      static_cast<double>(platform::ReadLong(platform::Columns(record, kLocalizerCourseColumn, 3)));
  std::array<ScreenPoint, 4> outline =
      RotateAll<4>(ShapeAt(at, symbols::kLocalizerOutline), at,
                   SymbolTurnRad(frame, symbols::LocalizerTurnDeg(courseDeg)));
  frame.Target().Polyline(outline, frame.Colour(PaletteSlot::Ils));
  const int tipX = (outline[1].x + outline[2].x) / 2;
  const TextAlign align = tipX > at.x ? TextAlign::Right : TextAlign::Left;
  DrawIdent(frame, at, Trimmed(record.substr(0, kIdentChars)), PaletteSlot::Ils, align);
}

struct Runway {
  double headingDeg = 0;
  double lengthFt = 0;
  std::string endLabel;    // the end the line's first point turns to
  std::string otherLabel;  // empty when not drawn
};

void DrawRunwayEndLabel(const DisplayFrame& frame, ScreenPoint end, ScreenPoint otherEnd,
                        const std::string& label) {
  if (label.empty()) return;
  const bool upper = end.y <= otherEnd.y;
  frame.Target().Text(end, label, FontSize::Small, TextAlign::Centre,
                      upper ? TextVertical::Bottom : TextVertical::Top,
                      frame.Colour(PaletteSlot::Airport));
}

void DrawRunway(const DisplayFrame& frame, ScreenPoint at, const Runway& runway) {
  const int halfPx = TruncToInt(symbols::RunwayHalfLengthPx(runway.lengthFt, frame.scalePxPerNm));
  std::array<ScreenPoint, 2> line =
      RotateAll<2>({{{at.x, at.y - halfPx}, {at.x, at.y + halfPx}}}, at,
                   SymbolTurnRad(frame, symbols::RunwayTurnDeg(runway.headingDeg)));
  frame.Target().Polyline(line, frame.Colour(PaletteSlot::Airport));
  DrawRunwayEndLabel(frame, line[0], line[1], runway.endLabel);
  DrawRunwayEndLabel(frame, line[1], line[0], runway.otherLabel);
}

void DrawAirport(const DisplayFrame& frame, ScreenPoint at, std::string_view record,
                 SymbolContext& context) {
  Runway runway;
  runway.headingDeg =
      static_cast<double>(platform::ReadLong(platform::Columns(record, kRunwayHeadingColumn, 3)));
  runway.lengthFt =
      static_cast<double>(platform::ReadLong(platform::Columns(record, kRunwayLengthColumn, 5)));
  if (frame.modes.rangeNm < kSmallRunwayLabelsBelowRangeNm) {
    runway.endLabel = Trimmed(platform::Columns(record, kRunwayEndColumn, 3));
    runway.otherLabel = Trimmed(platform::Columns(record, kRunwayOtherEndColumn, 3));
  }
  DrawRunway(frame, at, runway);
  std::string ident = Trimmed(record.substr(0, kIdentChars));
  if (ident != context.previousAirport) DrawIdent(frame, at, ident, PaletteSlot::Airport);
  context.previousAirport = ident;
}

void DrawRouteRunway(const DisplayFrame& frame, ScreenPoint at, const RunwayRecord& record) {
  Runway runway;
  runway.headingDeg = record.headingDeg;
  runway.lengthFt = record.lengthFt;
  runway.endLabel = Trimmed(std::string_view(
      record.designation, strnlen(record.designation, sizeof(record.designation))));
  DrawRunway(frame, at, runway);
  DrawIdent(
      frame, at,
      Trimmed(std::string_view(record.airport, strnlen(record.airport, sizeof(record.airport)))),
      PaletteSlot::Airport);
}

void DrawStation(const DisplayFrame& frame, ScreenPoint at, std::string_view record,
                 PaletteSlot slot) {
  frame.Target().Circle(at, symbols::kStationRadiusPx, frame.Colour(slot), false);
  DrawIdent(frame, at, Trimmed(record.substr(0, kIdentChars)), slot);
}

void DrawIntersection(const DisplayFrame& frame, ScreenPoint at, std::string_view record) {
  frame.Target().Polyline(ShapeAt(at, symbols::kIntersectionTriangle),
                          frame.Colour(PaletteSlot::HeadingBox));
  DrawIdent(frame, at, Trimmed(record.substr(0, kIdentChars)), PaletteSlot::HeadingBox);
}

void DrawClimbOrDescentPoint(const DisplayFrame& frame, ScreenPoint at,
                             const DisplayRecord& record) {
  frame.Target().Circle(at, symbols::kStationRadiusPx, frame.Colour(PaletteSlot::Route), true);
  frame.Target().Text({at.x, at.y - symbols::kClimbDescentLabelRisePx}, RouteLabel(record),
                      frame.labelFont, TextAlign::Centre, TextVertical::Bottom,
                      frame.Colour(PaletteSlot::Route));
}

bool SymbolVisible(const DisplayFrame& frame, ScreenPoint at) {
  if (at.y <= kSymbolTopMarginPx) return false;
  return frame.modes.ndMode != kNdModeArc || at.y <= frame.heightPx;
}

// A route point names no database entry (its row is -1): the route row
// itself gives the kind and the label, which is the identifier the symbol
// of a database entry would show.
void DrawRouteNavaidSymbol(const DisplayFrame& frame, ScreenPoint at, const DisplayRecord& record) {
  const std::string label = RouteLabel(record);
  switch (record.kind) {
    case LUMARO_KIND_VOR:
    case LUMARO_KIND_DME:
      DrawStation(frame, at, label, PaletteSlot::VorCourse);
      break;
    case LUMARO_KIND_NDB:
      DrawStation(frame, at, label, PaletteSlot::NdbAdf);
      break;
    case LUMARO_KIND_INTERSECTION:
      DrawIntersection(frame, at, label);
      break;
    default:
      break;
  }
}

void DrawDatabaseSymbol(const DisplayFrame& frame, ScreenPoint at, const DisplayRecord& record,
                        SymbolContext& context) {
  if (record.row < 0) {
    DrawRouteNavaidSymbol(frame, at, record);
    return;
  }
  std::optional<std::string_view> line = DatabaseRecord(frame, record);
  if (!line) return;
  switch (record.kind) {
    case LUMARO_KIND_VOR:
    case LUMARO_KIND_DME:
      DrawStation(frame, at, *line, PaletteSlot::VorCourse);
      break;
    case LUMARO_KIND_ILS:
      DrawIls(frame, at, *line);
      break;
    case LUMARO_KIND_NDB:
      DrawStation(frame, at, *line, PaletteSlot::NdbAdf);
      break;
    case LUMARO_KIND_AIRPORT:
      DrawAirport(frame, at, *line, context);
      break;
    case LUMARO_KIND_INTERSECTION:
      DrawIntersection(frame, at, *line);
      break;
    default:
      break;
  }
}

}  // namespace

ScreenPoint DrawSymbol(const DisplayFrame& frame, const DisplayRecord& record,
                       SymbolContext& context) {
  const ScreenPoint at = ProjectPosition(frame, record.latitudeDeg, record.longitudeDeg);
  if (!SymbolVisible(frame, at)) return at;
  switch (record.kind) {
    case LUMARO_KIND_TOP_OF_CLIMB:
    case LUMARO_KIND_TOP_OF_DESCENT:
      DrawClimbOrDescentPoint(frame, at, record);
      break;
    case LUMARO_KIND_DEPARTURE:
    case LUMARO_KIND_ARRIVAL:
      if (context.route != nullptr) {
        DrawRouteRunway(frame, at,
                        record.kind == LUMARO_KIND_DEPARTURE ? context.route->departure
                                                             : context.route->arrival);
      }
      break;
    default:
      DrawDatabaseSymbol(frame, at, record, context);
      break;
  }
  return at;
}

}  // namespace lumaro
