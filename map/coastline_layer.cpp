#include "map/coastline_layer.h"

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

void StrokeLines(Canvas& canvas, const Projection& projection, const CoastlineLevel& level,
                 CoastlineKind kind) {
  cairo_t* cairo = canvas.Cairo();
  cairo_new_path(cairo);
  ForEachInView(projection, level.lines, [&](const GeoRun& run, double shiftDeg) {
    if (run.kind == kind) AddRun(cairo, projection, level, run, shiftDeg);
  });
  cairo_stroke(cairo);
}

}  // namespace

void DrawLandAndSea(Canvas& canvas, const Projection& projection, const CoastlineLevel* level) {
  if (level == nullptr) {
    canvas.Fill(kSeaColour);
    return;
  }
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
  ForEachInView(projection, level->landRings, [&](const GeoRun& run, double shiftDeg) {
    AddRun(cairo, projection, *level, run, shiftDeg);
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

void DrawCoastlines(Canvas& canvas, const Projection& projection, const CoastlineLevel& level) {
  cairo_t* cairo = canvas.Cairo();
  cairo_save(cairo);
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_DEFAULT);
  cairo_set_line_join(cairo, CAIRO_LINE_JOIN_ROUND);
  canvas.SetColour(kBorderColour);
  cairo_set_line_width(cairo, kBorderWidthPx);
  cairo_set_dash(cairo, kBorderDashPx, 2, 0);
  StrokeLines(canvas, projection, level, CoastlineKind::Border);
  cairo_set_dash(cairo, nullptr, 0, 0);
  canvas.SetColour(kCoastColour);
  cairo_set_line_width(cairo, kCoastWidthPx);
  StrokeLines(canvas, projection, level, CoastlineKind::Coast);
  cairo_restore(cairo);
}

}  // namespace navmap
