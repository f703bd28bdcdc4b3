// The navaid symbols of the display, drawn on the map: circles for VOR, DME
// and NDB stations, the localizer outline of an ILS, runway lines, the
// intersection triangle and the filled dot of the top of climb and
// descent, all without antialiasing, in the display's colours. The small
// ones are stamped as the pixels Cairo draws for them, worked out once.
#pragma once

#include <array>
#include <span>

#include "map/canvas.h"
#include "map/crisp_lines.h"

namespace navmap {

std::span<const PixelOffset> StationCirclePixels();
std::span<const PixelOffset> FilledCirclePixels();
std::span<const PixelOffset> IntersectionPixels();

// The localizer outline turned to its course; returns its points.
std::array<Pixel, 4> DrawLocalizer(Canvas& canvas, Pixel at, double courseDeg, Rgb colour);

// A runway line through `at` along its heading, `halfLengthPx` to each
// side; returns its two ends, the first the one its heading points from.
std::array<Pixel, 2> DrawRunwayLine(Canvas& canvas, Pixel at, double headingDeg,
                                    double halfLengthPx, Rgb colour);

}  // namespace navmap
