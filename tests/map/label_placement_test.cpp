#include "map/label_placement.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace navmap {
namespace {

const GlyphAtlas& Atlas() {
  return GlyphAtlas::Labels();
}

LabelRequest Request(int priority, int x, int y, const char* text) {
  LabelRequest request;
  request.priority = priority;
  request.x = x;
  request.y = y;
  request.text = text;
  return request;
}

TEST(LabelPlacementTest, ALabelGoesRightOfItsSymbolThenLeftAboveAndBelow) {
  const int widthPx = Atlas().WidthPx("PON");
  ASSERT_GT(widthPx, 10);
  const std::array<PlacedLabel, kLabelPlaces> candidates =
      LabelCandidates(Request(1, 100, 50, "PON"), widthPx, Atlas());
  // Right: the pen 5 px right of the symbol, the baseline 2 px above it.
  EXPECT_EQ(candidates[0].penX, 105);
  EXPECT_EQ(candidates[0].baselineY, 48);
  EXPECT_EQ(candidates[1].penX, 95 - widthPx);
  EXPECT_LT(candidates[2].box.bottom, 50);
  EXPECT_GT(candidates[3].box.top, 50);
  EXPECT_EQ(candidates[2].penX, 100 - widthPx / 2);
  // The box holds the glyphs and their halo.
  EXPECT_EQ(candidates[0].box.left, 104);
  EXPECT_EQ(candidates[0].box.right, 106 + widthPx);
  EXPECT_EQ(candidates[0].box.top, 48 - Atlas().AscentPx() - 1);
  EXPECT_EQ(candidates[0].box.bottom, 48 + Atlas().DescentPx() + 1);
  // The top of climb tries above first.
  LabelRequest toc = Request(1, 100, 50, "TOC");
  toc.anchor = LabelAnchor::Above;
  EXPECT_EQ(LabelCandidates(toc, widthPx, Atlas())[0].penX, 100 - widthPx / 2);
}

TEST(LabelPlacementTest, TheMoreImportantLabelKeepsItsPlaceAndTheOthersMoveOrAreLeftOut) {
  LabelSpace space(400, 300);
  const std::vector<LabelRequest> requests = {
      Request(10, 200, 150, "INT01"), Request(10, 200, 150, "INT02"),
      Request(60, 200, 150, "VOR"),   Request(10, 200, 150, "INT03"),
      Request(10, 200, 150, "INT04"), Request(10, 200, 150, "INT05"),
  };
  const std::vector<PlacedLabel> placed = PlaceLabels(requests, space, Atlas());
  ASSERT_GE(placed.size(), 2u);
  EXPECT_LT(placed.size(), 5u);
  EXPECT_EQ(placed[0].request->text, "VOR");
  EXPECT_EQ(placed[0].penX, 205);
  // The first intersection takes the next place, left of the symbol; the
  // rest follow in the order given while places are free.
  EXPECT_EQ(placed[1].request->text, "INT01");
  EXPECT_EQ(placed[1].penX, 195 - Atlas().WidthPx("INT01"));
  for (size_t i = 2; i < placed.size(); ++i) {
    EXPECT_EQ(placed[i].request->text, "INT0" + std::to_string(i));
  }
}

TEST(LabelPlacementTest, ANameAskedTwiceForOnePlaceIsShownOnce) {
  LabelSpace space(400, 300);
  // The route's PON and the database's PON a pixel apart; another PON far off.
  const std::vector<LabelRequest> requests = {
      Request(60, 101, 100, "PON"), Request(500, 100, 100, "PON"), Request(60, 300, 100, "PON"),
      Request(60, 104, 103, "TOD")};
  const std::vector<PlacedLabel> placed = PlaceLabels(requests, space, Atlas());
  ASSERT_EQ(placed.size(), 3u);
  EXPECT_EQ(placed[0].request, &requests[1]);
  EXPECT_EQ(placed[1].request->x, 300);
  EXPECT_EQ(placed[2].request->text, "TOD");
}

TEST(LabelPlacementTest, LabelsNeverOverlapNorLeaveTheImage) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> x(0, 499), y(0, 299), priority(0, 80);
  std::vector<LabelRequest> requests;
  for (int i = 0; i < 600; ++i) {
    requests.push_back(Request(priority(random), x(random), y(random), ""));
    requests.back().text = std::to_string(10000 + i);
  }
  LabelSpace space(500, 300);
  const std::vector<PlacedLabel> placed = PlaceLabels(requests, space, Atlas());
  ASSERT_GT(placed.size(), 50u);
  EXPECT_LT(placed.size(), requests.size());
  for (size_t a = 0; a < placed.size(); ++a) {
    const PixelBox& box = placed[a].box;
    EXPECT_GE(box.left, 0);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.right, 500);
    EXPECT_LE(box.bottom, 300);
    for (size_t b = a + 1; b < placed.size(); ++b) {
      EXPECT_FALSE(box.Overlaps(placed[b].box)) << a << " and " << b;
    }
  }
  // A label is left out only when none of its places was free: each lies
  // outside the image or on a label placed before it (with its spacing).
  std::vector<bool> wasPlaced(requests.size(), false);
  for (const PlacedLabel& label : placed)
    wasPlaced[static_cast<size_t>(label.request - requests.data())] = true;
  for (size_t i = 0; i < requests.size(); ++i) {
    if (wasPlaced[i]) continue;
    const int widthPx = Atlas().WidthPx(requests[i].text);
    for (const PlacedLabel& candidate : LabelCandidates(requests[i], widthPx, Atlas())) {
      const PixelBox& c = candidate.box;
      bool blocked = c.left < 0 || c.top < 0 || c.right > 500 || c.bottom > 300;
      for (const PlacedLabel& label : placed) {
        const PixelBox spaced{label.box.left - 1, label.box.top - 1, label.box.right + 1,
                              label.box.bottom + 1};
        blocked |= label.request->priority >= requests[i].priority && spaced.Overlaps(c);
      }
      EXPECT_TRUE(blocked) << "request " << i << " had a free place";
    }
  }
}

