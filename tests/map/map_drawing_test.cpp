#include "map/map_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "map/coastline_data.h"
#include "map/hit_test.h"
#include "map/symbol_drawing.h"
#include "tests/map/map_fixture.h"
#include "tests/support/navaid_lines.h"

namespace navmap {
namespace {

using navdb::NavaidKind;
using navmap_testing::ColourName;
using navmap_testing::MakeSurface;
using navmap_testing::Surface;

struct Drawn {
  Surface surface;
  DrawnMap map;
  MapView view;
};

class MapDrawingTest : public testing::Test {
 protected:
  MapDrawingTest() : db_(navmap_testing::SmallDatabase()), index_(db_) {}

  Drawn Draw(const MapView& view, const MapRoute* route = nullptr,
             std::optional<EntryRef> highlight = std::nullopt) {
    Drawn drawn{MakeSurface(view.widthPx, view.heightPx), {}, view};
    MapScene scene{&db_, &index_, &BuiltInCoastlines(), route, highlight};
    drawn.map = DrawMap(scene, view, drawn.surface.get());
    return drawn;
  }

  EntryRef Ref(NavaidKind kind, const char* id) const {
    return {kind, static_cast<uint32_t>(*db_.List(kind).FindPrefix(id))};
  }

  // The pixel where the map puts an entry.
  Pixel PixelOfEntry(const MapView& view, EntryRef entry) const {
    const std::optional<EntryPosition> position = PositionOfEntry(db_, entry);
    const ScreenXY xy = Projection(view).ToScreen(position->latDeg, position->lonDeg);
    return {static_cast<int>(std::floor(xy.x)), static_cast<int>(std::floor(xy.y))};
  }

  navdb::Database db_;
  SpatialIndex index_;
};

// How far apart two colours are, channel by channel at most.
int ColourDistance(Rgb a, Rgb b) {
  int distance = 0;
  for (const int shift : {16, 8, 0}) {
    distance = std::max(distance, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                           static_cast<int>((b >> shift) & 0xFF)));
  }
  return distance;
}

TEST_F(MapDrawingTest, EachNavaidIsDrawnInTheDisplaysShapeAndColourAtItsPixel) {
  const MapView view = ViewOfRange(48.85, 2.25, 20, 600, 600);
  const Drawn drawn = Draw(view);
  struct Case {
    const char* name;
    EntryRef entry;
    std::span<const PixelOffset> shape;
    Rgb colour;
  };
  const Case stamped[] = {
      {"VOR PON", Ref(NavaidKind::Vor, "PON"), StationCirclePixels(), kVorColour},
      {"DME RBT", Ref(NavaidKind::Vor, "RBT"), StationCirclePixels(), kVorColour},
      {"NDB OL", Ref(NavaidKind::Ndb, "OL"), StationCirclePixels(), kNdbColour},
      {"intersection PG502", Ref(NavaidKind::Intersection, "PG502"), IntersectionPixels(),
       kIntersectionColour},
  };
  ASSERT_EQ(StationCirclePixels().size(), 16u);
  for (const Case& c : stamped) {
    SCOPED_TRACE(c.name);
    const Pixel at = PixelOfEntry(view, c.entry);
    for (const PixelOffset offset : c.shape) {
      EXPECT_EQ(ColourName(drawn.surface.Pixel(at.x + offset.dx, at.y + offset.dy)),
                ColourName(c.colour));
    }
    // The circle is an outline: its middle shows the land beneath.
    if (c.shape.data() == StationCirclePixels().data()) {
      EXPECT_EQ(ColourName(drawn.surface.Pixel(at.x, at.y)), ColourName(kLandColour));
    }
  }
  // The localizer outline, 15 px long from its station, in the ILS colour;
  // the runway line through the runway's centre.
  const Pixel ils = PixelOfEntry(view, Ref(NavaidKind::Vor, "GLE"));
  int ilsPixels = 0;
  for (int dy = -20; dy <= 20; ++dy) {
    for (int dx = -20; dx <= 20; ++dx) {
      if (drawn.surface.Pixel(ils.x + dx, ils.y + dy) != kIlsColour) continue;
      ++ilsPixels;
      EXPECT_LE(dx * dx + dy * dy, 16 * 16) << dx << "," << dy;
    }
  }
  EXPECT_GE(ilsPixels, 25);
  const Pixel runway = PixelOfEntry(view, Ref(NavaidKind::Airport, "LFPB"));
  EXPECT_EQ(ColourName(drawn.surface.Pixel(runway.x, runway.y)), ColourName(kAirportColour));
  EXPECT_EQ(ColourName(drawn.surface.Pixel(2, 300)), ColourName(kLandColour));
}

TEST_F(MapDrawingTest, CoastsLieWhereTheDataPutsThemBetweenSeaAndLand) {
  // The western Channel: Cornwall and Brittany.
  const MapView view = ViewOfRange(49.5, -4.0, 120, 700, 700);
  const Drawn drawn = Draw(view);
  const Projection projection(view);
  auto colourAt = [&](double latDeg, double lonDeg) {
    const ScreenXY xy = projection.ToScreen(latDeg, lonDeg);
    return drawn.surface.Pixel(static_cast<int>(xy.x), static_cast<int>(xy.y));
  };
  EXPECT_EQ(ColourName(colourAt(49.8, -5.5)), ColourName(kSeaColour));   // open sea
  EXPECT_EQ(ColourName(colourAt(48.2, -3.0)), ColourName(kLandColour));  // inland Brittany
  // Every point of the fine coastlines in view is drawn in the coast's colour.
  const CoastlineLevel& fine = BuiltInCoastlines().levels[1];
  int checked = 0;
  for (const GeoRun& line : fine.lines) {
    if (line.kind != CoastlineKind::Coast) continue;
    for (uint32_t i = line.first; i < line.first + line.count; ++i) {
      const ScreenXY xy = projection.ToScreen(fine.points[i].latDeg, fine.points[i].lonDeg);
      if (xy.x < 1 || xy.y < 1 || xy.x > 698 || xy.y > 698) continue;
      const int x = static_cast<int>(xy.x);
      const int y = static_cast<int>(xy.y);
      int best = 255;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          best = std::min(best, ColourDistance(drawn.surface.Pixel(x + dx, y + dy), kCoastColour));
        }
      }
      EXPECT_LT(best, 40) << "coast point " << i;
      ++checked;
    }
  }
  EXPECT_GT(checked, 100);
}

