// The map's drawing on the real-world database (148,686 entries), each
// against drawing the same entries as plain one-pixel dots with Cairo in
// the same run: the whole world at 1600 x 800, and 40 NM around Paris at
// 1024 x 768. Two kinds of drawing: the first of a new view (as after a
// pan or a zoom: everything from nothing), and a redraw of the view last
// drawn with another entry highlighted (as the map window redraws on a
// selection, a hover or a route edit: the lower layers come from the
// window's layer cache). Before the runs it prints the memory the map adds
// to the loaded database: its spatial index, the coastlines read from the
// built-in file (and that file) and the label glyphs, against the heap the
// loaded database holds.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "map/coastline_data.h"
#include "map/glyph_atlas.h"
#include "map/layer_cache.h"
#include "map/map_drawing.h"
#include "navdb/database.h"
#include "tests/support/temp_folder.h"
#include "tools/navdata_database.h"

namespace {

constexpr double kParisLatDeg = 48.85;
constexpr double kParisLonDeg = 2.35;
constexpr double kParisRangeNm = 40;

// Heap bytes in use, small blocks and mapped ones.
size_t HeapBytes() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

struct Fixture {
  navdb::Database db;
  std::unique_ptr<navmap::SpatialIndex> index;
  testing_support::TempFolder folder;
};

Fixture& Shared() {
  static Fixture* fixture = [] {
    auto* f = new Fixture;
    {
      navdb::Database built;
      const platform::Status read = navdata_tools::BuildRealWorldDatabase(built);
      if (!read) {
        std::fprintf(stderr, "cannot read the real-world navdata: %s\n",
                     read.error().message.c_str());
        std::exit(1);
      }
      built.folder = f->folder.path();
      navdb::SaveDatabase(built, {});
    }
    // The database as a program holds it: loaded from its files.
    const size_t beforeLoad = HeapBytes();
    f->db.folder = f->folder.path();
    navdb::LoadDatabase(f->db, {});
    const size_t databaseBytes = HeapBytes() - beforeLoad;
    const size_t beforeMap = HeapBytes();
    f->index = std::make_unique<navmap::SpatialIndex>(f->db);
    const navmap::Coastlines& coastlines = navmap::BuiltInCoastlines();
    const navmap::GlyphAtlas& atlas = navmap::GlyphAtlas::Labels();
    const size_t mapHeapBytes = HeapBytes() - beforeMap;
    const size_t mapBytes = mapHeapBytes + navmap::kCoastlineByteCount;
    std::printf("database: %zu entries, %.1f MB of heap once loaded\n", f->index->Count(),
                databaseBytes / 1e6);
    std::printf(
        "map: spatial index %.2f MB, coastlines %.2f MB read from a built-in file of %.2f MB, "
        "label glyphs %.2f MB; %.2f MB of heap in all, %.2f MB with the file: %.0f%% of the "
        "database's\n",
        f->index->HeldBytes() / 1e6, coastlines.HeldBytes() / 1e6,
        navmap::kCoastlineByteCount / 1e6, atlas.HeldBytes() / 1e6, mapHeapBytes / 1e6,
        mapBytes / 1e6, 100.0 * static_cast<double>(mapBytes) / static_cast<double>(databaseBytes));
    return f;
  }();
  return *fixture;
}

Surface MakeSurface(const navmap::MapView& view) {
  return Surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, view.widthPx, view.heightPx),
                 cairo_surface_destroy);
}

navmap::MapScene Scene(const Fixture& f) {
  return {&f.db, f.index.get(), &navmap::BuiltInCoastlines(), nullptr, std::nullopt, nullptr};
}

// The pixels of every entry in the view, as the map's query finds them.
std::vector<navmap::ScreenXY> EntriesInView(const Fixture& f, const navmap::MapView& view) {
  const navmap::Projection projection(view);
  std::vector<navmap::ScreenXY> points;
  f.index->ForEachIn(projection.SouthDeg(), projection.NorthDeg(), projection.WestDeg(),
                     projection.EastDeg(), [&](const navmap::IndexedEntry& entry) {
                       const navmap::ScreenXY xy = projection.ToScreen(entry.latDeg, entry.lonDeg);
                       if (xy.x >= 0 && xy.y >= 0 && xy.x < view.widthPx && xy.y < view.heightPx)
                         points.push_back(xy);
                     });
  return points;
}

