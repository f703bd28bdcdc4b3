#include "navdb/entry_lines.h"

#include <gtest/gtest.h>

#include "navdb/coordinates.h"

namespace navdb {
namespace {

TEST(EntryLines, NdbLineColumns) {
  const std::string lat = FormatLatitude(48.856666666666666);
  const std::string lon = FormatLongitude(2.35);
  const std::string line = BuildNdbLine({"ABC", "TEST BEACON", "375.0", lat, lon, 120, 50});
  EXPECT_EQ(line,
            "ABC    TEST BEACON               375.0  N48\xB0"
            "51'24.00  E002\xB0"
            "21'00.00  00120  050");
  EXPECT_EQ(line.size(), 79u);
  EXPECT_EQ(line[5], ' ');
  EXPECT_EQ(line[31], ' ');
  const EntryFields f = ParseEntryLine(NavaidKind::Ndb, line);
  EXPECT_EQ(f.identifier, "ABC");
  EXPECT_EQ(f.name, "TEST BEACON");
  EXPECT_EQ(f.frequencyInteger, "375");
  EXPECT_EQ(f.frequencyDecimals, "0");
  EXPECT_EQ(f.latitudeHemisphere, 'N');
  EXPECT_EQ(f.latitudeDegrees, "48");
  EXPECT_EQ(f.latitudeMinutes, "51");
  EXPECT_EQ(f.latitudeSeconds, "24");
  EXPECT_EQ(f.latitudeHundredths, "00");
  EXPECT_EQ(f.longitudeHemisphere, 'E');
  EXPECT_EQ(f.longitudeDegrees, "002");
  EXPECT_EQ(f.longitudeMinutes, "21");
  EXPECT_EQ(f.latitudeText, lat);
  EXPECT_EQ(f.longitudeText, lon);
  EXPECT_EQ(f.elevation, "00120");
  EXPECT_EQ(f.range, "050");
}

TEST(EntryLines, NdbHalfADegreeWest) {
  const std::string line =
      BuildNdbLine({"XW", "", "400.5", FormatLatitude(10), FormatLongitude(-0.5), 0, 25});
  EXPECT_EQ(line.substr(54, 13),
            "W000\xB0"
            "30'00.00");
}

TEST(EntryLines, VorTypes) {
  EXPECT_EQ(VorTypeText(VorBase::Vor, true, true, true), "VOR/DME/GS /TCN");
  EXPECT_EQ(VorTypeText(VorBase::DmeOnly, true, false, true), "DME/TCN");
  EXPECT_EQ(VorTypeText(VorBase::Ils, true, true, false), "ILS/DME/GS ");
  EXPECT_EQ(VorTypeText(VorBase::Vor, false, false, false), "VOR");
}

TEST(EntryLines, VorLineColumnsAndVariation) {
  const std::string line = BuildVorLine(
      {"IPAR", "PARIS ILS 27", VorTypeText(VorBase::Ils, true, true, false), "110.30", "268",
       FormatLatitude(-33.5), FormatLongitude(151.25), 32, 18, MagneticVariationTenths(-2.34)});
  EXPECT_EQ(line.size(), 109u);
  EXPECT_EQ(line.substr(33, 17), "ILS/DME/GS       ");
  EXPECT_EQ(line.substr(50, 8), "110.30  ");
  EXPECT_EQ(line.substr(58, 5), "268  ");
  EXPECT_EQ(line.substr(63, 14),
            "S33\xB0"
            "30'00.00  ");
  EXPECT_EQ(line.substr(77, 15),
            "E151\xB0"
            "15'00.00  ");
  EXPECT_EQ(line.substr(92), "00032  018  -02.3");
  const EntryFields f = ParseEntryLine(NavaidKind::Vor, line);
  EXPECT_EQ(f.typeText, "ILS/DME/GS     ");
  EXPECT_EQ(f.courseText, "268");
  EXPECT_EQ(f.frequencyInteger, "110");
  EXPECT_EQ(f.frequencyDecimals, "30");
  EXPECT_EQ(f.magneticVariation, "-02.3");

  const std::string vor =
      BuildVorLine({"PGS", "PEACH SPRINGS", "VOR", "112.00", "", FormatLatitude(35.6),
                    FormatLongitude(-113.5), 4800, 130, MagneticVariationTenths(0)});
  EXPECT_EQ(vor.substr(58, 5), "     ");
  EXPECT_EQ(vor.substr(104), " 00.0");
  EXPECT_EQ(FormatMagneticVariation(MagneticVariationTenths(0.05)), " 00.1");
  EXPECT_EQ(FormatMagneticVariation(MagneticVariationTenths(-0.04)), " 00.0");
  EXPECT_EQ(FormatMagneticVariation(MagneticVariationTenths(12.34)), " 12.3");
  EXPECT_EQ(FormatMagneticVariation(MagneticVariationTenths(-0.5)), "-00.5");
}

TEST(EntryLines, RunwayDesignationsAndHeadings) {
  EXPECT_EQ(RunwayDesignation(9, RunwayDesignator::LeftRight), "09L/27R  ");
  EXPECT_EQ(RunwayDesignation(9, RunwayDesignator::RightLeft), "09R/27L  ");
  EXPECT_EQ(RunwayDesignation(9, RunwayDesignator::Centre), "09C/27C  ");
  EXPECT_EQ(RunwayDesignation(9, RunwayDesignator::Helipad), "09 /HEL  ");
  EXPECT_EQ(RunwayDesignation(27, RunwayDesignator::Plain), "27 /09   ");
  EXPECT_EQ(RunwayDesignation(18, RunwayDesignator::Plain), "18 /36   ");
  EXPECT_EQ(OppositeHeading(90), 270);
  EXPECT_EQ(OppositeHeading(270), 90);
  EXPECT_EQ(OppositeHeading(180), 360);
  EXPECT_EQ(HeadingToWholeDegrees(-92.5), 268);
  EXPECT_EQ(HeadingToWholeDegrees(89.5), 90);
  EXPECT_EQ(MetresToFeet(100), 328);
  EXPECT_EQ(MetresToFeet(-10), -33);

  const std::string line = BuildRunwayLine(
      {"LFPG", "CHARLES DE GAULLE", RunwayDesignation(9, RunwayDesignator::LeftRight), 87,
       OppositeHeading(87), FormatLatitude(49.0097), FormatLongitude(2.5478), MetresToFeet(119),
       13829, 197, "118.05"});
  EXPECT_EQ(line.size(), 105u);
  EXPECT_EQ(line.substr(0, 51), "LFPG   CHARLES DE GAULLE         09L/27R  087/267  ");
  EXPECT_EQ(line.substr(80), "00390  13829  197  118.05");
  const EntryFields f = ParseEntryLine(NavaidKind::Airport, line);
  EXPECT_EQ(f.designation, "09L");
  EXPECT_EQ(f.oppositeDesignation, "27R");
  EXPECT_EQ(f.heading, "087");
  EXPECT_EQ(f.oppositeHeading, "267");
  EXPECT_EQ(f.length, "13829");
  EXPECT_EQ(f.width, "197");
  EXPECT_EQ(f.atisInteger, "118");
  EXPECT_EQ(f.atisDecimals, "05");
}

TEST(EntryLines, IntersectionLineAndShortLines) {
  const std::string line = BuildIntersectionLine(
      {"ABNUR", "ENTRY POINT", FormatLatitude(45.25), FormatLongitude(-73.75), 0});
  EXPECT_EQ(line,
            "ABNUR  ENTRY POINT               N45\xB0"
            "15'00.00  W073\xB0"
            "45'00.00  00000");
  EXPECT_EQ(line.size(), 67u);
  // A short line gives empty fields, never a read past its end.
  const EntryFields f = ParseEntryLine(NavaidKind::Vor, "ABC");
  EXPECT_EQ(f.identifier, "ABC");
  EXPECT_EQ(f.name, "");
  EXPECT_EQ(f.magneticVariation, "");
  EXPECT_EQ(f.latitudeHemisphere, ' ');
  // A field longer than its width is not cut.
  EXPECT_EQ(BuildIntersectionLine({"ABCDEFG", "", "", "", 0}).substr(0, 8), "ABCDEFG ");
}

}  // namespace
}  // namespace navdb
