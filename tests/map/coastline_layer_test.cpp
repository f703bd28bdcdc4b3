#include "map/coastline_layer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "map/coastline_data.h"
#include "tests/map/map_fixture.h"

namespace navmap {
namespace {

using navmap_testing::MakeSurface;
using navmap_testing::Surface;

// True when the two images hold the same bytes, row by row.
bool SameBytes(const Surface& a, const Surface& b) {
  cairo_surface_flush(a.get());
  cairo_surface_flush(b.get());
  const int rowBytes = 4 * cairo_image_surface_get_width(a.get());
  for (int y = 0; y < cairo_image_surface_get_height(a.get()); ++y) {
    const unsigned char* rowA =
        cairo_image_surface_get_data(a.get()) + y * cairo_image_surface_get_stride(a.get());
    const unsigned char* rowB =
        cairo_image_surface_get_data(b.get()) + y * cairo_image_surface_get_stride(b.get());
    if (std::memcmp(rowA, rowB, rowBytes) != 0) return false;
  }
  return true;
}

struct Drawn {
  std::optional<Rgb> uniform;
  bool sameLandAndSea = false;  // as Cairo fills them ring by ring
  bool sameLines = false;       // as Cairo strokes every line whose box touches the view
};

// The land and the sea, then the coasts and borders over them, both ways.
Drawn DrawBothWays(const MapView& view, const CoastlineLevel& level) {
  const Projection projection(view);
  const Surface shortWay = MakeSurface(view.widthPx, view.heightPx);
  const Surface longWay = MakeSurface(view.widthPx, view.heightPx);
  Canvas shortCanvas(shortWay.get());
  Canvas longCanvas(longWay.get());
  DrawLandAndSea(shortCanvas, projection, &level);
  DrawLandAndSeaWithCairo(longCanvas, projection, level);
  shortCanvas.Finish();
  longCanvas.Finish();
  Drawn drawn{UniformLandOrSea(projection, level), SameBytes(shortWay, longWay)};
  DrawCoastlines(shortCanvas, projection, level);
  DrawCoastlines(longCanvas, projection, level, RunsStroked::AllInView);
  shortCanvas.Finish();
  longCanvas.Finish();
  drawn.sameLines = SameBytes(shortWay, longWay);
  return drawn;
}

TEST(CoastlineLayerTest, TheShortWaysDrawTheBytesCairoDrawsTheLongWay) {
  const CoastlineLevel& fine = BuiltInCoastlines().levels[1];
  // Paris at 40 NM lies inland, the middle of the Atlantic and the date
  // line in the Pacific out at sea; the western Channel has coasts.
  EXPECT_EQ(DrawBothWays(ViewOfRange(48.85, 2.35, 40, 1024, 768), fine).uniform, kLandColour);
  EXPECT_EQ(DrawBothWays(ViewOfRange(40, -40, 200, 400, 300), fine).uniform, kSeaColour);
  EXPECT_EQ(DrawBothWays(ViewOfRange(10, 180, 100, 400, 300), fine).uniform, kSeaColour);
  EXPECT_EQ(DrawBothWays(ViewOfRange(49.5, -4.0, 120, 400, 400), fine).uniform, std::nullopt);

  // Views all over the globe, at ranges from a town to a sea, each drawn
  // to the same bytes either way; inland, out at sea, in lakes, on coasts
  // and across borders alike. (The land is cut into tiles of 10 degrees,
  // whose edges make a view that holds one look like a coast.)
  int land = 0;
  int sea = 0;
  int coasts = 0;
  for (double latDeg = -66.7; latDeg <= 70; latDeg += 10) {
    for (double lonDeg = -172.3; lonDeg < 180; lonDeg += 22.5) {
      for (const double rangeNm : {8.0, 60.0, 400.0}) {
        SCOPED_TRACE(testing::Message() << latDeg << " " << lonDeg << " " << rangeNm);
        const CoastlineLevel& level = BuiltInCoastlines().levels[rangeNm > 1000 ? 0 : 1];
        const Drawn drawn = DrawBothWays(ViewOfRange(latDeg, lonDeg, rangeNm, 96, 64), level);
        EXPECT_TRUE(drawn.sameLandAndSea);
        EXPECT_TRUE(drawn.sameLines);
        if (!drawn.uniform) {
          ++coasts;
        } else if (*drawn.uniform == kLandColour) {
          ++land;
        } else {
          ++sea;
        }
      }
    }
  }
  EXPECT_GT(land, 40);
  EXPECT_GT(sea, 200);
  EXPECT_GT(coasts, 200);
}

}  // namespace
}  // namespace navmap
