// The outlines and sizes of the navaid symbols, in pixels about the
// symbol's point, y growing downwards. The display turns and places them
// with its own arithmetic (its pictures are fixed to the pixel); the map
// with its own projection. Either way one set of shapes.
#pragma once

#include <array>

namespace symbols {

struct Offset {
  int dx = 0;
  int dy = 0;
};

// VOR, DME and NDB stations: a circle; the top of climb and of descent: a
// filled circle of the same radius.
inline constexpr int kStationRadiusPx = 3;

// The localizer of an ILS: a closed outline pointing up from the station,
// turned by LocalizerTurnDeg of its course.
inline constexpr std::array<Offset, 4> kLocalizerOutline = {{{0, 0}, {-3, -15}, {3, -15}, {0, 0}}};

// An intersection: a closed triangle outline.
inline constexpr std::array<Offset, 4> kIntersectionTriangle = {
    {{0, -2}, {-2, 2}, {2, 2}, {0, -2}}};

// The turn, counter-clockwise on the screen, that lays a shape drawn
// pointing up along a course or a runway heading.
constexpr double LocalizerTurnDeg(double courseDeg) {
  return 180 - courseDeg;
}
constexpr double RunwayTurnDeg(double headingDeg) {
  return 180 - headingDeg;
}

// A runway is a line through its centre, to scale: pixels from the centre
// to each end for a length in feet at a scale in pixels per nautical mile
// (the factor is 1/3543, the display's feet-to-miles rule).
inline constexpr double kPxPerFtAtOnePxPerNm = 0.0002822466836014677;
constexpr double RunwayHalfLengthPx(double lengthFt, double pxPerNm) {
  return lengthFt * kPxPerFtAtOnePxPerNm * pxPerNm * 0.5;
}

// An identifier beside its symbol: this far to the right (or left, when
// right-aligned), its baseline this far above the symbol's point.
inline constexpr int kIdentGapPx = 5;
inline constexpr int kIdentRisePx = 2;
// The label of a top of climb or descent: centred, its bottom this far above.
inline constexpr int kClimbDescentLabelRisePx = 5;

// Identifiers are the first five characters of an entry or a route label.
inline constexpr int kIdentChars = 5;

}  // namespace symbols
