#include "planner/plan_import.h"

#include <gtest/gtest.h>

#include "navdb/coordinates.h"
#include "planner/plan_rows.h"
#include "tests/planner/planner_fixtures.h"
#include "tests/support/failure_text.h"
#include "tests/support/recording_ui.h"

namespace planner {
namespace {

using navdb::NavaidKind;

TEST(ForeignPlanTest, FlightShopReadsUpToTheEndMarker) {
  PlannerState state;
  state.plan.rotationDistanceNm = 3;
  state.plan.departureAirport = "OLD";
  const std::string bytes =
      "a\r\nb\r\nc\r\n1500\r\n220\r\n1200\r\n250\r\n9000\r\n0.705\r\n"
      "AAAA\r\nALPHA INTL WITH A VERY LONG NAME\r\n-\r\nAPT\r\n"
      "VVVVVVV\r\nVICTOR\r\n-\r\nVOR\r\n99999\r\nNN\r\nNOVEMBER\r\n-\r\nNDB\r\n";
  ASSERT_EQ(
      FailureText(ParseForeignPlan(state, bytes, "route.v2.fsp", ForeignPlanForm::FlightShop)), "");
  EXPECT_EQ(state.plan.planName, "route");
  EXPECT_EQ(state.plan.departureAirport, "");  // the whole plan was cleared
  EXPECT_EQ(state.plan.rotationDistanceNm, 0);
  EXPECT_EQ(state.plan.performance.climbRateFpm, 1500);
  EXPECT_EQ(state.plan.performance.cruiseAltitudeFt, 9000);
  EXPECT_EQ(state.plan.performance.cruiseSpeed, "0.70");
  EXPECT_EQ(state.staging.records[0].name, "ALPHA INTL WITH A VERY L");
  EXPECT_EQ(state.staging.records[1].identifier, "VVVVV");
  EXPECT_EQ(state.staging.records[2].identifier, "99999");
  EXPECT_EQ(state.staging.records[3].identifier, "");

  OpenPlanDialog(state, PlanOpenMode::FlightShopImport);
  EXPECT_EQ(state.plan.performance.aircraftName, "(from Flight Shop flight plan)");
  EXPECT_EQ(state.dialog.rotationDistanceText, "10.0");
  EXPECT_EQ(state.dialog.rotationRadiusText, "5.0");
}

TEST(ForeignPlanTest, Fs200xFieldsByPositionAndBadIndices) {
  PlannerState state;
  std::string bytes =
      "cruising_altitude=31000\n"
      "waypoint.0=LFPG, A, N49* 0.58', E2* 32.87', +000392.00,\n"
      "waypoint.1=PON, V, S10* 30.00', W2* 15.00', +000000.00,\n"
      "waypoint.-1=BAD, V, N1* 0.00', E1* 0.00',\n"
      "waypoint.256=BAD, V, N1* 0.00', E1* 0.00',\n"
      "waypoint.2\n";
  bytes += "waypoint.3=ABCDEFGHIJ, " + std::string(300, 'I') + "\n";
  ASSERT_EQ(FailureText(ParseForeignPlan(state, bytes, "fs.PLN", ForeignPlanForm::Fs200x)), "");
  EXPECT_EQ(state.plan.performance.cruiseAltitudeFt, 31000);
  const auto& r = state.staging.records;
  EXPECT_EQ(r[0].identifier, "LFPG");
  EXPECT_EQ(r[0].kind, "A");
  EXPECT_NEAR(r[0].latitudeDeg, 49 + 0.58 / 60, 1e-12);
  EXPECT_NEAR(r[0].longitudeDeg, 2 + 32.87 / 60, 1e-12);
  EXPECT_EQ(r[1].identifier, "PON");
  EXPECT_NEAR(r[1].latitudeDeg, -10.5, 1e-12);
  EXPECT_NEAR(r[1].longitudeDeg, -2.25, 1e-12);
  EXPECT_EQ(r[2].kind, "");
  EXPECT_EQ(r[3].identifier, "ABCDE");
  EXPECT_EQ(r[3].kind, "IIIIIII");
  EXPECT_EQ(r[255].identifier, "");
  EXPECT_EQ(ForeignFormOf("x/Y.FsP"), ForeignPlanForm::FlightShop);
  EXPECT_EQ(ForeignFormOf("x/y.pln"), ForeignPlanForm::Fs200x);
  EXPECT_FALSE(ForeignFormOf("x/y.txt").has_value());
}

TEST(ForeignPlanTest, ImportsMatchByNameOrByPosition) {
  navdb::Database db = planner_test::SampleDatabase();
  auto& vor = db.List(NavaidKind::Vor);
  vor.AddLine(testing_support::VorLine("VVV", "VICTOR", "VOR/DME", 40.0, 10.0));
  vor.AddLine(testing_support::VorLine("VVV", "AVICTOR", "VOR/DME", 20.0, 10.0));
  testing_support::RecordingUi ui;

  // Flight Shop: identifier and name pick the line; a missing one is asked about.
  PlannerState fsp;
  ASSERT_EQ(FailureText(ParseForeignPlan(
                fsp,
                "a\nb\nc\n0\n0\n0\n0\n0\n0\nVVV\nVICTOR\n-\nVOR\nFIXXX\nignored\n-\nFIX\n"
                "NN\nNOVEMBRE\n-\nNDB\nZZZ\nX\n-\nVOR\n",
                "a.fsp", ForeignPlanForm::FlightShop)),
            "");
  std::vector<planner::WaypointPickRequest> requests;
  ui.waypointAnswer = [&](const planner::WaypointPickRequest& request) {
    requests.push_back(request);
    return request.suggested;  // the user takes the suggested line
  };
  ui.QueueAnswers({navdb::MessageAnswer::Ok, navdb::MessageAnswer::Cancel});
  ImportFlightShopWaypoints(fsp, db, ui);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].caption, "Warning : can't import a waypoint !");
  EXPECT_EQ(ui.messages[0].text,
            "NN     NOVEMBRE NDB cannot be found in database.\n\n"
            "Click on [OK] to choose another waypoint in the database.\n"
            "Click on [Cancel] to skip this waypoint for this flight plan.");
  EXPECT_EQ(ui.messages[0].buttons, navdb::MessageButtons::OkCancel);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(requests[0].clearSelections);
  ASSERT_TRUE(requests[0].suggested.has_value());
  EXPECT_EQ(requests[0].suggested->kind, NavaidKind::Ndb);  // "NN     NOVEMB" matches
  EXPECT_EQ(ui.messages[1].text.substr(0, 20), "ZZZ    X VOR cannot ");
  ASSERT_EQ(fsp.dialog.rows.size(), 3u);
  EXPECT_EQ(FormatPlanRow(fsp.dialog.rows[0]).substr(0, 20), "VOR  VVV    VICTOR  ");
  EXPECT_EQ(FormatPlanRow(fsp.dialog.rows[0]).substr(46, 12), navdb::FormatLatitude(0.0));
  EXPECT_EQ(FormatPlanRow(fsp.dialog.rows[1]).substr(0, 10), "INT  FIXXX");
  EXPECT_EQ(FormatPlanRow(fsp.dialog.rows[2]).substr(0, 7), "NDB  NN");

