#include "planner/plan_export.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "planner/plan_file.h"
#include "platform/text_columns.h"
#include "tests/support/temp_folder.h"

namespace planner {
namespace {

using platform::Fitted;

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
  ExportRoute route;
  std::string problem;
  EXPECT_TRUE(BuildExportRoute(LoadedPlan(SmallPlanRows()), route, problem)) << problem;
  return route;
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

}  // namespace
}  // namespace planner
