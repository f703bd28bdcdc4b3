#include "xplane/navdata_reader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "tests/support/temp_folder.h"

namespace {

using testing_support::TempFolder;

constexpr const char kNavRows[] =
    "I\r\n"
    "810 Version - test\r\n"
    "\r\n"
    "2  38.08777778 -077.32491667      0   396  50    0.0 APH  A P HILL NDB\r\n"
    "3  51.33087500  000.03481100    590 11510 125   -3.0 BIG  BIGGIN VOR-DME\r\n"
    "12 51.33087500  000.03481100    590 11510 125    0.0 BIG  BIGGIN VOR-DME\r\n"
    "3  40.28527800  027.36583300    417 11690  50    2.0 BIG  BIGA VOR-DME\r\n"
    "12 -09.43270300 147.21644400    128 11010  18    0.200 IWG  AYPY 14L DME-ILS\r\n"
    "4 -09.45892200  147.23122500    128 11010  18  148.638 IWG  AYPY 14L ILS-cat-I\r\n"
    "6 -09.43270300  147.21644400     99 11010  10  300148.610 IWG  AYPY 14L GS\r\n"
    "4  55.60000000  037.29833300    685 11010  18   67.992 IWG  UUWW 06  ILS-cat-I\r\n"
    "3  64.00438889 -145.71716667   1230 11490 130   23.0 BIG  BIG DELTA VORTAC\r\n"
    "13 38.40000000 -077.40000000    172 10875  25    0.0 ZZ   ZZZ TEST TACAN\r\n"
    "2  1.0\r\n"
    "99\r\n";

TEST(NavDataReader, MergesStationsByIdentifierFrequencyAndPlace) {
  TempFolder folder;
  folder.Write("nav.dat", kNavRows);
  xplane::NavData data;
  ASSERT_TRUE(xplane::ReadNavFile(folder / "nav.dat", data));
  ASSERT_EQ(data.ndbs.size(), 1u);
  EXPECT_EQ(data.ndbs[0].identifier, "APH");
  EXPECT_EQ(data.ndbs[0].name, "A P HILL NDB");
  EXPECT_EQ(data.ndbs[0].frequencyKhz, 396);
  EXPECT_EQ(data.ndbs[0].rangeNm, 50);
  EXPECT_DOUBLE_EQ(data.ndbs[0].longitudeDeg, -77.32491667);
  EXPECT_EQ(data.refusedRows, 1u);

  ASSERT_EQ(data.stations.size(), 6u);
  const xplane::StationRecord& biggin = data.stations[0];
  EXPECT_EQ(biggin.name, "BIGGIN VOR-DME");
  EXPECT_TRUE(biggin.hasVor && biggin.hasDme && !biggin.hasTacan && !biggin.dmeOnly());
  EXPECT_DOUBLE_EQ(biggin.magneticVariationDeg, -3.0);
  EXPECT_DOUBLE_EQ(biggin.frequencyMhz(), 115.10);

  const xplane::StationRecord& biga = data.stations[1];  // same identifier, other frequency
  EXPECT_TRUE(biga.hasVor && !biga.hasDme);

  // The DME row came first; the localizer takes over position, name and range.
  const xplane::StationRecord& ils = data.stations[2];
  EXPECT_EQ(ils.name, "AYPY 14L ILS-cat-I");
  EXPECT_TRUE(ils.hasLocalizer && ils.hasGlideSlope && ils.hasDme && !ils.hasVor);
  EXPECT_DOUBLE_EQ(ils.latitudeDeg, -9.458922);
  EXPECT_DOUBLE_EQ(ils.localizerCourseDeg, 148.638);
  EXPECT_DOUBLE_EQ(ils.glideSlopeLatitudeDeg, -9.432703);
  EXPECT_EQ(ils.glideSlopeElevationFt, 99);

  // Same identifier and frequency, another continent: a station of its own.
  EXPECT_EQ(data.stations[3].name, "UUWW 06 ILS-cat-I");
  EXPECT_FALSE(data.stations[3].hasGlideSlope);

  EXPECT_TRUE(data.stations[4].hasTacan);
  EXPECT_TRUE(data.stations[5].dmeOnly());
  EXPECT_TRUE(data.stations[5].hasTacan);
}

TEST(NavDataReader, ReadsAirportsRunwaysAndAtis) {
  TempFolder folder;
  folder.Write("apt.dat",
               "I\n1000 Version\n\n"
               "1      255 0 1 1T1  2 G Ranch\n"
               "100   15.24   1   0 0.25 0 0 0 09   0.00000000  000.00000000    0.00    0.00 2  0 "
               "0 0 27   0.00000000  000.10000000    0.00    0.00 2  0 0 0\n"
               "53 11950 GND\n"
               "50 12047 ATIS\n"
               "50 12800 ATIS 2\n"
               "100 bad\n"
               "17      10 0 0 XHEL Heliport\n"
               "99\n"
               "100   15.24   1   0 0.25 0 0 0 09   0 0 0 0 2  0 0 0 27   0 0 0 0 2  0 0 0\n");
  xplane::NavData data;
  ASSERT_TRUE(xplane::ReadAirportFile(folder / "apt.dat", data));
  // The heliport has no land runway: it would add no line, and is not kept.
  ASSERT_EQ(data.airports.size(), 1u);
  const xplane::AirportRecord& ranch = data.airports[0];
  EXPECT_EQ(ranch.identifier, "1T1");
  EXPECT_EQ(ranch.name, "2 G Ranch");
  EXPECT_EQ(ranch.elevationFt, 255);
  EXPECT_EQ(ranch.atisFrequency10Khz, 12047);
  ASSERT_EQ(ranch.runways.size(), 1u);
  const xplane::RunwayRecord& runway = ranch.runways[0];
  EXPECT_EQ(runway.number, 9);
  EXPECT_EQ(runway.side, ' ');
  EXPECT_NEAR(runway.headingDeg, 90.0, 1e-9);
  EXPECT_NEAR(runway.longitudeDeg, 0.05, 1e-12);
  EXPECT_NEAR(runway.lengthFt, 36481.3, 0.1);  // 0.1 degree of arc on the equator
  EXPECT_NEAR(runway.widthFt, 50.0, 0.01);
  EXPECT_EQ(data.refusedRows, 2u);
  ASSERT_EQ(data.refused.size(), 2u);
  EXPECT_EQ(data.refused[0].source, "apt.dat line 9");
  EXPECT_EQ(data.refused[0].reason, "the row has 2 fields, fewer than 20");
  EXPECT_EQ(data.refused[0].row, "100 bad");
  EXPECT_EQ(data.refused[1].source, "apt.dat line 12");
  EXPECT_EQ(data.refused[1].reason, "a runway row outside an airport");
  EXPECT_EQ(data.refused[1].list, xplane::RowList::Runway);
}

TEST(NavDataReader, ReadsPackedFixesAndReportsMissingFiles) {
  TempFolder folder;
  const std::string fixes =
      "I\n600 Version\n\n 50.5 -001.25 ABCDE\n-10.0 170.0 XY\n bad\n99\n1 2 LATE\n";
  gzFile file = gzopen((folder / "fix.dat.gz").c_str(), "wb");
  ASSERT_NE(file, nullptr);
  gzwrite(file, fixes.data(), static_cast<unsigned>(fixes.size()));
  gzclose(file);

  xplane::NavData data;
  ASSERT_TRUE(xplane::ReadNavDataFolder(folder.path(), data));
  ASSERT_EQ(data.fixes.size(), 2u);
  EXPECT_EQ(data.fixes[0].identifier, "ABCDE");
  EXPECT_DOUBLE_EQ(data.fixes[0].longitudeDeg, -1.25);
  EXPECT_DOUBLE_EQ(data.fixes[1].latitudeDeg, -10.0);
  EXPECT_EQ(data.refusedRows, 1u);

  TempFolder empty;
  const platform::Status none = xplane::ReadNavDataFolder(empty.path(), data);
  ASSERT_FALSE(none);
  EXPECT_EQ(none.error().message, empty.path().string() + ": no nav.dat, apt.dat or fix.dat found");
  const platform::Status missing = xplane::ReadNavFile(empty / "missing.dat", data);
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().errorNumber, ENOENT);
  EXPECT_EQ(missing.error().message, "No such file or directory");
}

