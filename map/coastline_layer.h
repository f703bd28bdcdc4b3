// The land and the sea, the coastlines and the country borders of a view,
// from the level of the coastline file that its detail asks for. Each line
// or ring is drawn whole, moved by a turn of the globe where that brings it
// into view, so nothing breaks at the 180th meridian.
#pragma once

#include "map/canvas.h"
#include "map/coastline_file.h"
#include "map/projection.h"

namespace navmap {

// Fills the image with the sea and the land of `level` over it.
void DrawLandAndSea(Canvas& canvas, const Projection& projection, const CoastlineLevel* level);

// Strokes the borders, then the coasts over them.
void DrawCoastlines(Canvas& canvas, const Projection& projection, const CoastlineLevel& level);

}  // namespace navmap
