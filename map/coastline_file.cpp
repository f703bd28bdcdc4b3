#include "map/coastline_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace navmap {
namespace {

// The globe, with room for the grid's rounding at its edges.
constexpr double kLonLimitDeg = 180.5;
constexpr double kLatLimitDeg = 90.5;
// The fewest bytes a point can take: two one-byte numbers.
constexpr size_t kMinPointBytes = 2;
constexpr size_t kMaxVarintBytes = 5;

// ---- Writing ----

void PutVarint(std::string& out, uint32_t value) {
  while (value >= 0x80) {
    out += static_cast<char>((value & 0x7F) | 0x80);
    value >>= 7;
  }
  out += static_cast<char>(value);
}

uint32_t Zigzag(int64_t value) {
  return static_cast<uint32_t>((value << 1) ^ (value >> 63));
}

void PutDouble(std::string& out, double value) {
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  for (int byte = 0; byte < 8; ++byte) out += static_cast<char>((bits >> (8 * byte)) & 0xFF);
}

void PutPoints(std::string& out, const std::vector<QuantizedPoint>& points) {
  PutVarint(out, static_cast<uint32_t>(points.size()));
  QuantizedPoint previous{0, 0};
  for (const QuantizedPoint& point : points) {
    PutVarint(out, Zigzag(static_cast<int64_t>(point.x) - previous.x));
    PutVarint(out, Zigzag(static_cast<int64_t>(point.y) - previous.y));
    previous = point;
  }
}

// ---- Reading ----

class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool Failed() const { return !error_.empty(); }
  const std::string& Error() const { return error_; }
  size_t Left() const { return bytes_.size() - at_; }

  bool Fail(const std::string& what) {
    if (error_.empty()) error_ = what + " at byte " + std::to_string(at_);
    return false;
  }

  bool Magic() {
    if (Left() < kCoastlineMagic.size() ||
        std::memcmp(bytes_.data(), kCoastlineMagic.data(), kCoastlineMagic.size()) != 0) {
      return Fail("not a coastline file (no SKMAPCL1 mark)");
    }
    at_ += kCoastlineMagic.size();
    return true;
  }

  bool Byte(uint8_t& value) {
    if (Left() < 1) return Fail("the file ends early");
    value = bytes_[at_++];
    return true;
  }

  bool Varint(uint32_t& value) {
    uint64_t result = 0;
    for (size_t i = 0; i < kMaxVarintBytes; ++i) {
      uint8_t byte = 0;
      if (!Byte(byte)) return false;
      result |= static_cast<uint64_t>(byte & 0x7F) << (7 * i);
      if ((byte & 0x80) == 0) {
        if (result > std::numeric_limits<uint32_t>::max()) return Fail("a number is too large");
        value = static_cast<uint32_t>(result);
        return true;
      }
    }
    return Fail("a number runs over five bytes");
  }

  bool Signed(int64_t& value) {
    uint32_t folded = 0;
    if (!Varint(folded)) return false;
    value = static_cast<int64_t>(folded >> 1) ^ -static_cast<int64_t>(folded & 1);
    return true;
  }

  bool Double(double& value) {
    if (Left() < 8) return Fail("the file ends early");
    uint64_t bits = 0;
    for (int byte = 0; byte < 8; ++byte)
      bits |= static_cast<uint64_t>(bytes_[at_ + byte]) << (8 * byte);
    at_ += 8;
    value = std::bit_cast<double>(bits);
    return true;
  }

  // A count of things that each take at least `minBytes` of what is left.
  bool Count(uint32_t& count, size_t minBytes, const char* what) {
    if (!Varint(count)) return false;
    if (static_cast<uint64_t>(count) * minBytes > Left()) {
      return Fail(std::string("the ") + what + " count is more than the file holds");
    }
    return true;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
  std::string error_;
};

bool ReadGrid(Reader& reader, Quantization& grid) {
  if (!reader.Double(grid.lonStepDeg) || !reader.Double(grid.lonOriginDeg) ||
      !reader.Double(grid.latStepDeg) || !reader.Double(grid.latOriginDeg)) {
    return false;
  }
  auto usable = [](double step, double origin, double limit) {
    return std::isfinite(step) && std::isfinite(origin) && step > 0 && step <= 1 &&
           std::fabs(origin) <= limit;
  };
  if (!usable(grid.lonStepDeg, grid.lonOriginDeg, kLonLimitDeg) ||
      !usable(grid.latStepDeg, grid.latOriginDeg, kLatLimitDeg)) {
    return reader.Fail("the grid's steps or origins are not usable");
  }
  return true;
}

void Widen(GeoBox& box, GeoPoint point) {
  box.westDeg = std::min(box.westDeg, point.lonDeg);
  box.eastDeg = std::max(box.eastDeg, point.lonDeg);
  box.southDeg = std::min(box.southDeg, point.latDeg);
  box.northDeg = std::max(box.northDeg, point.latDeg);
}

// Appends the points of one line or ring to `level` and returns its run.
bool ReadRun(Reader& reader, const Quantization& grid, uint32_t minPoints, CoastlineLevel& level,
             GeoRun& run) {
  uint32_t count = 0;
  if (!reader.Count(count, kMinPointBytes, "point")) return false;
  if (count < minPoints) return reader.Fail("a line or ring has too few points");
  run.first = static_cast<uint32_t>(level.points.size());
  run.count = count;
  run.box = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
             std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest()};
  int64_t x = 0;
  int64_t y = 0;
  for (uint32_t i = 0; i < count; ++i) {
    int64_t dx = 0;
    int64_t dy = 0;
    if (!reader.Signed(dx) || !reader.Signed(dy)) return false;
    x += dx;
    y += dy;
    const double lonDeg = static_cast<double>(x) * grid.lonStepDeg + grid.lonOriginDeg;
    const double latDeg = static_cast<double>(y) * grid.latStepDeg + grid.latOriginDeg;
    if (!(std::fabs(lonDeg) <= kLonLimitDeg) || !(std::fabs(latDeg) <= kLatLimitDeg)) {
      return reader.Fail("a point lies off the globe");
    }
    const GeoPoint point{static_cast<float>(lonDeg), static_cast<float>(latDeg)};
    level.points.push_back(point);
    Widen(run.box, point);
  }
  return true;
}

