#include "navdb/database_check.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace navdb {
namespace {

std::optional<NavaidKind> KindOfTag(std::string_view tag) {
  for (NavaidKind kind : kAllKinds) {
    if (InfoOf(kind).indexTag == tag) return kind;
  }
  return std::nullopt;
}

std::optional<size_t> RowOf(std::string_view digits) {
  size_t row = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    row = row * 10 + static_cast<size_t>(c - '0');
  }
  return row;
}

}  // namespace

size_t CountIndexRowsOutOfStep(const Database& db) {
  std::array<std::vector<bool>, kAllKinds.size()> named;
  size_t entries = 0;
  for (NavaidKind kind : kAllKinds) {
    named[IndexOf(kind)].assign(db.List(kind).EntryCount(), false);
    entries += db.List(kind).EntryCount();
  }
  size_t matching = 0;
  IndexKey expected;
  const auto check = [&](size_t, std::string_view line) {
    if (line.size() != kIndexLineLength) return;
    const std::optional<NavaidKind> kind = KindOfTag(line.substr(24, 3));
    const std::optional<size_t> row = RowOf(line.substr(27, 5));
    if (!kind || !row) return;
    std::vector<bool>& rows = named[IndexOf(*kind)];
    if (*row >= rows.size() || rows[*row]) return;
    FormatIndexLine(*kind, db.List(*kind).GetLine(*row), *row, expected);
    if (std::string_view(expected) != line) return;
    rows[*row] = true;
    ++matching;
  };
  db.index.preceding.ForEach(check);
  db.index.primary.ForEach(check);
  db.index.following.ForEach(check);
  return std::max(db.index.Count(), entries) - matching;
}

}  // namespace navdb
