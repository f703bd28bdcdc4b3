// The fixed-pitch font of the lists and the entry editors, whose columns
// line up only when every character is as wide as the next.
#pragma once

#include <QFont>

// Liberation Mono (the metric twin of Courier New) with characters
// `heightPx` high, stretched to about `widthPx` wide.
QFont FixedPitchFont(int heightPx, int widthPx);
