// The compass: arc, aircraft symbol, scale with ticks and labels, heading
// box and wind.
#include <cmath>
#include <cstdlib>

#include "drawing/display_steps.h"
#include "platform/text_columns.h"

namespace lumaro {

namespace {

constexpr int kLongTickPx = 10;
constexpr int kShortTickPx = 5;
constexpr int kLabelInsetPx = 15;
constexpr int kLabelDropPx = 4;
constexpr int kCompassLabels = 36;
constexpr int kWindArrowCentreX = 10;
constexpr int kWindArrowCentreY = 9 + 16;

ScreenPoint OnCircle(ScreenPoint centre, double radiusPx, double angleRad) {
  return {centre.x + TruncToInt(radiusPx * std::cos(angleRad)),
          centre.y - TruncToInt(radiusPx * std::sin(angleRad))};
}

void DrawTick(const DisplayFrame& frame, double angleRad, int lengthPx) {
  const int radiusPx = frame.geometry.radiusPx;
  std::array<ScreenPoint, 2> tick = {OnCircle(frame.Centre(), radiusPx, angleRad),
                                     OnCircle(frame.Centre(), radiusPx - lengthPx, angleRad)};
  frame.Target().Polyline(tick, frame.Colour(PaletteSlot::Compass));
}

// The tens of the compass heading at the tick i degrees counter-clockwise
// from the first one, brought into 0..35.
int CompassLabel(int headingTens, int tickDeg) {
  int label = headingTens - tickDeg / 10 + 9;
  while (label < 0) label += kCompassLabels;
  while (label >= kCompassLabels) label -= kCompassLabels;
  return label;
}

}  // namespace

void DrawCompassArc(const DisplayFrame& frame) {
  if (frame.modes.ndMode != kNdModeArc) return;
  frame.Target().Arc(frame.Centre(), frame.geometry.radiusPx, 0, 180,
                     frame.Colour(PaletteSlot::Compass));
}

void DrawAircraftSymbol(const DisplayFrame& frame) {
  const ScreenPoint c = frame.Centre();
  std::array<ScreenPoint, 4> triangle = {
      {{c.x, c.y}, {c.x + 3, c.y + 8}, {c.x - 3, c.y + 8}, {c.x, c.y}}};
  frame.Target().Polyline(triangle, frame.Colour(PaletteSlot::AircraftSymbol));
}

void DrawCompassScale(const DisplayFrame& frame) {
  const int headingWhole = TruncToInt(frame.headingDeg);
  // The ten-degree mark at or below the heading's whole degrees.
  const int tickBelowDeg = 10 * (headingWhole / 10);
  const double firstTickDeg = frame.headingDeg - tickBelowDeg;
  const int sweepDeg = (2 - frame.modes.ndMode) * 180;
  const int radiusPx = frame.geometry.radiusPx;
  for (int tickDeg = 0; tickDeg < sweepDeg; tickDeg += 10) {
    const double angleRad = DegToRad(firstTickDeg + tickDeg);
    if (std::abs(TruncToInt(radiusPx * std::cos(angleRad))) >= frame.widthPx / 2) continue;
    DrawTick(frame, angleRad, kLongTickPx);
    const int label = CompassLabel(headingWhole / 10, tickDeg);
    if (label % 3 == 0) {
      ScreenPoint at = OnCircle(frame.Centre(), radiusPx - kLabelInsetPx, angleRad);
      at.y += kLabelDropPx;
      frame.Target().Text(at, std::to_string(label), FontSize::Medium, TextAlign::Centre,
                          TextVertical::Baseline, frame.Colour(PaletteSlot::Compass));
    }
    DrawTick(frame, DegToRad(firstTickDeg + tickDeg + 5), kShortTickPx);
  }
}

void DrawHeadingBox(const DisplayFrame& frame) {
  const int cx = frame.geometry.centreXPx;
  const int f = kMainFontHeightPx;
  const int bottom = f + 2;
  std::array<ScreenPoint, 8> box = {{{cx - f + 1, 0},
                                     {cx - f + 1, bottom},
                                     {cx - 3, bottom},
                                     {cx, f + 5},
                                     {cx + 3, bottom},
                                     {cx + f - 1, bottom},
                                     {cx + f - 1, 0},
                                     {cx - f + 1, 0}}};
  DrawTarget& target = frame.Target();
  target.Polyline(box, frame.Colour(PaletteSlot::HeadingBox));
  target.Text({cx - f - 2, 2}, "HDG", FontSize::Medium, TextAlign::Right, TextVertical::Top,
              frame.Colour(PaletteSlot::HeadingBox));
  target.Text({cx + f + 2, 2}, "MAG", FontSize::Medium, TextAlign::Left, TextVertical::Top,
              frame.Colour(PaletteSlot::HeadingBox));
  int shownDeg = RoundToInt(frame.headingDeg);
  target.Text({cx, 1}, platform::ZeroPadded(shownDeg, 3), FontSize::Large, TextAlign::Centre,
              TextVertical::Top, frame.Colour(PaletteSlot::Compass));
}

void DrawWind(const DisplayFrame& frame) {
  const double speedKt = frame.Number(HostVariable::WindSpeed);
  const double fromDeg = frame.Number(HostVariable::WindDirection);
  std::string text = platform::ZeroPadded(RoundToInt(fromDeg), 3) + "\xB0 / " +
                     std::to_string(RoundToInt(speedKt));
  frame.Target().Text({0, 4}, text, FontSize::Medium, TextAlign::Left, TextVertical::Top,
                      frame.Colour(PaletteSlot::Compass));
  if (speedKt == 0) return;
  // Drawn pointing down (a wind from straight ahead), then turned to where
  // the wind blows relative to the heading.
  const ScreenPoint centre{kWindArrowCentreX, kWindArrowCentreY};
  const double angleRad = DegToRad(frame.headingDeg - fromDeg);
  std::array<ScreenPoint, 2> shaft =
      RotateAll<2>({{{centre.x, centre.y - 7}, {centre.x, centre.y + 7}}}, centre, angleRad);
  std::array<ScreenPoint, 3> head = RotateAll<3>(
      {{{centre.x - 3, centre.y + 3}, {centre.x, centre.y + 7}, {centre.x + 3, centre.y + 3}}},
      centre, angleRad);
  frame.Target().Polyline(shaft, frame.Colour(PaletteSlot::Compass));
  frame.Target().Polyline(head, frame.Colour(PaletteSlot::Compass));
}

}  // namespace lumaro
