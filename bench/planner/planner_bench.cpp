// The leg computation of a long plan on the real-world database against
// the coordinate text work of the same positions: formatting and parsing
// each row's latitude and longitude, as a plan file's rows hold them.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "navdb/coordinates.h"
#include "navdb/database.h"
#include "planner/flight_plan.h"
#include "planner/leg_computation.h"
#include "planner/plan_rows.h"
#include "platform/text_columns.h"
#include "tools/navdata_database.h"

namespace {

using navdb::NavaidKind;

constexpr size_t kVias = 100;

const navdb::Database& WorldDatabase() {
  static const navdb::Database db = [] {
    navdb::Database read;
    const platform::Status built = navdata_tools::BuildRealWorldDatabase(read);
    if (!built) std::fprintf(stderr, "planner_bench: %s\n", built.error().message.c_str());
    return read;
  }();
  return db;
}

struct Position {
  double latitudeDeg, longitudeDeg;
};

// London to Istanbul by 100 VORs of the band between them, west to east,
// with the runway turns, a climb and a descent.
struct LongPlan {
  planner::PlannerState state;
  std::vector<Position> positions;
};

LongPlan MakeLongPlan() {
  const navdb::Database& db = WorldDatabase();
  const navdb::EntryList& vors = db.List(NavaidKind::Vor);
  struct Vor {
    size_t row;
    Position position;
  };
  std::vector<Vor> band;
  for (size_t row = 0; row < vors.Count(); ++row) {
    const std::string_view line = vors.GetLine(row);
    const Position position{navdb::ParseLatitude(platform::Columns(line, 63, 12)),
                            navdb::ParseLongitude(platform::Columns(line, 77, 13))};
    if (platform::Columns(line, 33, 3) != "VOR") continue;
    if (position.latitudeDeg < 41 || position.latitudeDeg > 51.5) continue;
    if (position.longitudeDeg < 0 || position.longitudeDeg > 28.5) continue;
    band.push_back({row, position});
  }
  std::sort(band.begin(), band.end(), [](const Vor& a, const Vor& b) {
    return a.position.longitudeDeg < b.position.longitudeDeg;
  });
  LongPlan plan;
  planner::PlannerState& state = plan.state;
  planner::AircraftPerformance& p = state.plan.performance;
  p.climbRateFpm = 2500;
  p.climbSpeedKt = 280;
  p.descentRateFpm = 2000;
  p.descentSpeedKt = 290;
  p.cruiseAltitudeFt = 35000;
  p.cruiseSpeed = "0.78";
  planner::OpenPlanDialog(state, planner::PlanOpenMode::New);
  const navdb::EntryList& airports = db.List(NavaidKind::Airport);
  planner::PlaceWaypoint(state, db, -1, {NavaidKind::Airport, *airports.FindPrefix("EGLL")});
  planner::PlaceWaypoint(state, db, -1, {NavaidKind::Airport, *airports.FindPrefix("LTBA")});
  const size_t step = std::max<size_t>(1, band.size() / kVias);
  for (size_t i = 0; i < band.size() && i / step < kVias; i += step) {
    planner::InsertBeforeArrival(state, db, {NavaidKind::Vor, band[i].row});
    plan.positions.push_back(band[i].position);
  }
  planner::ComputeLegs(state, airports);
  return plan;
}

LongPlan& Plan() {
  static LongPlan plan = MakeLongPlan();
  return plan;
}

void ComputeLegsOfLongPlan(benchmark::State& state) {
  LongPlan& plan = Plan();
  const navdb::EntryList& airports = WorldDatabase().List(NavaidKind::Airport);
  for (auto _ : state) {
    planner::ComputeLegs(plan.state, airports);
    benchmark::DoNotOptimize(plan.state.dialog.rows.data());
  }
  state.counters["rows"] = static_cast<double>(plan.state.dialog.rows.size());
}
BENCHMARK(ComputeLegsOfLongPlan)->Unit(benchmark::kMicrosecond);

void CoordinateTexts_Baseline(benchmark::State& state) {
  const std::vector<Position>& positions = Plan().positions;
  for (auto _ : state) {
    double sum = 0;
    for (const Position& position : positions) {
      const std::string latitude = navdb::FormatLatitude(position.latitudeDeg);
      const std::string longitude = navdb::FormatLongitude(position.longitudeDeg);
      sum += navdb::ParseLatitude(latitude) + navdb::ParseLongitude(longitude);
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(CoordinateTexts_Baseline)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return bench_support::RunWithRatios(
      argc, argv, {{"ComputeLegsOfLongPlan", "CoordinateTexts_Baseline", 20.0}});
}
