#include "map/route_layer.h"

#include <algorithm>
#include <cmath>

#include "map/symbol_drawing.h"
#include "symbols/navaid_shapes.h"

namespace navmap {
namespace {

constexpr double kLegWidthPx = 2;
constexpr double kMinRunwayHalfPx = 3;
constexpr int kTurnDotPx = 3;
constexpr int kViewMarginPx = 24;
// The reach of a point's symbol, kept free of labels.
constexpr int kPointReachPx = 3;

// Calls fn(i, pixel) for every point of every copy of the route in view:
// one copy as a rule, two when the view is wider than the globe's turn
// between them.
template <class Fn>
void ForEachCopy(const Projection& projection, const MapRoute& route, Fn&& fn) {
  const std::vector<double> longitudes = ContinuousLongitudes(route);
  const std::optional<RouteBox> box = BoxOf(route);
  if (!box) return;
  const double boxShiftDeg = box->westDeg - *std::min_element(longitudes.begin(), longitudes.end());
  const Projection::Shifts shifts = projection.ShiftsInView(box->westDeg, box->eastDeg, 1);
  for (size_t copy = 0; copy < shifts.count; ++copy) {
    for (size_t i = 0; i < route.points.size(); ++i) {
      const ScreenXY xy = projection.ToScreenShifted(route.points[i].latDeg, longitudes[i],
                                                     boxShiftDeg + shifts.deg[copy]);
      fn(i, xy);
    }
  }
}

Pixel PixelOf(ScreenXY xy) {
  return {static_cast<int>(std::floor(xy.x)), static_cast<int>(std::floor(xy.y))};
}

Rgb ColourOf(RoutePointKind kind) {
  switch (kind) {
    case RoutePointKind::Airport:
      return kAirportColour;
    case RoutePointKind::Vor:
      return kVorColour;
    case RoutePointKind::Ils:
      return kIlsColour;
    case RoutePointKind::Ndb:
      return kNdbColour;
    case RoutePointKind::Intersection:
      return kIntersectionColour;
    case RoutePointKind::TopOfClimb:
    case RoutePointKind::TopOfDescent:
    case RoutePointKind::RunwayTurn:
      break;
  }
  return kRouteColour;
}

void DrawRunway(Canvas& canvas, const Projection& projection, Pixel at, const RouteRunway& runway,
                std::vector<LabelRequest>& labels, LabelSpace& space) {
  const double halfPx = std::max(
      kMinRunwayHalfPx, symbols::RunwayHalfLengthPx(runway.lengthFt, projection.View().pxPerNm));
  const std::array<Pixel, 2> ends =
      DrawRunwayLine(canvas, at, runway.headingDeg, halfPx, kAirportColour);
  space.TakeLine(ends[0].x, ends[0].y, ends[1].x, ends[1].y, kHeldByRoute);
  if (runway.designation.empty()) return;
  labels.push_back({kRouteRunwayPriority, 0, ends[0].x, ends[0].y, symbols::kIdentGapPx,
                    runway.designation, kAirportColour,
                    ends[0].y <= ends[1].y ? LabelAnchor::Above : LabelAnchor::Below});
}

}  // namespace

void DrawRouteLegs(Canvas& canvas, const Projection& projection, const MapRoute& route,
                   LabelSpace& space) {
  if (route.points.size() < 2) return;
  cairo_t* cairo = canvas.Cairo();
  cairo_save(cairo);
  cairo_new_path(cairo);
  Pixel previous;
  ForEachCopy(projection, route, [&](size_t i, ScreenXY xy) {
    const Pixel at = PixelOf(xy);
    if (i == 0) {
      cairo_move_to(cairo, at.x + 0.5, at.y + 0.5);
    } else {
      cairo_line_to(cairo, at.x + 0.5, at.y + 0.5);
      space.TakeLine(previous.x, previous.y, at.x, at.y, kHeldByRoute);
    }
    previous = at;
  });
  canvas.SetColour(kRouteColour);
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cairo, kLegWidthPx);
  cairo_set_line_join(cairo, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cairo);
  cairo_restore(cairo);
}

void DrawRoutePoints(Canvas& canvas, const Projection& projection, const MapRoute& route,
                     std::vector<LabelRequest>& labels, LabelSpace& space) {
  ForEachCopy(projection, route, [&](size_t i, ScreenXY xy) {
    const RoutePoint& point = route.points[i];
    const Pixel at = PixelOf(xy);
    if (at.x < -kViewMarginPx || at.y < -kViewMarginPx || at.x > canvas.WidthPx() + kViewMarginPx ||
        at.y > canvas.HeightPx() + kViewMarginPx) {
      return;
    }
    const Rgb colour = ColourOf(point.kind);
    LabelAnchor anchor = LabelAnchor::Beside;
    int priority = kRoutePriority;
    switch (point.kind) {
      case RoutePointKind::Airport: {
        const bool first = i == 0;
        const std::optional<RouteRunway>& runway =
            first ? route.departureRunway : route.arrivalRunway;
        if (runway && (first || i + 1 == route.points.size())) {
          DrawRunway(canvas, projection, at, *runway, labels, space);
        } else {
          canvas.Stamp(at.x, at.y, StationCirclePixels(), colour);
        }
        break;
      }
      case RoutePointKind::Vor:
      case RoutePointKind::Ils:
      case RoutePointKind::Ndb:
        canvas.Stamp(at.x, at.y, StationCirclePixels(), colour);
        break;
      case RoutePointKind::Intersection:
        canvas.Stamp(at.x, at.y, IntersectionPixels(), colour);
        break;
      case RoutePointKind::TopOfClimb:
      case RoutePointKind::TopOfDescent:
        canvas.Stamp(at.x, at.y, FilledCirclePixels(), colour);
        anchor = LabelAnchor::Above;
        break;
      case RoutePointKind::RunwayTurn:
        canvas.Square(at.x - kTurnDotPx / 2, at.y - kTurnDotPx / 2, kTurnDotPx, colour);
        priority = kRouteTurnPriority;
        break;
    }
    space.Take({at.x - kPointReachPx, at.y - kPointReachPx, at.x + kPointReachPx + 1,
                at.y + kPointReachPx + 1},
               kHeldByRoute);
    labels.push_back(
        {priority, 0, at.x, at.y, symbols::kIdentGapPx, point.identifier, colour, anchor});
  });
}

}  // namespace navmap
