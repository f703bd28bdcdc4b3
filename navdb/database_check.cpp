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
  // Each index line names a row; the lines are gathered by the row they
  // name, then the lists are read in order, so that no entry line is looked
  // up at random. A second line naming a row whose first one is wrong is
  // checked on its own afterwards.
  struct NamedRow {
    NavaidKind kind;
    size_t row;
    std::string_view line;
  };
  std::array<std::vector<std::string_view>, kAllKinds.size()> firstNaming;
  std::array<std::vector<bool>, kAllKinds.size()> matched;
  size_t entries = 0;
  for (NavaidKind kind : kAllKinds) {
    firstNaming[IndexOf(kind)].assign(db.List(kind).EntryCount(), {});
    matched[IndexOf(kind)].assign(db.List(kind).EntryCount(), false);
    entries += db.List(kind).EntryCount();
  }
  std::vector<NamedRow> moreNaming;
  const auto gather = [&](size_t, std::string_view line) {
    if (line.size() != kIndexLineLength) return;
    const std::optional<NavaidKind> kind = KindOfTag(line.substr(24, 3));
    const std::optional<size_t> row = RowOf(line.substr(27, 5));
    if (!kind || !row || *row >= firstNaming[IndexOf(*kind)].size()) return;
    std::string_view& first = firstNaming[IndexOf(*kind)][*row];
    if (first.empty()) {
      first = line;
    } else {
      moreNaming.push_back({*kind, *row, line});
    }
  };
  db.index.preceding.ForEach(gather);
  db.index.primary.ForEach(gather);
  db.index.following.ForEach(gather);

  size_t matching = 0;
  IndexKey expected;
  const auto check = [&](NavaidKind kind, size_t row, std::string_view entry,
                         std::string_view line) {
    std::vector<bool>::reference done = matched[IndexOf(kind)][row];
    if (done) return;
    FormatIndexLine(kind, entry, row, expected);
    if (std::string_view(expected) != line) return;
    done = true;
    ++matching;
  };
  for (NavaidKind kind : kAllKinds) {
    const std::vector<std::string_view>& naming = firstNaming[IndexOf(kind)];
    db.List(kind).ForEach([&](size_t row, std::string_view entry) {
      if (row < naming.size() && !naming[row].empty()) check(kind, row, entry, naming[row]);
    });
  }
  for (const NamedRow& named : moreNaming) {
    check(named.kind, named.row, db.List(named.kind).GetLine(named.row), named.line);
  }
  return std::max(db.index.Count(), entries) - matching;
}

}  // namespace navdb