  // FS200X: the line whose position matches to the whole degree.
  PlannerState fs;
  ASSERT_EQ(FailureText(ParseForeignPlan(fs,
                                         "waypoint.0=VVV, V, N19* 40.00', E10* 0.00', +0,\n"
                                         "waypoint.1=GHOST, N, N1* 0.00', W1* 30.00', +0,\n"
                                         "waypoint.2=XX, X, N1* 0.00', W1* 30.00', +0,\n"
                                         "waypoint.3=IBB, V, N0* 0.00', E3* 6.00', +0,\n",
                                         "fs.pln", ForeignPlanForm::Fs200x)),
            "");
  ImportFs200xWaypoints(fs, db);
  ASSERT_EQ(fs.dialog.rows.size(), 3u);
  EXPECT_EQ(FormatPlanRow(fs.dialog.rows[0]).substr(5, 12), "VVV    AVICT");
  EXPECT_EQ(FormatPlanRow(fs.dialog.rows[1]).substr(0, 80),
            "NDB  GHOST" + std::string(28, ' ') + "---.--  " + navdb::FormatLatitude(1.0) + "  " +
                navdb::FormatLongitude(-1.5) + "  00000");
  EXPECT_EQ(FormatPlanRow(fs.dialog.rows[2]).substr(0, 8), "VOR  IBB");
  EXPECT_EQ(fs.dialog.departureAirportText, "Not APT");
}

std::string FlightShopWaypoints(size_t count) {
  std::string bytes = "a\nb\nc\n1\n2\n3\n4\n5\n6\n";
  for (size_t i = 0; i < count; ++i) bytes += "W" + std::to_string(i) + "\nNAME\n-\nVOR\n";
  return bytes;
}

