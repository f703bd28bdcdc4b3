// A full redraw of the MAP mode at range 40 over a dense area (50 navaids of
// each kind, a 30-point route, a full trail) on a 256 x 256 display, against
// a redraw that only clears and presents.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "drawing/bitmaps.h"
#include "module/redraw.h"
#include "tests/support/database_writer.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr double kLatDeg = 48.7;
constexpr double kLonDeg = 2.4;
constexpr int kSizePx = 256;

std::vector<gauge_test::TestNavaid> DenseArea() {
  std::vector<gauge_test::TestNavaid> navaids;
  for (int index = 0; index < 50; ++index) {
    const double northDeg = ((index * 37) % 50 - 25) * 0.012;
    const double eastDeg = ((index * 23) % 50 - 25) * 0.016;
    const std::string number = std::to_string(index);
    navaids.push_back({'N', "N" + number, kLatDeg + northDeg, kLonDeg + eastDeg});
    navaids.push_back(
        {'V', "V" + number, kLatDeg - northDeg, kLonDeg + eastDeg, index % 3 == 0 ? "DME" : "VOR"});
    navaids.push_back({'A', "A" + number, kLatDeg + northDeg, kLonDeg - eastDeg, "", index * 7,
                       6000 + index * 100});
    navaids.push_back({'I', "I" + number, kLatDeg - northDeg, kLonDeg - eastDeg});
  }
  navaids.push_back({'I', "WEST", 10.0, -100.0});
  navaids.push_back({'I', "EAST", 10.0, 100.0});
  return navaids;
}

// The display state of the benchmark, drawn into real surfaces.
struct DenseDisplay {
  testing_support::TempFolder folder;
  std::unique_ptr<lumaro::GaugeState> gauge = std::make_unique<lumaro::GaugeState>();
  std::vector<uint8_t> pixels = std::vector<uint8_t>(kSizePx * kSizePx);
  std::vector<uint8_t> secondPixels = std::vector<uint8_t>(kSizePx * kSizePx);
  PanelImage second{1, kSizePx, kSizePx, kSizePx, nullptr, kSizePx* kSizePx, nullptr};
  PanelImage image{1, kSizePx, kSizePx, kSizePx, &second, kSizePx* kSizePx, nullptr};

  DenseDisplay() {
    lumaro::GaugeState& state = *gauge;
    lumaro::ResetHostVariables(state.variables);
    state.variables[lumaro::HostVariable::Latitude].currentValue.number =
        kLatDeg / lumaro::kLatitudeScale;
    state.variables[lumaro::HostVariable::Longitude].currentValue.number =
        kLonDeg / lumaro::kLongitudeScale;
    state.variables[lumaro::HostVariable::Heading].currentValue.number = 33;
    state.variables[lumaro::HostVariable::MapHeading].currentValue.number = 33;
    state.modes = {1, 1, 0x1F, 40};
    state.geometry = lumaro::ComputeCompassGeometry(1, kSizePx, kSizePx);
    gauge_test::WriteDatabase(folder.path(), gauge_test::BuildDatabase(DenseArea()));
    lumaro::OpenNavDatabase(state.database, folder.path().string());
    FillLists(state);
    FillRouteAndTrail(state);
    second.pixels = secondPixels.data();
    image.pixels = pixels.data();
    lumaro::SurfaceSetup setup;
    setup.elementBImage = &image;
    setup.haveModuleHandle = true;
    setup.backgroundBitmap = lumaro::kBackgroundBitmap;
    setup.folder = folder.path().string();
    setup.messageBox = [](const std::string&, const std::string&, uint32_t) {};
    state.surfaces.Create(setup);
  }
  // The display closes its files before the folder goes.
  ~DenseDisplay() { gauge.reset(); }

  static void FillLists(lumaro::GaugeState& state) {
    lumaro::LoaderInputs inputs;
    inputs.rawLatitude = state.variables[lumaro::HostVariable::Latitude].currentValue.number;
    inputs.rawLongitude = state.variables[lumaro::HostVariable::Longitude].currentValue.number;
    inputs.rangeNm = 40;
    lumaro::SearchNavaids(state.database, state.window, inputs);
    lumaro::SearchResult result = lumaro::SearchNavaids(state.database, state.window, inputs);
    state.shared.lists = result.lists;
    state.shared.nmPerDegreeLongitude = result.nmPerDegreeLongitude;
  }

  static void FillRouteAndTrail(lumaro::GaugeState& state) {
    for (int index = 0; index < 30; ++index) {
      lumaro::DisplayRecord& point = state.route.points[static_cast<size_t>(index)];
      point.latitudeDeg = static_cast<float>(kLatDeg - 0.3 + index * 0.02);
      point.longitudeDeg = static_cast<float>(kLonDeg + ((index % 5) - 2) * 0.05);
      point.kind =
          index == 3 ? LUMARO_KIND_TOP_OF_CLIMB : (index == 25 ? LUMARO_KIND_TOP_OF_DESCENT : 0);
      std::snprintf(point.label, sizeof(point.label), "WP%02d", index);
      point.row = -1;
      point.shown = 1;
    }
    for (int entry = lumaro::PositionTrail::kEntries - 1; entry >= 0; --entry) {
      state.shared.trail.Add(static_cast<float>(kLatDeg - entry * 0.003),
                             static_cast<float>(kLonDeg - entry * 0.001));
    }
  }
};

DenseDisplay& Display() {
  static DenseDisplay display;
  return display;
}

void BM_FullMapRedraw(benchmark::State& state) {
  lumaro::GaugeState& gauge = *Display().gauge;
  if (gauge.surfaces.Failed() || gauge.database.statusCode != 0) {
    state.SkipWithError("the display could not be set up");
    return;
  }
  for (auto _ : state) {
    lumaro::Redraw(gauge);
    benchmark::DoNotOptimize(Display().pixels.data());
  }
}

void BM_ClearAndPresent(benchmark::State& state) {
  lumaro::GaugeState& gauge = *Display().gauge;
  for (auto _ : state) {
    gauge.surfaces.Clear();
    gauge.surfaces.Present();
    benchmark::DoNotOptimize(Display().pixels.data());
  }
}

}  // namespace

BENCHMARK(BM_ClearAndPresent)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullMapRedraw)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  return bench_support::RunWithRatios(argc, argv,
                                      {{"BM_FullMapRedraw", "BM_ClearAndPresent", 10.0}});
}
