// The plan row's text: every row the planner makes from a database (the
// demo's and the real world's) and every row its computation writes reads
// back as the same row and the same bytes; coordinates read as navdb reads
// them; a text not in the row layout is kept exactly as it was.
#include "planner/plan_row.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>

#include "navdb/coordinates.h"
#include "navdb/database.h"
#include "planner/leg_computation.h"
#include "planner/plan_file.h"
#include "planner/plan_rows.h"
#include "platform/text_columns.h"
#include "tests/planner/planner_fixtures.h"
#include "tools/navdata_database.h"

namespace planner {

// Failures show the row's text.
void PrintTo(const PlanRow& row, std::ostream* out) {
  *out << '"' << FormatPlanRow(row) << '"';
}

namespace {

using navdb::NavaidKind;

constexpr NavaidKind kKinds[] = {NavaidKind::Ndb, NavaidKind::Vor, NavaidKind::Airport,
                                 NavaidKind::Intersection};

// The text reads back as this very row, and the row as this very text.
void ExpectReadsBack(const PlanRow& row) {
  const std::string text = FormatPlanRow(row);
  const PlanRow again = ParsePlanRow(text);
  EXPECT_FALSE(again.IsVerbatim()) << text;
  EXPECT_EQ(again, row) << text;
  EXPECT_EQ(FormatPlanRow(again), text);
}

// Where a database line of each kind holds its frequency (or none) and
// latitude; a row as inserted takes them as they stand.
struct LineColumns {
  NavaidKind kind;
  int frequencyColumn;
  size_t latitudeColumn;
};
constexpr LineColumns kLineColumns[] = {
    {NavaidKind::Ndb, 33, 40},
    {NavaidKind::Vor, 50, 63},
    {NavaidKind::Airport, 99, 51},
    {NavaidKind::Intersection, -1, 33},
};

// Every line of the database as an inserted row: typed, the bytes the row
// layout gives them, and read back as itself.
void CheckInsertedRows(const navdb::Database& db) {
  for (const LineColumns& columns : kLineColumns) {
    const navdb::EntryList& list = db.List(columns.kind);
    for (size_t r = 0; r < list.Count(); ++r) {
      const std::string_view line = list.GetLine(r);
      const PlanRow row = BuildPlanRow(columns.kind, line);
      ASSERT_FALSE(row.IsVerbatim()) << line;
      const std::string text = FormatPlanRow(row);
      ASSERT_EQ(text.size(), 105u) << line;
      ASSERT_EQ(text.substr(5, 33), platform::Fitted(line.substr(0, 33), 33)) << line;
      const std::string frequency =
          columns.frequencyColumn < 0
              ? std::string("---.--")
              : std::string(platform::Columns(line, columns.frequencyColumn, 6));
      ASSERT_EQ(text.substr(38, 8), platform::Fitted(frequency, 8)) << line;
      ASSERT_EQ(text.substr(46, 59),
                platform::Fitted(platform::Columns(line, columns.latitudeColumn, 36), 59))
          << line;
      ASSERT_EQ(ParsePlanRow(text), row) << line;
    }
  }
}

// Plans through every navaid of the database, `perPlan` at a time between
// two of its airports, with the runway turns, a climb and a descent,
// computed twice: every row read back as itself.
void CheckComputedRows(const navdb::Database& db, size_t perPlan) {
  const navdb::EntryList& airports = db.List(NavaidKind::Airport);
  ASSERT_GT(airports.Count(), 1u);
  size_t plans = 0;
  for (NavaidKind kind : kKinds) {
    const navdb::EntryList& list = db.List(kind);
    for (size_t first = 0; first < list.Count(); first += perPlan) {
      PlannerState state;
      state.plan.performance = {"", 2500, 280, 2000, 290, 31000, plans % 2 ? "0.78" : "120"};
      OpenPlanDialog(state, PlanOpenMode::New);
      const size_t departure = (plans * 7919) % airports.Count();
      state.dialog.rows.push_back(BuildPlanRow(NavaidKind::Airport, airports.GetLine(departure)));
      for (size_t r = first; r < std::min(first + perPlan, list.Count()); ++r) {
        state.dialog.rows.push_back(BuildPlanRow(kind, list.GetLine(r)));
      }
      const size_t arrival = (departure + 1 + plans * 104729) % airports.Count();
      state.dialog.rows.push_back(BuildPlanRow(NavaidKind::Airport, airports.GetLine(arrival)));
      RecomputeOpenedPlan(state, airports);
      for (const PlanRow& row : state.dialog.rows) ExpectReadsBack(row);
      ++plans;
    }
  }
}

std::string LatitudeText(bool south, int degrees, int minutes, int hundredths) {
  char text[32];
  std::snprintf(text, sizeof text, "%c%02d\xB0%02d'%02d.%02d", south ? 'S' : 'N', degrees, minutes,
                hundredths / 100, hundredths % 100);
  return text;
}

TEST(PlanRowTest, CoordinatesReadAsNavdbReadsTheirText) {
  // Every hundredth of a second of a few minutes: the degrees are navdb's
  // reading of the text, to the last bit, and give the same text back.
  for (const int degrees : {0, 1, 48, 89}) {
    for (const int minutes : {0, 30, 59}) {
      for (int hundredths = 0; hundredths < 6000; ++hundredths) {
        const std::string text = LatitudeText(degrees % 2 == 1, degrees, minutes, hundredths);
        const std::optional<RowCoordinate> read = ReadLatitudeText(text);
        ASSERT_TRUE(read) << text;
        ASSERT_EQ(read->Degrees(), navdb::ParseLatitude(text)) << text;
        PlanRow row = GeneratedRow(PlanRowKind::TopOfClimb, 0, 0);
        row.latitude = *read;
        ASSERT_EQ(FormatPlanRow(row).substr(46, 12), text);
      }
    }
  }
  // Degrees to text cut as navdb writes them: 48.8566 shows 23.75 seconds.
  EXPECT_EQ(FormatPlanRow(GeneratedRow(PlanRowKind::TopOfClimb, 48.8566, -0.5)).substr(46, 27),
            "N48\xB0"
            "51'23.75  W000\xB0"
            "30'00.00");
  std::mt19937_64 random(21);
  std::uniform_real_distribution<double> angle(-180.0, 180.0);
  for (int i = 0; i < 100000; ++i) {
    const double latitude = angle(random) / 2;
    const double longitude = angle(random);
    const std::string text =
        FormatPlanRow(GeneratedRow(PlanRowKind::TopOfClimb, latitude, longitude));
    ASSERT_EQ(text.substr(46, 12), navdb::FormatLatitude(latitude)) << latitude;
    ASSERT_EQ(text.substr(60, 13), navdb::FormatLongitude(longitude)) << longitude;
  }
  for (const char* bad : {"N48\xB0"
                          "51'24.0",
                          "X48\xB0"
                          "51'24.00",
                          "N48*51'24.00",
                          "N4a\xB0"
                          "51'24.00",
                          "N48\xB0"
                          "51'24,00"}) {
    EXPECT_FALSE(ReadLatitudeText(bad)) << bad;
  }
}

TEST(PlanRowTest, EveryDemoDatabaseRowReadsBackAsItself) {
  navdb::Database db;
  db.folder = std::filesystem::path(SKYATLAS_SOURCE_DIR) / "demo" / "NavData";
  navdb::LoadDatabase(db, {});
  ASSERT_GT(db.List(NavaidKind::Intersection).Count(), 300u);
  CheckInsertedRows(db);
  CheckComputedRows(db, 40);
}

TEST(PlanRowTest, EveryWorldDatabaseRowReadsBackAsItself) {
  if (!std::filesystem::exists(navdata_tools::RealNavDataFolder() / "nav.dat.gz")) {
    GTEST_SKIP() << "no real-world navdata in " << navdata_tools::RealNavDataFolder();
  }
  navdb::Database db;
  ASSERT_TRUE(navdata_tools::BuildRealWorldDatabase(db));
  CheckInsertedRows(db);
  CheckComputedRows(db, 200);
}

TEST(PlanRowTest, NumbersBeyondTheirColumnsStillReadBack) {
  // Around the world on the equator at 100 kt: more than 10,000 NM and 100
  // hours, so the distance and the time grow a digit and shift the columns
  // after them, as the computation has always written them.
  PlannerState state;
  state.plan.performance = {"", 500, 90, 500, 90, 9000, "100"};
  OpenPlanDialog(state, PlanOpenMode::New);
  state.dialog.sidStarEnabled = false;
  for (int lon = -178; lon <= 178; lon += 2) {
    state.dialog.rows.push_back(
        BuildPlanRow(NavaidKind::Intersection, testing_support::IntersectionLine("EQ", 0.0, lon)));
  }
  ComputeLegs(state, navdb::EntryList());
  const std::string last = FormatPlanRow(state.dialog.rows.back());
  EXPECT_EQ(last.substr(82), "000  21361.5  213:40:30") << last;
  const std::optional<size_t> tod = FindRow(state.dialog.rows, PlanRowKind::TopOfDescent);
  ASSERT_TRUE(tod);
  EXPECT_EQ(FormatPlanRow(state.dialog.rows[*tod]).substr(87), "21334.5 213:22:33");
  for (const PlanRow& row : state.dialog.rows) ExpectReadsBack(row);
}

TEST(PlanRowTest, TextsNotInTheRowLayoutAreKeptAsTheyAre) {
  const std::string good = planner_test::RowTexts(
      {BuildPlanRow(NavaidKind::Vor, testing_support::VorLine("VVV", "VICTOR", "VOR", 1, 2))})[0];
  const std::string computed = good.substr(0, 80) + "  090  0012.5  00:10:00";
  for (const std::string& text :
       {std::string(), std::string("APT  row one"), good.substr(0, 74), good.substr(0, 79),
        "vor  " + good.substr(5), "TOC  ****" + good.substr(9), "XYZ  " + good.substr(5),
        good.substr(0, 58) + "\t" + good.substr(59), computed + "x", computed + " 1",
        good.substr(0, 75) + "+0100", good.substr(0, 75) + "-0000", good.substr(0, 75) + "00100x",
        good.substr(0, 80) + "   090  0012.5  00:10:00",
        good.substr(0, 80) + "  090  12.5  00:10:00",
        good.substr(0, 80) + "  090  0012.5  00:10:00:00", computed.substr(0, 95) + "0:10:00"}) {
    const PlanRow row = ParsePlanRow(text);
    EXPECT_TRUE(row.IsVerbatim()) << text;
    EXPECT_EQ(FormatPlanRow(row), text);
  }
  // Near misses that are rows: blanks after the last field, a course of a
  // runway without heading, a time that was not known.
  for (const std::string& text :
       {good, computed, computed + "   ", good.substr(0, 80) + "       0012.5",
        good.substr(0, 80) + "  090  0012.5  --:--:--", "TOC  *****" + good.substr(10)}) {
    const PlanRow row = ParsePlanRow(text);
    EXPECT_FALSE(row.IsVerbatim()) << text;
    EXPECT_EQ(FormatPlanRow(row), text);
  }
  EXPECT_EQ(ParsePlanRow("TOC  *****" + good.substr(10)).kind, PlanRowKind::TopOfClimb);
  EXPECT_EQ(MarkedKind(ParsePlanRow("BRD  *****  row two")), PlanRowKind::DepartureTurnStart);
  EXPECT_EQ(MarkedKind(ParsePlanRow("BRD  ****   row two")), std::nullopt);
}

TEST(PlanRowTest, APlanHoldingARowOutOfTheLayoutKeepsItsRows) {
  const navdb::Database db = planner_test::SampleDatabase();
  PlannerState state = planner_test::EquatorPlan(db);
  state.dialog.rows[2] = ParsePlanRow("NDB  NN     NOVEMBER  somewhere east");
  const std::vector<std::string> before = planner_test::RowTexts(state.dialog.rows);
  ComputeLegs(state, db.List(NavaidKind::Airport));
  EXPECT_EQ(planner_test::RowTexts(state.dialog.rows), before)
      << "no leg through a row without a position";

  // Saved and read again, the row is the same bytes.
  PlannerState loaded;
  DecodePlanFile(EncodePlanFile(state), loaded.plan, loaded.staging);
  OpenPlanDialog(loaded, PlanOpenMode::Loaded);
  EXPECT_EQ(planner_test::RowTexts(loaded.dialog.rows), before);
  EXPECT_EQ(loaded.dialog.rows, state.dialog.rows);

  // Without it the plan is computed again.
  state.dialog.rows.erase(state.dialog.rows.begin() + 2);
  ComputeLegs(state, db.List(NavaidKind::Airport));
  EXPECT_TRUE(FindRow(state.dialog.rows, PlanRowKind::TopOfClimb));
  EXPECT_EQ(FormatPlanRow(state.dialog.rows.back()).substr(74), " 00500  270  0180.0  00:33:12");
}

}  // namespace
}  // namespace planner
