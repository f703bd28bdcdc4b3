// The route on the map: its legs in the display's route colour, each point
// with the display's symbol of its kind (the runways to scale at the two
// airports, filled dots at the top of climb and descent, small dots at the
// runway turns) and its label, which goes before every navaid's.
#pragma once

#include <vector>

#include "map/canvas.h"
#include "map/label_placement.h"
#include "map/map_route.h"
#include "map/projection.h"

namespace navmap {

// The legs, as wide lines: under the route's points, over the navaids.
// Labels keep off them.
void DrawRouteLegs(Canvas& canvas, const Projection& projection, const MapRoute& route,
                   LabelSpace& space);

// The points and their label requests.
void DrawRoutePoints(Canvas& canvas, const Projection& projection, const MapRoute& route,
                     std::vector<LabelRequest>& labels, LabelSpace& space);

}  // namespace navmap
