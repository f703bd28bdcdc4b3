#include "map/layer_cache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "map/coastline_data.h"
#include "map/map_drawing.h"
#include "tests/map/map_fixture.h"

namespace navmap {
namespace {

using navdb::NavaidKind;
using navmap_testing::Surface;

Surface MakeImage(cairo_format_t format, int widthPx, int heightPx) {
  Surface surface;
  surface.image.reset(cairo_image_surface_create(format, widthPx, heightPx));
  return surface;
}

// Every byte of the picture, row by row (without the rows' padding).
std::vector<uint8_t> Bytes(const Surface& surface) {
  cairo_surface_flush(surface.get());
  const int width = cairo_image_surface_get_width(surface.get());
  const int height = cairo_image_surface_get_height(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  const uint8_t* data = cairo_image_surface_get_data(surface.get());
  std::vector<uint8_t> bytes;
  for (int y = 0; y < height; ++y) {
    bytes.insert(bytes.end(), data + y * stride, data + y * stride + width * 4);
  }
  return bytes;
}

// What a drawing tells its caller, as one comparable text.
std::string Described(const DrawnMap& drawn) {
  std::string text;
  for (const DrawnSymbol& symbol : drawn.symbols) {
    text += std::to_string(static_cast<int>(symbol.entry.kind)) + ":" +
            std::to_string(symbol.entry.row) + "@" + std::to_string(symbol.at.x) + "," +
            std::to_string(symbol.at.y) + "/" + std::to_string(symbol.reachPx) + "/" +
            std::to_string(symbol.priority) + " ";
  }
  for (const DrawnLabel& label : drawn.labels) {
    text += label.text + "[" + std::to_string(label.box.left) + "," +
            std::to_string(label.box.top) + "," + std::to_string(label.box.right) + "," +
            std::to_string(label.box.bottom) + "]" + std::to_string(label.priority) + " ";
  }
  return text;
}

struct Picture {
  std::vector<uint8_t> bytes;
  std::string described;
};

class LayerCacheTest : public testing::Test {
 protected:
  LayerCacheTest() : db_(navmap_testing::SmallDatabase()), index_(db_) {
    route_.points = {{48.9694, 2.4414, "LFPB", RoutePointKind::Airport, false},
                     {49.03, 2.30, "TOC", RoutePointKind::TopOfClimb, true},
                     {49.0965, 2.0359, "PON", RoutePointKind::Vor, false}};
  }

  EntryRef Ref(NavaidKind kind, const char* id) const {
    return {kind, static_cast<uint32_t>(*db_.List(kind).FindPrefix(id))};
  }

  Picture Draw(const MapView& view, std::optional<EntryRef> highlight, LayerCache* cache,
               cairo_format_t format = CAIRO_FORMAT_RGB24, bool withEntries = true) {
    const Surface surface = MakeImage(format, view.widthPx, view.heightPx);
    // A surface that held another picture before: a restored layer must
    // cover every pixel of it.
    std::memset(cairo_image_surface_get_data(surface.get()), 0x5A,
                static_cast<size_t>(cairo_image_surface_get_stride(surface.get())) *
                    static_cast<size_t>(view.heightPx));
    cairo_surface_mark_dirty(surface.get());
    MapScene scene{withEntries ? &db_ : nullptr,
                   withEntries ? &index_ : nullptr,
                   &BuiltInCoastlines(),
                   &route_,
                   highlight,
                   cache};
    const DrawnMap drawn = DrawMap(scene, view, surface.get());
    return {Bytes(surface), Described(drawn)};
  }

  static void ExpectSame(const Picture& actual, const Picture& expected) {
    ASSERT_EQ(actual.bytes.size(), expected.bytes.size());
    size_t differing = 0;
    for (size_t i = 0; i < actual.bytes.size(); ++i)
      differing += actual.bytes[i] != expected.bytes[i];
    EXPECT_EQ(differing, 0u) << "bytes differ";
    EXPECT_EQ(actual.described, expected.described);
  }

  navdb::Database db_;
  SpatialIndex index_;
  MapRoute route_;
};

TEST_F(LayerCacheTest, ARedrawFromTheCacheIsTheSamePictureToTheByte) {
  const MapView view = ViewOfRange(48.95, 2.25, 20, 640, 480);
  const EntryRef pon = Ref(NavaidKind::Vor, "PON");
  const EntryRef ol = Ref(NavaidKind::Ndb, "OL");
  const Picture plainPon = Draw(view, pon, nullptr);
  const Picture plainOl = Draw(view, ol, nullptr);
  const Picture plainNone = Draw(view, std::nullopt, nullptr);
  ASSERT_NE(plainPon.bytes, plainOl.bytes);
  ASSERT_NE(plainPon.described, plainOl.described);

  LayerCache cache;
  // The first drawing of a view only notes it; the second keeps its layers.
  ExpectSame(Draw(view, pon, &cache), plainPon);
  EXPECT_EQ(cache.HeldBytes(), 0u);
  ExpectSame(Draw(view, ol, &cache), plainOl);
  const size_t held = cache.HeldBytes();
  EXPECT_GT(held, 0u);
  // Far less than the picture: runs, not pixels.
  EXPECT_LT(held, plainPon.bytes.size() / 4);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ExpectSame(Draw(view, pon, &cache), plainPon);
    ExpectSame(Draw(view, std::nullopt, &cache), plainNone);
    ExpectSame(Draw(view, ol, &cache), plainOl);
  }
  EXPECT_EQ(cache.HeldBytes(), held);
}

TEST_F(LayerCacheTest, AnythingElseIsDrawnAfreshAndTakenInOnlyWhenItComesTwice) {
  const MapView view = ViewOfRange(48.95, 2.25, 20, 640, 480);
  MapView panned = view;
  panned.centreLonDeg += 0.001;
  MapView zoomed = view;
  zoomed.pxPerNm *= 1.0001;
  MapView wider = view;
  wider.widthPx += 1;
  LayerCache cache;
  Draw(view, std::nullopt, &cache);
  Draw(view, std::nullopt, &cache);
  ASSERT_GT(cache.HeldBytes(), 0u);
  struct Case {
    const char* name;
    MapView view;
    cairo_format_t format;
    bool withEntries;
  };
  const Case cases[] = {
      {"panned", panned, CAIRO_FORMAT_RGB24, true},
      {"zoomed", zoomed, CAIRO_FORMAT_RGB24, true},
      {"one pixel wider", wider, CAIRO_FORMAT_RGB24, true},
      {"with an alpha channel", view, CAIRO_FORMAT_ARGB32, true},
      {"without the database", view, CAIRO_FORMAT_RGB24, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Picture plain = Draw(c.view, std::nullopt, nullptr, c.format, c.withEntries);
    // Each time from the cached view: a miss that drops what it held.
    Draw(view, std::nullopt, &cache);
    Draw(view, std::nullopt, &cache);
    ASSERT_GT(cache.HeldBytes(), 0u);
    ExpectSame(Draw(c.view, std::nullopt, &cache, c.format, c.withEntries), plain);
    EXPECT_EQ(cache.HeldBytes(), 0u);
    ExpectSame(Draw(c.view, std::nullopt, &cache, c.format, c.withEntries), plain);
    EXPECT_GT(cache.HeldBytes(), 0u);
    ExpectSame(Draw(c.view, std::nullopt, &cache, c.format, c.withEntries), plain);
  }
  // Cleared (the caller draws from new lists), the view is new again.
  cache.Clear();
  EXPECT_EQ(cache.HeldBytes(), 0u);
  Draw(view, std::nullopt, &cache);
  EXPECT_EQ(cache.HeldBytes(), 0u);
}

TEST(RowRunsTest, RowsComeBackExactlyAndNoRunCrossesARowEnd) {
  // Runs about the 16-value blocks the writing copies whole: 1, 15, 16, 17,
  // 31, 32, 33 and the rest of a row of 200.
  std::vector<uint32_t> first;
  uint32_t value = 0xFF000000;
  for (const int length : {1, 15, 16, 17, 31, 32, 33}) {
    first.insert(first.end(), static_cast<size_t>(length), value++);
  }
  first.resize(200, value);
  // The next row begins with the value the first ends with.
  std::vector<uint32_t> second(200, value);
  second[199] = 7;
  RowRuns<uint32_t> runs;
  runs.AddRow(first.data(), 200);
  runs.AddRow(second.data(), 200);
  EXPECT_EQ(runs.RunCount(), 8u + 2u);
  std::vector<uint32_t> out(201, 0xABCDEF01);
  size_t next = 0;
  runs.WriteRow(out.data(), 200, next);
  EXPECT_EQ(std::vector<uint32_t>(out.begin(), out.begin() + 200), first);
  EXPECT_EQ(out[200], 0xABCDEF01u);  // nothing past the row
  runs.WriteRow(out.data(), 200, next);
  EXPECT_EQ(std::vector<uint32_t>(out.begin(), out.begin() + 200), second);
  EXPECT_EQ(next, runs.RunCount());

  RowRuns<uint8_t> holds;
  const uint8_t row[] = {0, 0, 0, 9, 255, 255, 0};
  holds.AddRow(row, 7);
  uint8_t back[7] = {};
  next = 0;
  holds.WriteRow(back, 7, next);
  EXPECT_EQ(std::memcmp(back, row, 7), 0);
  EXPECT_EQ(holds.RunCount(), 4u);
}

}  // namespace
}  // namespace navmap
