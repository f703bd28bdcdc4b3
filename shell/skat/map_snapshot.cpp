#include "shell/skat/map_snapshot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr int kColumns = 360;

struct Column {
  float westDeg = std::numeric_limits<float>::max();
  float eastDeg = std::numeric_limits<float>::lowest();
  bool used() const { return westDeg <= eastDeg; }
};

// The first column of the longest run of empty columns, taken round the
// globe, and its length.
std::pair<int, int> WidestGap(const std::array<Column, kColumns>& columns) {
  int bestStart = 0;
  int bestLength = 0;
  for (int start = 0; start < kColumns; ++start) {
    if (columns[static_cast<size_t>(start)].used()) continue;
    // Only runs that begin after a used column; the run may wrap.
    if (!columns[static_cast<size_t>((start + kColumns - 1) % kColumns)].used()) continue;
    int length = 0;
    while (length < kColumns && !columns[static_cast<size_t>((start + length) % kColumns)].used())
      ++length;
    if (length > bestLength) {
      bestStart = start;
      bestLength = length;
    }
  }
  return {bestStart, bestLength};
}

}  // namespace

std::optional<EntryBox> BoxOfEntries(const navmap::SpatialIndex& index) {
  std::array<Column, kColumns> columns{};
  EntryBox box{90, 0, -90, 0};
  bool any = false;
  index.ForEachIn(-90, 90, -180, 180, [&](const navmap::IndexedEntry& entry) {
    any = true;
    box.southDeg = std::min(box.southDeg, static_cast<double>(entry.latDeg));
    box.northDeg = std::max(box.northDeg, static_cast<double>(entry.latDeg));
    const int column =
        std::clamp(static_cast<int>(std::floor(entry.lonDeg)) + 180, 0, kColumns - 1);
    Column& at = columns[static_cast<size_t>(column)];
    at.westDeg = std::min(at.westDeg, entry.lonDeg);
    at.eastDeg = std::max(at.eastDeg, entry.lonDeg);
  });
  if (!any) return std::nullopt;
  const auto [gapStart, gapLength] = WidestGap(columns);
  if (gapLength == 0) {
    box.westDeg = -180;
    box.eastDeg = 180;
    return box;
  }
  const Column& west = columns[static_cast<size_t>((gapStart + gapLength) % kColumns)];
  const Column& east = columns[static_cast<size_t>((gapStart + kColumns - 1) % kColumns)];
  box.westDeg = west.westDeg;
  box.eastDeg = east.eastDeg;
  if (box.eastDeg < box.westDeg) box.eastDeg += 360;
  return box;
}

MapSnapshot::MapSnapshot(const navdb::Database& db) {
  database_.folder = db.folder;
  database_.lists = db.lists;
}

const navmap::SpatialIndex& MapSnapshot::index() const {
  std::call_once(indexBuilt_, [this] {
    index_ = std::make_unique<navmap::SpatialIndex>(database_);
    std::optional<EntryBox> box = BoxOfEntries(*index_);
    const std::lock_guard lock(boxMutex_);
    box_ = box;
  });
  return *index_;
}

std::optional<EntryBox> MapSnapshot::box() const {
  const std::lock_guard lock(boxMutex_);
  return box_;
}
