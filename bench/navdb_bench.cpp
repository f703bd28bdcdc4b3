// Speed of the navaid database on a real-world database of more than
// 100,000 entries, each against a baseline measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "navdb/database.h"
#include "navdb/list_order.h"
#include "platform/file_io.h"
#include "tests/support/temp_folder.h"
#include "tools/navdata_database.h"

namespace {

using navdb::Database;

struct Fixture {
  Database db;
  testing_support::TempFolder folder;
  std::vector<std::string> fileNames;
  std::vector<std::string> indexLines;
  std::vector<std::string> entryLines;  // all entry lines, shuffled
  size_t entries = 0;
};

Fixture& Shared() {
  static Fixture* fixture = [] {
    auto* f = new Fixture;
    const platform::Status built = navdata_tools::BuildRealWorldDatabase(f->db);
    if (!built) {
      std::fprintf(stderr, "cannot read the real-world navdata: %s\n",
                   built.error().message.c_str());
      std::exit(1);
    }
    f->db.folder = f->folder.path();
    navdb::SaveDatabase(f->db, {});
    for (navdb::NavaidKind kind : navdb::kAllKinds)
      f->fileNames.emplace_back(navdb::InfoOf(kind).fileName);
    f->fileNames.emplace_back(navdb::kIndexFileName);
    for (const navdb::EntryList* list : {&f->db.index.primary, &f->db.index.following}) {
      list->ForEach([&](size_t, std::string_view line) { f->indexLines.emplace_back(line); });
    }
    for (const navdb::EntryList& list : f->db.lists) {
      f->entries += list.EntryCount();
      list.ForEach([&](size_t, std::string_view line) { f->entryLines.emplace_back(line); });
    }
    std::shuffle(f->entryLines.begin(), f->entryLines.end(), std::mt19937(42));
    std::printf("real-world database: %zu entries, %zu index lines\n", f->entries,
                f->indexLines.size());
    return f;
  }();
  return *fixture;
}

void ReadFiles_Baseline(benchmark::State& state) {
  Fixture& f = Shared();
  size_t bytes = 0;
  for (auto _ : state) {
    for (const std::string& name : f.fileNames) {
      std::string contents;
      if (!platform::ReadWholeFile(f.folder / name, contents)) state.SkipWithError("read failed");
      bytes += contents.size();
      benchmark::DoNotOptimize(contents.data());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

void LoadDatabase(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    Database db;
    db.folder = f.folder.path();
    navdb::LoadDatabase(db, {});
    benchmark::DoNotOptimize(db.index.Count());
  }
}

void WriteFiles_Baseline(benchmark::State& state) {
  Fixture& f = Shared();
  std::vector<std::string> contents;
  for (const std::string& name : f.fileNames) {
    contents.emplace_back();
    if (!platform::ReadWholeFile(f.folder / name, contents.back())) {
      state.SkipWithError("read failed");
      return;
    }
  }
  const testing_support::TempFolder out;
  for (auto _ : state) {
    for (size_t i = 0; i < contents.size(); ++i) {
      if (!platform::ReplaceFileAtomically(out / f.fileNames[i], contents[i])) {
        state.SkipWithError("write failed");
      }
    }
  }
}

void SaveDatabase(benchmark::State& state) {
  Fixture& f = Shared();
  Database db = f.db;
  const testing_support::TempFolder out;
  db.folder = out.path();
  for (auto _ : state) benchmark::DoNotOptimize(navdb::SaveDatabase(db, {}));
}

void SortIndexLines_Baseline(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> lines = f.indexLines;
    std::shuffle(lines.begin(), lines.end(), std::mt19937(1));
    state.ResumeTiming();
    std::sort(lines.begin(), lines.end(), navdb::ListOrderLess);
    benchmark::DoNotOptimize(lines.data());
  }
}

void RebuildIndex(benchmark::State& state) {
  Fixture& f = Shared();
  navdb::IndexLists index;
  for (auto _ : state) {
    navdb::RebuildIndex(f.db.lists, index, {});
    benchmark::DoNotOptimize(index.Count());
  }
}

constexpr size_t kInsertedLines = 100000;

void SortLines_Baseline(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> lines(f.entryLines.begin(), f.entryLines.begin() + kInsertedLines);
    state.ResumeTiming();
    std::sort(lines.begin(), lines.end(), navdb::ListOrderLess);
    benchmark::DoNotOptimize(lines.data());
  }
}

void AddLineOneByOne(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    navdb::EntryList list;
    for (size_t i = 0; i < kInsertedLines; ++i) list.AddLine(f.entryLines[i]);
    benchmark::DoNotOptimize(list.Count());
  }
}

// A load reads idx.dat on a second thread: CPU time is the whole process's.
BENCHMARK(ReadFiles_Baseline)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(LoadDatabase)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(WriteFiles_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(SortIndexLines_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(RebuildIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(SortLines_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(AddLineOneByOne)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return bench_support::RunWithRatios(argc, argv,
                                      {{"LoadDatabase", "ReadFiles_Baseline", 3.0},
                                       {"SaveDatabase", "WriteFiles_Baseline", 3.0},
                                       {"RebuildIndex", "SortIndexLines_Baseline", 1.5},
                                       {"AddLineOneByOne", "SortLines_Baseline", 10.0}});
}