MapRoute ParisRoute() {
  MapRoute route;
  route.points = {
      {48.9694, 2.4414, "LFPB", RoutePointKind::Airport, false},
      {49.03, 2.30, "TOC", RoutePointKind::TopOfClimb, true},
      {49.0965, 2.0359, "PON", RoutePointKind::Vor, false},
  };
  route.departureRunway = RouteRunway{69, 9843, "07"};
  return route;
}

TEST_F(MapDrawingTest, TheRouteRunsInItsColourAlongEveryLegWithItsPointsLabelled) {
  const MapView view = ViewOfRange(49.03, 2.25, 15, 600, 600);
  const MapRoute route = ParisRoute();
  const Drawn drawn = Draw(view, &route);
  const Projection projection(view);
  for (size_t leg = 1; leg < route.points.size(); ++leg) {
    SCOPED_TRACE(leg);
    const ScreenXY a =
        projection.ToScreen(route.points[leg - 1].latDeg, route.points[leg - 1].lonDeg);
    const ScreenXY b = projection.ToScreen(route.points[leg].latDeg, route.points[leg].lonDeg);
    for (const double t : {0.3, 0.5, 0.7}) {
      const int x = static_cast<int>(std::floor(a.x + t * (b.x - a.x)));
      const int y = static_cast<int>(std::floor(a.y + t * (b.y - a.y)));
      EXPECT_EQ(ColourName(drawn.surface.Pixel(x, y)), ColourName(kRouteColour));
    }
  }
  // The top of climb is a filled dot of the route's colour.
  const ScreenXY toc = projection.ToScreen(49.03, 2.30);
  for (const PixelOffset offset : FilledCirclePixels()) {
    EXPECT_EQ(ColourName(drawn.surface.Pixel(static_cast<int>(toc.x) + offset.dx,
                                             static_cast<int>(toc.y) + offset.dy)),
              ColourName(kRouteColour));
  }
  std::vector<std::string> labels;
  for (const DrawnLabel& label : drawn.map.labels) labels.push_back(label.text);
  for (const char* text : {"LFPB", "TOC", "PON", "07"}) {
    EXPECT_NE(std::find(labels.begin(), labels.end(), text), labels.end())
        << text << " in " << testing::PrintToString(labels);
  }
}

