// The screen the display shows from the first initialize until it has data.
#pragma once

#include <array>
#include <string>

#include "drawing/draw_target.h"

namespace lumaro {

inline constexpr int kStartupLineCount = 5;

// The five texts, unscrambled.
std::array<std::string, kStartupLineCount> StartupTexts();

// Draws the texts centred at widthPx / 2 over whatever the target holds.
void DrawStartupTexts(DrawTarget& target, int widthPx, int heightPx);

}  // namespace lumaro
