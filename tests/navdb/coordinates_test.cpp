#include "navdb/coordinates.h"

#include <gtest/gtest.h>

#include <cmath>

namespace navdb {
namespace {

struct FormatRow {
  double angleDeg;
  const char* latitude;
  const char* longitude;
};

TEST(CoordinateText, FormatsTruncateEveryStep) {
  const FormatRow rows[] = {
      {48.8566,
       "N48\xB0"
       "51'23.75",
       "E048\xB0"
       "51'23.75"},
      {-0.5,
       "S00\xB0"
       "30'00.00",
       "W000\xB0"
       "30'00.00"},
      {0.0,
       "N00\xB0"
       "00'00.00",
       "E000\xB0"
       "00'00.00"},
      {-33.933333333333333,
       "S33\xB0"
       "55'59.99",
       "W033\xB0"
       "55'59.99"},
      {2.35,
       "N02\xB0"
       "21'00.00",
       "E002\xB0"
       "21'00.00"},
      {-179.999999,
       "S179\xB0"
       "59'59.99",
       "W179\xB0"
       "59'59.99"},
  };
  for (const FormatRow& row : rows) {
    SCOPED_TRACE(row.angleDeg);
    if (std::fabs(row.angleDeg) < 100) {
      EXPECT_EQ(FormatLatitude(row.angleDeg), row.latitude);
    }
    EXPECT_EQ(FormatLongitude(row.angleDeg), row.longitude);
  }
  EXPECT_EQ(FormatLatitude(48.8566).size(), 12u);
  EXPECT_EQ(FormatLongitude(-151.175).size(), 13u);
}

TEST(CoordinateText, ParsesWithTheFoldingArithmetic) {
  EXPECT_DOUBLE_EQ(ParseLongitude("W002\xB0"
                                  "20'30.00"),
                   -2.3416666666666668);
  EXPECT_EQ(ParseLongitude("W002\xB0"
                           "20'30.00"),
            -((30.0 * kOneSixtieth + 20) * kOneSixtieth + 2));
  EXPECT_EQ(ParseLatitude("N48\xB0"
                          "51'24.00"),
            (24.0 * kOneSixtieth + 51) * kOneSixtieth + 48);
  EXPECT_LT(ParseLatitude("S33\xB0"
                          "56'00.00"),
            0);
  EXPECT_GT(ParseLatitude("N33\xB0"
                          "56'00.00"),
            0);
  EXPECT_EQ(ParseLatitude(""), 0.0);
  EXPECT_EQ(ParseLatitude("N"), 0.0);
  for (double angle : {48.8566, -0.5, 12.345678, -77.123456, 0.0001}) {
    SCOPED_TRACE(angle);
    // Formatting cuts below a hundredth of a second, never more.
    const double hundredthDeg = 0.01 / 3600 * 1.000001;
    EXPECT_NEAR(ParseLatitude(FormatLatitude(angle)), angle, hundredthDeg);
    EXPECT_NEAR(ParseLongitude(FormatLongitude(angle * 2)), angle * 2, hundredthDeg);
  }
}

TEST(CoordinateText, SecondsAndTenthsOfAMinute) {
  EXPECT_EQ(SecondsToTenths("57.00"), "10");
  EXPECT_EQ(SecondsToTenths("2.99"), "0");
  EXPECT_EQ(SecondsToTenths("3.00"), "1");
  EXPECT_EQ(SecondsToTenths("45.50"), "8");
  EXPECT_EQ(SecondsToTenths(""), "0");
  EXPECT_EQ(TenthsToSeconds("5"), "30");
  EXPECT_EQ(TenthsToSeconds("0"), "00");
  EXPECT_EQ(TenthsToSeconds("1"), "06");
}

}  // namespace
}  // namespace navdb
