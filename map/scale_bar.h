// The scale bar in the bottom left corner: a round number of nautical
// miles (1, 2 or 5 times a power of ten) as long as fits in a fifth of the
// image's width, measured at the view's centre, where the map is true.
#pragma once

#include <string>

#include "map/canvas.h"
#include "map/label_placement.h"

namespace navmap {

struct ScaleBar {
  double lengthNm = 0;
  int lengthPx = 0;
  std::string text;  // "50 NM"
};

ScaleBar ScaleBarFor(double pxPerNm, int widthPx);

// Draws the bar and its text and takes their place from the labels.
void DrawScaleBar(Canvas& canvas, const ScaleBar& bar, LabelSpace& space, const GlyphAtlas& atlas);

}  // namespace navmap