// What a reader made of its rows, in one comparable text.
std::string Summary(const xplane::NavData& data) {
  std::string text = "malformed " + std::to_string(data.refusedRows) + "\n";
  for (const auto& ndb : data.ndbs) text += "ndb " + ndb.identifier + " " + ndb.name + "\n";
  for (const auto& station : data.stations) {
    text += "station " + station.identifier + " " + std::to_string(station.frequency10Khz) + " " +
            std::to_string(station.hasVor) + std::to_string(station.hasLocalizer) +
            std::to_string(station.hasGlideSlope) + std::to_string(station.hasDme) +
            std::to_string(station.hasTacan) + "\n";
  }
  for (const auto& airport : data.airports) {
    text += "airport " + airport.identifier + " " + std::to_string(airport.runways.size()) + " " +
            std::to_string(airport.atisFrequency10Khz) + "\n";
  }
  for (const auto& fix : data.fixes) text += "fix " + fix.identifier + "\n";
  return text;
}

// The bytes entry points read what the file readers read, whatever the line
// ends, and take any bytes without failing.
TEST(NavDataReader, BytesReadLikeFiles) {
  TempFolder folder;
  const std::string airports =
      "I\r\n1000 Version\r\n\r\n1 100 0 0 EGLL London Heathrow\r\n50 12345\r\n"
      "100 45.00 1 0 0.25 0 0 0 09L 51.0 -0.5 0 0 3 0 0 0 27R 51.0 -0.4 0 0 3 0 0 0\r\n"
      "100 45.00\r\n99\r\n";
  const std::string fixes = "I\n600 Version\n 50.5 -001.25 ABCDE\n bad\n99\n1 2 LATE";
  folder.Write("nav.dat", kNavRows);
  folder.Write("apt.dat", airports);
  folder.Write("fix.dat", fixes);
  xplane::NavData fromFiles;
  ASSERT_TRUE(xplane::ReadNavFile(folder / "nav.dat", fromFiles));
  ASSERT_TRUE(xplane::ReadAirportFile(folder / "apt.dat", fromFiles));
  ASSERT_TRUE(xplane::ReadFixFile(folder / "fix.dat", fromFiles));

  xplane::NavData fromBytes;
  xplane::ReadNavBytes(kNavRows, fromBytes);
  xplane::ReadAirportBytes(airports, fromBytes);
  xplane::ReadFixBytes(fixes, fromBytes);
  EXPECT_EQ(Summary(fromBytes), Summary(fromFiles));
  EXPECT_EQ(fromBytes.ndbs.size(), 1u);
  EXPECT_EQ(fromBytes.airports.size(), 1u);
  EXPECT_EQ(fromBytes.fixes.size(), 1u);

  // Bare CR line ends read as the same rows.
  std::string bareCr = kNavRows;
  std::erase(bareCr, '\n');
  xplane::NavData fromBareCr;
  xplane::ReadNavBytes(bareCr, fromBareCr);
  xplane::NavData fromNav;
  xplane::ReadNavBytes(kNavRows, fromNav);
  EXPECT_EQ(Summary(fromBareCr), Summary(fromNav));

  // Rows cut short anywhere are counted, never read past their end.
  xplane::NavData junk;
  xplane::ReadNavBytes(std::string_view("2\0 3\r4 1 2\n12\t\t\n\xff", 16), junk);
  xplane::ReadAirportBytes("100 1 2 3\n50\n1 2\n", junk);
  xplane::ReadFixBytes("", junk);
  EXPECT_TRUE(junk.ndbs.empty());
  EXPECT_TRUE(junk.stations.empty());
  EXPECT_TRUE(junk.airports.empty());
  EXPECT_EQ(junk.refusedRows, 6u);
}

