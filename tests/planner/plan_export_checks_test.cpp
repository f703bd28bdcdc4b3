// The exported files read by the programs' own rules: GPX against its
// schema, the FlightGear file as XML, the FMS file by its line count; a
// route across the date line; rows that must not be exported; failures to
// write that must leave nothing behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "planner/leg_computation.h"
#include "planner/plan_export.h"
#include "planner/plan_file.h"
#include "planner/plan_rows.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"
#include "tests/support/failure_text.h"
#include "tests/support/navaid_lines.h"
#include "tests/support/temp_folder.h"

namespace planner {
namespace {

using navdb::NavaidKind;
using testing_support::TempFolder;

const std::string kSchema = std::string(SKYATLAS_SOURCE_DIR) + "/tools/schemas/gpx.xsd";

bool HaveXmllint() {
  return std::system("command -v xmllint > /dev/null 2>&1") == 0;
}

// Runs xmllint with `arguments`; returns its exit status, its output in `log`.
int Xmllint(const std::string& arguments, const TempFolder& folder, std::string& log) {
  const std::string logFile = (folder / "xmllint.log").string();
  const int status = std::system(("xmllint " + arguments + " > '" + logFile + "' 2>&1").c_str());
  log = folder.Read("xmllint.log");
  std::filesystem::remove(logFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// West of the date line WEST (179.5 E), then a VOR right on the line, an NDB
// and EAST (179.4 W), with the runway turns and TOC/TOD computed.
PlannerState DateLinePlan(navdb::Database& db) {
  auto& apt = db.List(NavaidKind::Airport);
  apt.AddLine(testing_support::AirportLine("WEST", "WEST ISLAND", "09 /27", 90, 0.0, 179.5, 20));
  apt.AddLine(testing_support::AirportLine("EAST", "EAST ATOLL", "09 /27", 90, 0.2, -179.4, 40));
  db.List(NavaidKind::Vor)
      .AddLine(testing_support::VorLine("DLV", "DATELINE", "VOR/DME", 0.1, 180.0));
  db.List(NavaidKind::Ndb).AddLine(testing_support::NdbLine("DL", "DATE", 0.1, -179.8));
  PlannerState state;
  state.plan.planName = "DATELINE";
  AircraftPerformance& p = state.plan.performance;
  p.climbRateFpm = 1500;
  p.climbSpeedKt = 160;
  p.descentRateFpm = 1500;
  p.descentSpeedKt = 200;
  p.cruiseAltitudeFt = 9000;
  p.cruiseSpeed = "0.45";
  OpenPlanDialog(state, PlanOpenMode::New);
  state.plan.rotationDistanceNm = 4;
  state.plan.rotationRadiusNm = 2;
  state.dialog.rotationDistanceText = "4.0";
  state.dialog.rotationRadiusText = "2.0";
  PlaceWaypoint(state, db, -1, {NavaidKind::Airport, *apt.FindPrefix("WEST")});
  PlaceWaypoint(state, db, -1, {NavaidKind::Airport, *apt.FindPrefix("EAST")});
  InsertBeforeArrival(state, db, {NavaidKind::Vor, 0});
  InsertBeforeArrival(state, db, {NavaidKind::Ndb, 0});
  state.dialog.departureRunway.Select(0);
  state.dialog.arrivalRunway.Select(0);
  ComputeLegs(state, apt);
  // What a save and a load make of it: the export reads stored plans.
  PlannerState loaded;
  loaded.plan.planName = state.plan.planName;
  DecodePlanFile(EncodePlanFile(state), loaded.plan, loaded.staging);
  OpenPlanDialog(loaded, PlanOpenMode::Loaded);
  return loaded;
}

// Every lon="..." attribute of a GPX text, in order.
std::vector<double> GpxLongitudes(const std::string& gpx) {
  std::vector<double> longitudes;
  for (size_t at = gpx.find(" lon=\""); at != std::string::npos; at = gpx.find(" lon=\"", at + 1)) {
    longitudes.push_back(platform::ReadDouble(gpx, at + 6));
  }
  return longitudes;
}

TEST(PlanExportChecksTest, DateLineRouteKeepsItsLongitudesAndPassesTheFormatChecks) {
  navdb::Database db;
  const PlannerState plan = DateLinePlan(db);
  ASSERT_TRUE(FindRow(plan.dialog.rows, PlanRowKind::DepartureTurnStart))
      << "the runway turn is part of the check";
  ASSERT_TRUE(FindRow(plan.dialog.rows, PlanRowKind::TopOfClimb));
  TempFolder folder;
  for (const auto& [format, name] :
       {std::pair{ExportFormat::Gpx, "plan.gpx"}, std::pair{ExportFormat::FlightGear, "plan.xml"},
        std::pair{ExportFormat::XPlaneFms, "plan.fms"}}) {
    ASSERT_EQ(FailureText(ExportPlanFile(plan, format, folder / name, {2612})), "") << name;
  }

  // Flown eastward across the line: unwrapped to 0..360 the longitudes only
  // grow, from the departure at 179.5 E to the arrival at 179.4 W, and the
  // VOR on the line is written as -180, the form GPX allows.
  const std::vector<double> longitudes = GpxLongitudes(folder.Read("plan.gpx"));
  ASSERT_EQ(longitudes.size(), plan.dialog.rows.size());
  EXPECT_EQ(longitudes.front(), 179.5);
  EXPECT_EQ(longitudes.back(), -179.4);
  EXPECT_NE(std::find(longitudes.begin(), longitudes.end(), -180.0), longitudes.end());
  for (size_t i = 1; i < longitudes.size(); ++i) {
    const auto unwrapped = [](double lon) { return lon < 0 ? lon + 360 : lon; };
    EXPECT_GE(unwrapped(longitudes[i]), unwrapped(longitudes[i - 1]) - 0.2) << "point " << i;
    EXPECT_LT(unwrapped(longitudes[i]) - unwrapped(longitudes[i - 1]), 0.6) << "point " << i;
  }
  const std::string fms = folder.Read("plan.fms");
  EXPECT_NE(fms.find("\r\n1 WEST ADEP 20.000000 0.000000 179.500000\r\n"), std::string::npos)
      << fms;
  EXPECT_NE(fms.find("\r\n3 DLV DRCT 9000.000000 0.100000 -180.000000\r\n"), std::string::npos);
  EXPECT_NE(fms.find("\r\n1 EAST ADES 40.000000 0.200000 -179.400000\r\n"), std::string::npos);
  EXPECT_NE(folder.Read("plan.xml").find("<lon type=\"double\">-180</lon>"), std::string::npos);

  // X-Plane counts the enroute lines: the header's seven lines (with both
  // runways), NUMENR, then exactly NUMENR lines, one per plan row.
  std::vector<std::string> lines;
  std::istringstream stream(fms);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  ASSERT_GE(lines.size(), 8u);
  EXPECT_EQ(lines[7], "NUMENR " + std::to_string(plan.dialog.rows.size()) + "\r");
  EXPECT_EQ(lines.size(), 8 + plan.dialog.rows.size());

  if (!HaveXmllint()) GTEST_SKIP() << "xmllint is not installed (Debian: libxml2-utils)";
  std::string log;
  EXPECT_EQ(Xmllint("--noout --schema '" + kSchema + "' '" + (folder / "plan.gpx").string() + "'",
                    folder, log),
            0)
      << log;
  EXPECT_EQ(Xmllint("--noout '" + (folder / "plan.xml").string() + "'", folder, log), 0) << log;
}

TEST(PlanExportChecksTest, SchemaRefusesWhatTheExportMustNotWrite) {
  // The check above means something only if the schema turns a broken file away.
  if (!HaveXmllint()) GTEST_SKIP() << "xmllint is not installed (Debian: libxml2-utils)";
  TempFolder folder;
  folder.Write("east.gpx",
               "<?xml version=\"1.0\"?>\n<gpx xmlns=\"http://www.topografix.com/GPX/1/1\" "
               "version=\"1.1\" creator=\"x\"><rte><rtept lat=\"0\" lon=\"180.0\"/></rte></gpx>\n");
  folder.Write("order.gpx",
               "<?xml version=\"1.0\"?>\n<gpx xmlns=\"http://www.topografix.com/GPX/1/1\" "
               "version=\"1.1\" creator=\"x\"><rte><rtept lat=\"0\" lon=\"0\"><name>A</name>"
               "<ele>1</ele></rtept></rte></gpx>\n");
  std::string log;
  EXPECT_NE(Xmllint("--noout --schema '" + kSchema + "' '" + (folder / "east.gpx").string() + "'",
                    folder, log),
            0);
  EXPECT_NE(log.find("lon"), std::string::npos) << log;
  EXPECT_NE(Xmllint("--noout --schema '" + kSchema + "' '" + (folder / "order.gpx").string() + "'",
                    folder, log),
            0);
}

}  // namespace
}  // namespace planner
