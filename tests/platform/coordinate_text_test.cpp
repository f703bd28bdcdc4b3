#include "platform/coordinate_text.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

TEST(CoordinateText, ReadsEveryHemisphere) {
  EXPECT_NEAR(ReadLatitudeText("N48\xB0"
                               "51'24.00"),
              48.856666666, 1e-8);
  EXPECT_NEAR(ReadLongitudeText("W002\xB0"
                                "21'03.00"),
              -2.350833333, 1e-8);
  EXPECT_NEAR(ReadLatitudeText("S33\xB0"
                               "56'00.00"),
              -33.933333333, 1e-8);
  EXPECT_NEAR(ReadLongitudeText("E151\xB0"
                                "10'30.00"),
              151.175, 1e-9);
  // The letter of the other axis does not turn the sign.
  EXPECT_GT(ReadLatitudeText("W48\xB0"
                             "51'24.00"),
            0);
  EXPECT_GT(ReadLongitudeText("S002\xB0"
                              "21'03.00"),
            0);
  EXPECT_EQ(ReadLatitudeText("N48\xB0"
                             "51'24.00"),
            DegreesFromParts(48, 51, 24.0));
}

// A route row's fields are cut wider than the coordinate (14 and 15
// characters): what follows the seconds is not a digit, so the value is the
// same; a text cut short reads what is there and never runs past its end.
TEST(CoordinateText, ReadsOnlyTheTextItIsGiven) {
  const std::string row =
      "N48\xB0"
      "51'24.00; W002\xB0"
      "21'03.00;";
  EXPECT_EQ(ReadLatitudeText(std::string_view(row).substr(0, 14)),
            ReadLatitudeText(std::string_view(row).substr(0, 12)));
  const std::string digitsAfter =
      "N48\xB0"
      "51'24.0099";
  EXPECT_EQ(ReadLatitudeText(std::string_view(digitsAfter).substr(0, 12)),
            DegreesFromParts(48, 51, 24.0));
  EXPECT_EQ(ReadLatitudeText(std::string_view(digitsAfter).substr(0, 8)),
            DegreesFromParts(48, 51, 2.0));
  EXPECT_EQ(ReadLatitudeText(""), 0.0);
  EXPECT_EQ(ReadLatitudeText("N"), 0.0);
  EXPECT_EQ(ReadLatitudeText("N4"), 4.0);
  EXPECT_EQ(ReadLongitudeText("W"), -0.0);
}

}  // namespace
}  // namespace platform
