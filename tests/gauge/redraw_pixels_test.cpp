// Whole redraws on the real drawing surface: the pixels that reach the
// display element in both of the host's formats.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "redraw_fixture.h"

namespace lumaro {
namespace {

using gauge_test::kHomeLatDeg;
using gauge_test::kHomeLonDeg;
using gauge_test::RedrawFixture;
using gauge_test::TestNavaid;

constexpr int kSizePx = 256;

class RedrawPixelsTest : public RedrawFixture {
 protected:
  // Element B's images in the given format, and the surfaces drawing into them.
  void CreateSurfaces(uint32_t formatCode) {
    const uint32_t pitch = kSizePx * formatCode;
    pixels_.assign(static_cast<size_t>(pitch) * kSizePx, 0xAB);
    secondPixels_.assign(pixels_.size(), 0xAB);
    second_ = {formatCode,
               kSizePx,
               kSizePx,
               pitch,
               nullptr,
               static_cast<uint32_t>(secondPixels_.size()),
               secondPixels_.data()};
    image_ = {formatCode,    kSizePx,  kSizePx,
              pitch,         &second_, static_cast<uint32_t>(pixels_.size()),
              pixels_.data()};
    SurfaceSetup setup;
    setup.elementBImage = &image_;
    setup.haveModuleHandle = true;
    setup.backgroundBitmap = kBackgroundBitmap;
    setup.folder = folder_.path().string();
    setup.messageBox = [](const std::string&, const std::string&, uint32_t) {};
    ASSERT_TRUE(gauge_.surfaces.Create(setup));
    colours_ = gauge_.surfaces.Colours();
  }

  // A busy MAP picture with no red warning texts: navaids of every kind, the
  // tuned station, a route with its trail, and the radio data.
  void SetUpBusyMap() {
    gauge_.modes = {1, 1, 0x1F, 40};
    gauge_.geometry = ComputeCompassGeometry(1, kSizePx, kSizePx);
    Set(HostVariable::Heading, 33);
    Set(HostVariable::MapHeading, 33);
    SetText(HostVariable::Nav1Ident, "PGS");
    SetWord(HostVariable::Nav1Flags, 0x81);
    Set(HostVariable::AdfActive, 1);
    SetText(HostVariable::AdfIdent, "OY");
    Set(HostVariable::WindSpeed, 12);
    std::vector<TestNavaid> navaids;
    for (int index = 0; index < 8; ++index) {
      const double offsetDeg = (index - 4) * 0.07;
      navaids.push_back(
          {'N', "N" + std::to_string(index), kHomeLatDeg + offsetDeg, kHomeLonDeg - offsetDeg});
      navaids.push_back({'V', "V" + std::to_string(index), kHomeLatDeg - offsetDeg,
                         kHomeLonDeg + offsetDeg, index % 2 ? "DME" : "VOR"});
      navaids.push_back({'A', "AP" + std::to_string(index), kHomeLatDeg + offsetDeg * 0.5,
                         kHomeLonDeg + offsetDeg, "", 40 * index, 9000});
      navaids.push_back(
          {'I', "I" + std::to_string(index), kHomeLatDeg + offsetDeg, kHomeLonDeg + 0.03});
    }
    navaids.push_back({'V', "PGS", kHomeLatDeg + 0.2, kHomeLonDeg - 0.1, "VOR"});
    LoadNavaids(navaids);
    for (int index = 0; index < 5; ++index) {
      DisplayRecord& point = gauge_.route.points[static_cast<size_t>(index)];
      point.latitudeDeg = static_cast<float>(kHomeLatDeg + index * 0.1);
      point.longitudeDeg = static_cast<float>(kHomeLonDeg - index * 0.05);
      point.kind = index == 1 ? LUMARO_KIND_TOP_OF_CLIMB : 0;
      std::snprintf(point.label, sizeof(point.label), "P%d", index);
      point.shown = 1;
    }
    for (int age = 9; age >= 0; --age) {  // the newest, at the aircraft, last
      gauge_.shared.trail.Add(static_cast<float>(kHomeLatDeg - age * 0.02),
                              static_cast<float>(kHomeLonDeg + age * 0.01));
    }
  }

  uint8_t PaletteIndexAt(int x, int y) const {
    return pixels_[static_cast<size_t>(y) * kSizePx + x];
  }
  uint16_t WordAt(int x, int y) const {
    size_t at = (static_cast<size_t>(y) * kSizePx + x) * 2;
    return static_cast<uint16_t>(pixels_[at] | (pixels_[at + 1] << 8));
  }

  std::vector<uint8_t> pixels_;
  std::vector<uint8_t> secondPixels_;
  PanelImage image_{};
  PanelImage second_{};
};

TEST_F(RedrawPixelsTest, EmptyCornersKeepTheBackgroundColour) {
  CreateSurfaces(PANEL_FORMAT_PALETTE8);
  SetUpBusyMap();
  Redraw(gauge_);
  // Left of the arc, between the wind text and the radio labels.
  EXPECT_EQ(PaletteIndexAt(3, 100), colours_.backgroundValue);
  EXPECT_EQ(PaletteIndexAt(2, 140), colours_.backgroundValue);
  EXPECT_EQ(pixels_, secondPixels_);
}

TEST_F(RedrawPixelsTest, PaletteImageHoldsOnlyTheDisplayColours) {
  CreateSurfaces(PANEL_FORMAT_PALETTE8);
  SetUpBusyMap();
  Redraw(gauge_);
  std::set<uint8_t> used(pixels_.begin(), pixels_.end());
  for (uint8_t index : used) EXPECT_LE(index, 16) << "palette index " << int(index);
  // The picture is busy: many of the colours are there.
  EXPECT_GE(used.size(), 10u);
  EXPECT_TRUE(used.count(8));   // route
  EXPECT_TRUE(used.count(12));  // NDBs
  EXPECT_TRUE(used.count(15));  // runways
}

TEST_F(RedrawPixelsTest, SixteenBitImageHasEveryAlphaBitSet) {
  CreateSurfaces(PANEL_FORMAT_RGB1555);
  SetUpBusyMap();
  Redraw(gauge_);
  std::set<uint16_t> values;
  for (int y = 0; y < kSizePx; ++y) {
    for (int x = 0; x < kSizePx; ++x) {
      ASSERT_NE(WordAt(x, y) & 0x8000, 0) << x << "," << y;
      values.insert(WordAt(x, y));
    }
  }
  EXPECT_GE(values.size(), 10u);
  EXPECT_EQ(WordAt(3, 100), colours_.backgroundValue | 0x8000);
}

TEST_F(RedrawPixelsTest, RedrawFlipsTheElementValueAndRewritesTheTrail) {
  CreateSurfaces(PANEL_FORMAT_PALETTE8);
  SetUpBusyMap();
  gauge_.shared.redrawRequest = true;
  const int32_t before = gauge_.elementValue;
  Redraw(gauge_);
  EXPECT_NE(gauge_.elementValue, before);
  EXPECT_FALSE(gauge_.shared.redrawRequest.load());
  const TrailEntry& newest =
      gauge_.shared.trail.entries[static_cast<size_t>(gauge_.shared.trail.writeIndex + 1)];
  EXPECT_NEAR(newest.screenXPx, gauge_.geometry.centreXPx, 2);
  EXPECT_NEAR(newest.screenYPx, gauge_.geometry.centreYPx, 2);
}

}  // namespace
}  // namespace lumaro
