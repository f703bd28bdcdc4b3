// What the map modes add around the map: the VOR course display (course
// pointer, deviation bar and dots, to/from triangle), the north arrow of the
// PLAN mode, and the screen shown instead of the map when the database is
// unusable.
#include "drawing/display_steps.h"
#include "platform/text_columns.h"

namespace lumaro {

namespace {

constexpr int kDeviationFullScale = 350;
constexpr int kDotSpacingNumerator = 64;
constexpr double kDeviationRangeLimit = 30;
constexpr double kDeviationRangeScale = 0.001;

void DrawCoursePointer(const DisplayFrame& frame, double courseRad) {
  const ScreenPoint c = frame.Centre();
  const int r = frame.geometry.radiusPx;
  std::array<ScreenPoint, 7> head = {{{c.x, c.y - r},
                                      {c.x, c.y - 30},
                                      {c.x - 3, c.y - 24},
                                      {c.x - 3, c.y - 19},
                                      {c.x + 3, c.y - 19},
                                      {c.x + 3, c.y - 24},
                                      {c.x, c.y - 30}}};
  std::array<ScreenPoint, 7> tail = {{{c.x, c.y + 38},
                                      {c.x, c.y + 24},
                                      {c.x - 3, c.y + 24},
                                      {c.x - 3, c.y + 19},
                                      {c.x + 3, c.y + 19},
                                      {c.x + 3, c.y + 24},
                                      {c.x, c.y + 24}}};
  frame.Target().Polyline(RotateAll<7>(head, c, courseRad), frame.Colour(PaletteSlot::VorCourse));
  frame.Target().Polyline(RotateAll<7>(tail, c, courseRad), frame.Colour(PaletteSlot::VorCourse));
}

void DrawDeviation(const DisplayFrame& frame, double courseRad) {
  const ScreenPoint c = frame.Centre();
  const int r = frame.geometry.radiusPx;
  int barX = c.x;
  if (frame.Number(HostVariable::DeviationRange) * kDeviationRangeScale < kDeviationRangeLimit) {
    barX = c.x + TruncToInt(frame.Number(HostVariable::CourseDeviation)) * r / kDeviationFullScale;
  }
  std::array<ScreenPoint, 5> bar = {{{barX - 3, c.y - 18},
                                     {barX + 3, c.y - 18},
                                     {barX + 3, c.y + 18},
                                     {barX - 3, c.y + 18},
                                     {barX - 3, c.y - 18}}};
  frame.Target().Polyline(RotateAll<5>(bar, c, courseRad), frame.Colour(PaletteSlot::DeviationBar));
  for (int dot : {0, 1, 3, 4}) {
    ScreenPoint at{c.x + (dot - 2) * r * kDotSpacingNumerator / kDeviationFullScale, c.y};
    frame.Target().Circle(RotateAbout(at, c, courseRad), 3,
                          frame.Colour(PaletteSlot::DeviationDots), false);
  }
}

void DrawToFromTriangle(const DisplayFrame& frame) {
  const int baseY = frame.heightPx - 5 * kBottomFontHeightPx;
  const bool to = (frame.Word(HostVariable::ToFromFlags) & kFlagToIndication) != 0;
  std::array<ScreenPoint, 3> triangle = {{{2, baseY}, {8, baseY}, {5, to ? baseY + 8 : baseY - 8}}};
  frame.Target().FillPolygon(triangle, frame.Colour(PaletteSlot::ToFromTriangle));
}

}  // namespace

void DrawCourseDisplay(const DisplayFrame& frame) {
  const double courseRad = DegToRad(frame.headingDeg - frame.Number(HostVariable::NavCourse));
  DrawCoursePointer(frame, courseRad);
  if ((frame.Word(HostVariable::Nav1Flags) & kFlagRadiosOff) != 0) return;
  if (frame.Ident(HostVariable::Nav1Ident).empty()) return;
  DrawDeviation(frame, courseRad);
  DrawToFromTriangle(frame);
}

void DrawNorthArrow(const DisplayFrame& frame) {
  const int w = frame.widthPx;
  const int tipY = frame.heightPx / 2 - 55;
  frame.Target().FillRect(w - 10, tipY, w, frame.heightPx / 2 - 40, frame.background);
  std::array<ScreenPoint, 5> arrow = {
      {{w - 5, tipY + 15}, {w - 5, tipY}, {w - 8, tipY + 6}, {w - 2, tipY + 6}, {w - 5, tipY}}};
  frame.Target().Polyline(arrow, frame.Colour(PaletteSlot::HeadingBox));
  frame.Target().Text({w - 5, tipY}, "N", FontSize::Medium, TextAlign::Centre, TextVertical::Bottom,
                      frame.Colour(PaletteSlot::HeadingBox));
}

void DrawDatabaseError(const DisplayFrame& frame, int statusCode) {
  const int x = frame.widthPx / 2;
  const int middle = frame.heightPx / 2;
  DrawTarget& target = frame.Target();
  target.Text({x, middle - 10}, "NAV", FontSize::Large, TextAlign::Centre, TextVertical::Top,
              kWarningRed);
  target.Text({x, middle}, "DATABASE", FontSize::Large, TextAlign::Centre, TextVertical::Top,
              kWarningRed);
  target.Text({x, middle + 10}, "ERROR " + platform::ZeroPadded(statusCode, 3), FontSize::Large,
              TextAlign::Centre, TextVertical::Top, kWarningRed);
}

}  // namespace lumaro
