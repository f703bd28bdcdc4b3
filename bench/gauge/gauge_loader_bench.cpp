// The loader's search against a linear scan of the whole index, over a
// database of 100,000 real-world entries written in the display's file forms;
// and the reading of those five files at install against a plain read.
//   gauge_loader_bench
// Goals: a run after the aircraft moved 1 NM <= 0.05 x the linear scan; the
// first (cold-start) run <= 0.5 x the linear scan; opening the database (read
// into the module's memory and checked) <= 1.5 x reading the same five files;
// the change check made once a second (stamping the five files) <= 0.05 x
// that read.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "bench/support/ratio_reporter.h"
#include "data/loader.h"
#include "data/nav_database.h"
#include "data/nav_math.h"
#include "platform/file_bytes.h"
#include "tests/support/database_writer.h"
#include "tests/support/temp_folder.h"
#include "tools/navdata_database.h"
#include "xplane/navdata_reader.h"

namespace {

constexpr size_t kIndexEntries = 100000;
constexpr double kAircraftLatDeg = 48.85;  // over Paris: a dense part of the index
constexpr double kAircraftLonDeg = 2.35;
constexpr int kRangeNm = 40;

std::vector<gauge_test::TestNavaid> RealNavaids() {
  xplane::NavData data;
  const platform::Status built =
      xplane::ReadNavDataFolder(navdata_tools::RealNavDataFolder(), data);
  if (!built) {
    std::fprintf(stderr, "gauge_loader_bench: %s\n", built.error().message.c_str());
    std::exit(1);
  }
  std::vector<gauge_test::TestNavaid> navaids;
  auto add = [&navaids](gauge_test::TestNavaid navaid) {
    if (navaids.size() < kIndexEntries) navaids.push_back(std::move(navaid));
  };
  for (const xplane::NdbRecord& ndb : data.ndbs)
    add({'N', ndb.identifier.substr(0, 5), ndb.latitudeDeg, ndb.longitudeDeg});
  for (const xplane::StationRecord& station : data.stations) {
    std::string type = station.hasLocalizer ? "ILS" : station.dmeOnly() ? "DME" : "VOR";
    add({'V', station.identifier.substr(0, 5), station.latitudeDeg, station.longitudeDeg, type,
         static_cast<int>(station.localizerCourseDeg)});
  }
  for (const xplane::AirportRecord& airport : data.airports) {
    for (const xplane::RunwayRecord& runway : airport.runways) {
      add({'A', airport.identifier.substr(0, 5), runway.latitudeDeg, runway.longitudeDeg, "",
           static_cast<int>(runway.headingDeg) % 360, static_cast<int>(runway.lengthFt)});
    }
  }
  for (const xplane::FixRecord& fix : data.fixes)
    add({'I', fix.identifier.substr(0, 5), fix.latitudeDeg, fix.longitudeDeg});
  return navaids;
}

// The database, written once per run of the program.
struct RealDatabase {
  testing_support::TempFolder folder;
  lumaro::NavDatabase database;

