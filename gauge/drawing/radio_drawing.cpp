// Radio data: the ADF and NAV 2 needles, the frequency and distance texts,
// the source labels along the bottom, the marker beacon, the vertical
// deviation scale and the selected-heading pointer.
#include <cmath>

#include "drawing/display_steps.h"

namespace lumaro {

namespace {

constexpr int kNeedleInnerPx = 20;
constexpr int kRightColumnFromEdgePx = 48;
constexpr int kDistanceTextY = 16;
constexpr int kSpeedTextY = 27;
constexpr int kScaleHalfHeightPx = 34;
constexpr double kVerticalDeviationPxPerUnit = 0.23333333333333334;

bool Nav1Shown(const DisplayFrame& frame) {
  return (frame.Word(HostVariable::Nav1Flags) & kFlagRadiosOff) == 0 &&
         !frame.Ident(HostVariable::Nav1Ident).empty();
}

bool Nav2Shown(const DisplayFrame& frame) {
  return (frame.Word(HostVariable::Nav2Flags) & kFlagRadiosOff) == 0 &&
         !frame.Ident(HostVariable::Nav2Ident).empty();
}

void DrawTurned(const DisplayFrame& frame, std::array<ScreenPoint, 5> outline, double angleRad,
                PaletteSlot slot) {
  frame.Target().Polyline(RotateAll<5>(outline, frame.Centre(), angleRad), frame.Colour(slot));
}

}  // namespace

void DrawAdfNeedle(const DisplayFrame& frame) {
  if (frame.Number(HostVariable::AdfActive) == 0) return;
  const int cx = frame.geometry.centreXPx;
  const int cy = frame.geometry.centreYPx;
  const int reachPx = 2 * frame.geometry.radiusPx / 3;
  const double angleRad = DegToRad(-frame.Number(HostVariable::AdfBearing));
  // Head: a shaft from near the centre to an arrow two thirds of the radius out.
  DrawTurned(frame,
             {{{cx, cy - kNeedleInnerPx},
               {cx, cy - reachPx},
               {cx - 4, cy - reachPx + 8},
               {cx + 4, cy - reachPx + 8},
               {cx, cy - reachPx}}},
             angleRad, PaletteSlot::NdbAdf);
  // Tail: the same shaft below the centre, ending in a bar.
  DrawTurned(frame,
             {{{cx, cy + kNeedleInnerPx},
               {cx, cy + reachPx},
               {cx - 4, cy + reachPx},
               {cx + 4, cy + reachPx},
               {cx, cy + reachPx}}},
             angleRad, PaletteSlot::NdbAdf);
}

void DrawRadioTexts(const DisplayFrame& frame) {
  const int flags = frame.Word(HostVariable::Nav1Flags);
  if ((flags & kFlagRadiosOff) != 0) return;
  DrawTarget& target = frame.Target();
  const int widthPx = frame.widthPx;
  if ((flags & kFlagIlsFrequencyShown) != 0) {
    std::string text = FormatInt("ILS 1%04X", frame.Word(HostVariable::Nav1Frequency) & 0xFFFF);
    target.Text({widthPx, 4}, text, frame.labelFont, TextAlign::Right, TextVertical::Top,
                frame.Colour(PaletteSlot::Ils));
  }
  if ((flags & kFlagDmeShown) != 0) {
    const int x = widthPx - kRightColumnFromEdgePx;
    target.Text({x, kDistanceTextY}, FormatText("DME %.1f", frame.Number(HostVariable::Dme)),
                frame.labelFont, TextAlign::Left, TextVertical::Top,
                frame.Colour(PaletteSlot::DmeText));
    target.Text({x, kSpeedTextY}, FormatText("KT %.f", frame.Number(HostVariable::GroundSpeed)),
                frame.labelFont, TextAlign::Left, TextVertical::Top,
                frame.Colour(PaletteSlot::DmeText));
  }
}

void DrawNav2Needle(const DisplayFrame& frame) {
  if (!Nav2Shown(frame)) return;
  const int cx = frame.geometry.centreXPx;
  const int cy = frame.geometry.centreYPx;
  const int r = frame.geometry.radiusPx;
  const double angleRad = DegToRad(-frame.Number(HostVariable::Nav2Bearing));
  // Two parallel bars: the head with its notch at the compass ring, the tail
  // around two thirds of the radius below the centre.
  DrawTurned(frame,
             {{{cx - 3, cy - r / 2},
               {cx - 3, cy - r},
               {cx, cy - r + 5},
               {cx + 3, cy - r},
               {cx + 3, cy - r / 2}}},
             angleRad, PaletteSlot::SecondNeedle);
  DrawTurned(frame,
             {{{cx - 3, cy + r / 2},
               {cx - 3, cy + 2 * r / 3},
               {cx, cy + 2 * r / 3 - 5},
               {cx + 3, cy + 2 * r / 3},
               {cx + 3, cy + r / 2}}},
             angleRad, PaletteSlot::SecondNeedle);
}

void DrawBottomLabels(const DisplayFrame& frame) {
  DrawTarget& target = frame.Target();
  const int w = frame.widthPx;
  const int h = frame.heightPx;
  const int b = kBottomFontHeightPx;
  const Rgb background = frame.background;
  auto label = [&](ScreenPoint at, const std::string& text, FontSize size, TextAlign align,
                   PaletteSlot slot) {
    target.OpaqueText(at, text, size, align, TextVertical::Baseline, frame.Colour(slot),
                      background);
  };
  if (Nav1Shown(frame)) {
    label({0, h - 3 * b}, "VOR1", FontSize::Medium, TextAlign::Left, PaletteSlot::VorCourse);
    label({0, h - 2 * b}, frame.Ident(HostVariable::Nav1Ident), FontSize::Medium, TextAlign::Left,
          PaletteSlot::VorCourse);
  }
  if (Nav2Shown(frame)) {
    label({w, h - 3 * b}, "VOR2", FontSize::Medium, TextAlign::Right, PaletteSlot::SecondNeedle);
    label({w, h - 2 * b}, frame.Ident(HostVariable::Nav2Ident), FontSize::Medium, TextAlign::Right,
          PaletteSlot::SecondNeedle);
    if ((frame.Word(HostVariable::Nav2Flags) & kFlagDmeShown) != 0) {
      label({w, h - b}, "DME2", frame.labelFont, TextAlign::Right, PaletteSlot::SecondNeedle);
      label({w, h}, FormatText("%.1f", frame.Number(HostVariable::Dme2)), frame.labelFont,
            TextAlign::Right, PaletteSlot::SecondNeedle);
    }
  }
  if (frame.Number(HostVariable::AdfActive) != 0) {
    label({0, h - b}, "ADF", FontSize::Medium, TextAlign::Left, PaletteSlot::NdbAdf);
    label({0, h}, frame.Ident(HostVariable::AdfIdent), FontSize::Medium, TextAlign::Left,
          PaletteSlot::NdbAdf);
  }
}

void DrawMarkerBeacon(const DisplayFrame& frame) {
  const int marker = TruncToInt(frame.Number(HostVariable::Marker));
  const char* letter = nullptr;
  Rgb colour;
  switch (marker) {
    case 1:
      letter = "O";
      colour = kMarkerBlue;
      break;
    case 2:
      letter = "M";
      colour = kMarkerYellow;
      break;
    case 3:
      letter = "I";
      colour = kMarkerWhite;
      break;
    default:
      return;
  }
  frame.Target().Text({0, frame.heightPx / 2}, letter, FontSize::Large, TextAlign::Left,
                      TextVertical::Top, colour);
}

void DrawVerticalDeviation(const DisplayFrame& frame) {
  if (frame.Number(HostVariable::VerticalScale) == 0) return;
  DrawTarget& target = frame.Target();
  const int w = frame.widthPx;
  const int middle = frame.heightPx / 2;
  target.FillRect(w - 8, middle - kScaleHalfHeightPx, w, middle + kScaleHalfHeightPx,
                  frame.background);
  std::array<ScreenPoint, 2> centreMark = {{{w, middle}, {w - 6, middle}}};
  target.Polyline(centreMark, frame.Colour(PaletteSlot::VerticalScale));
  for (int offsetPx : {-28, -14, 14, 28}) {
    target.Circle({w - 3, middle + offsetPx}, 3, frame.Colour(PaletteSlot::VerticalScale), false);
  }
  const int y = middle + TruncToInt(frame.Number(HostVariable::VerticalDeviation) *
                                    kVerticalDeviationPxPerUnit);
  std::array<ScreenPoint, 5> diamond = {
      {{w, y}, {w - 3, y + 6}, {w - 6, y}, {w - 3, y - 6}, {w, y}}};
  target.FillPolygon(diamond, frame.Colour(PaletteSlot::Ils));
}

void DrawSelectedHeadingPointer(const DisplayFrame& frame) {
  const int cx = frame.geometry.centreXPx;
  const int top = frame.geometry.centreYPx - frame.geometry.radiusPx;
  const double angleRad = DegToRad(frame.headingDeg - frame.Number(HostVariable::SelectedHeading));
  DrawTurned(
      frame,
      {{{cx - 3, top - 4}, {cx - 3, top - 3}, {cx, top + 5}, {cx + 3, top - 3}, {cx + 3, top - 4}}},
      angleRad, PaletteSlot::SelectedHeading);
}

}  // namespace lumaro
