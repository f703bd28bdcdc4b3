#include "map/spatial_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "tests/map/map_fixture.h"
#include "tests/support/navaid_lines.h"

namespace navmap {
namespace {

using navdb::NavaidKind;

// The identifiers (first 5 characters, trimmed) of the entries a box yields.
std::set<std::string> IdentsIn(const navdb::Database& db, const SpatialIndex& index,
                               double southDeg, double northDeg, double westDeg, double eastDeg) {
  std::set<std::string> idents;
  index.ForEachIn(southDeg, northDeg, westDeg, eastDeg, [&](const IndexedEntry& entry) {
    std::string id(db.List(entry.Ref().kind).GetLine(entry.Row()).substr(0, 5));
    id.erase(id.find_last_not_of(' ') + 1);
    idents.insert(id);
  });
  return idents;
}

TEST(SpatialIndexTest, FindsTheEntriesOfABoxAndOnlyThoseOfItsCells) {
  const navdb::Database db = navmap_testing::SmallDatabase();
  const SpatialIndex index(db);
  EXPECT_EQ(index.Count(), 11u);
  EXPECT_EQ(IdentsIn(db, index, 48.5, 49.5, 1.5, 2.9),
            (std::set<std::string>{"LFPB", "PON", "GLE", "RBT", "OL", "PG502"}));
  // Cells of a degree: a box inside one cell brings the whole cell.
  EXPECT_EQ(IdentsIn(db, index, 49.05, 49.1, 2.0, 2.1), (std::set<std::string>{"PON", "GLE"}));
  EXPECT_TRUE(IdentsIn(db, index, 10, 20, 10, 20).empty());
  // The whole world, and a box wider than the world.
  EXPECT_EQ(IdentsIn(db, index, -90, 90, -180, 180).size(), 10u);
  EXPECT_EQ(IdentsIn(db, index, -90, 90, -500, 500).size(), 10u);
}

TEST(SpatialIndexTest, ABoxOverTheDateLineFindsBothSides) {
  const navdb::Database db = navmap_testing::SmallDatabase();
  const SpatialIndex index(db);
  const std::set<std::string> pacific = {"NFFN", "NSFA", "NN", "DATEL"};
  EXPECT_EQ(IdentsIn(db, index, -20, -13, 177, 188.5), pacific);
  EXPECT_EQ(IdentsIn(db, index, -20, -13, -183, -171.5), pacific);
  EXPECT_EQ(IdentsIn(db, index, -20, -13, 177, 179.9), (std::set<std::string>{"NFFN", "NN"}));
  EXPECT_EQ(IdentsIn(db, index, -16, -15, 179.5, 180.5), (std::set<std::string>{"DATEL"}));
}

TEST(SpatialIndexTest, KnowsEachEntrysSymbolRankAndTheFirstRunwayOfEachAirport) {
  const navdb::Database db = navmap_testing::SmallDatabase();
  const SpatialIndex index(db);
  std::vector<IndexedEntry> entries;
  index.ForEachIn(-90, 90, -180, 180, [&](const IndexedEntry& e) { entries.push_back(e); });
  auto find = [&](NavaidKind kind, const char* id) {
    const size_t row = *db.List(kind).FindPrefix(id);
    const auto it = std::find_if(entries.begin(), entries.end(), [&](const IndexedEntry& e) {
      return e.Ref() == EntryRef{kind, static_cast<uint32_t>(row)};
    });
    EXPECT_NE(it, entries.end()) << id;
    return *it;
  };
  EXPECT_EQ(find(NavaidKind::Vor, "PON").Symbol(), MapSymbol::Vor);
  EXPECT_EQ(find(NavaidKind::Vor, "GLE").Symbol(), MapSymbol::Ils);
  EXPECT_EQ(find(NavaidKind::Vor, "RBT").Symbol(), MapSymbol::Dme);
  EXPECT_EQ(find(NavaidKind::Ndb, "OL").Symbol(), MapSymbol::Ndb);
  EXPECT_EQ(find(NavaidKind::Intersection, "PG502").Symbol(), MapSymbol::Intersection);
  // A range of 130 NM in steps of 16; 25 NM.
  EXPECT_EQ(find(NavaidKind::Vor, "PON").Rank(), 8);
  EXPECT_EQ(find(NavaidKind::Ndb, "OL").Rank(), 1);
  // Both runways of Le Bourget rank by the longer (9,843 ft); one is first.
  int firsts = 0;
  for (const IndexedEntry& e : entries) {
    if (e.Symbol() != MapSymbol::Airport) continue;
    const std::string_view line = db.List(NavaidKind::Airport).GetLine(e.Row());
    if (line.starts_with("LFPB")) {
      EXPECT_EQ(e.Rank(), 9);
      firsts += e.FirstOfAirport();
    }
    if (line.starts_with("NFFN")) {
      EXPECT_EQ(e.Rank(), 10);
    }
  }
  EXPECT_EQ(firsts, 1);
  const std::optional<EntryPosition> pon = PositionOfEntry(db, find(NavaidKind::Vor, "PON").Ref());
  ASSERT_TRUE(pon);
  EXPECT_NEAR(pon->latDeg, 49.0965, 1e-4);
  EXPECT_NEAR(pon->lonDeg, 2.0359, 1e-4);
}

TEST(SpatialIndexTest, LeavesOutPlaceholdersAndLinesTooShortForAPosition) {
  navdb::Database db;
  db.List(NavaidKind::Ndb).AddLine(navdb::kPlaceholderLine);
  db.List(NavaidKind::Intersection).AddLine("SHORT  a line cut before its longitude");
  db.List(NavaidKind::Intersection)
      .AddLine(testing_support::IntersectionLine("GOOD", 10.5, -20.25));
  const SpatialIndex index(db);
  EXPECT_EQ(index.Count(), 1u);
  EXPECT_FALSE(PositionOfEntry(db, {NavaidKind::Ndb, 0}));
  EXPECT_FALSE(PositionOfEntry(db, {NavaidKind::Intersection, 5}));
  EXPECT_TRUE(PositionOfEntry(db, {NavaidKind::Intersection, 0}));
  EXPECT_GT(index.HeldBytes(), SpatialIndex::kLatCells * SpatialIndex::kLonCells * 4);
}

}  // namespace
}  // namespace navmap
