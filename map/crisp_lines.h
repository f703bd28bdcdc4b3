// One-pixel lines without antialiasing, as the display draws runways and
// localizers: every pixel as a Cairo stroke of the line on its own sets it.
// Such a stroke costs about a microsecond, mostly for itself, not for its
// pixels, so a line well inside the image is drawn without one: a straight
// line sets the pixels of Cairo's scan conversion of its rectangle, and a
// line whose stroked pixels are known is stamped. Cairo cuts a stroke at
// the image's edges in ways of its own, so a line that reaches an edge is
// stroked by Cairo.
#pragma once

#include <span>

#include "map/canvas.h"

namespace navmap {

struct Pixel {
  int x = 0;
  int y = 0;
};

// A line through the centres of `points`, joined at each, in `colour`.
void DrawCrispLine(Canvas& canvas, std::span<const Pixel> points, Rgb colour);

// The same for a line whose pixels as Cairo strokes it are known, about `at`.
void DrawCrispLine(Canvas& canvas, std::span<const Pixel> points, Pixel at,
                   std::span<const PixelOffset> pixels, Rgb colour);

}  // namespace navmap
