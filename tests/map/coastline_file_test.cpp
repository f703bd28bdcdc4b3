#include "map/coastline_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "map/coastline_data.h"

namespace navmap {
namespace {

std::span<const uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// A grid of hundredths of a degree from (-180, -90).
QuantizedLevel SmallLevel() {
  QuantizedLevel level;
  level.grid = {0.01, -180, 0.01, -90};
  level.lines.push_back({CoastlineKind::Coast, {{18000, 9000}, {18100, 9050}, {17950, 9100}}});
  level.lines.push_back({CoastlineKind::Border, {{0, 0}, {36000, 18000}}});
  level.landRings.push_back({{18000, 9000}, {18200, 9000}, {18200, 9200}});
  return level;
}

std::string SmallFile() {
  const std::vector<QuantizedLevel> levels = {SmallLevel()};
  return EncodeCoastlines(levels);
}

TEST(CoastlineFileTest, ReadsBackWhatWasWrittenWithTheBoxOfEveryLineAndRing) {
  const std::string file = SmallFile();
  const platform::Result<Coastlines> read = DecodeCoastlines(Bytes(file));
  ASSERT_TRUE(read) << read.error().message;
  ASSERT_EQ(read->levels.size(), 1u);
  const CoastlineLevel& level = read->levels[0];
  ASSERT_EQ(level.lines.size(), 2u);
  ASSERT_EQ(level.landRings.size(), 1u);
  ASSERT_EQ(level.points.size(), 8u);

  const GeoRun& coast = level.lines[0];
  EXPECT_EQ(coast.kind, CoastlineKind::Coast);
  EXPECT_EQ(coast.first, 0u);
  EXPECT_EQ(coast.count, 3u);
  EXPECT_FLOAT_EQ(level.points[1].lonDeg, 1.0f);
  EXPECT_FLOAT_EQ(level.points[1].latDeg, 0.5f);
  EXPECT_FLOAT_EQ(coast.box.westDeg, -0.5f);
  EXPECT_FLOAT_EQ(coast.box.eastDeg, 1.0f);
  EXPECT_FLOAT_EQ(coast.box.southDeg, 0.0f);
  EXPECT_FLOAT_EQ(coast.box.northDeg, 1.0f);

  const GeoRun& border = level.lines[1];
  EXPECT_EQ(border.kind, CoastlineKind::Border);
  EXPECT_FLOAT_EQ(border.box.westDeg, -180.0f);
  EXPECT_FLOAT_EQ(border.box.northDeg, 90.0f);

  const GeoRun& ring = level.landRings[0];
  EXPECT_EQ(ring.first, 5u);
  EXPECT_EQ(ring.count, 3u);
  EXPECT_FLOAT_EQ(ring.box.eastDeg, 2.0f);
  EXPECT_FLOAT_EQ(ring.box.northDeg, 2.0f);
}

// Bytes of the small file with `count` bytes at `at` replaced.
std::string Patched(size_t at, const std::string& bytes) {
  std::string file = SmallFile();
  file.replace(at, bytes.size(), bytes);
  return file;
}

TEST(CoastlineFileTest, RefusesBrokenFilesWithWhatAndWhere) {
  // The small file: 8 magic bytes, the level count (1 byte) at 8, the grid
  // at 9..40, the line count at 41, the first line's kind at 42 and its
  // point count at 43.
  struct Case {
    const char* name;
    std::string bytes;
    std::string error;
  };
  const Case cases[] = {
      {"empty", "", "not a coastline file (no SKMAPCL1 mark) at byte 0"},
      {"another file", "GIF89a..........", "not a coastline file (no SKMAPCL1 mark) at byte 0"},
      {"no levels", std::string(kCoastlineMagic) + '\x00',
       "the level count is not 1 to 4 at byte 9"},
      {"five levels", std::string(kCoastlineMagic) + '\x05',
       "the level count is not 1 to 4 at byte 9"},
      {"a number of six bytes", std::string(kCoastlineMagic) + "\x80\x80\x80\x80\x80\x01",
       "a number runs over five bytes at byte 13"},
      {"a number beyond 32 bits", std::string(kCoastlineMagic) + "\xff\xff\xff\xff\x7f",
       "a number is too large at byte 13"},
      {"a line count beyond the file", Patched(41, "\xff\x01"),
       "the line count is more than the file holds at byte 43"},
      {"a line of one point", Patched(43, "\x01"), "a line or ring has too few points at byte 44"},
      {"a line neither coast nor border", Patched(42, "\x03"),
       "a line is neither coast nor border at byte 43"},
      {"a point off the globe", Patched(44, "\xfe\xff\x7f"),
       "a point lies off the globe at byte 50"},
      {"bytes after the last level", SmallFile() + "x", "bytes follow the last level at byte 80"},
      {"a step of not a number", Patched(9, std::string("\x00\x00\x00\x00\x00\x00\xf8\x7f", 8)),
       "the grid's steps or origins are not usable at byte 41"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const platform::Result<Coastlines> read = DecodeCoastlines(Bytes(c.bytes));
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().message, c.error);
  }
}

TEST(CoastlineFileTest, EveryCutShortFileIsRefusedAndNoneIsReadPastItsEnd) {
  const std::string file = SmallFile();
  ASSERT_EQ(file.size(), 80u);
  for (size_t length = 0; length < file.size(); ++length) {
    SCOPED_TRACE(length);
    // A copy of exactly `length` bytes, so that a read past it is caught
    // by the sanitizers.
    const std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<ptrdiff_t>(length));
    const platform::Result<Coastlines> read = DecodeCoastlines(cut);
    ASSERT_FALSE(read);
    EXPECT_FALSE(read.error().message.empty());
  }
}

// The nearest point of a level's lines of `kind` to a place, in degrees.
double NearestLineDeg(const CoastlineLevel& level, CoastlineKind kind, double latDeg,
                      double lonDeg) {
  double nearest = 1e9;
  for (const GeoRun& run : level.lines) {
    if (run.kind != kind) continue;
    for (uint32_t i = run.first; i < run.first + run.count; ++i) {
      nearest = std::min(
          nearest, std::hypot(level.points[i].latDeg - latDeg, level.points[i].lonDeg - lonDeg));
    }
  }
  return nearest;
}

TEST(CoastlineFileTest, TheBuiltInCoastlinesHaveACoarseAndAFineLevelWithCoastsAndBorders) {
  const platform::Result<Coastlines> read = DecodeCoastlines(BuiltInCoastlineBytes());
  ASSERT_TRUE(read) << read.error().message;
  const std::vector<CoastlineLevel>& levels = read->levels;
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_LT(levels[0].points.size() * 5, levels[1].points.size());
  EXPECT_EQ(&BuiltInCoastlines(), &BuiltInCoastlines());
  EXPECT_EQ(BuiltInCoastlines().levels.size(), 2u);
  for (const CoastlineLevel& level : levels) {
    // Land's End, a coast; the Pyrenees, the border of France and Spain;
    // and no coast in the middle of the Atlantic.
    EXPECT_LT(NearestLineDeg(level, CoastlineKind::Coast, 50.07, -5.71), 0.3);
    EXPECT_LT(NearestLineDeg(level, CoastlineKind::Border, 42.7, 0.7), 0.5);
    EXPECT_GT(NearestLineDeg(level, CoastlineKind::Coast, 40, -40), 5);
    // Nothing is drawn along the meridian where the data is cut.
    for (const GeoRun& line : level.lines) {
      EXPECT_FALSE(line.box.westDeg > 179.99f && line.box.eastDeg > 179.99f &&
                   line.box.northDeg - line.box.southDeg > 0.01f);
    }
  }
}

}  // namespace
}  // namespace navmap
