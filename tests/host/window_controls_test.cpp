// The flight keys work the session; the display's keys are left alone.
#include "window_controls.h"

#include <gtest/gtest.h>

#include "plan_text.h"

namespace ndhost {
namespace {

class FlightKeys : public ::testing::Test {
 protected:
  FlightKeys() {
    Station near, far;
    near.ident = "NEAR";
    near.position = {0, 0.1};
    near.rangeNm = 40;
    far.ident = "FAR";
    far.position = {0, 0.2};
    far.rangeNm = 40;
    Station ndb = near;
    ndb.kind = StationKind::Ndb;
    ndb.ident = "NDB";
    finder_.SetStations({near, far, ndb});
    session_.Flight().airspeedKt = 100;
    session_.Flight().altitudeFt = session_.Flight().selectedAltitudeFt = 3000;
  }
  bool Press(uint32_t key, bool shift = false, bool ctrl = false) {
    return ApplyFlightKey(key, shift, ctrl, session_);
  }
  StationFinder finder_;
  FlightSession session_{finder_};
};

TEST_F(FlightKeys, TurnSpeedAltitudeAndPause) {
  EXPECT_TRUE(Press(kKeyLeft));
  EXPECT_DOUBLE_EQ(session_.Flight().selectedHeadingDeg, 350);
  EXPECT_TRUE(Press(kKeyRight));
  EXPECT_TRUE(Press(kKeyRight));
  EXPECT_DOUBLE_EQ(session_.Flight().selectedHeadingDeg, 10);
  EXPECT_TRUE(Press(kKeyUp));
  EXPECT_DOUBLE_EQ(session_.Flight().airspeedKt, 110);
  for (int press = 0; press < 20; ++press) Press(kKeyDown);
  EXPECT_DOUBLE_EQ(session_.Flight().airspeedKt, 0);  // never backwards
  EXPECT_TRUE(Press(kKeyPageUp));
  EXPECT_DOUBLE_EQ(session_.Flight().selectedAltitudeFt, 3500);
  EXPECT_TRUE(Press(kKeyPageDown));
  EXPECT_TRUE(Press(kKeyPageDown));
  EXPECT_DOUBLE_EQ(session_.Flight().selectedAltitudeFt, 2500);
  EXPECT_TRUE(Press(kKeySpace));
  EXPECT_TRUE(session_.Flight().paused);
  EXPECT_EQ(session_.StatusText(), "HDG 000 SEL 010 IAS 0 GS 0 ALT 3000/2500 PLAN off PAUSED");
  session_.Advance(10);
  EXPECT_DOUBLE_EQ(session_.Flight().trueHeadingDeg, 0);
  EXPECT_TRUE(Press(kKeySpace));
  session_.Advance(2);
  EXPECT_DOUBLE_EQ(session_.Flight().trueHeadingDeg, 6);
  EXPECT_DOUBLE_EQ(session_.Flight().altitudeFt, 2950);
}

TEST_F(FlightKeys, DisplayKeysAndCtrlAreNotFlightKeys) {
  for (uint32_t key : {static_cast<uint32_t>('G'), static_cast<uint32_t>('V'), 0x09u, 0x70u})
    EXPECT_FALSE(Press(key, true));
  EXPECT_FALSE(Press(kKeyLeft, false, true));
  EXPECT_DOUBLE_EQ(session_.Flight().selectedHeadingDeg, 0);
}

TEST_F(FlightKeys, CycleStationsAndCourse) {
  EXPECT_TRUE(Press(kKeyF5));
  ASSERT_NE(session_.Tuning().nav1, nullptr);
  EXPECT_EQ(session_.Tuning().nav1->ident, "NEAR");
  EXPECT_DOUBLE_EQ(session_.Tuning().nav1CourseDeg, 90);  // toward it
  Press(kKeyF5);
  EXPECT_EQ(session_.Tuning().nav1->ident, "FAR");
  Press(kKeyF5, true);
  EXPECT_EQ(session_.Tuning().nav1->ident, "NEAR");
  Press(kKeyLeft, true);
  EXPECT_DOUBLE_EQ(session_.Tuning().nav1CourseDeg, 85);
  EXPECT_DOUBLE_EQ(session_.Flight().selectedHeadingDeg, 0);  // the heading stays
  Press(kKeyF6);
  EXPECT_EQ(session_.Tuning().nav2->ident, "NEAR");
  Press(kKeyF7);
  EXPECT_EQ(session_.Tuning().adf->ident, "NDB");
  Press(kKeyF7);
  EXPECT_EQ(session_.Tuning().adf->ident, "NDB");  // the only one
}

TEST_F(FlightKeys, FollowThePlanOnAndOff) {
  // Without a route there is nothing to follow.
  EXPECT_TRUE(Press(kKeyEnter));
  EXPECT_FALSE(session_.FollowingPlan());
  session_.SetRoute(ReadPlanRoute(gauge_test::PlanText(
      "09L/087/11000", "27R/270/12799",
      {{"APT", "AAAA", 0, 0, 0}, {"VOR", "BBB", -0.5, 0, 4000}, {"APT", "CCCC", -1, 0, 0}})));
  Press(kKeyEnter);
  EXPECT_TRUE(session_.FollowingPlan());
  session_.Advance(1);
  // The pilot steers south toward the second point and climbs toward it.
  EXPECT_NEAR(session_.Flight().selectedHeadingDeg, 180, 1e-6);
  EXPECT_DOUBLE_EQ(session_.Flight().selectedAltitudeFt, 4000);
  // A turn by hand takes over from the pilot.
  Press(kKeyRight);
  EXPECT_FALSE(session_.FollowingPlan());
  EXPECT_NEAR(session_.Flight().selectedHeadingDeg, 190, 1e-6);
}

TEST(FlightKeyLegend, NamesEveryFlightKey) {
  std::string legend = FlightKeyLegend();
  for (const char* name : {"Left/Right", "Shift+Left/Right", "Up/Down", "PgUp/PgDn", "Space",
                           "Enter", "F5, F6, F7", "Tab", "Shift+G"})
    EXPECT_NE(legend.find(name), std::string::npos) << name;
}

}  // namespace
}  // namespace ndhost
