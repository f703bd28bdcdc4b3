#include "map/spatial_index.h"

#include <algorithm>

#include "navdb/coordinates.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace navmap {
namespace {

using navdb::NavaidKind;

// Columns of the entry lines the index reads.
constexpr size_t kVorTypeColumn = 33;
constexpr size_t kVorRangeColumn = 99;
constexpr size_t kNdbRangeColumn = 76;
constexpr size_t kRunwayLengthColumn = 87;
constexpr size_t kAirportKeyChars = 33;  // identifier and name
constexpr size_t kLongitudeChars = 13;

constexpr int kMaxRank = 15;
constexpr double kFtPerRankStep = 1000;
constexpr double kNmPerRankStep = 16;

int RankOf(double value, double step) {
  return std::clamp(static_cast<int>(value / step), 0, kMaxRank);
}

MapSymbol SymbolOf(NavaidKind kind, std::string_view line) {
  switch (kind) {
    case NavaidKind::Ndb:
      return MapSymbol::Ndb;
    case NavaidKind::Vor:
      return VorListSymbol(line);
    case NavaidKind::Airport:
      return MapSymbol::Airport;
    case NavaidKind::Intersection:
      break;
  }
  return MapSymbol::Intersection;
}

int StationRank(NavaidKind kind, std::string_view line) {
  const size_t column = kind == NavaidKind::Vor ? kVorRangeColumn : kNdbRangeColumn;
  return RankOf(static_cast<double>(platform::ReadLong(platform::Columns(line, column, 3))),
                kNmPerRankStep);
}

double RunwayLengthFt(std::string_view line) {
  return static_cast<double>(platform::ReadLong(platform::Columns(line, kRunwayLengthColumn, 5)));
}

uint32_t Pack(uint32_t row, MapSymbol symbol, int rank, bool firstOfAirport) {
  return row | (static_cast<uint32_t>(symbol) << IndexedEntry::kSymbolShift) |
         (static_cast<uint32_t>(rank) << IndexedEntry::kRankShift) |
         (static_cast<uint32_t>(firstOfAirport) << IndexedEntry::kFirstShift);
}

// The entries of one list in row order. The runways of an airport follow
// one another in list order; each gets the airport's longest runway as its
// rank, and the first of them the airport's mark.
void AddList(NavaidKind kind, const navdb::EntryList& list, std::vector<IndexedEntry>& entries) {
  if (list.HoldsOnlyPlaceholder()) return;
  const size_t airportStart = entries.size();
  std::string_view airportKey;
  size_t firstOfAirport = 0;
  double longestFt = 0;
  auto closeAirport = [&] {
    for (size_t i = firstOfAirport; i < entries.size(); ++i) {
      entries[i].packed |= static_cast<uint32_t>(RankOf(longestFt, kFtPerRankStep))
                           << IndexedEntry::kRankShift;
    }
  };
  list.ForEach([&](size_t row, std::string_view line) {
    const std::optional<EntryPosition> position = PositionOfLine(kind, line);
    if (!position) return;
    IndexedEntry entry{static_cast<float>(position->latDeg), static_cast<float>(position->lonDeg),
                       0};
    if (kind == NavaidKind::Airport) {
      const std::string_view key = line.substr(0, kAirportKeyChars);
      const bool first = entries.size() == airportStart || key != airportKey;
      if (first) {
        if (entries.size() != airportStart) closeAirport();
        firstOfAirport = entries.size();
        airportKey = key;
        longestFt = 0;
      }
      longestFt = std::max(longestFt, RunwayLengthFt(line));
      entry.packed = Pack(static_cast<uint32_t>(row), MapSymbol::Airport, 0, first);
    } else {
      const int rank = kind == NavaidKind::Intersection ? 0 : StationRank(kind, line);
      entry.packed = Pack(static_cast<uint32_t>(row), SymbolOf(kind, line), rank, false);
    }
    entries.push_back(entry);
  });
  if (kind == NavaidKind::Airport && entries.size() != airportStart) closeAirport();
}

}  // namespace

EntryRef IndexedEntry::Ref() const {
  const NavaidKind kind = Symbol() == MapSymbol::Airport        ? NavaidKind::Airport
                          : Symbol() == MapSymbol::Ndb          ? NavaidKind::Ndb
                          : Symbol() == MapSymbol::Intersection ? NavaidKind::Intersection
                                                                : NavaidKind::Vor;
  return {kind, Row()};
}

MapSymbol VorListSymbol(std::string_view line) {
  const std::string_view type = platform::Columns(line, kVorTypeColumn, 3);
  if (type == "ILS") return MapSymbol::Ils;
  if (type == "DME") return MapSymbol::Dme;
  return MapSymbol::Vor;
}

std::optional<EntryPosition> PositionOfLine(NavaidKind kind, std::string_view line) {
  const navdb::KindInfo& info = navdb::InfoOf(kind);
  if (line.size() < info.longitudeColumn + kLongitudeChars) return std::nullopt;
  const double latDeg = navdb::ParseLatitude(line.substr(info.latitudeColumn));
  const double lonDeg = navdb::ParseLongitude(line.substr(info.longitudeColumn));
  if (!(std::fabs(latDeg) <= 90) || !(std::fabs(lonDeg) <= 180)) return std::nullopt;
  return EntryPosition{latDeg, lonDeg};
}

std::optional<EntryPosition> PositionOfEntry(const navdb::Database& db, EntryRef entry) {
  const navdb::EntryList& list = db.List(entry.kind);
  if (entry.row >= list.Count() || list.HoldsOnlyPlaceholder()) return std::nullopt;
  return PositionOfLine(entry.kind, list.GetLine(entry.row));
}

SpatialIndex::SpatialIndex() : cellStart_(kLatCells * kLonCells + 1, 0) {}

SpatialIndex::SpatialIndex(const navdb::Database& db) : SpatialIndex() {
  std::vector<IndexedEntry> listed;
  for (NavaidKind kind : navdb::kAllKinds) AddList(kind, db.List(kind), listed);
  // Counting sort by cell keeps each cell in list order.
  for (const IndexedEntry& entry : listed) ++cellStart_[CellOf(entry.latDeg, entry.lonDeg) + 1];
  for (size_t cell = 1; cell < cellStart_.size(); ++cell) cellStart_[cell] += cellStart_[cell - 1];
  entries_.resize(listed.size());
  std::vector<uint32_t> next(cellStart_.begin(), cellStart_.end() - 1);
  for (const IndexedEntry& entry : listed)
    entries_[next[CellOf(entry.latDeg, entry.lonDeg)]++] = entry;
}

size_t SpatialIndex::HeldBytes() const {
  return entries_.capacity() * sizeof(IndexedEntry) + cellStart_.capacity() * sizeof(uint32_t);
}

int SpatialIndex::LatCell(double latDeg) {
  return std::clamp(static_cast<int>(std::floor(latDeg)) + 90, 0, kLatCells - 1);
}

size_t SpatialIndex::CellOf(float latDeg, float lonDeg) {
  const int column = std::clamp(static_cast<int>(std::floor(lonDeg)) + 180, 0, kLonCells - 1);
  return static_cast<size_t>(LatCell(latDeg)) * kLonCells + static_cast<size_t>(column);
}

}  // namespace navmap
