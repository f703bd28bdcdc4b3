#include "data/loader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "data/nav_math.h"
#include "test_environment.h"
#include "tests/support/database_writer.h"

namespace lumaro {
namespace {

using gauge_test::BuildDatabase;
using gauge_test::SimulatorFolder;
using gauge_test::TestNavaid;

constexpr double kAircraftLatDeg = 10.0;
constexpr double kAircraftLonDeg = 10.0;

// Navaids around the aircraft, with guards: one far west, one far east, and
// one inside the longitude window but far north (never a candidate).
std::vector<TestNavaid> Surrounded(std::vector<TestNavaid> navaids) {
  navaids.push_back({'I', "WEST", 10.0, -100.0});
  navaids.push_back({'I', "NORTH", 50.0, 10.05});
  navaids.push_back({'I', "EAST", 10.0, 100.0});
  return navaids;
}

std::vector<TestNavaid> Ndbs(int count) {
  std::vector<TestNavaid> navaids;
  for (int index = 0; index < count; ++index) {
    navaids.push_back({'N', "N" + std::to_string(index), kAircraftLatDeg + index * 0.001,
                       kAircraftLonDeg + index * 0.001});
  }
  return navaids;
}

int Shown(const DisplayList& list) {
  int count = 0;
  while (count < LUMARO_LIST_CAPACITY && list[count].shown != 0) ++count;
  return count;
}

LoaderInputs InputsAt(double latitudeDeg, double longitudeDeg, int rangeNm, std::string nav1 = "") {
  LoaderInputs inputs;
  inputs.rawLatitude = latitudeDeg / kLatitudeScale;
  inputs.rawLongitude = (longitudeDeg < 0 ? longitudeDeg + 360 : longitudeDeg) / kLongitudeScale;
  inputs.rangeNm = rangeNm;
  inputs.nav1Ident = std::move(nav1);
  return inputs;
}

class LoaderTest : public ::testing::Test {
 protected:
  void Open(const std::vector<TestNavaid>& navaids) {
    gauge_test::WriteDatabase(folder_.path(), BuildDatabase(navaids));
    ASSERT_EQ(OpenNavDatabase(database_, folder_.path().string()), 0);
    window_ = {};
  }
  SearchResult Search(const LoaderInputs& inputs) {
    return SearchNavaids(database_, window_, inputs, stop_.get_token());
  }
  // The first run is a cold start with its coarse step; the second settles.
  SearchResult SearchSettled(const LoaderInputs& inputs) {
    SearchResult first = Search(inputs);
    SearchResult second = Search(inputs);
    EXPECT_EQ(Shown(first.lists.lists[LUMARO_LIST_NDB]),
              Shown(second.lists.lists[LUMARO_LIST_NDB]));
    return second;
  }