bool ReadLevel(Reader& reader, CoastlineLevel& level) {
  Quantization grid;
  if (!ReadGrid(reader, grid)) return false;
  uint32_t lineCount = 0;
  if (!reader.Count(lineCount, 1 + 1 + 2 * kMinPointBytes, "line")) return false;
  level.lines.reserve(lineCount);
  for (uint32_t i = 0; i < lineCount; ++i) {
    uint8_t kind = 0;
    if (!reader.Byte(kind)) return false;
    if (kind != static_cast<uint8_t>(CoastlineKind::Coast) &&
        kind != static_cast<uint8_t>(CoastlineKind::Border)) {
      return reader.Fail("a line is neither coast nor border");
    }
    GeoRun run;
    run.kind = static_cast<CoastlineKind>(kind);
    if (!ReadRun(reader, grid, 2, level, run)) return false;
    level.lines.push_back(run);
  }
  uint32_t ringCount = 0;
  if (!reader.Count(ringCount, 1 + 3 * kMinPointBytes, "ring")) return false;
  level.landRings.reserve(ringCount);
  for (uint32_t i = 0; i < ringCount; ++i) {
    GeoRun run;
    if (!ReadRun(reader, grid, 3, level, run)) return false;
    level.landRings.push_back(run);
  }
  // The points grew by doubling; the map keeps them for its whole run.
  level.points.shrink_to_fit();
  return true;
}

}  // namespace

std::string EncodeCoastlines(std::span<const QuantizedLevel> levels) {
  std::string out(kCoastlineMagic);
  PutVarint(out, static_cast<uint32_t>(levels.size()));
  for (const QuantizedLevel& level : levels) {
    PutDouble(out, level.grid.lonStepDeg);
    PutDouble(out, level.grid.lonOriginDeg);
    PutDouble(out, level.grid.latStepDeg);
    PutDouble(out, level.grid.latOriginDeg);
    PutVarint(out, static_cast<uint32_t>(level.lines.size()));
    for (const QuantizedLine& line : level.lines) {
      out += static_cast<char>(line.kind);
      PutPoints(out, line.points);
    }
    PutVarint(out, static_cast<uint32_t>(level.landRings.size()));
    for (const std::vector<QuantizedPoint>& ring : level.landRings) PutPoints(out, ring);
  }
  return out;
}

platform::Result<Coastlines> DecodeCoastlines(std::span<const uint8_t> bytes) {
  Reader reader(bytes);
  Coastlines coastlines;
  uint32_t levelCount = 0;
  if (reader.Magic() && reader.Varint(levelCount)) {
    if (levelCount == 0 || levelCount > kMaxCoastlineLevels) {
      reader.Fail("the level count is not 1 to " + std::to_string(kMaxCoastlineLevels));
    }
  }
  for (uint32_t i = 0; i < levelCount && !reader.Failed(); ++i) {
    ReadLevel(reader, coastlines.levels.emplace_back());
  }
  if (!reader.Failed() && reader.Left() != 0) reader.Fail("bytes follow the last level");
  if (reader.Failed()) return platform::Failure(reader.Error());
  return coastlines;
}

size_t CoastlineLevel::HeldBytes() const {
  return points.capacity() * sizeof(GeoPoint) +
         (lines.capacity() + landRings.capacity()) * sizeof(GeoRun);
}

size_t Coastlines::HeldBytes() const {
  size_t bytes = levels.capacity() * sizeof(CoastlineLevel);
  for (const CoastlineLevel& level : levels) bytes += level.HeldBytes();
  return bytes;
}

}  // namespace navmap
