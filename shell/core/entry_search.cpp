#include "shell/core/entry_search.h"

#include <algorithm>
#include <cmath>

#include "navdb/coordinates.h"
#include "navdb/list_order.h"
#include "shell/core/entry_editor.h"

namespace shell {
namespace {

using navdb::NavaidKind;

constexpr double kEarthRadiusNm = 3440.065;
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

struct Position {
  double latitudeDeg;
  double longitudeDeg;
};

Position PositionOf(NavaidKind kind, std::string_view line) {
  const navdb::KindInfo& info = navdb::InfoOf(kind);
  if (line.size() <= info.longitudeColumn) return {0, 0};
  return {navdb::ParseLatitude(line.substr(info.latitudeColumn)),
          navdb::ParseLongitude(line.substr(info.longitudeColumn))};
}

double DistanceNm(Position a, Position b) {
  const double lat1 = a.latitudeDeg * kRadiansPerDegree;
  const double lat2 = b.latitudeDeg * kRadiansPerDegree;
  const double halfLat = (lat2 - lat1) / 2;
  const double halfLon = (b.longitudeDeg - a.longitudeDeg) * kRadiansPerDegree / 2;
  const double h = std::sin(halfLat) * std::sin(halfLat) +
                   std::cos(lat1) * std::cos(lat2) * std::sin(halfLon) * std::sin(halfLon);
  return 2 * kEarthRadiusNm * std::asin(std::sqrt(std::min(1.0, h)));
}

}  // namespace

std::vector<size_t> RowsBeginningWith(const navdb::EntryList& list, std::string_view prefix) {
  std::vector<size_t> rows;
  if (!list.IsSorted()) {
    list.ForEach([&](size_t row, std::string_view line) {
      if (navdb::StartsWithIgnoringCase(line, prefix)) rows.push_back(row);
    });
    return rows;
  }
  const std::optional<size_t> first = list.FindPrefix(prefix);
  if (!first) return rows;
  // The lines that begin with the prefix lie in the run of lines whose
  // primary key begins with the prefix's, among lines that differ from it
  // only in the characters the order disregards.
  for (size_t row = *first; row < list.Count(); ++row) {
    const std::string_view line = list.GetLine(row);
    if (navdb::ComparePrimaryKeyToPrefix(line, prefix) != 0) break;
    if (navdb::StartsWithIgnoringCase(line, prefix)) rows.push_back(row);
  }
  return rows;
}

std::optional<size_t> RowOfLine(const navdb::EntryList& list, std::string_view line) {
  for (const size_t row : RowsBeginningWith(list, line)) {
    if (list.GetLine(row) == line) return row;
  }
  return std::nullopt;
}

std::string_view IdentityOf(NavaidKind kind, std::string_view line) {
  return line.substr(0, DuplicatePrefixLength(kind));
}

double DistanceBetweenNm(NavaidKind kind, std::string_view a, std::string_view b) {
  return DistanceNm(PositionOf(kind, a), PositionOf(kind, b));
}

std::optional<size_t> FindSameEntry(const navdb::EntryList& list, NavaidKind kind,
                                    std::string_view line, bool nearOnly) {
  const std::vector<size_t> rows = RowsBeginningWith(list, IdentityOf(kind, line));
  if (rows.size() == 1 && !nearOnly) return rows.front();
  std::optional<size_t> nearest;
  double nearestNm = kSameEntryDistanceNm;
  for (const size_t row : rows) {
    const double distanceNm = DistanceBetweenNm(kind, line, list.GetLine(row));
    if (distanceNm <= nearestNm) {
      nearest = row;
      nearestNm = distanceNm;
    }
  }
  return nearest;
}

}  // namespace shell
