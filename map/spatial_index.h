// The database's entries by place: every entry's position, read once from
// its line, in cells of one degree, so that a view finds its entries
// without reading lines. Built from the entry lists (the geographic index
// is out of step with them between a change and the next rebuild); the map
// builds it anew after the lists change.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "navdb/database.h"
#include "navdb/navaid_kind.h"

namespace navmap {

// What the map draws for an entry.
enum class MapSymbol : uint8_t { Airport, Vor, Dme, Ils, Ndb, Intersection };
inline constexpr size_t kMapSymbolCount = 6;

// One entry of the database: its kind and its row in that kind's list.
struct EntryRef {
  navdb::NavaidKind kind = navdb::NavaidKind::Ndb;
  uint32_t row = 0;
  bool operator==(const EntryRef&) const = default;
};

struct IndexedEntry {
  float latDeg = 0;
  float lonDeg = 0;
  // Row (17 bits), symbol (3 bits), rank (4 bits), first runway of its airport (1 bit).
  uint32_t packed = 0;

  uint32_t Row() const { return packed & kRowMask; }
  MapSymbol Symbol() const { return static_cast<MapSymbol>((packed >> kSymbolShift) & 7); }
  // 0 to 15: an airport's longest runway in thousands of feet, a station's
  // range in 16 NM steps; the map shows and labels the higher first.
  int Rank() const { return static_cast<int>((packed >> kRankShift) & 15); }
  // Airports have a line per runway; the map marks the airport at its first.
  bool FirstOfAirport() const { return (packed >> kFirstShift) & 1; }
  EntryRef Ref() const;

  static constexpr uint32_t kRowMask = (1u << 17) - 1;
  static constexpr int kSymbolShift = 17;
  static constexpr int kRankShift = 20;
  static constexpr int kFirstShift = 24;
};
static_assert(navdb::kMaxEntryRows <= IndexedEntry::kRowMask + 1);

// The symbol of a VOR-list line by its type text: "ILS...", "DME..." or a VOR.
MapSymbol VorListSymbol(std::string_view line);

// The position of an entry line of `kind`; nothing for a line too short to hold one.
struct EntryPosition {
  double latDeg = 0;
  double lonDeg = 0;
};
std::optional<EntryPosition> PositionOfLine(navdb::NavaidKind kind, std::string_view line);
std::optional<EntryPosition> PositionOfEntry(const navdb::Database& db, EntryRef entry);

class SpatialIndex {
 public:
  static constexpr int kLatCells = 180;
  static constexpr int kLonCells = 360;

  SpatialIndex();
  explicit SpatialIndex(const navdb::Database& db);

  size_t Count() const { return entries_.size(); }
  size_t HeldBytes() const;

  // Calls fn(entry) for the entries of every cell that the box touches:
  // latitudes south to north, longitudes west to east taken round the
  // globe (east may exceed 180 and west lie below -180). Entries of those
  // cells that lie just outside the box come too.
  template <class Fn>
  void ForEachIn(double southDeg, double northDeg, double westDeg, double eastDeg, Fn&& fn) const {
    const int firstRow = LatCell(southDeg);
    const int lastRow = LatCell(northDeg);
    int firstColumn = 0;
    int columns = kLonCells;
    if (eastDeg - westDeg < 360) {
      firstColumn = static_cast<int>(std::floor(westDeg));
      columns = static_cast<int>(std::floor(eastDeg)) - firstColumn + 1;
    }
    for (int row = firstRow; row <= lastRow; ++row) {
      for (int step = 0; step < columns; ++step) {
        const int column = (((firstColumn + step + 180) % kLonCells) + kLonCells) % kLonCells;
        const size_t cell = static_cast<size_t>(row) * kLonCells + static_cast<size_t>(column);
        for (uint32_t i = cellStart_[cell]; i < cellStart_[cell + 1]; ++i) fn(entries_[i]);
      }
    }
  }

 private:
  static int LatCell(double latDeg);
  static size_t CellOf(float latDeg, float lonDeg);

  std::vector<IndexedEntry> entries_;  // by cell, each cell in list order
  std::vector<uint32_t> cellStart_;    // kLatCells * kLonCells + 1
};

}  // namespace navmap