  SimulatorFolder folder_;
  NavDatabase database_;
  SearchWindow window_;
  std::stop_source stop_;
};

TEST_F(LoaderTest, ThinsEachListToFifty) {
  struct Case {
    int candidates;
    int shown;
  };
  for (Case testCase : {Case{49, 49}, Case{50, 25}, Case{120, 40}, Case{700, 50}}) {
    SCOPED_TRACE(testCase.candidates);
    Open(Surrounded(Ndbs(testCase.candidates)));
    SearchResult result = SearchSettled(InputsAt(kAircraftLatDeg, kAircraftLonDeg, 320));
    ASSERT_EQ(result.outcome, SearchOutcome::Complete);
    const DisplayList& ndbs = result.lists.lists[LUMARO_LIST_NDB];
    EXPECT_EQ(Shown(ndbs), testCase.shown);
    EXPECT_EQ(ndbs[0].kind, LUMARO_KIND_NDB);
    EXPECT_EQ(ndbs[0].row, 0);
    EXPECT_NEAR(ndbs[0].latitudeDeg, kAircraftLatDeg, 1e-4);
    if (testCase.candidates == 50) {
      EXPECT_EQ(ndbs[1].row, 2);  // every second one
    }
    if (testCase.candidates == 120) {
      EXPECT_EQ(ndbs[1].row, 3);  // every third one
    }
    EXPECT_EQ(Shown(result.lists.lists[LUMARO_LIST_INTERSECTION]), 0);
  }
}

TEST_F(LoaderTest, IlsStationsOnlyBelowRangeThirty) {
  std::vector<TestNavaid> navaids = {{'V', "VVV", 10.01, 10.01, "VOR/DME"},
                                     {'V', "III", 10.02, 10.02, "ILS/DME"},
                                     {'V', "DDD", 10.03, 10.03, "DME"}};
  Open(Surrounded(navaids));
  SearchResult near = SearchSettled(InputsAt(kAircraftLatDeg, kAircraftLonDeg, 20));
  const DisplayList& nearVors = near.lists.lists[LUMARO_LIST_VOR];
  ASSERT_EQ(Shown(nearVors), 3);
  EXPECT_EQ(nearVors[0].kind, LUMARO_KIND_VOR);
  EXPECT_EQ(nearVors[1].kind, LUMARO_KIND_ILS);
  EXPECT_EQ(nearVors[2].kind, LUMARO_KIND_DME);
  SearchResult far = Search(InputsAt(kAircraftLatDeg, kAircraftLonDeg, 40));
  const DisplayList& farVors = far.lists.lists[LUMARO_LIST_VOR];
  ASSERT_EQ(Shown(farVors), 2);
  EXPECT_EQ(farVors[0].kind, LUMARO_KIND_VOR);
  EXPECT_EQ(farVors[1].kind, LUMARO_KIND_DME);
}

TEST_F(LoaderTest, TunedStationIsTheLastPrefixMatchAndNotListed) {
  std::vector<TestNavaid> navaids = {
      {'V', "PAR", 10.01, 10.01}, {'V', "PAS", 10.02, 10.02}, {'V', "ORY", 10.03, 10.03, "DME"}};
  Open(Surrounded(navaids));
  SearchResult result = SearchSettled(InputsAt(kAircraftLatDeg, kAircraftLonDeg, 80, "PA"));
  EXPECT_EQ(result.lists.tuned.shown, 1);
  EXPECT_EQ(result.lists.tuned.row, 1);
  EXPECT_EQ(result.lists.tuned.kind, LUMARO_KIND_VOR);
  const DisplayList& vors = result.lists.lists[LUMARO_LIST_VOR];
  ASSERT_EQ(Shown(vors), 1);
  EXPECT_EQ(vors[0].row, 2);
  SearchResult untuned = Search(InputsAt(kAircraftLatDeg, kAircraftLonDeg, 80, ""));
  EXPECT_EQ(untuned.lists.tuned.shown, 0);
  EXPECT_EQ(Shown(untuned.lists.lists[LUMARO_LIST_VOR]), 3);
}

TEST_F(LoaderTest, OnlyNavaidsWithinReachInLatitudeAndLongitude) {
  // Range 10: reach 11 NM, about 0.18 degrees of latitude.
  std::vector<TestNavaid> navaids = {
      {'N', "IN", 10.1, 10.1}, {'N', "OUTLA", 10.3, 10.05}, {'N', "OUTLO", 10.0, 10.4}};
  Open(Surrounded(navaids));
  SearchResult result = SearchSettled(InputsAt(kAircraftLatDeg, kAircraftLonDeg, 10));
  const DisplayList& ndbs = result.lists.lists[LUMARO_LIST_NDB];
  ASSERT_EQ(Shown(ndbs), 1);
  EXPECT_EQ(ndbs[0].row, 0);
}

TEST_F(LoaderTest, ColdStartFindsTheWholeWindowAndLaterRunsMoveLittle) {
  Open(Surrounded(Ndbs(120)));
  SearchResult first = Search(InputsAt(kAircraftLatDeg, kAircraftLonDeg, 320));
  EXPECT_EQ(Shown(first.lists.lists[LUMARO_LIST_NDB]), 40);
  EXPECT_EQ(window_.lower, 1u);
  EXPECT_EQ(window_.upper, 122u);  // the far north guard is in, the east guard out
  SearchWindow before = window_;
  Search(InputsAt(kAircraftLatDeg, kAircraftLonDeg + 1.0 / 60, 320));
  EXPECT_EQ(window_.lower, before.lower);
  EXPECT_EQ(window_.upper, before.upper);
}

TEST_F(LoaderTest, WindowJumpsAcrossTheDateLine) {
  std::vector<TestNavaid> navaids = {{'I', "W0", 10.0, -179.95},
                                     {'I', "W1", 10.0, -179.9},
                                     {'I', "MID", 10.0, 0.0},
                                     {'I', "E0", 10.0, 179.9},
                                     {'I', "E1", 10.0, 179.95}};
  Open(navaids);
  SearchSettled(InputsAt(10.0, 179.97, 40));
  size_t last = database_.views[DatabaseFile::Index].RecordCount() - 1;
  EXPECT_EQ(window_.upper, last);
  SearchResult west = Search(InputsAt(10.0, -179.97, 40));
  EXPECT_EQ(window_.lower, 0u);
  EXPECT_EQ(window_.upper, 2u);
  const DisplayList& list = west.lists.lists[LUMARO_LIST_INTERSECTION];
  ASSERT_GE(Shown(list), 1);
  EXPECT_LT(list[0].longitudeDeg, -179.0f);
  // Going east again from the first record jumps to the end.
  window_ = {};
  Search(InputsAt(10.0, -179.97, 40));
  SearchResult east = Search(InputsAt(10.0, 179.97, 40));
  EXPECT_EQ(window_.lower, 3u);
  ASSERT_GE(Shown(east.lists.lists[LUMARO_LIST_INTERSECTION]), 1);
  EXPECT_GT(east.lists.lists[LUMARO_LIST_INTERSECTION][0].longitudeDeg, 179.0f);
}

TEST_F(LoaderTest, RowBeyondItsFileEndsTheSearchAsAFault) {
  gauge_test::DatabaseFiles files =
      BuildDatabase(Surrounded({{'N', "NDB1", 10.0, 10.001}, {'V', "VOR1", 10.0, 10.002}}));
  size_t vorRef = files.index.find("VOR00000");
  ASSERT_NE(vorRef, std::string::npos);
  files.index.replace(vorRef, 8, "VOR00099");
  gauge_test::WriteDatabase(folder_.path(), files);
  ASSERT_EQ(OpenNavDatabase(database_, folder_.path().string()), 0);
  SearchResult result = SearchSettled(InputsAt(kAircraftLatDeg, kAircraftLonDeg, 80, "VOR1"));
  EXPECT_EQ(result.outcome, SearchOutcome::Fault);
  EXPECT_EQ(result.lists.tuned.shown, 0);
}

TEST_F(LoaderTest, StopRequestEndsTheSearch) {
  Open(Surrounded(Ndbs(20)));
  stop_.request_stop();
  EXPECT_EQ(Search(InputsAt(kAircraftLatDeg, kAircraftLonDeg, 320)).outcome,
            SearchOutcome::Stopped);
}

TEST_F(LoaderTest, ThreadSwapsItsListsInAndRecordsTheTrail) {
  Open(Surrounded(Ndbs(10)));
  SharedDisplayData shared;
  LoaderThread loader;
  shared.loading = true;
  ASSERT_TRUE(loader.Start(database_, window_, shared,
                           InputsAt(kAircraftLatDeg, kAircraftLonDeg, 320), false));
  for (int wait = 0; wait < 500 && loader.IsRunning(); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_FALSE(loader.IsRunning());
  std::lock_guard guard(shared.lock);
  EXPECT_FALSE(shared.loading);
  EXPECT_TRUE(shared.redrawRequest);
  EXPECT_EQ(shared.loaderRuns, 1u);
  EXPECT_GT(Shown(shared.lists.lists[LUMARO_LIST_NDB]), 0);
  EXPECT_EQ(shared.trail.writeIndex, 126);
  EXPECT_NEAR(shared.trail.entries[127].latitudeDeg, kAircraftLatDeg, 1e-4);
  EXPECT_NEAR(shared.trail.entries[127].longitudeDeg, kAircraftLonDeg, 1e-4);
  EXPECT_GT(shared.nmPerDegreeLongitude, 58.0);
}

TEST(PositionTrail, WrapsFromZeroBackTo127) {
  PositionTrail trail;
  for (int run = 0; run < 128; ++run) trail.Add(static_cast<float>(run), 0.0f);
  EXPECT_EQ(trail.writeIndex, 127);
  EXPECT_EQ(trail.entries[0].latitudeDeg, 127.0f);
  trail.Add(500.0f, 1.0f);
  EXPECT_EQ(trail.entries[127].latitudeDeg, 500.0f);
  EXPECT_EQ(trail.writeIndex, 126);
}

}  // namespace
}  // namespace lumaro