  RealDatabase() {
    gauge_test::WriteDatabase(folder.path(), gauge_test::BuildDatabase(RealNavaids()));
    int status = lumaro::OpenNavDatabase(database, folder.path().string());
    if (status != 0 || database.views[lumaro::DatabaseFile::Index].RecordCount() != kIndexEntries) {
      std::fprintf(stderr, "gauge_loader_bench: database status %d\n", status);
      std::exit(1);
    }
  }
  ~RealDatabase() { lumaro::CloseNavDatabase(database); }
};

RealDatabase& Database() {
  static RealDatabase database;
  return database;
}

lumaro::LoaderInputs InputsAt(double latitudeDeg, double longitudeDeg) {
  lumaro::LoaderInputs inputs;
  inputs.rawLatitude = latitudeDeg / lumaro::kLatitudeScale;
  inputs.rawLongitude =
      (longitudeDeg < 0 ? longitudeDeg + 360 : longitudeDeg) / lumaro::kLongitudeScale;
  inputs.rangeNm = kRangeNm;
  return inputs;
}

// One nautical mile east of the aircraft's starting point.
double OneNmEastDeg() {
  return 1.0 / lumaro::NmPerDegreeLongitude(kAircraftLatDeg);
}

void BM_LoaderRunAfterMovingOneNm(benchmark::State& state) {
  const lumaro::NavDatabase& database = Database().database;
  lumaro::SearchWindow window;
  lumaro::SearchNavaids(database, window, InputsAt(kAircraftLatDeg, kAircraftLonDeg));
  bool east = false;
  for (auto _ : state) {
    east = !east;
    double longitudeDeg = kAircraftLonDeg + (east ? OneNmEastDeg() : 0.0);
    lumaro::SearchResult result =
        lumaro::SearchNavaids(database, window, InputsAt(kAircraftLatDeg, longitudeDeg));
    benchmark::DoNotOptimize(result.lists.lists[0][0].shown);
  }
}

void BM_LoaderColdStart(benchmark::State& state) {
  const lumaro::NavDatabase& database = Database().database;
  for (auto _ : state) {
    lumaro::SearchWindow window;
    lumaro::SearchResult result =
        lumaro::SearchNavaids(database, window, InputsAt(kAircraftLatDeg, kAircraftLonDeg));
    benchmark::DoNotOptimize(result.lists.lists[0][0].shown);
  }
}

// The baseline: every index record read and tested against the same reach.
void BM_LinearScanOfTheIndex(benchmark::State& state) {
  const lumaro::DatabaseView& index = Database().database.views[lumaro::DatabaseFile::Index];
  double reachNm = kRangeNm * lumaro::kReachFactor;
  double nmPerDegree = lumaro::NmPerDegreeLongitude(kAircraftLatDeg);
  for (auto _ : state) {
    size_t candidates = 0;
    for (size_t row = 0; row < index.RecordCount(); ++row) {
      std::string_view record = *index.Record(row);
      double eastNm = (lumaro::IndexLongitudeDeg(record) - kAircraftLonDeg) * nmPerDegree;
      if (std::fabs(eastNm) >= reachNm) continue;
      if (std::fabs(lumaro::IndexLatitudeDeg(record) - kAircraftLatDeg) * 60 < reachNm)
        ++candidates;
    }
    benchmark::DoNotOptimize(candidates);
  }
}

// Install: the five files read into the module's memory and checked.
void BM_OpenNavDatabase(benchmark::State& state) {
  const std::string root = Database().folder.path().string();
  for (auto _ : state) {
    lumaro::NavDatabase database;
    int status = lumaro::OpenNavDatabase(database, root);
    benchmark::DoNotOptimize(status);
  }
}

// The baseline of the open: the same five files read into fresh memory and
// held together, as at install, nothing more.
void BM_ReadTheFiveFiles(benchmark::State& state) {
  std::vector<std::string> paths;
  for (const char* name : lumaro::kDatabaseFilePaths)
    paths.push_back((Database().folder.path() / name).string());
  for (auto _ : state) {
    std::array<std::vector<uint8_t>, lumaro::kDatabaseFileCount> files;
    for (size_t file = 0; file < files.size(); ++file) {
      platform::Result<std::vector<uint8_t>, platform::ReadError> read =
          platform::ReadFileBytes(paths[file], lumaro::kMaxDatabaseFileBytes);
      if (read) files[file] = std::move(*read);
      benchmark::DoNotOptimize(files[file].data());
    }
  }
}

void BM_StampTheFiveFiles(benchmark::State& state) {
  const std::string root = Database().folder.path().string();
  for (auto _ : state) {
    lumaro::DatabaseStamps stamps = lumaro::StampDatabaseFiles(root);
    benchmark::DoNotOptimize(stamps[0].sizeBytes);
  }
}

BENCHMARK(BM_LinearScanOfTheIndex)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoaderRunAfterMovingOneNm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoaderColdStart)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadTheFiveFiles)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenNavDatabase)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StampTheFiveFiles)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  Database();
  return bench_support::RunWithRatios(
      argc, argv,
      {{"BM_LoaderRunAfterMovingOneNm", "BM_LinearScanOfTheIndex", 0.05},
       {"BM_LoaderColdStart", "BM_LinearScanOfTheIndex", 0.5},
       {"BM_OpenNavDatabase", "BM_ReadTheFiveFiles", 1.5},
       {"BM_StampTheFiveFiles", "BM_ReadTheFiveFiles", 0.05}});
}
