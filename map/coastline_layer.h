// The land and the sea, the coastlines and the country borders of a view,
// from the level of the coastline file that its detail asks for. Each line
// or ring is drawn whole, moved by a turn of the globe where that brings it
// into view, so nothing breaks at the 180th meridian.
#pragma once

#include <optional>

#include "map/canvas.h"
#include "map/coastline_file.h"
#include "map/projection.h"

namespace navmap {

// Fills the image with the sea and the land of `level` over it.
void DrawLandAndSea(Canvas& canvas, const Projection& projection, const CoastlineLevel* level);

// The one colour of a view that no coast comes within a pixel of (land or
// sea, by the rings of `level`); nothing when a coast may cross it.
std::optional<Rgb> UniformLandOrSea(const Projection& projection, const CoastlineLevel& level);
// The land and the sea as Cairo fills them, ring by ring, whatever the view.
void DrawLandAndSeaWithCairo(Canvas& canvas, const Projection& projection,
                             const CoastlineLevel& level);

// Whether the lines whose boxes touch the view go to Cairo only when one
// of them comes near enough to the image to leave a pixel in it, or always
// (the same pixels, the long way; for checking the short one).
enum class RunsStroked { NearTheImage, AllInView };

// Strokes the borders, then the coasts over them.
void DrawCoastlines(Canvas& canvas, const Projection& projection, const CoastlineLevel& level,
                    RunsStroked runs = RunsStroked::NearTheImage);

}  // namespace navmap
