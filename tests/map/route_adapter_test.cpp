#include "map/route_adapter.h"

#include <gtest/gtest.h>

#include "planner/leg_computation.h"
#include "tests/planner/planner_fixtures.h"

namespace navmap {
namespace {

TEST(RouteAdapterTest, TheComputedPlanBecomesTheRouteWithItsGeneratedPointsAndRunways) {
  const navdb::Database db = planner_test::SampleDatabase();
  planner::PlannerState state = planner_test::EquatorPlan(db);
  planner::ComputeLegs(state, db.List(navdb::NavaidKind::Airport));
  // A runway turn as the turn-point generator writes it, after the departure.
  planner::PlanRow turn = planner::GeneratedRow(planner::PlanRowKind::DepartureTurnStart, 0.0, 0.2);
  turn.altitudeFt = 1500;
  state.dialog.rows.insert(state.dialog.rows.begin() + 1, turn);
  state.dialog.departureRunway.Clear();
  state.dialog.departureRunway.editText = "09L/090/11000";
  state.dialog.arrivalRunway.Clear();
  state.dialog.arrivalRunway.editText = "27 /270/";

  const platform::Result<MapRoute> route = RouteOfPlan(state);
  ASSERT_TRUE(route) << route.error().message;
  struct Expected {
    const char* identifier;
    RoutePointKind kind;
    bool generated;
  };
  const Expected expected[] = {
      {"AAAA", RoutePointKind::Airport, false},  {"BRD", RoutePointKind::RunwayTurn, true},
      {"TOC", RoutePointKind::TopOfClimb, true}, {"VVV", RoutePointKind::Vor, false},
      {"NN", RoutePointKind::Ndb, false},        {"TOD", RoutePointKind::TopOfDescent, true},
      {"BBBB", RoutePointKind::Airport, false},
  };
  ASSERT_EQ(route->points.size(), std::size(expected));
  for (size_t i = 0; i < route->points.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(route->points[i].identifier, expected[i].identifier);
    EXPECT_EQ(route->points[i].kind, expected[i].kind);
    EXPECT_EQ(route->points[i].generated, expected[i].generated);
  }
  EXPECT_NEAR(route->points[3].lonDeg, 1.0, 1e-4);
  EXPECT_NEAR(route->points[1].lonDeg, 0.2, 1e-4);
  EXPECT_NEAR(route->points[2].latDeg, 0.0, 1e-4);
  EXPECT_GT(route->points[2].lonDeg, 0.0);
  EXPECT_LT(route->points[2].lonDeg, 1.0);
  ASSERT_TRUE(route->departureRunway);
  EXPECT_EQ(route->departureRunway->headingDeg, 90);
  EXPECT_EQ(route->departureRunway->lengthFt, 11000);
  EXPECT_EQ(route->departureRunway->designation, "09L");
  // A runway without a length is no runway to draw.
  EXPECT_FALSE(route->arrivalRunway);
}

TEST(RouteAdapterTest, ARowThatIsNoPlanRowIsNamedAndNothingIsDrawn) {
  const navdb::Database db = planner_test::SampleDatabase();
  planner::PlannerState state = planner_test::EquatorPlan(db);
  state.dialog.rows[2] = planner::ParsePlanRow("NDB  a row cut short");
  const platform::Result<MapRoute> cutShort = RouteOfPlan(state);
  ASSERT_FALSE(cutShort);
  EXPECT_EQ(cutShort.error().message, "row 2 is not a plan row");
  state.dialog.rows.resize(1);
  const platform::Result<MapRoute> single = RouteOfPlan(state);
  ASSERT_FALSE(single);
  EXPECT_EQ(single.error().message, "the plan has fewer than two waypoints");
}

}  // namespace
}  // namespace navmap
