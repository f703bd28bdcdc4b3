// The database's entries in a view: each shown entry's symbol in the
// display's shape and colour (or a dot, far out), the label it asks for,
// and a note of where it was drawn, for the hit test.
#pragma once

#include <optional>
#include <vector>

#include "map/canvas.h"
#include "map/label_placement.h"
#include "map/level_of_detail.h"
#include "map/projection.h"
#include "map/spatial_index.h"
#include "map/symbol_drawing.h"

namespace navmap {

// One entry where the map drew it.
struct DrawnSymbol {
  EntryRef entry;
  MapSymbol symbol = MapSymbol::Intersection;
  Pixel at;
  int reachPx = 0;   // how far from `at` a click still hits it
  int priority = 0;  // the label priority: a click between two takes the higher
};

// The label priority of a navaid (below the route's and the highlight's).
int LabelPriority(MapSymbol symbol, int rank);

struct NavaidLayer {
  const navdb::Database& database;
  const SpatialIndex& index;
  const DetailLevel& detail;
};

// Draws the shown entries, the least important first so the more important
// lie on top, takes their pixels from the labels' space and adds their
// label requests.
void DrawNavaids(Canvas& canvas, const Projection& projection, const NavaidLayer& layer,
                 std::vector<DrawnSymbol>& drawn, std::vector<LabelRequest>& labels,
                 LabelSpace& space);

// The ring round a highlighted entry, and its symbol and label whatever the
// detail; nothing when the entry is not in view or not in the database.
void DrawHighlight(Canvas& canvas, const Projection& projection, const navdb::Database& database,
                   EntryRef entry, std::vector<DrawnSymbol>& drawn,
                   std::vector<LabelRequest>& labels, LabelSpace& space);

}  // namespace navmap