TEST(LabelPlacementTest, ALabelMayCoverALessImportantSymbolButNotTheRouteOrALabel) {
  LabelSpace space(300, 200);
  const LabelRequest vor = Request(55, 100, 100, "VOR");
  const PixelBox right = LabelCandidates(vor, Atlas().WidthPx("VOR"), Atlas())[0].box;
  // An intersection's triangle (hold 9) under the VOR's right-hand place.
  space.Take({right.left + 2, right.top + 2, right.left + 5, right.top + 5}, SymbolHoldOf(10));
  EXPECT_TRUE(space.Free(right, HoldOf(vor.priority)));
  EXPECT_TRUE(space.Free(right, HoldOf(10)));  // another intersection's label
  EXPECT_FALSE(space.Free(right, HoldOf(5)));  // a runway end's
  // A route leg through it: the label goes elsewhere.
  space.TakeLine(right.left + 1, right.top + 4, right.right + 20, right.top + 4, kHeldByRoute);
  EXPECT_FALSE(space.Free(right, HoldOf(vor.priority)));
  EXPECT_FALSE(space.Free(right, HoldOf(kHighlightPriority)));
  const std::vector<PlacedLabel> placed =
      PlaceLabels(std::vector<LabelRequest>{vor}, space, Atlas());
  ASSERT_EQ(placed.size(), 1u);
  EXPECT_EQ(placed[0].penX, 95 - Atlas().WidthPx("VOR"));
  // A line far outside the image takes nothing and costs nothing.
  space.TakeLine(-2000000, 5, -1000000, 5, kHeldByRoute);
  EXPECT_TRUE(space.Free({0, 0, 50, 20}, HoldOf(5)));
}

}  // namespace
}  // namespace navmap
