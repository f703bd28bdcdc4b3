// What the redraw draws, step by step, through the recording target.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "redraw_fixture.h"

namespace lumaro {
namespace {

using gauge_test::DistancePx;
using gauge_test::kHomeLatDeg;
using gauge_test::kHomeLonDeg;
using gauge_test::RedrawFixture;
using gauge_test::TestNavaid;
using Kind = DrawOperation::Kind;

class DisplayStepsTest : public RedrawFixture {
 protected:
  // Lines in colour 1 from the compass ring inwards by lengthPx.
  int TicksOfLength(const RecordingTarget& target, int lengthPx) {
    const int radiusPx = gauge_.geometry.radiusPx;
    int count = 0;
    for (const DrawOperation& line : target.OfKind(Kind::Polyline)) {
      if (line.points.size() != 2 || line.colour != Colour(1)) continue;
      if (std::fabs(DistancePx(line.points[0], Centre()) - radiusPx) > 1.5) continue;
      if (std::fabs(DistancePx(line.points[1], Centre()) - (radiusPx - lengthPx)) > 1.5) continue;
      ++count;
    }
    return count;
  }

  // Screen angle of a compass label, counter-clockwise from the right.
  double LabelAngleDeg(const DrawOperation& label) {
    const ScreenPoint at = label.points[0];
    return std::atan2(Centre().y - (at.y - 4), at.x - Centre().x) * 180 / 3.141592653589793;
  }
};

TEST_F(DisplayStepsTest, ArcModeDrawsTheEighteenTicksOfTheUpperHalf) {
  SetDisplay(1, 600, 256);  // wide enough for every tick of the arc
  RecordingTarget target = Draw();
  EXPECT_EQ(TicksOfLength(target, 10), 18);
  EXPECT_EQ(TicksOfLength(target, 5), 18);
  ASSERT_EQ(target.OfKind(Kind::Arc).size(), 1u);
  EXPECT_EQ(target.OfKind(Kind::Arc)[0].startDeg, 0);
  EXPECT_EQ(target.OfKind(Kind::Arc)[0].endDeg, 180);

  SetDisplay(1, 256, 256);  // the arc reaches beyond the sides: those ticks are left out
  int narrowTicks = TicksOfLength(Draw(), 10);
  EXPECT_GT(narrowTicks, 0);
  EXPECT_LT(narrowTicks, 18);
}

TEST_F(DisplayStepsTest, FullCompassDrawsThirtySixTicksAndNoArc) {
  SetDisplay(0, 256, 256);
  RecordingTarget target = Draw();
  EXPECT_EQ(TicksOfLength(target, 10), 36);
  EXPECT_EQ(TicksOfLength(target, 5), 36);
  EXPECT_TRUE(target.OfKind(Kind::Arc).empty());
  // Every third tick is labelled: 0, 3, ... 33.
  int labels = 0;
  for (int tens = 0; tens < 36; tens += 3) {
    labels += static_cast<int>(target.TextsReading(std::to_string(tens)).size());
  }
  EXPECT_EQ(labels, 12);
}

TEST_F(DisplayStepsTest, CompassLabelsFollowTheHeading) {
  SetDisplay(0, 256, 256);
  Set(HostVariable::Heading, 0);
  std::vector<DrawOperation> north = Draw().TextsReading("0");
  ASSERT_EQ(north.size(), 1u);
  EXPECT_EQ(north[0].points[0].x, Centre().x);
  EXPECT_EQ(north[0].points[0].y, Centre().y - (gauge_.geometry.radiusPx - 15) + 4);
  EXPECT_EQ(north[0].align, TextAlign::Centre);
  EXPECT_EQ(north[0].vertical, TextVertical::Baseline);

  Set(HostVariable::Heading, 95);
  std::vector<DrawOperation> east = Draw().TextsReading("9");
  ASSERT_EQ(east.size(), 1u);
  EXPECT_NEAR(LabelAngleDeg(east[0]), 95, 1.0);  // 5 degrees left of straight up
  EXPECT_LT(east[0].points[0].x, Centre().x);
  RecordingTarget box = Draw();
  EXPECT_EQ(box.TextsReading("095").size(), 1u);
  EXPECT_EQ(box.TextsReading("HDG").size(), 1u);
  EXPECT_EQ(box.TextsReading("MAG").size(), 1u);
}

TEST_F(DisplayStepsTest, RangeMarkShowsHalfTheRange) {
  gauge_.modes.mapMode = 1;
  gauge_.modes.rangeNm = 320;
  std::vector<DrawOperation> marks = Draw().TextsReading("160");
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(marks[0].colour, Colour(14));
  EXPECT_EQ(marks[0].points[0],
            (ScreenPoint{Centre().x, Centre().y - gauge_.geometry.radiusPx / 2}));
  gauge_.modes.mapMode = 0;  // no map, no range mark
  EXPECT_TRUE(Draw().TextsReading("160").empty());
}

TEST_F(DisplayStepsTest, NoRouteIsAnnouncedInRedOnlyWithTheRouteItem) {
  gauge_.modes.mapMode = 1;
  gauge_.modes.item = 0x1F;
  RecordingTarget target = Draw();
  ASSERT_EQ(target.TextsReading("NO ROUTE").size(), 1u);
  ASSERT_EQ(target.TextsReading("AVAILABLE").size(), 1u);
  EXPECT_EQ(target.TextsReading("NO ROUTE")[0].colour, kWarningRed);
  EXPECT_EQ(target.TextsReading("AVAILABLE")[0].colour, kWarningRed);
  EXPECT_EQ(target.TextsReading("NO ROUTE")[0].points[0], (ScreenPoint{128, 128 - 10}));

  gauge_.modes.item = 0x1E;
  EXPECT_TRUE(Draw().TextsReading("NO ROUTE").empty());
}

TEST_F(DisplayStepsTest, RouteIsDrawnPointByPointWithItsLabels) {
  gauge_.modes.mapMode = 1;
  gauge_.modes.rangeNm = 40;
  gauge_.modes.item = 0x01;
  auto point = [](float latitudeDeg, float longitudeDeg, const char* label, int kind) {
    DisplayRecord record{};
    record.latitudeDeg = latitudeDeg;
    record.longitudeDeg = longitudeDeg;
    record.row = -1;
    std::snprintf(record.label, sizeof(record.label), "%s", label);
    record.kind = kind;
    record.shown = 1;
    return record;
  };
  gauge_.route.points[0] = point(48.70f, 2.40f, "LFPO", LUMARO_KIND_DEPARTURE);
  gauge_.route.points[1] = point(48.80f, 2.30f, "FL090", LUMARO_KIND_TOP_OF_CLIMB);
  gauge_.route.points[2] = point(48.90f, 2.20f, "PON", 0);
  gauge_.route.departure = {"LFPO", "02", 18, 7870};
  RecordingTarget target = Draw();
  EXPECT_TRUE(target.TextsReading("NO ROUTE").empty());
  int legs = 0;
  for (const DrawOperation& line : target.OfKind(Kind::Polyline)) {
    if (line.colour == Colour(8) && line.points.size() == 2) ++legs;
  }
  EXPECT_EQ(legs, 2);
  ASSERT_EQ(target.TextsReading("FL090").size(), 1u);
  EXPECT_EQ(target.TextsReading("LFPO").size(), 1u);  // the departure airport
  EXPECT_EQ(target.TextsReading("02").size(), 1u);    // and its runway
  EXPECT_TRUE(target.TextsReading("PON").empty());    // kind 0: no symbol
  bool filledDot = std::ranges::any_of(target.OfKind(Kind::Circle), [&](const DrawOperation& c) {
    return c.filled && c.colour == Colour(8);
  });
  EXPECT_TRUE(filledDot);
}

// Route points name no database entry: VOR, NDB and intersection points
// take their symbol and label from the route row, at the route's points.
TEST_F(DisplayStepsTest, RouteNavaidsAreDrawnFromTheirRows) {
  gauge_.modes.mapMode = 2;
  gauge_.modes.rangeNm = 40;
  gauge_.modes.item = 0x01;
  auto point = [](float latitudeDeg, const char* label, int kind) {
    DisplayRecord record{};
    record.latitudeDeg = latitudeDeg;
    record.longitudeDeg = static_cast<float>(kHomeLonDeg);
    record.row = -1;
    std::snprintf(record.label, sizeof(record.label), "%s", label);
    record.kind = kind;
    record.shown = 1;
    return record;
  };
  gauge_.route.points[0] = point(48.80f, "PGS", LUMARO_KIND_VOR);
  gauge_.route.points[1] = point(48.85f, "AB", LUMARO_KIND_NDB);
  gauge_.route.points[2] = point(48.60f, "FIXXX", LUMARO_KIND_INTERSECTION);
  gauge_.route.points[3] = point(48.55f, "IPG", 0);
  RecordingTarget target = Draw();
  std::vector<ScreenPoint> at;
  for (int i = 0; i < 4; ++i) {
    const DisplayRecord& record = gauge_.route.points[static_cast<size_t>(i)];
    at.push_back(ProjectPosition(Frame(target), record.latitudeDeg, record.longitudeDeg));
  }
  auto circlesAt = [&](ScreenPoint centre, int colourIndex) {
    return std::ranges::count_if(target.OfKind(Kind::Circle), [&](const DrawOperation& c) {
      return c.points[0] == centre && c.radiusPx == 3 && !c.filled &&
             c.colour == Colour(colourIndex);
    });
  };
  EXPECT_EQ(circlesAt(at[0], 3), 1);
  EXPECT_EQ(circlesAt(at[1], 12), 1);
  const std::vector<ScreenPoint> triangle = {{at[2].x, at[2].y - 2},
                                             {at[2].x - 2, at[2].y + 2},
                                             {at[2].x + 2, at[2].y + 2},
                                             {at[2].x, at[2].y - 2}};
  EXPECT_EQ(std::ranges::count_if(target.OfKind(Kind::Polyline),
                                  [&](const DrawOperation& line) {
                                    return line.points == triangle && line.colour == Colour(0);
                                  }),
            1);
  const std::pair<const char*, int> labels[] = {{"PGS", 3}, {"AB", 12}, {"FIXXX", 0}};
  for (size_t i = 0; i < 3; ++i) {
    const auto texts = target.TextsReading(labels[i].first);
    ASSERT_EQ(texts.size(), 1u) << labels[i].first;
    EXPECT_EQ(texts[0].colour, Colour(labels[i].second));
    EXPECT_EQ(texts[0].points[0], (ScreenPoint{at[i].x + 5, at[i].y - 2}));
  }
  EXPECT_TRUE(target.TextsReading("IPG").empty());  // kind 0 draws no symbol
}

TEST_F(DisplayStepsTest, EachAirportIsLabelledOnce) {
  gauge_.modes.mapMode = 2;
  gauge_.modes.rangeNm = 40;
  gauge_.modes.item = kItemAirports;
  LoadNavaids({{'A', "LFPG", kHomeLatDeg + 0.05, kHomeLonDeg + 0.05, "", 90, 13000},
               {'A', "LFPG", kHomeLatDeg + 0.05, kHomeLonDeg + 0.051, "", 270, 13000},
               {'A', "LFPG", kHomeLatDeg + 0.052, kHomeLonDeg + 0.05, "", 180, 11000},
               {'A', "LFPB", kHomeLatDeg - 0.05, kHomeLonDeg + 0.02, "", 70, 9000}});
  RecordingTarget target = Draw();
  EXPECT_EQ(target.TextsReading("LFPG").size(), 1u);
  EXPECT_EQ(target.TextsReading("LFPB").size(), 1u);
  int runways = 0;
  for (const DrawOperation& line : target.OfKind(Kind::Polyline)) {
    if (line.colour == Colour(15)) ++runways;
  }
  EXPECT_EQ(runways, 4);
}

TEST_F(DisplayStepsTest, RunwayEndsAreNamedOnlyBelowRangeTwenty) {
  gauge_.modes.mapMode = 2;
  gauge_.modes.item = kItemAirports;
  gauge_.modes.rangeNm = 10;
  LoadNavaids({{'A', "LFPG", kHomeLatDeg + 0.05, kHomeLonDeg, "", 90, 13000}});
  RecordingTarget target = Draw();
  // A runway heading east: its first end (09) lies west, the other east.
  std::vector<DrawOperation> small;
  for (const DrawOperation& text : target.Texts()) {
    if (text.size == FontSize::Small) small.push_back(text);
  }
  ASSERT_EQ(small.size(), 2u);
  const DrawOperation& west = small[0].points[0].x < small[1].points[0].x ? small[0] : small[1];
  const DrawOperation& east = &west == &small[0] ? small[1] : small[0];
  EXPECT_LT(west.points[0].x, east.points[0].x - 10);
  EXPECT_NE(west.text, east.text);

  gauge_.modes.rangeNm = 20;
  RecordingTarget wider = Draw();
  EXPECT_TRUE(std::ranges::none_of(
      wider.Texts(), [](const DrawOperation& text) { return text.size == FontSize::Small; }));
}

TEST_F(DisplayStepsTest, IlsOutlinePointsAwayFromTheLocalizerCourse) {
  gauge_.modes.mapMode = 2;
  gauge_.modes.rangeNm = 20;  // ILS stations are listed below range 30
  gauge_.modes.item = kItemVors;
  LoadNavaids({{'V', "IEAST", kHomeLatDeg, kHomeLonDeg + 0.1, "ILS", 90},
               {'V', "IWEST", kHomeLatDeg, kHomeLonDeg - 0.1, "ILS", 270}});
  RecordingTarget target = Draw();
  std::vector<DrawOperation> outlines;
  for (const DrawOperation& line : target.OfKind(Kind::Polyline)) {
    if (line.colour == Colour(6) && line.points.size() == 4) outlines.push_back(line);
  }
  ASSERT_EQ(outlines.size(), 2u);
  for (const DrawOperation& outline : outlines) {
    const ScreenPoint station = outline.points[0];
    const int tipX = (outline.points[1].x + outline.points[2].x) / 2;
    const int tipY = (outline.points[1].y + outline.points[2].y) / 2;
    EXPECT_NEAR(tipY, station.y, 1);
    EXPECT_NEAR(std::abs(tipX - station.x), 15, 1);
    // A course of 090 is flown eastbound: the approach lies to the west.
    const bool eastStation = station.x > Centre().x;
    if (eastStation) {
      EXPECT_LT(tipX, station.x);
    } else {
      EXPECT_GT(tipX, station.x);
    }
  }
  // The identifier keeps clear of the outline.
  ASSERT_EQ(target.TextsReading("IEAST").size(), 1u);
  ASSERT_EQ(target.TextsReading("IWEST").size(), 1u);
  EXPECT_EQ(target.TextsReading("IEAST")[0].align, TextAlign::Left);
  EXPECT_EQ(target.TextsReading("IWEST")[0].align, TextAlign::Right);
}

class SymbolPlacementTest : public RedrawFixture {
 protected:
  // A frame in which one degree of latitude is 60 pixels.
  DisplayFrame PlainFrame(DrawTarget& target, int centreYPx, int ndMode) {
    DisplayFrame frame = Frame(target);
    frame.modes.ndMode = ndMode;
    frame.modes.mapMode = 2;
    frame.geometry = {128, centreYPx, 100};
    frame.scalePxPerNm = 1;
    frame.aircraftLatitudeDeg = 0;
    frame.aircraftLongitudeDeg = 0;
    frame.nmPerDegreeLongitude = 60;
    return frame;
  }
  static DisplayRecord ClimbPoint(float latitudeDeg) {
    DisplayRecord record{};
    record.latitudeDeg = latitudeDeg;
    record.kind = LUMARO_KIND_TOP_OF_CLIMB;
    record.shown = 1;
    return record;
  }
  size_t CirclesDrawn(int centreYPx, int ndMode, float latitudeDeg) {
    RecordingTarget target;
    SymbolContext context;
    ScreenPoint at =
        DrawSymbol(PlainFrame(target, centreYPx, ndMode), ClimbPoint(latitudeDeg), context);
    EXPECT_EQ(at.y, centreYPx - static_cast<int>(latitudeDeg * 60));
    return target.OfKind(Kind::Circle).size();
  }
};

TEST_F(SymbolPlacementTest, SymbolsNearTheTopAreSkipped) {
  EXPECT_EQ(CirclesDrawn(79, 0, 1.0f), 0u);  // y = 19
  EXPECT_EQ(CirclesDrawn(80, 0, 1.0f), 1u);  // y = 20
}

TEST_F(SymbolPlacementTest, SymbolsBelowTheBottomAreSkippedInTheArcOnly) {
  EXPECT_EQ(CirclesDrawn(196, 1, -1.0f), 1u);  // y = 256, the bottom edge
  EXPECT_EQ(CirclesDrawn(197, 1, -1.0f), 0u);  // y = 257
  EXPECT_EQ(CirclesDrawn(197, 0, -1.0f), 1u);  // clipped, not skipped
}

TEST_F(SymbolPlacementTest, ProjectionCrossesTheDateLine) {
  RecordingTarget target;
  DisplayFrame frame = PlainFrame(target, 128, 0);
  frame.aircraftLongitudeDeg = 179.5;
  EXPECT_EQ(ProjectPosition(frame, 0, -179.5).x, 128 + 60);  // one degree east
  frame.aircraftLongitudeDeg = -179.5;
  EXPECT_EQ(ProjectPosition(frame, 0, 179.5).x, 128 - 60);  // one degree west
  frame.aircraftLongitudeDeg = 10;                          // far from the date line: no wrap
  EXPECT_EQ(ProjectPosition(frame, 0, -1).x, 128 - 660);
  frame.aircraftLatitudeDeg = std::nan("");  // a broken host value draws nothing absurd
  ScreenPoint broken = ProjectPosition(frame, 0, 0);
  EXPECT_LT(std::abs(broken.y), 2'000'000);
}

TEST_F(SymbolPlacementTest, MapModeTurnsTheMapHeadingUp) {
  RecordingTarget target;
  DisplayFrame frame = PlainFrame(target, 128, 0);
  frame.modes.mapMode = 1;
  frame.mapAngleRad = DegToRad(90);  // heading east: north lies to the left
  ScreenPoint north = ProjectPosition(frame, 0.5, 0);
  EXPECT_NEAR(north.x, 128 - 30, 1);
  EXPECT_NEAR(north.y, 128, 1);
}

TEST_F(DisplayStepsTest, TunedStationCourseLineRunsThroughTheStation) {
  gauge_.modes.mapMode = 1;
  gauge_.modes.rangeNm = 40;
  gauge_.modes.item = 0;
  Set(HostVariable::MapHeading, 60);
  Set(HostVariable::NavCourse, 20);
  SetText(HostVariable::Nav1Ident, "PGS");
  LoadNavaids({{'V', "PGS", kHomeLatDeg + 0.2, kHomeLonDeg + 0.1, "VOR"}});
  ASSERT_EQ(gauge_.shared.lists.tuned.shown, 1);
  RecordingTarget target = Draw();
  std::vector<DrawOperation> lines = target.OfKind(Kind::DottedLine);
  ASSERT_EQ(lines.size(), 1u);
  std::vector<DrawOperation> stations = target.OfKind(Kind::Circle);
  ASSERT_EQ(stations.size(), 1u);
  const ScreenPoint station = stations[0].points[0];
  const ScreenPoint middle{(lines[0].points[0].x + lines[0].points[1].x) / 2,
                           (lines[0].points[0].y + lines[0].points[1].y) / 2};
  EXPECT_LE(DistancePx(middle, station), 2.0);
  // On the screen the course lies 20 - 60 = -40 degrees from straight up.
  const double angleDeg =
      std::atan2(lines[0].points[0].x - station.x, station.y - lines[0].points[0].y) * 180 /
      3.141592653589793;
  EXPECT_NEAR(std::fmod(angleDeg + 360, 180), 140, 1.0);
  // Beside the station, and under "VOR1" at the bottom.
  std::vector<DrawOperation> idents = target.TextsReading("PGS");
  ASSERT_EQ(idents.size(), 2u);
  EXPECT_FALSE(idents[0].opaque);
  EXPECT_LE(DistancePx(idents[0].points[0], station), 8.0);
  EXPECT_TRUE(idents[1].opaque);
}

TEST_F(DisplayStepsTest, DatabaseErrorReplacesTheMapInTheMapModesOnly) {
  gauge_.database.statusCode = 131;
  gauge_.modes.item = 0x1F;
  gauge_.modes.mapMode = 0;
  EXPECT_TRUE(Draw().TextsReading("DATABASE").empty());
  for (int mapMode : {1, 2}) {
    gauge_.modes.mapMode = mapMode;
    RecordingTarget target = Draw();
    EXPECT_EQ(target.TextsReading("NAV").size(), 1u);
    ASSERT_EQ(target.TextsReading("DATABASE").size(), 1u);
    ASSERT_EQ(target.TextsReading("ERROR 131").size(), 1u);
    EXPECT_EQ(target.TextsReading("ERROR 131")[0].colour, kWarningRed);
    EXPECT_TRUE(target.TextsReading("NO ROUTE").empty());  // no map
    EXPECT_TRUE(target.TextsReading("160").empty());       // no range mark
    EXPECT_FALSE(target.TextsReading("HDG").empty());      // the compass stays
  }
}

TEST_F(DisplayStepsTest, RadioTextsFollowTheirFlags) {
  SetWord(HostVariable::Nav1Flags, 0x81);
  SetWord(HostVariable::Nav1Frequency, 0x1725);
  Set(HostVariable::Dme, 12.34);
  Set(HostVariable::GroundSpeed, 180.4);
  SetText(HostVariable::Nav1Ident, "PGS");
  Set(HostVariable::AdfActive, 1);
  SetText(HostVariable::AdfIdent, "OYABCDEF");
  Set(HostVariable::Marker, 2);
  Set(HostVariable::WindDirection, 269.6);
  Set(HostVariable::WindSpeed, 14.5);
  RecordingTarget target = Draw();
  ASSERT_EQ(target.TextsReading("ILS 11725").size(), 1u);
  EXPECT_EQ(target.TextsReading("ILS 11725")[0].align, TextAlign::Right);
  EXPECT_EQ(target.TextsReading("DME 12.3").size(), 1u);
  EXPECT_EQ(target.TextsReading("KT 180").size(), 1u);
  EXPECT_EQ(target.TextsReading("270\xB0 / 15").size(), 1u);
  ASSERT_EQ(target.TextsReading("VOR1").size(), 1u);
  EXPECT_TRUE(target.TextsReading("VOR1")[0].opaque);
  EXPECT_EQ(target.TextsReading("PGS").size(), 1u);
  EXPECT_EQ(target.TextsReading("ADF").size(), 1u);
  EXPECT_EQ(target.TextsReading("OYABC").size(), 1u);
  ASSERT_EQ(target.TextsReading("M").size(), 1u);
  EXPECT_EQ(target.TextsReading("M")[0].colour, kMarkerYellow);

  SetWord(HostVariable::Nav1Flags, 0x89);  // radios off
  RecordingTarget off = Draw();
  EXPECT_TRUE(off.TextsReading("ILS 11725").empty());
  EXPECT_TRUE(off.TextsReading("VOR1").empty());
  EXPECT_FALSE(off.TextsReading("ADF").empty());
}

TEST_F(DisplayStepsTest, CourseDisplayShowsDeviationAndToFrom) {
  gauge_.modes.mapMode = 0;
  SetText(HostVariable::Nav1Ident, "PGS");
  SetWord(HostVariable::Nav1Flags, 0);
  Set(HostVariable::CourseDeviation, 70);
  SetWord(HostVariable::ToFromFlags, 0x04);
  RecordingTarget target = Draw();
  std::vector<DrawOperation> bars;
  for (const DrawOperation& line : target.OfKind(Kind::Polyline)) {
    if (line.colour == Colour(4)) bars.push_back(line);
  }
  ASSERT_EQ(bars.size(), 1u);
  const int barX = Centre().x + 70 * gauge_.geometry.radiusPx / 350;
  EXPECT_EQ(bars[0].points[0].x, barX - 3);
  int dots = 0;
  for (const DrawOperation& circle : target.OfKind(Kind::Circle)) {
    if (circle.colour == Colour(5)) ++dots;
  }
  EXPECT_EQ(dots, 4);
  std::vector<DrawOperation> triangles = target.OfKind(Kind::FillPolygon);
  ASSERT_FALSE(triangles.empty());
  EXPECT_GT(triangles[0].points[2].y, triangles[0].points[0].y);  // "to": apex below the base

  SetText(HostVariable::Nav1Ident, "");
  RecordingTarget untuned = Draw();
  EXPECT_TRUE(std::ranges::none_of(untuned.OfKind(Kind::Polyline),
                                   [&](const DrawOperation& l) { return l.colour == Colour(4); }));
}

}  // namespace
}  // namespace lumaro
