// Land rings cut into square tiles, so that the map fills only the land of
// the tiles in view instead of whole continents. Pieces of neighbouring
// tiles meet at exactly the same points, so that filled together they show
// no seam.
#pragma once

#include <vector>

#include "map/tools/topology.h"

namespace coastline_tool {

// `tileDeg` 0 keeps the rings whole.
std::vector<Ring> CutIntoTiles(const std::vector<Ring>& rings, const navmap::Quantization& grid,
                               double tileDeg);

// The ring inside the box x0 <= x <= x1, y0 <= y <= y1 (Sutherland and
// Hodgman's clipping, which may leave zero-width edges along the box's
// sides: harmless for a fill). Empty when nothing is inside.
Ring ClipRing(const Ring& ring, int32_t x0, int32_t y0, int32_t x1, int32_t y1);

}  // namespace coastline_tool
