#include "map/label_placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
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

// The straightforward way: Bresenham's walk, every pixel with its eight
// neighbours, for a line whose ends need no clipping.
void TakeLinePixelByPixel(LabelSpace& space, int x0, int y0, int x1, int y1, uint8_t hold) {
  const int dx = std::abs(x1 - x0);
  const int dy = -std::abs(y1 - y0);
  const int stepX = x0 < x1 ? 1 : -1;
  const int stepY = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  while (true) {
    space.Take({x0 - 1, y0 - 1, x0 + 2, y0 + 2}, hold);
    if (x0 == x1 && y0 == y1) break;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += stepX;
    }
    if (twice <= dx) {
      error += dx;
      y0 += stepY;
    }
  }
}

std::vector<uint8_t> Holds(const LabelSpace& space) {
  std::vector<uint8_t> holds;
  std::vector<uint8_t> row(static_cast<size_t>(space.WidthPx()));
  for (int y = 0; y < space.HeightPx(); ++y) {
    space.ReadRow(y, row.data());
    holds.insert(holds.end(), row.begin(), row.end());
  }
  return holds;
}

TEST(LabelSpaceTest, ALineTakesWhatItsPixelsWithTheirNeighboursTakeUpToTheImageEdges) {
  std::mt19937 random(20261209);
  for (int round = 0; round < 400; ++round) {
    const int widthPx = std::uniform_int_distribution<int>(1, 40)(random);
    const int heightPx = std::uniform_int_distribution<int>(1, 30)(random);
    LabelSpace bySpans(widthPx, heightPx);
    LabelSpace byPixels(widthPx, heightPx);
    // Ends anywhere from a pixel before the image to a pixel past it, so
    // that lines run along and across every edge; holds over and under
    // what earlier lines took.
    std::uniform_int_distribution<int> x(-1, widthPx);
    std::uniform_int_distribution<int> y(-1, heightPx);
    std::uniform_int_distribution<int> hold(1, kHeldByLabel);
    for (int line = 0; line < 6; ++line) {
      const int x0 = x(random), y0 = y(random), x1 = x(random), y1 = y(random);
      const auto held = static_cast<uint8_t>(hold(random));
      bySpans.TakeLine(x0, y0, x1, y1, held);
      TakeLinePixelByPixel(byPixels, x0, y0, x1, y1, held);
      ASSERT_EQ(Holds(bySpans), Holds(byPixels))
          << "round " << round << ": " << x0 << "," << y0 << " to " << x1 << "," << y1 << " in "
          << widthPx << " x " << heightPx;
    }
  }
  // A point, a level and an upright line: three rows, three columns.
  LabelSpace space(8, 8);
  space.TakeLine(3, 3, 3, 3, 7);
  space.TakeLine(0, 7, 7, 7, 9);
  std::vector<uint8_t> expected(64, 0);
  for (int y = 2; y <= 4; ++y) {
    for (int x = 2; x <= 4; ++x) expected[static_cast<size_t>(y * 8 + x)] = 7;
  }
  for (int x = 0; x < 8; ++x) expected[static_cast<size_t>(6 * 8 + x)] = 9;
  for (int x = 0; x < 8; ++x) expected[static_cast<size_t>(7 * 8 + x)] = 9;
  EXPECT_EQ(Holds(space), expected);
}

TEST(LabelSpaceTest, BoxesAreTakenAndTestedAsOnAPlainPixelMapAcrossTilesAndEdges) {
  // A space against a plain map of a hold per pixel: pixels taken one by
  // one with holds above and below the boxes', then boxes of every size
  // from one pixel to several tiles each way, at every place over the
  // image's edges, taken and tested in turn.
  std::mt19937 random(20261210);
  for (int round = 0; round < 300; ++round) {
    const int widthPx = std::uniform_int_distribution<int>(1, 53)(random);
    const int heightPx = std::uniform_int_distribution<int>(1, 27)(random);
    LabelSpace space(widthPx, heightPx);
    std::vector<uint8_t> plain(static_cast<size_t>(widthPx * heightPx), 0);
    std::vector<uint8_t> row(static_cast<size_t>(widthPx));
    // From an empty space to a full one; a sparse one leaves whole tiles
    // free between held ones.
    const double heldShare = std::array{0.0, 0.02, 0.3, 1.0}[static_cast<size_t>(round % 4)];
    std::bernoulli_distribution isHeld(heldShare);
    for (int y = 0; y < heightPx; ++y) {
      for (int x = 0; x < widthPx; ++x) {
        row[static_cast<size_t>(x)] =
            isHeld(random)
                ? static_cast<uint8_t>(std::uniform_int_distribution<int>(1, 254)(random))
                : 0;
        plain[static_cast<size_t>(y * widthPx + x)] = row[static_cast<size_t>(x)];
        if (row[static_cast<size_t>(x)] != 0)
          space.Take({x, y, x + 1, y + 1}, row[static_cast<size_t>(x)]);
      }
    }
    ASSERT_EQ(Holds(space), plain) << "round " << round << ": the pixels taken one by one";
    for (int box = 0; box < 8; ++box) {
      const int left = std::uniform_int_distribution<int>(-3, widthPx)(random);
      const int right = left + std::uniform_int_distribution<int>(0, 40)(random);
      const int top = std::uniform_int_distribution<int>(-3, heightPx)(random);
      const int bottom = top + std::uniform_int_distribution<int>(0, 20)(random);
      const auto hold = static_cast<uint8_t>(std::uniform_int_distribution<int>(1, 255)(random));
      const PixelBox taken{left, top, right, bottom};
      bool free = left >= 0 && top >= 0 && right <= widthPx && bottom <= heightPx && left < right &&
                  top < bottom;
      for (int y = std::max(0, top); y < std::min(heightPx, bottom); ++y) {
        for (int x = std::max(0, left); x < std::min(widthPx, right); ++x) {
          if (plain[static_cast<size_t>(y * widthPx + x)] >= hold) free = false;
        }
      }
      ASSERT_EQ(space.Free(taken, hold), free)
          << "round " << round << ": " << left << "," << top << " to " << right << "," << bottom
          << " at " << int{hold} << " in " << widthPx << " x " << heightPx;
      if (std::uniform_int_distribution<int>(0, 1)(random) == 0) continue;
      space.Take(taken, hold);
      for (int y = std::max(0, top); y < std::min(heightPx, bottom); ++y) {
        for (int x = std::max(0, left); x < std::min(widthPx, right); ++x) {
          uint8_t& held = plain[static_cast<size_t>(y * widthPx + x)];
          held = std::max(held, hold);
        }
      }
      ASSERT_EQ(Holds(space), plain) << "round " << round << ": " << left << "," << top << " to "
                                     << right << "," << bottom << " at " << int{hold};
    }
  }
}

}  // namespace
}  // namespace navmap
