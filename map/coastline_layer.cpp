#include "map/coastline_layer.h"

#include <algorithm>

namespace navmap {
namespace {

constexpr double kCoastWidthPx = 1.2;
constexpr double kBorderWidthPx = 1.0;
constexpr double kBorderDashPx[] = {4.0, 3.0};

// Calls fn(run, shiftDeg) for every run whose box, moved by a whole turn,
// touches the view.
template <class Fn>
void ForEachInView(const Projection& projection, const std::vector<GeoRun>& runs, Fn&& fn) {
  const double south = projection.SouthDeg();
  const double north = projection.NorthDeg();
  for (const GeoRun& run : runs) {
    if (run.box.northDeg < south || run.box.southDeg > north) continue;
    const Projection::Shifts shifts = projection.ShiftsInView(run.box.westDeg, run.box.eastDeg);
    for (size_t i = 0; i < shifts.count; ++i) fn(run, shifts.deg[i]);
  }
}

void AddRun(cairo_t* cairo, const Projection& projection, const CoastlineLevel& level,
            const GeoRun& run, double shiftDeg) {
  for (uint32_t i = 0; i < run.count; ++i) {
    const GeoPoint point = level.points[run.first + i];
    const ScreenXY at = projection.ToScreenShifted(point.latDeg, point.lonDeg, shiftDeg);
    if (i == 0) {
      cairo_move_to(cairo, at.x, at.y);
    } else {
      cairo_line_to(cairo, at.x, at.y);
    }
  }
}

// The image widened by `reachPx` on every side.
struct ImageReach {
  ImageReach(const Projection& projection, double reachPx)
      : left(-reachPx),
        top(-reachPx),
        right(projection.View().widthPx + reachPx),
        bottom(projection.View().heightPx + reachPx) {}
  // True when the segment's box overlaps it: the segment may come within
  // the reach of the image.
  bool Touches(ScreenXY from, ScreenXY to) const {
    return std::max(from.x, to.x) >= left && std::min(from.x, to.x) <= right &&
           std::max(from.y, to.y) >= top && std::min(from.y, to.y) <= bottom;
  }
  double left, top, right, bottom;
};

// True when a segment of the open line comes within `reachPx` of the image.
bool LineNearImage(const Projection& projection, const CoastlineLevel& level, const GeoRun& run,
                   double shiftDeg, double reachPx) {
  const ImageReach reach(projection, reachPx);
  ScreenXY from{};
  for (uint32_t i = 0; i < run.count; ++i) {
    const GeoPoint point = level.points[run.first + i];
    const ScreenXY to = projection.ToScreenShifted(point.latDeg, point.lonDeg, shiftDeg);
    if (i == 0) from = to;
    if (reach.Touches(from, to)) return true;
    from = to;
  }
  return false;
}

void StrokeLines(Canvas& canvas, const Projection& projection, const CoastlineLevel& level,
                 CoastlineKind kind, RunsStroked runs) {
  // Zoomed in, the lines whose boxes touch the view mostly pass well clear
  // of the image; when every one does, Cairo need not stroke them only to
  // cut them all away. When one comes near, all go to Cairo as before:
  // its antialiasing of a pixel may shift by a level with the rest of the
  // path.
  constexpr double kStrokeReachPx = 3;
  bool anyNear = runs == RunsStroked::AllInView;
  ForEachInView(projection, level.lines, [&](const GeoRun& run, double shiftDeg) {
    anyNear = anyNear ||
              (run.kind == kind && LineNearImage(projection, level, run, shiftDeg, kStrokeReachPx));
  });
  if (!anyNear) return;
  cairo_t* cairo = canvas.Cairo();
  cairo_new_path(cairo);
  ForEachInView(projection, level.lines, [&](const GeoRun& run, double shiftDeg) {
    if (run.kind == kind) AddRun(cairo, projection, level, run, shiftDeg);
  });
  cairo_stroke(cairo);
}

}  // namespace

std::optional<Rgb> UniformLandOrSea(const Projection& projection, const CoastlineLevel& level) {
  // A pixel tells land from sea by its centre, so an edge further than a
  // pixel outside the image changes none of them.
  const ImageReach reach(projection, 1);
  // The centre of a pixel in the middle of the image.
  const int middleX = projection.View().widthPx / 2;
  const int middleY = projection.View().heightPx / 2;
  const double centreX = middleX + 0.5;
  const double centreY = middleY + 0.5;
  bool nearImage = false;
  bool centreOnLand = false;
  ForEachInView(projection, level.landRings, [&](const GeoRun& run, double shiftDeg) {
    if (nearImage || run.count == 0) return;
    const GeoPoint last = level.points[run.first + run.count - 1];
    ScreenXY from = projection.ToScreenShifted(last.latDeg, last.lonDeg, shiftDeg);
    for (uint32_t i = 0; i < run.count; ++i) {
      const GeoPoint point = level.points[run.first + i];
      const ScreenXY to = projection.ToScreenShifted(point.latDeg, point.lonDeg, shiftDeg);
      if (reach.Touches(from, to)) {
        nearImage = true;
        return;
      }
      // Even-odd, along a ray from the centre to the right; the ring is
      // closed from its last point to its first, as the fill closes it.
      if ((from.y > centreY) != (to.y > centreY) &&
          from.x + (centreY - from.y) * (to.x - from.x) / (to.y - from.y) > centreX) {
        centreOnLand = !centreOnLand;
      }
      from = to;
    }
  });
  if (nearImage) return std::nullopt;
  return centreOnLand ? kLandColour : kSeaColour;
}

void DrawLandAndSeaWithCairo(Canvas& canvas, const Projection& projection,
                             const CoastlineLevel& level) {
  cairo_t* cairo = canvas.Cairo();
  cairo_save(cairo);
  // The pieces of a ring cut at tile edges or at the meridian meet along
  // zero-width edges; filled in one path even-odd they leave no seam.
  cairo_set_fill_rule(cairo, CAIRO_FILL_RULE_EVEN_ODD);
  // Land and sea each fill their own pixels, so every pixel is written
  // once; without antialiasing the two fills meet exactly, and the coast
  // drawn over their edge smooths it.
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
  cairo_new_path(cairo);
  ForEachInView(projection, level.landRings, [&](const GeoRun& run, double shiftDeg) {
    AddRun(cairo, projection, level, run, shiftDeg);
    cairo_close_path(cairo);
  });
  canvas.SetColour(kLandColour);
  cairo_fill_preserve(cairo);
  // The sea: the whole image with the land cut out.
  cairo_rectangle(cairo, 0, 0, canvas.WidthPx(), canvas.HeightPx());
  canvas.SetColour(kSeaColour);
  cairo_fill(cairo);
  cairo_restore(cairo);
}

void DrawLandAndSea(Canvas& canvas, const Projection& projection, const CoastlineLevel* level) {
  if (level == nullptr) {
    canvas.Fill(kSeaColour);
    return;
  }
  // Zoomed in, a view mostly lies wholly inland or out at sea: one fill at
  // the speed of memory, where Cairo would walk the rings and fill span by
  // span to the same pixels.
  if (const std::optional<Rgb> uniform = UniformLandOrSea(projection, *level)) {
    canvas.Fill(*uniform);
    return;
  }
  DrawLandAndSeaWithCairo(canvas, projection, *level);
}

void DrawCoastlines(Canvas& canvas, const Projection& projection, const CoastlineLevel& level,
                    RunsStroked runs) {
  cairo_t* cairo = canvas.Cairo();
  cairo_save(cairo);
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_DEFAULT);
  cairo_set_line_join(cairo, CAIRO_LINE_JOIN_ROUND);
  canvas.SetColour(kBorderColour);
  cairo_set_line_width(cairo, kBorderWidthPx);
  cairo_set_dash(cairo, kBorderDashPx, 2, 0);
  StrokeLines(canvas, projection, level, CoastlineKind::Border, runs);
  cairo_set_dash(cairo, nullptr, 0, 0);
  canvas.SetColour(kCoastColour);
  cairo_set_line_width(cairo, kCoastWidthPx);
  StrokeLines(canvas, projection, level, CoastlineKind::Coast, runs);
  cairo_restore(cairo);
}

}  // namespace navmap
