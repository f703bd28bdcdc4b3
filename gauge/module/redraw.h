// The redraw of the module's display: the frame made from what the module
// holds, the drawing in order, and the values the next change tests compare
// against.
#pragma once

#include "drawing/display_steps.h"
#include "module/gauge_state.h"

namespace lumaro {

// The frame of one redraw; reads the loader's scale under the shared lock.
DisplayFrame MakeDisplayFrame(GaugeState& gauge, DrawTarget& target, int widthPx, int heightPx,
                              const DisplayColours& colours);

// Everything between the clear and the present, from the module's state.
void DrawDisplay(GaugeState& gauge, const DisplayFrame& frame);

// Draws the display when asked (clear, content, present, flip the element value).
void Redraw(GaugeState& gauge);

}  // namespace lumaro