void DrawDots(benchmark::State& state, const navmap::MapView& view) {
  const std::vector<navmap::ScreenXY> points = EntriesInView(Shared(), view);
  const Surface surface = MakeSurface(view);
  for (auto _ : state) {
    cairo_t* cairo = cairo_create(surface.get());
    cairo_set_source_rgb(cairo, 0, 0, 0.2);
    cairo_paint(cairo);
    cairo_set_source_rgb(cairo, 1, 1, 1);
    for (const navmap::ScreenXY& point : points) {
      cairo_rectangle(cairo, static_cast<int>(point.x), static_cast<int>(point.y), 1, 1);
    }
    cairo_fill(cairo);
    cairo_destroy(cairo);
    cairo_surface_flush(surface.get());
  }
  state.counters["dots"] = static_cast<double>(points.size());
}

void DrawMap(benchmark::State& state, const navmap::MapView& view) {
  const Fixture& f = Shared();
  const Surface surface = MakeSurface(view);
  size_t symbols = 0;
  size_t labels = 0;
  for (auto _ : state) {
    const navmap::DrawnMap drawn = navmap::DrawMap(Scene(f), view, surface.get());
    symbols = drawn.symbols.size();
    labels = drawn.labels.size();
  }
  state.counters["symbols"] = static_cast<double>(symbols);
  state.counters["labels"] = static_cast<double>(labels);
}

// The same view drawn again and again through one layer cache, each time
// with the other of two entries of the view highlighted, so that the
// ring, the highlighted symbol and every label are drawn anew each time.
void RedrawSameView(benchmark::State& state, const navmap::MapView& view) {
  const Fixture& f = Shared();
  const Surface surface = MakeSurface(view);
  navmap::MapScene scene = Scene(f);
  const navmap::DrawnMap first = navmap::DrawMap(scene, view, surface.get());
  if (first.symbols.size() < 2) {
    state.SkipWithError("fewer than two entries in the view");
    return;
  }
  const navmap::EntryRef highlights[] = {first.symbols.front().entry, first.symbols.back().entry};
  navmap::LayerCache cache;
  scene.cache = &cache;
  size_t labels = 0;
  size_t drawings = 0;
  for (auto _ : state) {
    scene.highlight = highlights[drawings++ % 2];
    labels = navmap::DrawMap(scene, view, surface.get()).labels.size();
  }
  state.counters["labels"] = static_cast<double>(labels);
  state.counters["cacheMB"] = static_cast<double>(cache.HeldBytes()) / 1e6;
}

navmap::MapView WorldView() {
  return navmap::ViewOfWorld(1600, 800);
}
navmap::MapView ParisView() {
  return navmap::ViewOfRange(kParisLatDeg, kParisLonDeg, kParisRangeNm, 1024, 768);
}

void WorldDots_Baseline(benchmark::State& state) {
  DrawDots(state, WorldView());
}
void WorldFirstDraw(benchmark::State& state) {
  DrawMap(state, WorldView());
}
void WorldRedrawSameView(benchmark::State& state) {
  RedrawSameView(state, WorldView());
}
void ParisDots_Baseline(benchmark::State& state) {
  DrawDots(state, ParisView());
}
void ParisFirstDraw(benchmark::State& state) {
  DrawMap(state, ParisView());
}
void ParisRedrawSameView(benchmark::State& state) {
  RedrawSameView(state, ParisView());
}

BENCHMARK(WorldDots_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(WorldFirstDraw)->Unit(benchmark::kMillisecond);
BENCHMARK(WorldRedrawSameView)->Unit(benchmark::kMillisecond);
BENCHMARK(ParisDots_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(ParisFirstDraw)->Unit(benchmark::kMillisecond);
BENCHMARK(ParisRedrawSameView)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  Shared();
  return bench_support::RunWithRatios(argc, argv,
                                      {{"WorldFirstDraw", "WorldDots_Baseline", 3.0},
                                       {"WorldRedrawSameView", "WorldDots_Baseline", 3.0},
                                       {"ParisFirstDraw", "ParisDots_Baseline", 2.0},
                                       {"ParisRedrawSameView", "ParisDots_Baseline", 2.0}});
}
