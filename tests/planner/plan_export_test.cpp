#include "planner/plan_export.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>

#include "planner/plan_file.h"
#include "platform/text_columns.h"
#include "tests/support/failure_text.h"
#include "tests/support/temp_folder.h"

namespace planner {
namespace {

using platform::Fitted;
using testing_support::TempFolder;

// A plan row from its fields, each padded to its columns: kind 0-4,
// identifier and name 5-37, frequency 38-45, latitude 46-59, longitude
// 60-74, altitude 75-79, then course, distance and time. In the coordinate
// texts '*' stands for the degree sign.
std::string Row(std::string_view kind, std::string_view identifierAndName,
                std::string_view frequency, std::string latitude, std::string longitude,
                std::string_view altitude, std::string_view computed = "  000  0000.0  --:--:--") {
  std::replace(latitude.begin(), latitude.end(), '*', '\xB0');
  std::replace(longitude.begin(), longitude.end(), '*', '\xB0');
  return Fitted(kind, 5) + Fitted(identifierAndName, 33) + Fitted(frequency, 8) +
         Fitted(latitude, 14) + Fitted(longitude, 15) + std::string(altitude) +
         std::string(computed);
}

// The plan as a loaded file gives it: the header fields and the rows as stored.
PlannerState LoadedPlan(const std::vector<std::string>& rows,
                        std::string_view header =
                            "[PERFORMANCE]\r\nCRUISE_ALTITUDE=20100\r\n"
                            "CRUISE_SPEED=400\r\n[DEPARTURE]\r\n"
                            "AIRPORT=AAAA  \r\nRUNWAY=27R/270/11000\r\n"
                            "[ARRIVAL]\r\nAIRPORT=BBBB  \r\n"
                            "RUNWAY=9  /090/8000\r\n") {
  std::string bytes = std::string(header) + "[WAYPOINTS]\r\n";
  for (const std::string& row : rows) bytes += row + "\r\n";
  PlannerState state;
  state.plan.planName = "TRIP";
  DecodePlanFile(bytes, state.plan, state.staging);
  OpenPlanDialog(state, PlanOpenMode::Loaded);
  return state;
}

// Departure AAAA, a climb to a TOC, a VOR, an NDB, an intersection west of
// Greenwich, the TOD, an ILS and the arrival BBBB.
std::vector<std::string> SmallPlanRows() {
  return {
      Row("APT", "AAAA   ALPHA INTL", "118.05", "N48*51'24.00", "E002*21'00.00", "00300",
          "  000  0000.0  00:00:00"),
      Row("TOC", "*****  (Top Of Climb)", "---.--", "N48*54'00.00", "E002*00'00.00", "20100"),
      Row("VOR", "VVV    VICTOR", "113.90", "N49*00'00.00", "E001*30'00.00", "20100"),
      Row("NDB", "NN     NOVEMBER", "375.0", "N49*15'00.00", "E001*00'00.00", "20100"),
      Row("INT", "FIXXX", "---.--", "N49*30'36.00", "W000*30'00.00", "20100"),
      Row("TOD", "*****  (Top Of Descent)", "---.--", "N49*45'00.00", "W000*45'00.00", "20100"),
      Row("ILS", "IBB    BRAVO ILS 27", "110.30", "N50*00'00.00", "W001*00'00.00", "12000"),
      Row("APT", "BBBB   BRAVO FIELD", "118.05", "N50*06'00.00", "W001*06'00.00", "00500",
          "  270  0180.0  00:33:30"),
  };
}

ExportRoute SmallRoute() {
  const platform::Result<ExportRoute> route = BuildExportRoute(LoadedPlan(SmallPlanRows()));
  EXPECT_EQ(FailureText(route), "");
  return route ? *route : ExportRoute{};
}

TEST(PlanExportTest, FlightGearRouteHasFlightGearsOwnLayout) {
  EXPECT_EQ(EncodeFlightGearRoute(SmallRoute()),
            "<?xml version=\"1.0\"?>\n"
            "\n"
            "<PropertyList>\n"
            "  <version type=\"int\">2</version>\n"
            "  <flight-rules type=\"string\">I</flight-rules>\n"
            "  <flight-type type=\"string\">X</flight-type>\n"
            "  <estimated-duration-minutes type=\"int\">34</estimated-duration-minutes>\n"
            "  <departure>\n"
            "    <airport type=\"string\">AAAA</airport>\n"
            "    <runway type=\"string\">27R</runway>\n"
            "  </departure>\n"
            "  <destination>\n"
            "    <airport type=\"string\">BBBB</airport>\n"
            "    <runway type=\"string\">09</runway>\n"
            "  </destination>\n"
            "  <cruise>\n"
            "    <altitude-ft type=\"int\">20100</altitude-ft>\n"
            "    <knots type=\"int\">400</knots>\n"
            "  </cruise>\n"
            "  <route>\n"
            "    <wp>\n"
            "      <type type=\"string\">basic</type>\n"
            "      <alt-restrict type=\"string\">at</alt-restrict>\n"
            "      <altitude-ft type=\"double\">20100</altitude-ft>\n"
            "      <ident type=\"string\">TOC</ident>\n"
            "      <lon type=\"double\">2</lon>\n"
            "      <lat type=\"double\">48.9</lat>\n"
            "    </wp>\n"
            "    <wp n=\"1\">\n"
            "      <type type=\"string\">navaid</type>\n"
            "      <alt-restrict type=\"string\">at</alt-restrict>\n"
            "      <altitude-ft type=\"double\">20100</altitude-ft>\n"
            "      <ident type=\"string\">VVV</ident>\n"
            "      <lon type=\"double\">1.5</lon>\n"
            "      <lat type=\"double\">49</lat>\n"
            "    </wp>\n"
            "    <wp n=\"2\">\n"
            "      <type type=\"string\">navaid</type>\n"
            "      <alt-restrict type=\"string\">at</alt-restrict>\n"
            "      <altitude-ft type=\"double\">20100</altitude-ft>\n"
            "      <ident type=\"string\">NN</ident>\n"
            "      <lon type=\"double\">1</lon>\n"
            "      <lat type=\"double\">49.25</lat>\n"
            "    </wp>\n"
            "    <wp n=\"3\">\n"
            "      <type type=\"string\">navaid</type>\n"
            "      <alt-restrict type=\"string\">at</alt-restrict>\n"
            "      <altitude-ft type=\"double\">20100</altitude-ft>\n"
            "      <ident type=\"string\">FIXXX</ident>\n"
            "      <lon type=\"double\">-0.5</lon>\n"
            "      <lat type=\"double\">49.51</lat>\n"
            "    </wp>\n"
            "    <wp n=\"4\">\n"
            "      <type type=\"string\">basic</type>\n"
            "      <alt-restrict type=\"string\">at</alt-restrict>\n"
            "      <altitude-ft type=\"double\">20100</altitude-ft>\n"
            "      <ident type=\"string\">TOD</ident>\n"
            "      <lon type=\"double\">-0.75</lon>\n"
            "      <lat type=\"double\">49.75</lat>\n"
            "    </wp>\n"
            "    <wp n=\"5\">\n"
            "      <type type=\"string\">navaid</type>\n"
            "      <alt-restrict type=\"string\">at</alt-restrict>\n"
            "      <altitude-ft type=\"double\">12000</altitude-ft>\n"
            "      <ident type=\"string\">IBB</ident>\n"
            "      <lon type=\"double\">-1</lon>\n"
            "      <lat type=\"double\">50</lat>\n"
            "    </wp>\n"
            "  </route>\n"
            "</PropertyList>\n");
}

TEST(PlanExportTest, XPlaneFmsHasTheVersion1100Layout) {
  EXPECT_EQ(EncodeXPlaneFms(SmallRoute(), 2612),
            "I\r\n"
            "1100 Version\r\n"
            "CYCLE 2612\r\n"
            "ADEP AAAA\r\n"
            "DEPRWY RW27R\r\n"
            "ADES BBBB\r\n"
            "DESRWY RW09\r\n"
            "NUMENR 8\r\n"
            "1 AAAA ADEP 300.000000 48.856667 2.350000\r\n"
            "28 TOC DRCT 20100.000000 48.900000 2.000000\r\n"
            "3 VVV DRCT 20100.000000 49.000000 1.500000\r\n"
            "2 NN DRCT 20100.000000 49.250000 1.000000\r\n"
            "11 FIXXX DRCT 20100.000000 49.510000 -0.500000\r\n"
            "28 TOD DRCT 20100.000000 49.750000 -0.750000\r\n"
            "28 IBB DRCT 12000.000000 50.000000 -1.000000\r\n"
            "1 BBBB ADES 500.000000 50.100000 -1.100000\r\n");
}

TEST(PlanExportTest, GpxRouteHasOnePointPerRow) {
  EXPECT_EQ(EncodeGpxRoute(SmallRoute()),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\" version=\"1.1\" "
            "creator=\"Skyatlas\">\n"
            "  <metadata>\n"
            "    <name>TRIP</name>\n"
            "  </metadata>\n"
            "  <rte>\n"
            "    <name>TRIP</name>\n"
            "    <rtept lat=\"48.856667\" lon=\"2.350000\">\n"
            "      <ele>91.44</ele>\n"
            "      <name>AAAA</name>\n"
            "      <desc>ALPHA INTL</desc>\n"
            "      <type>APT</type>\n"
            "    </rtept>\n"
            "    <rtept lat=\"48.900000\" lon=\"2.000000\">\n"
            "      <ele>6126.48</ele>\n"
            "      <name>TOC</name>\n"
            "      <desc>Top Of Climb</desc>\n"
            "      <type>TOC</type>\n"
            "    </rtept>\n"
            "    <rtept lat=\"49.000000\" lon=\"1.500000\">\n"
            "      <ele>6126.48</ele>\n"
            "      <name>VVV</name>\n"
            "      <desc>VICTOR</desc>\n"
            "      <type>VOR</type>\n"
            "    </rtept>\n"
            "    <rtept lat=\"49.250000\" lon=\"1.000000\">\n"
            "      <ele>6126.48</ele>\n"
            "      <name>NN</name>\n"
            "      <desc>NOVEMBER</desc>\n"
            "      <type>NDB</type>\n"
            "    </rtept>\n"
            "    <rtept lat=\"49.510000\" lon=\"-0.500000\">\n"
            "      <ele>6126.48</ele>\n"
            "      <name>FIXXX</name>\n"
            "      <type>INT</type>\n"
            "    </rtept>\n"
            "    <rtept lat=\"49.750000\" lon=\"-0.750000\">\n"
            "      <ele>6126.48</ele>\n"
            "      <name>TOD</name>\n"
            "      <desc>Top Of Descent</desc>\n"
            "      <type>TOD</type>\n"
            "    </rtept>\n"
            "    <rtept lat=\"50.000000\" lon=\"-1.000000\">\n"
            "      <ele>3657.60</ele>\n"
            "      <name>IBB</name>\n"
            "      <desc>BRAVO ILS 27</desc>\n"
            "      <type>ILS</type>\n"
            "    </rtept>\n"
            "    <rtept lat=\"50.100000\" lon=\"-1.100000\">\n"
            "      <ele>152.40</ele>\n"
            "      <name>BBBB</name>\n"
            "      <desc>BRAVO FIELD</desc>\n"
            "      <type>APT</type>\n"
            "    </rtept>\n"
            "  </rte>\n"
            "</gpx>\n");
}

TEST(PlanExportTest, RowsThatAreNotPlanRowsStopTheExport) {
  const auto problemWith = [](std::string badRow) {
    std::vector<std::string> rows = SmallPlanRows();
    rows[2] = std::move(badRow);
    return FailureText(BuildExportRoute(LoadedPlan(rows)));
  };
  const std::string good = SmallPlanRows()[2];
  EXPECT_EQ(problemWith("XYZ" + good.substr(3)), "row 2 is not a plan row");
  EXPECT_EQ(problemWith("TOC  ****" + good.substr(9)), "row 2 is not a plan row");
  EXPECT_EQ(problemWith(good.substr(0, 79)), "row 2 is not a plan row");  // no full altitude
  EXPECT_EQ(problemWith(Row("VOR", "", "113.90", "N49*00'00.00", "E001*30'00.00", "20100")),
            "row 2 is not a plan row");
  EXPECT_EQ(problemWith(Row("VOR", "V V    X", "113.90", "N49*00'00.00", "E001*30'00.00", "20100")),
            "row 2 is not a plan row");
  for (const char* latitude : {"N90*00'00.01", "X49*00'00.00", "N49*60'00.00", "N49*00'60.00",
                               "N49*0'000.00", "N49 00'00.00"}) {
    EXPECT_EQ(problemWith(Row("VOR", "VVV", "113.90", latitude, "E001*30'00.00", "20100")),
              "row 2 is not a plan row")
        << latitude;
  }
  for (const char* longitude : {"E180*00'00.01", "N001*30'00.00", "E01*30'00.00"}) {
    EXPECT_EQ(problemWith(Row("VOR", "VVV", "113.90", "N49*00'00.00", longitude, "20100")),
              "row 2 is not a plan row")
        << longitude;
  }
  for (const char* altitude : {"2010 ", "+2010", "2o100"}) {
    EXPECT_EQ(problemWith(Row("VOR", "VVV", "113.90", "N49*00'00.00", "E001*30'00.00", altitude)),
              "row 2 is not a plan row")
        << altitude;
  }

  EXPECT_EQ(FailureText(BuildExportRoute(LoadedPlan({SmallPlanRows()[0]}))),
            "the plan has fewer than two waypoints");
  TempFolder folder;
  EXPECT_EQ(FailureText(ExportPlanFile(LoadedPlan({}), ExportFormat::Gpx, folder / "out.gpx")),
            "cannot export the plan: the plan has fewer than two waypoints");
  EXPECT_FALSE(folder.Exists("out.gpx"));
}

TEST(PlanExportTest, CoordinatesAtTheirLimitsKeepTheirSigns) {
  const std::vector<std::string> rows = {
      Row("INT", "POLE", "---.--", "S90*00'00.00", "E180*00'00.00", "-0010"),
      Row("INT", "ZERO", "---.--", "S00*00'00.00", "W000*00'00.00", "00000"),
      Row("INT", "NORTH", "---.--", "N89*59'59.99", "W179*59'59.99", "99999"),
      Row("INT", "TINY", "---.--", "S00*00'00.01", "E000*00'00.01", "00000"),
  };
  const platform::Result<ExportRoute> built = BuildExportRoute(LoadedPlan(rows, ""));
  ASSERT_EQ(FailureText(built), "");
  const ExportRoute& route = *built;
  const std::string fms = EncodeXPlaneFms(route, 2001);
  EXPECT_NE(fms.find("\r\nDEP POLE\r\nDES TINY\r\nNUMENR 4\r\n"
                     "11 POLE DRCT -10.000000 -90.000000 -180.000000\r\n"
                     "11 ZERO DRCT 0.000000 0.000000 0.000000\r\n"
                     "11 NORTH DRCT 99999.000000 89.999997 -179.999997\r\n"
                     "11 TINY DRCT 0.000000 -0.000003 0.000003\r\n"),
            std::string::npos)
      << fms;
  const std::string gpx = EncodeGpxRoute(route);
  EXPECT_NE(gpx.find("<rtept lat=\"-90.000000\" lon=\"-180.000000\">\n      <ele>-3.05</ele>"),
            std::string::npos)
      << gpx;
  EXPECT_NE(gpx.find("<rtept lat=\"0.000000\" lon=\"0.000000\">"), std::string::npos);
  const std::string fgfs = EncodeFlightGearRoute(route);
  EXPECT_NE(fgfs.find("<lon type=\"double\">0</lon>\n      <lat type=\"double\">0</lat>"),
            std::string::npos)
      << fgfs;
  EXPECT_NE(fgfs.find("<lon type=\"double\">-179.9999972</lon>\n"
                      "      <lat type=\"double\">89.99999722</lat>"),
            std::string::npos);
  // Not an airport at either end: no departure or destination node, every
  // row in the route, and no cruise node without cruise values.
  EXPECT_EQ(fgfs.find("<departure>"), std::string::npos);
  EXPECT_EQ(fgfs.find("<cruise>"), std::string::npos);
  EXPECT_NE(fgfs.find("<wp n=\"3\">"), std::string::npos);
}

TEST(PlanExportTest, RunwaysAreNamedAsSimulatorsNameThem) {
  const auto runways = [](std::string_view departure, std::string_view arrival) {
    const std::string header = "[DEPARTURE]\r\nAIRPORT=AAAA  \r\nRUNWAY=" + std::string(departure) +
                               "\r\n[ARRIVAL]\r\nAIRPORT=BBBB\r\nRUNWAY=" + std::string(arrival) +
                               "\r\n";
    const platform::Result<ExportRoute> route =
        BuildExportRoute(LoadedPlan(SmallPlanRows(), header));
    EXPECT_EQ(FailureText(route), "");
    return route ? route->departureRunway + "|" + route->arrivalRunway : std::string();
  };
  EXPECT_EQ(runways("27R/270/11000", "4  /040/900"), "27R|04");
  EXPECT_EQ(runways("36C/360/9000", "18L/180/9000"), "36C|18L");
  EXPECT_EQ(runways("HEL/000/100", "/000/0"), "|");
  EXPECT_EQ(runways("1X /010/900", "123/120/900"), "|");
  // A runway of another airport than the plan's end is no runway of it.
  const std::string otherAirport =
      "[DEPARTURE]\r\nAIRPORT=CCCC\r\nRUNWAY=27R/270/11000\r\n[ARRIVAL]\r\nAIRPORT=\r\n";
  const platform::Result<ExportRoute> built =
      BuildExportRoute(LoadedPlan(SmallPlanRows(), otherAirport));
  ASSERT_EQ(FailureText(built), "");
  const ExportRoute& route = *built;
  EXPECT_EQ(route.departureRunway, "");
  const std::string fms = EncodeXPlaneFms(route, 2612);
  EXPECT_NE(fms.find("ADEP AAAA\r\nADES BBBB\r\nNUMENR 8\r\n"), std::string::npos) << fms;
  EXPECT_EQ(EncodeFlightGearRoute(route).find("<runway"), std::string::npos);
}

TEST(PlanExportTest, TextsBecomeUtf8XmlAndMachSpeedsStayMach) {
  std::vector<std::string> rows = SmallPlanRows();
  rows[2] = Row("VOR", "V&<1   CR\xC9TEIL & <SUD>\x01", "113.90", "N49*00'00.00", "E001*30'00.00",
                "20100");
  PlannerState state =
      LoadedPlan(rows, "[PERFORMANCE]\r\nCRUISE_ALTITUDE=35000\r\nCRUISE_SPEED=0.78\r\n");
  state.plan.planName = "CAF\xC9";
  const platform::Result<ExportRoute> built = BuildExportRoute(state);
  ASSERT_EQ(FailureText(built), "");
  const ExportRoute& route = *built;
  const std::string gpx = EncodeGpxRoute(route);
  EXPECT_NE(gpx.find("<name>CAF\xC3\x89</name>"), std::string::npos) << gpx;
  EXPECT_NE(
      gpx.find("<name>V&amp;&lt;1</name>\n      <desc>CR\xC3\x89TEIL &amp; &lt;SUD&gt;?</desc>"),
      std::string::npos)
      << gpx;
  const std::string fgfs = EncodeFlightGearRoute(route);
  EXPECT_NE(fgfs.find("<ident type=\"string\">V&amp;&lt;1</ident>"), std::string::npos);
  EXPECT_NE(fgfs.find("  <cruise>\n    <altitude-ft type=\"int\">35000</altitude-ft>\n"
                      "    <mach type=\"double\">0.78</mach>\n  </cruise>\n"),
            std::string::npos)
      << fgfs;
  // No runway in the header: the airports are still the route's ends.
  EXPECT_NE(fgfs.find("<departure>\n    <airport type=\"string\">AAAA</airport>\n  </departure>"),
            std::string::npos);
}

TEST(PlanExportTest, AiracCyclesOfKnownDates) {
  EXPECT_EQ(AiracCycleOn(2020, 1, 2), 2001);
  EXPECT_EQ(AiracCycleOn(2020, 1, 1), 1913);  // 1913 began on 5 December 2019
  EXPECT_EQ(AiracCycleOn(2019, 12, 5), 1913);
  EXPECT_EQ(AiracCycleOn(2019, 12, 4), 1912);
  EXPECT_EQ(AiracCycleOn(2020, 12, 31), 2014);  // the fourteenth cycle of 2020
  EXPECT_EQ(AiracCycleOn(2021, 1, 27), 2014);
  EXPECT_EQ(AiracCycleOn(2021, 1, 28), 2101);
  EXPECT_EQ(AiracCycleOn(2026, 12, 8), 2612);
  EXPECT_EQ(AiracCycleOn(2026, 12, 24), 2613);
  const int now = CurrentAiracCycle();
  EXPECT_GE(now, 2001);
  EXPECT_LE(now % 100, 14);
}

TEST(PlanExportTest, FilesAreWrittenWholeOrNotAtAll) {
  TempFolder folder;
  const PlannerState plan = LoadedPlan(SmallPlanRows());
  ASSERT_EQ(FailureText(ExportPlanFile(plan, ExportFormat::XPlaneFms, folder / "a.fms", {2612})),
            "");
  EXPECT_EQ(folder.Read("a.fms"), EncodeXPlaneFms(SmallRoute(), 2612));
  ASSERT_EQ(FailureText(ExportPlanFile(plan, ExportFormat::Gpx, folder / "a.fms")), "");
  EXPECT_EQ(folder.Read("a.fms"), EncodeGpxRoute(SmallRoute())) << "replaced as a whole";

  // A folder that is a file, a folder that is missing, and a target that is
  // a folder: the temporary file is written there and then cannot take its
  // name. Each fails with the system's reason and leaves no file behind.
  folder.Write("plain", "not a folder");
  EXPECT_EQ(FailureText(ExportPlanFile(plan, ExportFormat::Gpx, folder / "plain" / "out.gpx")),
            "cannot write " + (folder / "plain" / "out.gpx").string() + ": Not a directory");
  EXPECT_EQ(
      FailureText(ExportPlanFile(plan, ExportFormat::Gpx, folder / "missing" / "out.gpx")),
      "cannot write " + (folder / "missing" / "out.gpx").string() + ": No such file or directory");
  std::filesystem::create_directory(folder / "taken");
  EXPECT_EQ(FailureText(ExportPlanFile(plan, ExportFormat::FlightGear, folder / "taken")),
            "cannot write " + (folder / "taken").string() + ": Is a directory");
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.fms", "plain", "taken"}));
  EXPECT_TRUE(std::filesystem::is_empty(folder / "taken"));
  EXPECT_EQ(folder.Read("plain"), "not a folder");

  // A folder without write permission (not for root, who may write anywhere).
  if (::geteuid() != 0) {
    std::filesystem::create_directory(folder / "locked");
    std::filesystem::permissions(
        folder / "locked", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_EQ(FailureText(ExportPlanFile(plan, ExportFormat::Gpx, folder / "locked" / "out.gpx")),
              "cannot write " + (folder / "locked" / "out.gpx").string() + ": Permission denied");
    EXPECT_TRUE(std::filesystem::is_empty(folder / "locked"));
  }
}

}  // namespace
}  // namespace planner
