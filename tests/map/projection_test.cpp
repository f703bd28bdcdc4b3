#include "map/projection.h"

#include <gtest/gtest.h>

#include <cmath>

namespace navmap {
namespace {

constexpr double kTinyDeg = 1e-9;

TEST(ProjectionTest, PlacesTheCentreInTheMiddleNorthUpAndShrinksLongitudesByTheCentresCosine) {
  const Projection projection(ViewOfRange(60, 10, 100, 800, 600));
  const ScreenXY centre = projection.ToScreen(60, 10);
  EXPECT_DOUBLE_EQ(centre.x, 400);
  EXPECT_DOUBLE_EQ(centre.y, 300);
  // 100 NM to the nearer (upper) edge: 300 px, so 3 px a mile, 180 px a degree of latitude.
  EXPECT_DOUBLE_EQ(projection.View().pxPerNm, 3);
  EXPECT_DOUBLE_EQ(projection.ToScreen(61, 10).y, 300 - 180);
  // At 60 degrees a degree of longitude is half a degree of latitude.
  EXPECT_NEAR(projection.ToScreen(60, 11).x, 400 + 90, 1e-9);
  EXPECT_DOUBLE_EQ(RangeNm(projection.View()), 100);
}

TEST(ProjectionTest, ScreenToPlaceAndBackGivesThePlaceAgain) {
  struct Case {
    const char* name;
    double latDeg, lonDeg, rangeNm, placeLatDeg, placeLonDeg;
  };
  const Case cases[] = {
      {"Paris, 40 NM", 48.85, 2.35, 40, 49.1, 2.0},
      {"south and west", -33.9, -151.2, 300, -35.0, -148.5},
      {"across the date line, west of it", -17.0, 179.5, 400, -16.0, -178.0},
      {"across the date line, east of it", -17.0, -179.5, 400, -18.0, 177.5},
      {"near the pole", 84.0, 40.0, 800, 86.0, 100.0},
      {"the whole world", 0, 0, 11000, -60, 170},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Projection projection(ViewOfRange(c.latDeg, c.lonDeg, c.rangeNm, 1000, 700));
    const ScreenXY xy = projection.ToScreen(c.placeLatDeg, c.placeLonDeg);
    const GeoPosition back = projection.ToGeo(xy.x, xy.y);
    EXPECT_NEAR(back.latDeg, c.placeLatDeg, kTinyDeg);
    EXPECT_NEAR(back.lonDeg, c.placeLonDeg, kTinyDeg);
    const GeoPosition corner = projection.ToGeo(0, 0);
    const ScreenXY cornerXy = projection.ToScreen(corner.latDeg, corner.lonDeg);
    if (std::fabs(corner.latDeg) < 90) {
      EXPECT_NEAR(cornerXy.x, 0, 1e-6);
      EXPECT_NEAR(cornerXy.y, 0, 1e-6);
    }
  }
}

TEST(ProjectionTest, TheDateLineIsNoSeam) {
  // Centred on the meridian itself, from either side of it.
  for (const double centreLonDeg : {180.0, -180.0, 179.999999}) {
    SCOPED_TRACE(centreLonDeg);
    const Projection projection(ViewOfRange(-17, centreLonDeg, 200, 800, 800));
    const double westOfLine = projection.ToScreen(-17, 179.9).x;
    const double eastOfLine = projection.ToScreen(-17, -179.9).x;
    EXPECT_NEAR(eastOfLine - westOfLine, 0.2 * projection.PxPerDegLon(), 1e-3);
    EXPECT_NEAR((westOfLine + eastOfLine) / 2, 400, 1e-3);
    // Back from the screen, each side keeps its own sign.
    EXPECT_NEAR(projection.ToGeo(eastOfLine, 400).lonDeg, -179.9, kTinyDeg);
    EXPECT_NEAR(projection.ToGeo(westOfLine, 400).lonDeg, 179.9, kTinyDeg);
  }
  // A view that reaches over the line from the east: the west of it comes
  // at its right, never half a world away.
  const Projection fiji(ViewOfRange(-17, 178, 300, 800, 800));
  EXPECT_GT(fiji.ToScreen(-17, -178).x, fiji.ToScreen(-17, 179).x);
  EXPECT_LT(fiji.ToScreen(-17, -178).x, 800);
}

TEST(ProjectionTest, ViewsAreKeptBetweenAFewMilesAndTheWorld) {
  EXPECT_DOUBLE_EQ(RangeNm(ViewOfRange(0, 0, 0.01, 600, 400)), kMinRangeNm);
  EXPECT_DOUBLE_EQ(RangeNm(ViewOfRange(0, 0, 1e9, 600, 400)), kMaxRangeNm);
  EXPECT_DOUBLE_EQ(RangeNm(ViewOfRange(0, 0, std::nan(""), 600, 400)), kMinRangeNm);
  EXPECT_DOUBLE_EQ(ViewOfRange(89.5, 0, 50, 600, 400).centreLatDeg, kMaxCentreLatDeg);
  EXPECT_DOUBLE_EQ(ViewOfRange(-90, 0, 50, 600, 400).centreLatDeg, -kMaxCentreLatDeg);
  EXPECT_DOUBLE_EQ(ViewOfRange(0, 540, 50, 600, 400).centreLonDeg, -180);
  EXPECT_DOUBLE_EQ(ViewOfRange(0, -190, 50, 600, 400).centreLonDeg, 170);
}

TEST(ProjectionTest, TheWorldViewShowsEveryLongitudeAndLatitude) {
  const Projection world(ViewOfWorld(1200, 600));
  EXPECT_NEAR(world.ToScreen(0, -180).x, 0, 1e-9);
  EXPECT_NEAR(world.ToScreen(0, 179.999999).x, 1200, 1e-3);
  EXPECT_NEAR(world.ToScreen(90, 0).y, 0, 1e-9);
  EXPECT_NEAR(world.ToScreen(-90, 0).y, 600, 1e-9);
}

TEST(ProjectionTest, ABoxAcrossTheDateLineIsFittedAboutTheLine) {
  // Fiji (178 E) to Samoa (172 W): east given past 180.
  const MapView view = ViewOfBox(-18, 177.4, -13.8, 188, 800, 600, 40);
  EXPECT_NEAR(view.centreLonDeg, -177.3, 1e-9);
  const Projection projection(view);
  for (const double lonDeg : {177.4, -172.0}) {
    for (const double latDeg : {-18.0, -13.8}) {
      const ScreenXY xy = projection.ToScreen(latDeg, lonDeg);
      EXPECT_GE(xy.x, 40 - 1e-6);
      EXPECT_LE(xy.x, 760 + 1e-6);
      EXPECT_GE(xy.y, 40 - 1e-6);
      EXPECT_LE(xy.y, 560 + 1e-6);
    }
  }
  // A box of one point shows the closest view.
  EXPECT_DOUBLE_EQ(RangeNm(ViewOfBox(48, 2, 48, 2, 800, 600, 40)), kMinRangeNm);
}

TEST(ProjectionTest, PanningRecentresAndZoomingKeepsThePlaceUnderThePointer) {
  const MapView view = ViewOfRange(48.85, 2.35, 40, 800, 600);
  const GeoPosition target = Projection(view).ToGeo(400 + 120, 300 - 80);
  const MapView panned = Panned(view, 120, -80);
  EXPECT_NEAR(panned.centreLatDeg, target.latDeg, kTinyDeg);
  EXPECT_NEAR(panned.centreLonDeg, target.lonDeg, kTinyDeg);
  EXPECT_DOUBLE_EQ(panned.pxPerNm, view.pxPerNm);

  const GeoPosition held = Projection(view).ToGeo(650, 100);
  const MapView zoomed = ZoomedAbout(view, 650, 100, 2);
  EXPECT_DOUBLE_EQ(zoomed.pxPerNm, 2 * view.pxPerNm);
  const ScreenXY after = Projection(zoomed).ToScreen(held.latDeg, held.lonDeg);
  EXPECT_NEAR(after.x, 650, 1e-6);
  EXPECT_NEAR(after.y, 100, 1e-6);
  // Panned over the date line, the centre's longitude comes round.
  const MapView pacific = ViewOfRange(0, 179, 100, 800, 600);
  const double pxPerDegLon = Projection(pacific).PxPerDegLon();
  EXPECT_NEAR(Panned(pacific, 2 * pxPerDegLon, 0).centreLonDeg, -179, 1e-9);
}

TEST(ProjectionTest, AShapeIsMovedByAWholeTurnWhereThatBringsItIntoView) {
  const Projection projection(ViewOfRange(-17, 179, 600, 800, 800));
  // Samoa, east of the line, lies past 180 as this view sees it.
  const Projection::Shifts samoa = projection.ShiftsInView(-173, -171);
  ASSERT_EQ(samoa.count, 1u);
  EXPECT_EQ(samoa.deg[0], 360);
  const Projection::Shifts fiji = projection.ShiftsInView(177, 179);
  ASSERT_EQ(fiji.count, 1u);
  EXPECT_EQ(fiji.deg[0], 0);
  EXPECT_EQ(projection.ShiftsInView(0, 10).count, 0u);
  // A view wider than the world sees a shape twice.
  const Projection wide(ViewOfRange(0, 0, 12000, 1300, 1000));
  EXPECT_EQ(wide.ShiftsInView(170, 179).count, 2u);
}

}  // namespace
}  // namespace navmap
