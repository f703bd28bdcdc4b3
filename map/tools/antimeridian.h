// Natural Earth's lines and rings may cross the 180th meridian from one
// side of the grid to the other. The map draws every piece on its own side
// and moves whole pieces by 360 degrees to the view, so here they are cut
// at the meridian, with a point on it at each side of the cut.
#pragma once

#include <vector>

#include "map/tools/topology.h"

namespace coastline_tool {

// The parts of a line, cut where it crosses the meridian. The edges that
// Natural Earth adds along the meridian and along the south pole's line to
// close its areas are no coast, and are left out.
std::vector<Ring> SplitLineAtAntimeridian(const Ring& line,
                                          const navmap::Quantization& quantization);

// The pieces of a closed ring, each on one side of the meridian. A piece
// that leaves on one side and comes back on the other goes round a pole,
// and is closed along that pole's line. Filled even-odd together, the
// pieces cover what the ring covered.
std::vector<Ring> SplitRingAtAntimeridian(const Ring& ring,
                                          const navmap::Quantization& quantization);

}  // namespace coastline_tool
