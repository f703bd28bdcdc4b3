// Which entry is at a pixel of a drawn map: the nearest symbol that reaches
// the pixel; between two as near, the one with the higher label priority,
// then the one drawn later (on top).
#pragma once

#include <optional>

#include "map/map_drawing.h"

namespace navmap {

std::optional<EntryRef> HitTest(const DrawnMap& drawn, int x, int y);

}  // namespace navmap
