// A display state ready to draw: host values, modes, geometry, a database
// written into a fresh simulator folder and the lists its loader finds.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "drawing/bitmaps.h"
#include "drawing/recording_target.h"
#include "module/redraw.h"
#include "test_environment.h"
#include "tests/support/database_writer.h"

namespace gauge_test {

inline constexpr double kHomeLatDeg = 48.7;
inline constexpr double kHomeLonDeg = 2.4;

class RedrawFixture : public ::testing::Test {
 protected:
  RedrawFixture() {
    lumaro::ResetHostVariables(gauge_.variables);
    gauge_.database.statusCode = 0;
    colours_ = *lumaro::ReadSwatch(lumaro::kBackgroundBitmap, 1);
    SetDisplay(1, 256, 256);
    PlaceAircraft(kHomeLatDeg, kHomeLonDeg);
    gauge_.shared.nmPerDegreeLongitude = lumaro::NmPerDegreeLongitude(kHomeLatDeg);
  }

  void SetDisplay(int ndMode, int widthPx, int heightPx) {
    gauge_.modes.ndMode = ndMode;
    gauge_.geometry = lumaro::ComputeCompassGeometry(ndMode, widthPx, heightPx);
    widthPx_ = widthPx;
    heightPx_ = heightPx;
  }

  void PlaceAircraft(double latitudeDeg, double longitudeDeg) {
    Set(lumaro::HostVariable::Latitude, latitudeDeg / lumaro::kLatitudeScale);
    Set(lumaro::HostVariable::Longitude,
        (longitudeDeg < 0 ? longitudeDeg + 360 : longitudeDeg) / lumaro::kLongitudeScale);
  }

  void Set(lumaro::HostVariable index, double value) {
    gauge_.variables[index].currentValue.number = value;
  }
  void SetWord(lumaro::HostVariable index, int32_t value) {
    gauge_.variables[index].currentValue.integer = value;
  }
  void SetText(lumaro::HostVariable index, const char* text) {
    gauge_.variables[index].currentValue.text = text;
  }

  // Writes and opens the database, and fills the display lists as a loader
  // run at the aircraft's position would.
  // Far-away intersections (drawn only with their item bit) bound the index.
  void LoadNavaids(std::vector<TestNavaid> navaids) {
    navaids.push_back({'I', "WEST", 10.0, -100.0});
    navaids.push_back({'I', "EAST", 10.0, 100.0});
    WriteDatabase(folder_.path(), BuildDatabase(navaids));
    ASSERT_EQ(lumaro::OpenNavDatabase(gauge_.database, folder_.path().string()), 0);
    lumaro::LoaderInputs inputs;
    inputs.rawLatitude = gauge_.variables[lumaro::HostVariable::Latitude].currentValue.number;
    inputs.rawLongitude = gauge_.variables[lumaro::HostVariable::Longitude].currentValue.number;
    inputs.rangeNm = gauge_.modes.rangeNm;
    inputs.nav1Ident = lumaro::VariableText(gauge_.variables[lumaro::HostVariable::Nav1Ident]);
    lumaro::SearchWindow window;
    lumaro::SearchResult result = lumaro::SearchNavaids(gauge_.database, window, inputs);
    result = lumaro::SearchNavaids(gauge_.database, window, inputs);
    gauge_.shared.lists = result.lists;
    gauge_.shared.nmPerDegreeLongitude = result.nmPerDegreeLongitude;
  }

  lumaro::DisplayFrame Frame(lumaro::DrawTarget& target) {
    return lumaro::MakeDisplayFrame(gauge_, target, widthPx_, heightPx_, colours_);
  }

  lumaro::RecordingTarget Draw() {
    lumaro::RecordingTarget target;
    lumaro::DrawDisplay(gauge_, Frame(target));
    return target;
  }

  lumaro::Rgb Colour(int index) const { return colours_.colours[static_cast<size_t>(index)]; }
  lumaro::ScreenPoint Centre() const {
    return {gauge_.geometry.centreXPx, gauge_.geometry.centreYPx};
  }

  SimulatorFolder folder_;
  lumaro::GaugeState gauge_;
  lumaro::DisplayColours colours_;
  int widthPx_ = 256;
  int heightPx_ = 256;
};

inline double DistancePx(lumaro::ScreenPoint a, lumaro::ScreenPoint b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

}  // namespace gauge_test
