#include "tests/map/map_fixture.h"

#include <cstdio>

#include "tests/support/navaid_lines.h"

namespace navmap_testing {

using navdb::NavaidKind;
using namespace testing_support;

navdb::Database SmallDatabase() {
  navdb::Database db;
  db.List(NavaidKind::Airport)
      .AddLine(AirportLine("LFPB", "Le Bourget", "07 /25   ", 69, 48.9694, 2.4414, 218, 9843));
  db.List(NavaidKind::Airport)
      .AddLine(AirportLine("LFPB", "Le Bourget", "03 /21   ", 28, 48.9650, 2.4330, 218, 8760));
  db.List(NavaidKind::Airport)
      .AddLine(AirportLine("NFFN", "Nadi", "02 /20   ", 16, -17.7554, 177.4431, 59, 10738));
  db.List(NavaidKind::Airport)
      .AddLine(AirportLine("NSFA", "Faleolo", "08 /26   ", 82, -13.8300, -172.0083, 58, 9839));
  db.List(NavaidKind::Vor).AddLine(VorLine("PON", "PONTOISE", "VOR/DME", 49.0965, 2.0359));
  db.List(NavaidKind::Vor)
      .AddLine(VorLine("GLE", "CHARLES DE GAULLE 26L", "ILS/DME", 49.0244, 2.5228));
  db.List(NavaidKind::Vor).AddLine(VorLine("RBT", "RAMBOUILLET", "DME", 48.6542, 1.9944));
  db.List(NavaidKind::Vor).AddLine(VorLine("NN", "NADI", "VOR/DME", -17.7933, 177.4494));
  db.List(NavaidKind::Ndb).AddLine(NdbLine("OL", "ORLY", 48.7286, 2.3800));
  db.List(NavaidKind::Intersection).AddLine(IntersectionLine("PG502", 48.9500, 2.1000));
  db.List(NavaidKind::Intersection).AddLine(IntersectionLine("DATEL", -15.5, -180.0));
  return db;
}

navmap::Rgb Surface::Pixel(int x, int y) const {
  cairo_surface_flush(image.get());
  const unsigned char* data = cairo_image_surface_get_data(image.get());
  const int stride = cairo_image_surface_get_stride(image.get());
  const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
  return row[x] & 0xFFFFFF;
}

Surface MakeSurface(int widthPx, int heightPx) {
  Surface surface;
  surface.image.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, widthPx, heightPx));
  return surface;
}

Surface ReadPng(const std::string& path) {
  Surface surface;
  surface.image.reset(cairo_image_surface_create_from_png(path.c_str()));
  return surface;
}

std::string ColourName(navmap::Rgb colour) {
  char text[16];
  std::snprintf(text, sizeof text, "#%06X", colour & 0xFFFFFF);
  return text;
}

}  // namespace navmap_testing