TEST(NavDataReader, ReadsTheRealWorldData) {
  const std::filesystem::path folder = std::filesystem::path(SKAT_SHARED_DATA) / "navdata";
  if (!std::filesystem::exists(folder / "nav.dat.gz")) GTEST_SKIP() << "no shared navdata";
  xplane::NavData data;
  ASSERT_TRUE(xplane::ReadNavDataFolder(folder, data));
  EXPECT_EQ(data.ndbs.size(), 7099u);
  // Of the 119,720 "lat lon ident" rows, a list takes the first 100,000.
  EXPECT_EQ(data.fixes.size(), 100000u);
  EXPECT_EQ(data.passedOver, (std::array<size_t, 4>{0, 0, 0, 19720}));
  EXPECT_EQ(data.airports.size(), 27537u);  // the airports with land runways
  size_t runways = 0;
  for (const auto& airport : data.airports) runways += airport.runways.size();
  EXPECT_EQ(runways, 33721u);
  EXPECT_EQ(data.refusedRows, 0u);
  // Every localizer row and every VOR row starts or joins one station.
  size_t vors = 0, localizers = 0;
  for (const auto& station : data.stations) {
    vors += station.hasVor;
    localizers += station.hasLocalizer;
  }
  EXPECT_LE(vors, 3720u);
  EXPECT_GT(vors, 3600u);
  EXPECT_LE(localizers, 3202u + 299u);
  EXPECT_GT(localizers, 3300u);
}

}  // namespace
