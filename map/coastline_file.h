// The map's coastline file: coastlines, country borders and land areas of
// the world at a few levels of detail, made at build time from Natural
// Earth's data and read by the map when it starts.
//
// Layout (little-endian; "varint" is an unsigned LEB128 number of at most
// five bytes, "zigzag" a signed number folded into one):
//   8 bytes   magic "SKMAPCL1"
//   varint    level count, 1 to kMaxCoastlineLevels, coarsest first
//   per level:
//     4 x f64   longitude step and origin, latitude step and origin: a
//               point (x, y) lies at x * step + origin degrees
//     varint    line count; per line: 1 byte kind (1 coast, 2 border),
//               varint point count (2 or more), the points
//     varint    land ring count; per ring: varint point count (3 or
//               more), the points
//   The points of a line or ring: the first as two zigzag numbers (x, y),
//   each further one as two zigzag differences from the one before.
//
// The reader checks every count against the bytes left before it reserves
// anything, every coordinate against the globe, and stops at the first
// fault with the byte offset where it lies: no input makes it read past
// the end or hold more than a few times the file's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace navmap {

inline constexpr std::string_view kCoastlineMagic = "SKMAPCL1";
inline constexpr size_t kMaxCoastlineLevels = 4;

enum class CoastlineKind : uint8_t { Coast = 1, Border = 2 };

// The file's own form: whole steps of a grid.
struct QuantizedPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const QuantizedPoint&) const = default;
};
struct Quantization {
  double lonStepDeg = 1;
  double lonOriginDeg = 0;
  double latStepDeg = 1;
  double latOriginDeg = 0;
};
struct QuantizedLine {
  CoastlineKind kind = CoastlineKind::Coast;
  std::vector<QuantizedPoint> points;
};
struct QuantizedLevel {
  Quantization grid;
  std::vector<QuantizedLine> lines;
  std::vector<std::vector<QuantizedPoint>> landRings;
};

std::string EncodeCoastlines(std::span<const QuantizedLevel> levels);

// The form the map draws from: degrees, with the box of every line and ring.
struct GeoPoint {
  float lonDeg = 0;
  float latDeg = 0;
};
struct GeoBox {
  float westDeg = 0;
  float southDeg = 0;
  float eastDeg = 0;
  float northDeg = 0;
};
// A line or a ring: `count` points of its level from `first`.
struct GeoRun {
  uint32_t first = 0;
  uint32_t count = 0;
  GeoBox box;
  CoastlineKind kind = CoastlineKind::Coast;
};
struct CoastlineLevel {
  std::vector<GeoPoint> points;
  std::vector<GeoRun> lines;
  std::vector<GeoRun> landRings;
  size_t HeldBytes() const;
};
struct Coastlines {
  std::vector<CoastlineLevel> levels;  // coarsest first
  size_t HeldBytes() const;
};

// Fails saying what is wrong and at which byte; nothing is read then.
platform::Result<Coastlines> DecodeCoastlines(std::span<const uint8_t> bytes);

}  // namespace navmap