TEST_F(MapDrawingTest, ARouteOverTheDateLineTakesTheShortWay) {
  MapRoute route;
  route.points = {{-17.7554, 177.4431, "NFFN", RoutePointKind::Airport, false},
                  {-13.8300, -172.0083, "NSFA", RoutePointKind::Airport, false}};
  const std::optional<RouteBox> box = BoxOf(route);
  ASSERT_TRUE(box);
  EXPECT_NEAR(box->westDeg, 177.4431, 1e-9);
  EXPECT_NEAR(box->eastDeg, 187.9917, 1e-9);
  const MapView view =
      ViewOfBox(box->southDeg, box->westDeg, box->northDeg, box->eastDeg, 800, 500, 60);
  const Drawn drawn = Draw(view, &route);
  const Projection projection(view);
  const ScreenXY nadi = projection.ToScreen(-17.7554, 177.4431);
  const ScreenXY faleolo = projection.ToScreen(-13.8300, -172.0083);
  ASSERT_LT(nadi.x, faleolo.x);
  const ScreenXY middle{(nadi.x + faleolo.x) / 2, (nadi.y + faleolo.y) / 2};
  EXPECT_EQ(ColourName(drawn.surface.Pixel(static_cast<int>(middle.x), static_cast<int>(middle.y))),
            ColourName(kRouteColour));
  // Nothing of the route west of Nadi or east of Faleolo.
  for (int x = 0; x < static_cast<int>(nadi.x) - 6; ++x) {
    for (int y = 0; y < 500; ++y)
      ASSERT_NE(drawn.surface.Pixel(x, y), kRouteColour) << x << "," << y;
  }
  for (int x = static_cast<int>(faleolo.x) + 6; x < 800; ++x) {
    for (int y = 0; y < 500; ++y)
      ASSERT_NE(drawn.surface.Pixel(x, y), kRouteColour) << x << "," << y;
  }
  // The intersection on the line itself is drawn too.
  bool datel = false;
  for (const DrawnSymbol& symbol : drawn.map.symbols)
    datel |= symbol.entry == Ref(NavaidKind::Intersection, "DATEL");
  EXPECT_EQ(datel, drawn.map.detail.style[MapSymbol::Intersection] != SymbolStyle::Hidden);
}

TEST_F(MapDrawingTest, TheWholeWorldShowsNoIntersectionsAndCloseByShowsThemAll) {
  const Drawn world = Draw(ViewOfWorld(720, 360));
  for (const DrawnSymbol& symbol : world.map.symbols) {
    EXPECT_NE(symbol.symbol, MapSymbol::Intersection);
    EXPECT_NE(symbol.symbol, MapSymbol::Ndb);
  }
  const Drawn paris = Draw(ViewOfRange(48.85, 2.25, 20, 800, 800));
  size_t parisEntries = 0;
  for (const DrawnSymbol& symbol : paris.map.symbols) parisEntries += symbol.at.x >= 0;
  EXPECT_EQ(parisEntries, 7u);  // two runways of Le Bourget and five others
}

