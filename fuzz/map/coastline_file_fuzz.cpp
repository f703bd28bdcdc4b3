// Arbitrary bytes as the map's coastline file: the reader refuses them or
// gives lines and rings that lie inside the points it read, on the globe,
// inside their boxes; and whatever it gives can be drawn.
#include <cairo.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "map/canvas.h"
#include "map/coastline_file.h"
#include "map/coastline_layer.h"

namespace {

void CheckRuns(const navmap::CoastlineLevel& level, const std::vector<navmap::GeoRun>& runs,
               uint32_t minPoints) {
  for (const navmap::GeoRun& run : runs) {
    if (run.count < minPoints || run.first > level.points.size() ||
        run.count > level.points.size() - run.first) {
      std::abort();
    }
    for (uint32_t i = run.first; i < run.first + run.count; ++i) {
      const navmap::GeoPoint p = level.points[i];
      if (!(std::fabs(p.lonDeg) <= 180.5f) || !(std::fabs(p.latDeg) <= 90.5f)) std::abort();
      if (p.lonDeg < run.box.westDeg || p.lonDeg > run.box.eastDeg || p.latDeg < run.box.southDeg ||
          p.latDeg > run.box.northDeg) {
        std::abort();
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const platform::Result<navmap::Coastlines> read =
      navmap::DecodeCoastlines(std::span<const uint8_t>(data, size));
  if (!read) {
    if (read.error().message.empty()) std::abort();
    return 0;
  }
  if (read->levels.empty() || read->levels.size() > navmap::kMaxCoastlineLevels) std::abort();
  // A few times the bytes read, at most: a point takes two bytes or more
  // and is held in eight, a run five or more and is held in 28, and the
  // lists grow by doubling.
  if (read->HeldBytes() > 24 * size + 4096) std::abort();
  static cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 96, 48);
  for (const navmap::CoastlineLevel& level : read->levels) {
    CheckRuns(level, level.lines, 2);
    CheckRuns(level, level.landRings, 3);
    for (const navmap::MapView view :
         {navmap::ViewOfWorld(96, 48), navmap::ViewOfRange(0, 179.5, 50, 96, 48)}) {
      navmap::Canvas canvas(surface);
      const navmap::Projection projection(view);
      navmap::DrawLandAndSea(canvas, projection, &level);
      navmap::DrawCoastlines(canvas, projection, level);
    }
  }
  return 0;
}
