#include <gtest/gtest.h>

#include <string>

#include "map/tools/antimeridian.h"
#include "map/tools/json_value.h"
#include "map/tools/land_tiles.h"
#include "map/tools/topology.h"

namespace coastline_tool {
namespace {

using navmap::QuantizedPoint;

// A grid of whole degrees from (-180, -90): x = lon + 180, y = lat + 90.
const navmap::Quantization kDegrees{1, -180, 1, -90};

QuantizedPoint At(int lonDeg, int latDeg) {
  return {lonDeg + 180, latDeg + 90};
}

// Twice the ring's area by the shoelace formula (degrees squared), unsigned.
long TwiceArea(const Ring& ring) {
  long sum = 0;
  for (size_t i = 0; i < ring.size(); ++i) {
    const QuantizedPoint a = ring[i];
    const QuantizedPoint b = ring[(i + 1) % ring.size()];
    sum += static_cast<long>(a.x) * b.y - static_cast<long>(b.x) * a.y;
  }
  return sum < 0 ? -sum : sum;
}

TEST(CoastlineToolTest, ALineOverTheDateLineIsCutWithAPointOnEachSideOfTheLine) {
  const Ring line = {At(178, -16), At(-178, -18), At(-176, -18)};
  const std::vector<Ring> parts = SplitLineAtAntimeridian(line, kDegrees);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0], (Ring{At(178, -16), At(180, -17)}));
  EXPECT_EQ(parts[1], (Ring{At(-180, -17), At(-178, -18), At(-176, -18)}));
}

TEST(CoastlineToolTest, EdgesThatOnlyCloseAnAreaAreNoCoast) {
  // Along the meridian where the data is cut, and along the south pole's line.
  const Ring cut = {At(179, 10), At(180, 10), At(180, 12), At(179, 12)};
  const std::vector<Ring> parts = SplitLineAtAntimeridian(cut, kDegrees);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0], (Ring{At(179, 10), At(180, 10)}));
  EXPECT_EQ(parts[1], (Ring{At(180, 12), At(179, 12)}));
  const Ring pole = {At(10, -80), At(10, -90), At(20, -90), At(20, -80)};
  EXPECT_EQ(SplitLineAtAntimeridian(pole, kDegrees).size(), 2u);
}

TEST(CoastlineToolTest, ARingOverTheDateLineBecomesOnePieceOnEachSideWithItsArea) {
  // An island from 178 E to 178 W, 4 degrees by 2.
  const Ring island = {At(178, -18), At(-178, -18), At(-178, -16), At(178, -16), At(178, -18)};
  const std::vector<Ring> pieces = SplitRingAtAntimeridian(island, kDegrees);
  ASSERT_EQ(pieces.size(), 2u);
  for (const Ring& piece : pieces) {
    EXPECT_EQ(TwiceArea(piece), 2 * 2 * 2);
    bool east = false, west = false;
    for (const QuantizedPoint p : piece) {
      east |= p.x > 180;
      west |= p.x < 180;
    }
    EXPECT_NE(east, west) << "a piece lies on one side only";
  }
  // A ring that does not cross the line is kept as it is.
  const Ring square = {At(0, 0), At(2, 0), At(2, 2), At(0, 2)};
  EXPECT_EQ(SplitRingAtAntimeridian(square, kDegrees), std::vector<Ring>{square});
}

TEST(CoastlineToolTest, ARingRoundThePoleIsClosedAlongThePolesLine) {
  // Antarctica's shape: round the world at 70 S, crossing the line once.
  Ring round;
  for (int lonDeg = -170; lonDeg <= 170; lonDeg += 20) round.push_back(At(lonDeg, -70));
  const std::vector<Ring> pieces = SplitRingAtAntimeridian(round, kDegrees);
  ASSERT_EQ(pieces.size(), 1u);
  // The whole cap from 70 S to the pole: 360 by 20 degrees.
  EXPECT_EQ(TwiceArea(pieces[0]), 2 * 360 * 20);
}

TEST(CoastlineToolTest, LandIsCutIntoTilesThatMeetAtTheSamePointsAndKeepTheArea) {
  // A triangle over the corner of four 10-degree tiles.
  const Ring land = {At(5, 5), At(15, 7), At(7, 15)};
  const std::vector<Ring> pieces = CutIntoTiles({land}, kDegrees, 10);
  ASSERT_EQ(pieces.size(), 4u);
  long area = 0;
  for (const Ring& piece : pieces) area += TwiceArea(piece);
  EXPECT_EQ(area, TwiceArea(land));
  // Where the edge (15,7)-(7,15) meets x = 190 (lon 10), both tiles beside
  // it have the same point.
  int found = 0;
  for (const Ring& piece : pieces) {
    for (const QuantizedPoint p : piece) found += p == QuantizedPoint{190, 102};
  }
  EXPECT_EQ(found, 2);
  // Nothing of a ring outside the box is kept.
  EXPECT_TRUE(ClipRing(land, 300, 0, 310, 10).empty());
}

TEST(CoastlineToolTest, ReadsCoastsBordersAndLandFromATopology) {
  // Two countries that share arc 1 (the second walks it backwards).
  const std::string text = R"({"type":"Topology",
    "transform":{"scale":[1,1],"translate":[-180,-90]},
    "objects":{
      "countries":{"type":"GeometryCollection","geometries":[
        {"type":"Polygon","arcs":[[0,1]]},
        {"type":"MultiPolygon","arcs":[[[2,-2]]]}]},
      "land":{"type":"GeometryCollection","geometries":[
        {"type":"Polygon","arcs":[[0,1]]}]}},
    "arcs":[[[180,90],[0,2],[2,0]],[[182,92],[0,-2]],[[182,90],[2,0],[0,2],[-2,0]]]})";
  const platform::Result<JsonValue> document = ParseJson(text);
  ASSERT_TRUE(document) << document.error().message;
  const platform::Result<Topology> topology = ReadTopology(*document);
  ASSERT_TRUE(topology) << topology.error().message;
  EXPECT_EQ(topology->countryUses, (std::vector<int>{1, 2, 1}));
  ASSERT_EQ(topology->arcs.size(), 3u);
  EXPECT_EQ(topology->arcs[0], (Ring{{180, 90}, {180, 92}, {182, 92}}));
  ASSERT_EQ(topology->landRings.size(), 1u);
  EXPECT_EQ(topology->landRings[0], (Ring{{180, 90}, {180, 92}, {182, 92}, {182, 90}}));

  EXPECT_EQ(ParseJson("{\"a\":[1,2").error().message,
            "an array does not end with ] at character 9");
  EXPECT_EQ(ReadTopology(*ParseJson("{\"arcs\":[]}")).error().message,
            "not a quantized topology (transform and arcs)");
}

}  // namespace
}  // namespace coastline_tool