// A file of neither form gives no waypoint: it is refused, and the plan and
// the staging table stay as they were.
TEST(ForeignPlanTest, FilesWithoutWaypointsAreRefused) {
  const std::string garbage = std::string(
                                  "\x7f"
                                  "ELF\x02\x01\n",
                                  7) +
                              std::string(300, 'x');
  for (ForeignPlanForm form : {ForeignPlanForm::FlightShop, ForeignPlanForm::Fs200x}) {
    const std::string_view refusal =
        form == ForeignPlanForm::FlightShop ? kNotFlightShopText : kNotFs200xText;
    for (const std::string& bytes :
         {std::string(), garbage, std::string("a\nb\nc\n1\n2\n3\n4\n5\n6\n99999\n"),
          std::string("[flightplan]\nwaypoint.1=AAAA, A, N0* 0.00', E0* 0.00',\n")}) {
      PlannerState state;
      state.plan.planName = "KEPT";
      state.staging.records[0].identifier = "OLD";
      EXPECT_EQ(FailureText(ParseForeignPlan(state, bytes, "x.any", form)), refusal) << bytes;
      EXPECT_EQ(state.plan.planName, "KEPT");
      EXPECT_EQ(state.staging.records[0].identifier, "OLD");
    }
  }
  PlannerState state;
  EXPECT_EQ(FailureText(ParseForeignPlan(state, FlightShopWaypoints(1), "x.fsp",
                                         ForeignPlanForm::FlightShop)),
            "");
  EXPECT_EQ(state.plan.planName, "x");
}

TEST(ForeignPlanTest, Fs200xWaypointsOffTheGlobeAreRefused) {
  auto plan = [](const std::string& latitude, const std::string& longitude) {
    return "waypoint.0=AAAA, A, " + latitude + ", " + longitude + ", +0,\n" +
           "waypoint.1=ZZZZ, I, N1* 0.00', E1* 0.00', +0,\n";
  };
  const std::pair<std::string, std::string> kept[] = {
      {"N90* 0.00'", "E180* 0.00'"}, {"S89* 60.00'", "W179* 60.00'"}, {"N0* 0.00'", "W0* 0.00'"}};
  const std::pair<std::string, std::string> refused[] = {
      {"N90* 0.01'", "E1* 0.00'"},  {"S95* 0.00'", "E1* 0.00'"},
      {"N1* 0.00'", "E180* 0.01'"}, {"N1* 0.00'", "W1000* 0.00'"},
      {"N1* 1e308'", "E1* 0.00'"},  {"N333333333333333* 0.00'", "E1* 0.00'"},
      {"N1* 0.00'", "E1* 1e999'"},
  };
  for (const auto& [latitude, longitude] : kept) {
    PlannerState state;
    EXPECT_EQ(FailureText(ParseForeignPlan(state, plan(latitude, longitude), "x.pln",
                                           ForeignPlanForm::Fs200x)),
              "")
        << latitude << " " << longitude;
  }
  for (const auto& [latitude, longitude] : refused) {
    PlannerState state;
    state.plan.planName = "KEEP";
    EXPECT_EQ(FailureText(ParseForeignPlan(state, plan(latitude, longitude), "x.pln",
                                           ForeignPlanForm::Fs200x)),
              "A waypoint of the flight plan lies off the globe: its latitude is beyond 90 "
              "degrees or its longitude beyond 180.")
        << latitude << " " << longitude;
    EXPECT_EQ(state.plan.planName, "KEEP");
  }
}

TEST(ForeignPlanTest, Fs200xCruiseAltitudeMustFitItsField) {
  const std::string waypoint = "waypoint.0=AAAA, A, N0* 0.00', E0* 0.00', +0,\n";
  for (const char* altitude : {"-99999999999999999999", "-1", "100000", "99999999999999999999"}) {
    PlannerState state;
    EXPECT_EQ(FailureText(ParseForeignPlan(
                  state, std::string("cruising_altitude=") + altitude + "\n" + waypoint, "x.pln",
                  ForeignPlanForm::Fs200x)),
              kCruiseAltitudeRangeText)
        << altitude;
  }
  for (int32_t altitude : {0, 99999}) {
    PlannerState state;
    EXPECT_EQ(FailureText(ParseForeignPlan(
                  state, "cruising_altitude=" + std::to_string(altitude) + "\n" + waypoint, "x.pln",
                  ForeignPlanForm::Fs200x)),
              "");
    EXPECT_EQ(state.plan.performance.cruiseAltitudeFt, altitude);
  }
}

}  // namespace
}  // namespace planner
