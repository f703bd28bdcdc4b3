#include "navdb/database_check.h"

#include <gtest/gtest.h>

#include <string>

#include "navdb/geo_index.h"
#include "tests/support/navaid_lines.h"

namespace navdb {
namespace {

using testing_support::NdbLine;
using testing_support::VorLine;

Database ThreeNdbsAndAVor() {
  Database db;
  for (double latitudeDeg : {47.0, 48.0, 49.0}) {
    db.List(NavaidKind::Ndb)
        .AddLine(NdbLine("N" + std::to_string(static_cast<int>(latitudeDeg)), "BEACON", latitudeDeg,
                         2.0));
  }
  db.List(NavaidKind::Vor).AddLine(VorLine("PON", "PONTOISE", "VOR/DME", 49.1, 2.0));
  AddPlaceholdersToEmptyLists(db);
  return db;
}

std::string IndexLineOf(const Database& db, NavaidKind kind, size_t row) {
  return MakeIndexLine(kind, db.List(kind).GetLine(row), row);
}

TEST(DatabaseCheck, CountsTheIndexRowsARebuildWouldChange) {
  Database db = ThreeNdbsAndAVor();
  RebuildIndex(db.lists, db.index, {});
  EXPECT_EQ(CountIndexRowsOutOfStep(db), 0u);

  const std::string ndb0 = IndexLineOf(db, NavaidKind::Ndb, 0);
  std::string ndb0Moved = ndb0;
  ndb0Moved[10] = ndb0Moved[10] == '9' ? '8' : '9';  // a millionth of a degree
  db.index.Clear();
  // The row's first line is wrong and a later one right: the row matches.
  // A second right line for a row already matched is one too many.
  for (const std::string& line :
       {ndb0Moved, ndb0, ndb0, IndexLineOf(db, NavaidKind::Ndb, 1),
        IndexLineOf(db, NavaidKind::Vor, 0), std::string(" 002.000000  47.000000  NDB00099"),
        std::string(" 002.000000  47.000000  XYZ00001")}) {
    ASSERT_TRUE(AddIndexLine(db.index, line));
  }
  // 7 rows for 4 entries, of which 3 match (NDB 0 and 1, the VOR): NDB 2
  // is named by no row.
  EXPECT_EQ(CountIndexRowsOutOfStep(db), 4u);

  // Fewer rows than entries: each entry without its row counts.
  db.index.Clear();
  ASSERT_TRUE(AddIndexLine(db.index, IndexLineOf(db, NavaidKind::Ndb, 2)));
  EXPECT_EQ(CountIndexRowsOutOfStep(db), 3u);
  // A row naming the placeholder of the empty runway list names no entry.
  ASSERT_TRUE(AddIndexLine(db.index, " 002.000000  47.000000  APT00000"));
  EXPECT_EQ(CountIndexRowsOutOfStep(db), 3u);
}

}  // namespace
}  // namespace navdb