TEST_F(MapDrawingTest, AHighlightedEntryIsRingedAndShownWhateverTheDetail) {
  const MapView view = ViewOfRange(48.85, 2.25, 2500, 600, 600);
  const EntryRef ol = Ref(NavaidKind::Ndb, "OL");
  const Drawn plain = Draw(view);
  ASSERT_EQ(plain.map.detail.style[MapSymbol::Ndb], SymbolStyle::Hidden);
  const Drawn drawn = Draw(view, nullptr, ol);
  const Pixel at = PixelOfEntry(view, ol);
  EXPECT_LT(ColourDistance(drawn.surface.Pixel(at.x + 9, at.y), kHighlightColour), 40);
  EXPECT_LT(ColourDistance(drawn.surface.Pixel(at.x, at.y - 9), kHighlightColour), 40);
  EXPECT_EQ(ColourName(drawn.surface.Pixel(at.x + 3, at.y)), ColourName(kNdbColour));
  ASSERT_FALSE(drawn.map.labels.empty());
  EXPECT_EQ(drawn.map.labels.front().text, "OL");
  EXPECT_EQ(drawn.map.labels.front().priority, kHighlightPriority);
}

TEST_F(MapDrawingTest, AClickFindsTheEntryDrawnThereAndNothingAwayFromEverySymbol) {
  const MapView view = ViewOfRange(48.85, 2.25, 20, 600, 600);
  const Drawn drawn = Draw(view);
  for (const char* id : {"PON", "RBT", "GLE"}) {
    SCOPED_TRACE(id);
    const EntryRef entry = Ref(NavaidKind::Vor, id);
    const Pixel at = PixelOfEntry(view, entry);
    EXPECT_EQ(HitTest(drawn.map, at.x, at.y), entry);
    EXPECT_EQ(HitTest(drawn.map, at.x + 3, at.y - 3), entry);
    EXPECT_FALSE(HitTest(drawn.map, at.x + 6, at.y));
  }
  EXPECT_FALSE(HitTest(drawn.map, 5, 5));
  // The runway of an airport is hit along its length, not only at its centre.
  const EntryRef lfpb = Ref(NavaidKind::Airport, "LFPB");
  const Pixel runway = PixelOfEntry(view, lfpb);
  const std::optional<EntryRef> hit = HitTest(drawn.map, runway.x + 8, runway.y - 3);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->kind, NavaidKind::Airport);
}

TEST_F(MapDrawingTest, OfTwoSymbolsInReachTheNearerIsHitAndOnATieTheMoreImportant) {
  DrawnMap drawn;
  drawn.symbols.push_back(
      {{NavaidKind::Intersection, 4}, MapSymbol::Intersection, {100, 100}, 5, 10});
  drawn.symbols.push_back({{NavaidKind::Vor, 2}, MapSymbol::Vor, {104, 100}, 5, 50});
  EXPECT_EQ(HitTest(drawn, 101, 100), (EntryRef{NavaidKind::Intersection, 4}));
  EXPECT_EQ(HitTest(drawn, 103, 100), (EntryRef{NavaidKind::Vor, 2}));
  EXPECT_EQ(HitTest(drawn, 102, 100), (EntryRef{NavaidKind::Vor, 2}));
  EXPECT_FALSE(HitTest(drawn, 110, 100));
}

TEST_F(MapDrawingTest, InACrowdedViewLabelsNeverOverlap) {
  // A grid of 400 intersections about Paris, one every 1.5 NM.
  for (int i = 0; i < 400; ++i) {
    db_.List(NavaidKind::Intersection)
        .AddLine(testing_support::IntersectionLine(
            "X" + std::to_string(1000 + i), 48.7 + (i / 20) * 0.025, 2.0 + (i % 20) * 0.038));
  }
  index_ = SpatialIndex(db_);
  const Drawn drawn = Draw(ViewOfRange(48.95, 2.2, 12, 700, 700));
  ASSERT_GT(drawn.map.labels.size(), 40u);
  EXPECT_LT(drawn.map.labels.size(), 300u);
  for (size_t a = 0; a < drawn.map.labels.size(); ++a) {
    for (size_t b = a + 1; b < drawn.map.labels.size(); ++b) {
      EXPECT_FALSE(drawn.map.labels[a].box.Overlaps(drawn.map.labels[b].box))
          << drawn.map.labels[a].text << " and " << drawn.map.labels[b].text;
    }
  }
  // The VOR's label has its place before any intersection's.
  bool pon = false;
  for (const DrawnLabel& label : drawn.map.labels) pon |= label.text == "PON";
  EXPECT_TRUE(pon);
}

}  // namespace
}  // namespace navmap
