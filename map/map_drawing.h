// A whole map picture drawn into a Cairo image surface: sea and land,
// borders and coasts, the database's entries at the view's level of
// detail, the route, a highlighted entry, the labels that have room and the
// scale bar. The result says where every entry went, for the hit test.
//
// Drawing only reads the database, the index, the coastlines and the
// route, so a window may draw on a worker thread while nothing changes them.
#pragma once

#include <cairo.h>

#include <optional>
#include <string>
#include <vector>

#include "map/coastline_file.h"
#include "map/label_placement.h"
#include "map/level_of_detail.h"
#include "map/map_route.h"
#include "map/navaid_layer.h"
#include "map/projection.h"
#include "map/scale_bar.h"
#include "map/spatial_index.h"

namespace navmap {

class LayerCache;

struct MapScene {
  const navdb::Database* database = nullptr;  // with `index`, or neither
  const SpatialIndex* index = nullptr;
  const Coastlines* coastlines = nullptr;
  const MapRoute* route = nullptr;
  std::optional<EntryRef> highlight;
  // The lower layers of the last view, for a thread that draws one view
  // again and again; none: every drawing starts from nothing.
  LayerCache* cache = nullptr;
};

struct DrawnLabel {
  std::string text;  // Windows-1252
  PixelBox box;
  int priority = 0;
};

struct DrawnMap {
  DetailLevel detail;
  std::vector<DrawnSymbol> symbols;  // in drawing order
  std::vector<DrawnLabel> labels;
  ScaleBar scaleBar;
};

// Draws `view` over the whole surface (an RGB24 or ARGB32 image surface;
// the view takes the surface's size).
DrawnMap DrawMap(const MapScene& scene, const MapView& view, cairo_surface_t* surface);

}  // namespace navmap
