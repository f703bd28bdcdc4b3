#include "navdb/line_layout.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "navdb/coordinates.h"
#include "navdb/entry_lines.h"
#include "tests/support/navaid_lines.h"

namespace navdb {
namespace {

using testing_support::WithDegreeSigns;

const std::string kNdb = WithDegreeSigns(
    "ABC    TEST BEACON               375.0  N48*51'24.00  E002*21'00.00  -0120  050");
const std::string kVor = WithDegreeSigns(
    "PGS    PONTOISE                  VOR/DME/GS /TCN  117.80  234  N49*05'48.00  "
    "E002*02'12.00  00325  130  -01.5");
const std::string kRunway = WithDegreeSigns(
    "LFPG   CHARLES DE GAULLE         09L/27R  086/266  N49*01'26.00  E002*33'11.00  00392  "
    "13829  197  128.00");
const std::string kIntersection =
    WithDegreeSigns("ABCDE  COMMENT                   S90*00'00.00  W180*00'00.00  00000");

std::string With(std::string line, size_t column, std::string_view text) {
  line.replace(column, text.size(), text);
  return line;
}

TEST(LineLayout, LinesOfEveryKindThatHaveTheirLayout) {
  EXPECT_EQ(LineLayoutProblem(NavaidKind::Ndb, kNdb), std::nullopt);
  EXPECT_EQ(LineLayoutProblem(NavaidKind::Vor, kVor), std::nullopt);
  EXPECT_EQ(LineLayoutProblem(NavaidKind::Airport, kRunway), std::nullopt);
  EXPECT_EQ(LineLayoutProblem(NavaidKind::Intersection, kIntersection), std::nullopt);
  // A VOR without localizer has five blanks for its course; a helipad's
  // opposite designation is HEL; a variation east has a blank sign.
  EXPECT_EQ(LineLayoutProblem(NavaidKind::Vor, With(With(kVor, 58, "   "), 104, " ")),
            std::nullopt);
  EXPECT_EQ(LineLayoutProblem(NavaidKind::Airport, With(kRunway, 33, "09 /HEL")), std::nullopt);
  // Every line the builders write from sound values passes.
  EXPECT_EQ(
      LineLayoutProblem(NavaidKind::Ndb, BuildNdbLine({"A", "", "190.0", FormatLatitude(-33.9),
                                                       FormatLongitude(151.2), -9, 0})),
      std::nullopt);
}

TEST(LineLayout, EveryDepartureIsNamed) {
  struct Case {
    NavaidKind kind;
    std::string line;
    std::string problem;
  };
  const Case cases[] = {
      {NavaidKind::Ndb, kNdb + " ", "the line is 80 characters long, not 79"},
      {NavaidKind::Ndb, kNdb.substr(0, 78), "the line is 78 characters long, not 79"},
      {NavaidKind::Ndb, With(kNdb, 9, "\x01"), "control byte 0x01 at column 9"},
      {NavaidKind::Ndb, With(kNdb, 5, "X"), "column 5 holds 'X' where the layout has a space"},
      {NavaidKind::Ndb, With(kNdb, 32, "X"), "column 32 holds 'X' where the layout has a space"},
      // A frequency above 999.9 kHz pushes its decimal into the separator.
      {NavaidKind::Ndb, With(kNdb, 33, "1669.0"), "frequency '1669.' is not written ddd.d"},
      {NavaidKind::Ndb, With(kNdb, 33, "115.C"), "frequency '115.C' is not written ddd.d"},
      {NavaidKind::Ndb, With(kNdb, 40, WithDegreeSigns("N150*00'00.00")),
       WithDegreeSigns("latitude 'N150*00'00.0' is not a latitude from S90 to N90")},
      {NavaidKind::Ndb, With(kNdb, 40, WithDegreeSigns("N91*00'00.00")),
       WithDegreeSigns("latitude 'N91*00'00.00' is not a latitude from S90 to N90")},
      {NavaidKind::Ndb, With(kNdb, 40, WithDegreeSigns("N90*00'00.01")),
       WithDegreeSigns("latitude 'N90*00'00.01' is not a latitude from S90 to N90")},
      {NavaidKind::Ndb, With(kNdb, 40, WithDegreeSigns("N48*60'00.00")),
       WithDegreeSigns("latitude 'N48*60'00.00' is not a latitude from S90 to N90")},
      {NavaidKind::Ndb, With(kNdb, 40, WithDegreeSigns("X48*51'24.00")),
       WithDegreeSigns("latitude 'X48*51'24.00' is not a latitude from S90 to N90")},
      {NavaidKind::Ndb, With(kNdb, 54, WithDegreeSigns("E181*00'00.00")),
       WithDegreeSigns("longitude 'E181*00'00.00' is not a longitude from W180 to E180")},
      {NavaidKind::Ndb, With(kNdb, 54, WithDegreeSigns("E002*21'60.00")),
       WithDegreeSigns("longitude 'E002*21'60.00' is not a longitude from W180 to E180")},
      {NavaidKind::Ndb, With(kNdb, 69, "--120"),
       "elevation '--120' is not a number of 5 characters"},
      {NavaidKind::Ndb, With(kNdb, 76, "-01"), "range '-01' is not 3 digits"},
      {NavaidKind::Vor, With(kVor, 50, "99.50 "), "frequency '99.50 ' is not written ddd.dd"},
      {NavaidKind::Vor, With(kVor, 58, "2 4"), "localizer course '2 4' is not 3 digits"},
      {NavaidKind::Vor, With(kVor, 104, "+01.5"),
       "magnetic variation '+01.5' is not written sdd.d"},
      {NavaidKind::Airport, With(kRunway, 33, "100L/"), "designation 'L' is not written /"},
      {NavaidKind::Airport, With(kRunway, 42, "086/-94"),
       "headings '086/-94' is not written ddd/ddd"},
      {NavaidKind::Airport, With(kRunway, 94, "1e3"), "width '1e3' is not 3 digits"},
      {NavaidKind::Airport, With(kRunway, 99, "128.0 "),
       "ATIS frequency '128.0 ' is not written ddd.dd"},
      {NavaidKind::Intersection, With(kIntersection, 62, "0000x"),
       "elevation '0000x' is not a number of 5 characters"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(LineLayoutProblem(c.kind, c.line), std::optional<std::string>(c.problem));
  }
}

TEST(LineLayout, EveryFormattedAngleInRangeReadsAsOne) {
  // The formatter cuts at every step: its minutes and seconds must never
  // reach 60, or a sound position would be refused.
  std::mt19937_64 random(20);
  std::uniform_real_distribution<double> latitude(-90.0, 90.0), longitude(-180.0, 180.0);
  for (int i = 0; i < 200000; ++i) {
    const double lat = latitude(random), lon = longitude(random);
    ASSERT_TRUE(IsLatitudeText(FormatLatitude(lat))) << lat;
    ASSERT_TRUE(IsLongitudeText(FormatLongitude(lon))) << lon;
  }
  for (double edge : {0.0, -0.0, 1e-300, 59.999999999999, 89.99999999999999, 90.0, -90.0}) {
    EXPECT_TRUE(IsLatitudeText(FormatLatitude(edge))) << edge;
  }
  for (double edge : {179.99999999999997, 180.0, -180.0}) {
    EXPECT_TRUE(IsLongitudeText(FormatLongitude(edge))) << edge;
  }
  EXPECT_FALSE(IsLatitudeText(FormatLatitude(90.001)));
  EXPECT_FALSE(IsLongitudeText(FormatLongitude(-180.01)));
  EXPECT_FALSE(IsLatitudeText(""));
  EXPECT_FALSE(IsLongitudeText(FormatLatitude(10.0)));
}

}  // namespace
}  // namespace navdb
