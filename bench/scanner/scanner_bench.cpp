// The scanner against plain baselines: the 'J' stream decoder against zlib's
// inflate of the same bytes, a scan of the real-world scenery tree into an
// empty database against loading, re-indexing and saving its result, and a
// scan into a database loaded out of list order against the same scan into
// one in list order; and the import's reading of a file of one 20 MB line
// against zlib's reading of the same bytes. A scan decodes on two threads,
// so its CPU time is the whole process's.
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "navdb/database.h"
#include "scanner/jstream.h"
#include "scanner/scan_driver.h"
#include "tests/support/temp_folder.h"
#include "tools/navdata_database.h"
#include "tools/scenery_writer/navdata_scenery.h"
#include "xplane/navdata_reader.h"
#include "xplane/row_reader.h"

namespace {

namespace fs = std::filesystem;

const xplane::NavData& RealNavData() {
  static const xplane::NavData data = [] {
    xplane::NavData read;
    const platform::Status built =
        xplane::ReadNavDataFolder(navdata_tools::RealNavDataFolder(), read);
    if (!built) std::fprintf(stderr, "scanner_bench: %s\n", built.error().message.c_str());
    return read;
  }();
  return data;
}

// The scenery images of the real world, one after another: what packed
// files hold once unpacked.
const std::vector<uint8_t>& SceneryBytes() {
  static const std::vector<uint8_t> bytes = [] {
    std::vector<uint8_t> all;
    for (const auto& [corner, tile] : scenery_writer::TilesOfNavData(RealNavData())) {
      for (const scenery_writer::BglScenery* part : {&tile.navaids, &tile.airports}) {
        const std::vector<uint8_t> image = scenery_writer::WriteBglImage(*part);
        all.insert(all.end(), image.begin(), image.end());
      }
    }
    return all;
  }();
  return bytes;
}

void DecodeJStream(benchmark::State& state) {
  const std::vector<uint8_t>& bytes = SceneryBytes();
  const std::vector<uint8_t> stream = scenery_writer::EncodeJStream(bytes);
  std::vector<uint8_t> out(bytes.size());
  for (auto _ : state) {
    const long written = scanner::DecodeJStream(stream, out);
    if (written != static_cast<long>(bytes.size())) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(DecodeJStream)->Unit(benchmark::kMillisecond);

void ZlibInflate_Baseline(benchmark::State& state) {
  const std::vector<uint8_t>& bytes = SceneryBytes();
  uLongf packedSize = compressBound(bytes.size());
  std::vector<uint8_t> packed(packedSize);
  compress2(packed.data(), &packedSize, bytes.data(), bytes.size(), 6);
  std::vector<uint8_t> out(bytes.size());
  for (auto _ : state) {
    uLongf outSize = out.size();
    if (uncompress(out.data(), &outSize, packed.data(), packedSize) != Z_OK) {
      state.SkipWithError("inflate failed");
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(ZlibInflate_Baseline)->Unit(benchmark::kMillisecond);

struct SceneryFolders {
  fs::path scenery;
  fs::path navData;
};

// The real-world tree, and the database a scan of it gives.
const SceneryFolders& Folders() {
  static const SceneryFolders folders = [] {
    static const testing_support::TempFolder base;
    SceneryFolders made{base / "Scenery", base / "NavData"};
    scenery_writer::SceneryTreeCounts counts;
    if (const platform::Status written =
            scenery_writer::WriteSceneryTree(RealNavData(), made.scenery, counts);
        !written) {
      std::fprintf(stderr, "scanner_bench: %s\n", written.error().message.c_str());
    }
    fs::create_directories(made.navData);
    return made;
  }();
  return folders;
}

void ScanRealWorldTree(benchmark::State& state) {
  const SceneryFolders& folders = Folders();
  for (auto _ : state) {
    navdb::Database db;
    db.folder = folders.navData;
    const scanner::ScanReporter ui;
    scanner::ScanSession session{db, ui};
    session.minRunwayLengthFt = 0;
    scanner::ScanSceneryThread(session, folders.scenery);
    benchmark::DoNotOptimize(db.index.primary.Count());
  }
}
BENCHMARK(ScanRealWorldTree)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// What `skat-cli index` does with the scanned database.
void IndexCommand_Baseline(benchmark::State& state) {
  const SceneryFolders& folders = Folders();
  for (auto _ : state) {
    navdb::Database db;
    db.folder = folders.navData;
    navdb::LoadDatabase(db, {});
    navdb::RebuildIndex(db.lists, db.index, {});
    navdb::SaveDatabase(db, {});
    benchmark::DoNotOptimize(db.index.primary.Count());
  }
}
BENCHMARK(IndexCommand_Baseline)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// A world database with every other line the scan finds, once in list order
// and once shuffled: a scan of the world tree into it finds half its lines
// present and inserts the other half.
struct HalfWorldDatabases {
  fs::path sorted;
  fs::path shuffled;
};

const HalfWorldDatabases& HalfWorld() {
  static const HalfWorldDatabases made = [] {
    const SceneryFolders& folders = Folders();
    static const testing_support::TempFolder base;
    HalfWorldDatabases paths{base / "sorted", base / "shuffled"};
    navdb::Database world;
    world.folder = base / "world";
    fs::create_directories(world.folder);
    const scanner::ScanReporter ui;
    scanner::ScanSession session{world, ui};
    session.minRunwayLengthFt = 0;
    scanner::ScanSceneryThread(session, folders.scenery);
    std::mt19937 random(15);
    for (const fs::path& folder : {paths.sorted, paths.shuffled}) {
      navdb::Database half;
      half.folder = folder;
      fs::create_directories(folder);
      for (navdb::NavaidKind kind :
           {navdb::NavaidKind::Ndb, navdb::NavaidKind::Vor, navdb::NavaidKind::Airport}) {
        std::vector<std::string> lines;
        world.List(kind).ForEach([&](size_t row, std::string_view line) {
          if (row % 2 == 0) lines.emplace_back(line);
        });
        if (folder == paths.shuffled) std::shuffle(lines.begin(), lines.end(), random);
        for (const std::string& line : lines) half.List(kind).AppendLine(line);
      }
      navdb::RebuildIndex(half.lists, half.index, {});
      navdb::SaveDatabase(half, {});
    }
    return paths;
  }();
  return made;
}

void ScanIntoHalfWorld(benchmark::State& state, const fs::path& from) {
  const SceneryFolders& folders = Folders();
  const testing_support::TempFolder out;
  for (auto _ : state) {
    state.PauseTiming();
    navdb::Database db;
    db.folder = from;
    navdb::LoadDatabase(db, {});
    db.folder = out.path();
    state.ResumeTiming();
    const scanner::ScanReporter ui;
    scanner::ScanSession session{db, ui};
    session.minRunwayLengthFt = 0;
    scanner::ScanSceneryThread(session, folders.scenery);
    benchmark::DoNotOptimize(db.index.primary.Count());
  }
}

void ScanIntoSortedHalfWorld_Baseline(benchmark::State& state) {
  ScanIntoHalfWorld(state, HalfWorld().sorted);
}
BENCHMARK(ScanIntoSortedHalfWorld_Baseline)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void ScanIntoShuffledHalfWorld(benchmark::State& state) {
  ScanIntoHalfWorld(state, HalfWorld().shuffled);
}
BENCHMARK(ScanIntoShuffledHalfWorld)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// A nav.dat of one 20 MB line between two rows, as a file of the import.
const fs::path& LongLineFile() {
  static const fs::path path = [] {
    static const testing_support::TempFolder base;
    const fs::path made = base / "nav.dat";
    base.Write("nav.dat", "I\n810 Version\n2 " + std::string(20 << 20, '9') + "\n99\n");
    return made;
  }();
  return path;
}

// The import's reading of that file: linear in its bytes, the line cut to
// what a row can be.
void ReadOneLongLine(benchmark::State& state) {
  for (auto _ : state) {
    size_t lines = 0;
    const platform::Status problem = xplane::ForEachLine(
        LongLineFile(), [&](std::string_view line, bool) { lines += line.size() > 0; });
    if (!problem || lines != 4) state.SkipWithError("read failed");
  }
}
BENCHMARK(ReadOneLongLine)->Unit(benchmark::kMillisecond);

// zlib's reading of the same file into a buffer and nothing more.
void GzreadTheSameFile_Baseline(benchmark::State& state) {
  std::vector<char> buffer(1 << 16);
  for (auto _ : state) {
    gzFile file = gzopen(LongLineFile().c_str(), "rb");
    size_t total = 0;
    for (int got; (got = gzread(file, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0;) {
      total += static_cast<size_t>(got);
      benchmark::DoNotOptimize(buffer.data());
    }
    gzclose(file);
    if (total < (20u << 20)) state.SkipWithError("read failed");
  }
}
BENCHMARK(GzreadTheSameFile_Baseline)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return bench_support::RunWithRatios(
      argc, argv,
      {{"DecodeJStream", "ZlibInflate_Baseline", 1.0},
       {"ScanRealWorldTree", "IndexCommand_Baseline", 2.0},
       {"ScanIntoShuffledHalfWorld", "ScanIntoSortedHalfWorld_Baseline", 3.0},
       {"ReadOneLongLine", "GzreadTheSameFile_Baseline", 2.0}});
}
