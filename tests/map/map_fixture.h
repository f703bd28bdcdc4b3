// A small database for the map's tests, the pixels of a drawn picture, and
// the colour names the failures print.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>

#include "map/map_palette.h"
#include "navdb/database.h"

namespace navmap_testing {

// Paris: Le Bourget's runway 07/25, the VOR PON, the ILS of runway 26L at
// Charles de Gaulle, the NDB OL, the intersection PG502 and the DME of
// Rambouillet; over the date line: Nadi (Fiji) and Faleolo (Samoa), with
// the VOR NN and the intersection DATEL at 180 W.
navdb::Database SmallDatabase();

struct Surface {
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> image{nullptr,
                                                                           cairo_surface_destroy};
  cairo_surface_t* get() const { return image.get(); }
  navmap::Rgb Pixel(int x, int y) const;
};
Surface MakeSurface(int widthPx, int heightPx);
Surface ReadPng(const std::string& path);

// "#RRGGBB", so that a failed colour check reads.
std::string ColourName(navmap::Rgb colour);

}  // namespace navmap_testing
