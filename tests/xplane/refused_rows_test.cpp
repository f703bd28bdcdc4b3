#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xplane/navdata_reader.h"
#include "xplane/row_fields.h"

namespace {

using xplane::NavData;
using xplane::RowList;

TEST(RefusedRows, ValuesThatAreNotFiniteOrOutOfRange) {
  struct Case {
    std::string row;
    std::string reason;  // empty: the row is taken
  };
  const Case cases[] = {
      {"2 50.5 8.25 300 352 25 0.0 ABC ALPHA NDB", ""},
      {"2 -90 -180 300 352 25 0.0 ABC EDGES", ""},
      {"2 +90 180.0 300 352 25 0.0 ABC EDGES", ""},
      {"2 91 8.25 300 352 25 0.0 ABC ALPHA", "latitude '91' is outside -90 to 90"},
      {"2 -95 8.25 300 352 25 0.0 ABC ALPHA", "latitude '-95' is outside -90 to 90"},
      {"2 1e999 8.25 300 352 25 0.0 ABC ALPHA", "latitude '1e999' is not a finite number"},
      {"2 nan 8.25 300 352 25 0.0 ABC ALPHA", "latitude 'nan' is not a finite number"},
      {"2 inf 8.25 300 352 25 0.0 ABC ALPHA", "latitude 'inf' is not a finite number"},
      {"2 50.5x 8.25 300 352 25 0.0 ABC ALPHA", "latitude '50.5x' is not a finite number"},
      {"2 +-50 8.25 300 352 25 0.0 ABC ALPHA", "latitude '+-50' is not a finite number"},
      {"2 50.5 1000 300 352 25 0.0 ABC ALPHA", "longitude '1000' is outside -180 to 180"},
      {"2 50.5 -181 300 352 25 0.0 ABC ALPHA", "longitude '-181' is outside -180 to 180"},
      {"2 50.5 8.25 1e999 352 25 0.0 ABC ALPHA", "elevation '1e999' is not a finite number"},
      {"2 50.5 8.25 300 352 2e10 0.0 ABC ALPHA", "range '2e10' is outside -1e+09 to 1e+09"},
      {"2 50.5 8.25 300 352 25 0.0 A\x01"
       "C ALPHA",
       "control byte 0x01 in the identifier"},
      {"2 50.5 8.25 300 352 25 0.0 ABC AL\x1bPHA", "control byte 0x1B in the name"},
      {"2 50.5 8.25 300 352 25 0.0 ABC", "the row has 8 fields, fewer than 9"},
      {"3 50.5 8.25 300 11390 130 999 VOR ALPHA VOR",
       "magnetic variation '999' is outside -360 to 360"},
      {"4 50.5 8.25 300 11010 18 nan IAB ILS", "localizer course 'nan' is not a finite number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    NavData data;
    xplane::ReadNavBytes("I\n810 Version\n" + c.row + "\n99\n", data);
    if (c.reason.empty()) {
      EXPECT_EQ(data.refusedRows, 0u);
      EXPECT_EQ(data.ndbs.size(), 1u);
      continue;
    }
    EXPECT_TRUE(data.ndbs.empty());
    EXPECT_TRUE(data.stations.empty());
    ASSERT_EQ(data.refused.size(), 1u);
    EXPECT_EQ(data.refusedRows, 1u);
    EXPECT_EQ(data.refused[0].source, "nav.dat line 3");
    EXPECT_EQ(data.refused[0].reason, c.reason);
    EXPECT_EQ(data.refused[0].row, c.row);
    EXPECT_EQ(data.refused[0].list, c.row[0] == '2' ? RowList::Ndb : RowList::Station);
  }
}

TEST(RefusedRows, RunwaysFixesAndAirportsAreCheckedToo) {
  NavData data;
  xplane::ReadAirportBytes(
      "I\n1000 Version\n"
      "1 255 0 1 LF\x02X Name\n"
      "100 30 1 0 0.25 0 0 0 09 0 0 0 0 2 0 0 0 27 0 0 0 0 2 0 0 0\n"
      "1 255 0 1 LFXX Name\n"
      "100 30 1 0 0.25 0 0 0 09 95 0 0 0 2 0 0 0 27 0 0 0 0 2 0 0 0\n"
      "100 1e999 1 0 0.25 0 0 0 09 0 0 0 0 2 0 0 0 27 0 0 0 0 2 0 0 0\n"
      "100 30 1 0 0.25 0 0 0 09 0 0 0 0 2 0 0 0 27 0 0.1 0 0 2 0 0 0\n"
      "50 1e999 ATIS\n",
      data);
  ASSERT_EQ(data.airports.size(), 1u);
  EXPECT_EQ(data.airports[0].identifier, "LFXX");
  EXPECT_EQ(data.airports[0].runways.size(), 1u);
  std::vector<std::string> reasons;
  for (const xplane::RefusedRow& row : data.refused)
    reasons.push_back(row.source + ": " + row.reason);
  EXPECT_EQ(reasons, (std::vector<std::string>{
                         "apt.dat line 3: control byte 0x02 in the identifier",
                         // The runways of a refused airport row have no airport.
                         "apt.dat line 4: a runway row outside an airport",
                         "apt.dat line 6: latitude '95' is outside -90 to 90",
                         "apt.dat line 7: width '1e999' is not a finite number",
                         "apt.dat line 9: frequency '1e999' is not a finite number",
                     }));

  NavData fixes;
  xplane::ReadFixBytes("I\n600 Version\n 50.0 8.0 GOOD\n 50.0 180.5 WIDE\n nan 8.0 NAN\n99\n",
                       fixes);
  ASSERT_EQ(fixes.fixes.size(), 1u);
  EXPECT_EQ(fixes.fixes[0].lineNumber, 3u);
  ASSERT_EQ(fixes.refused.size(), 2u);
  EXPECT_EQ(fixes.refused[0].reason, "longitude '180.5' is outside -180 to 180");
  EXPECT_EQ(fixes.refused[1].reason, "latitude 'nan' is not a finite number");
  EXPECT_EQ(fixes.refused[1].list, RowList::Fix);
}

TEST(RefusedRows, AnglesOfTheUsualFormsAreTakenBackIntoRange) {
  // Real rows give a variation of 356.7 for 3.3 west, 360.0 for none, and a
  // localizer course of 360.192.
  NavData data;
  xplane::ReadNavBytes(
      "3 43.3 -2.9 102 11590 130 356.7 BLV BILBAO VOR-DME\n"
      "3 38.2 -0.5 138 11380 130 360.0 ALT ALICANTE VOR-DME\n"
      "4 37.1 -95.7 824 11070 18 360.192 IIDP KIDP 35 ILS-cat-I\n"
      "4 37.1 -95.7 824 11110 18 -12.5 IXYZ KXYZ 17 ILS-cat-I\n",
      data);
  ASSERT_EQ(data.stations.size(), 4u);
  EXPECT_NEAR(data.stations[0].magneticVariationDeg, -3.3, 1e-9);
  EXPECT_NEAR(data.stations[1].magneticVariationDeg, 0.0, 1e-9);
  EXPECT_NEAR(data.stations[2].localizerCourseDeg, 360.192, 1e-9);  // rounds to 360
  EXPECT_NEAR(data.stations[3].localizerCourseDeg, -12.5, 1e-9);    // the line adds 360
  EXPECT_EQ(data.refusedRows, 0u);
}

TEST(RefusedRows, ReadingKeepsNoMoreThanTheListsCanHold) {
  NavData data;
  data.recordsPerList = 3;
  std::string nav, apt = "I\n1000 Version\n", fix = "I\n600 Version\n";
  for (int i = 0; i < 5; ++i) {
    const std::string id = "N" + std::to_string(i);
    nav += "2 50." + std::to_string(i) + " 8.0 0 352 25 0.0 " + id + " NDB\n";
    // Far apart: each begins a station of its own; its DME joins it.
    nav += "3 " + std::to_string(10 * i) + " 8.0 0 11390 130 1.0 " + id + " VOR\n";
    nav += "12 " + std::to_string(10 * i) + " 8.0 0 11390 130 0.0 " + id + " DME\n";
    apt += "1 0 0 0 A" + std::to_string(i) +
           " Field\n100 30 1 0 0.25 0 0 0 09 0 0 0 0 2 0 0 0 27 0 0.01 0 0 2 0 0 0\n";
    fix += " 50.0 8.0 F" + std::to_string(i) + "\n";
  }
  // Airports without land runways are not kept at all: a file of them
  // cannot fill the memory.
  for (int i = 0; i < 1000; ++i) apt += "17 0 0 0 H" + std::to_string(i) + " Heliport\n";
  xplane::ReadNavBytes(nav, data);
  xplane::ReadAirportBytes(apt, data);
  xplane::ReadFixBytes(fix + "99\n", data);
  EXPECT_EQ(data.ndbs.size(), 3u);
  ASSERT_EQ(data.stations.size(), 3u);
  EXPECT_TRUE(data.stations[2].hasDme);
  EXPECT_EQ(data.airports.size(), 3u);
  EXPECT_EQ(data.fixes.size(), 3u);
  // The rows passed over, by list; each DME row of a station passed over is too.
  EXPECT_EQ(data.passedOver, (std::array<size_t, 4>{2, 4, 2, 2}));
  EXPECT_EQ(data.PassedOverRows(), 10u);
  EXPECT_EQ(data.refusedRows, 0u);
}

TEST(RefusedRows, OnlyTheFirstRefusalsAreKeptAllAreCounted) {
  std::string rows;
  for (size_t i = 0; i < xplane::kMaxKeptRefusals + 5; ++i) rows += " 95.0 8.0 FIX\n";
  NavData data;
  xplane::ReadFixBytes("I\n600\n" + rows, data);
  EXPECT_EQ(data.refusedRows, xplane::kMaxKeptRefusals + 5);
  EXPECT_EQ(data.refused.size(), xplane::kMaxKeptRefusals);
  // A long row is kept by its start only.
  NavData longRow;
  xplane::ReadNavBytes("2 95 8 0 352 25 0.0 ABC " + std::string(1000, 'N') + "\n", longRow);
  ASSERT_EQ(longRow.refused.size(), 1u);
  EXPECT_EQ(longRow.refused[0].row.size(), 256u + 3);
  EXPECT_EQ(longRow.refused[0].row.substr(256), "...");
  // So is a row longer than any line a reader keeps.
  NavData endless;
  xplane::ReadNavBytes("2 50 8 0 352 25 0.0 ABC " + std::string(5000, 'N') + "\n", endless);
  ASSERT_EQ(endless.refused.size(), 1u);
  EXPECT_EQ(endless.refused[0].reason, "the row is longer than 4096 bytes");
}

TEST(RefusedRows, FiniteNumbersAreWholeFields) {
  double value = 0;
  EXPECT_TRUE(xplane::ReadFiniteNumber("-077.32491667", value));
  EXPECT_DOUBLE_EQ(value, -77.32491667);
  EXPECT_TRUE(xplane::ReadFiniteNumber("+1e3", value));
  EXPECT_DOUBLE_EQ(value, 1000.0);
  for (const char* bad : {"", "+", "-", "1e999", "-1e999", "nan", "NaN", "inf", "-infinity", "1,5",
                          "0x10", "12 ", " 12", "1e", "--1", "+-1"}) {
    EXPECT_FALSE(xplane::ReadFiniteNumber(bad, value)) << bad;
  }
}

}  // namespace
