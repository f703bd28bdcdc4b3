#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace platform {
namespace {

TEST(Numbers, ReadLongStopsAtTheFirstForeignCharacter) {
  EXPECT_EQ(ReadLong("09L"), 9);
  EXPECT_EQ(ReadLong("  -12x"), -12);
  EXPECT_EQ(ReadLong("+7"), 7);
  EXPECT_EQ(ReadLong("abc"), 0);
  EXPECT_EQ(ReadLong(""), 0);
  EXPECT_EQ(ReadLong("N48\xB0"
                     "51",
                     1),
            48);
  EXPECT_EQ(ReadLong("123", 5), 0);  // an offset past the end reads 0
  EXPECT_EQ(ReadLong("99999999999999999999999"), LONG_MAX);
  EXPECT_EQ(ReadLong("-99999999999999999999999"), LONG_MIN);
}

// Base 16 reads as strtol does, which the display's pass field "Item=0x1E"
// and its old reader relied on: checked here against strtol itself.
TEST(Numbers, ReadLongInBase16AgreesWithStrtol) {
  for (const char* text : {"1E", "0x1E", "0X1e", " -ff;", "+7f", "0x", "0xg", "0", "G", "",
                           "fffffffffffffffffff", "-0x8000000000000000", "x12", "1e+2"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ReadLong(text, 0, 16), std::strtol(text, nullptr, 16));
    EXPECT_EQ(ReadLong(text, 0, 10), std::strtol(text, nullptr, 10));
  }
  EXPECT_EQ(ReadLong("Item=0x1E", 7, 16), 0x1E);
}

TEST(Numbers, ReadDoubleLikeStrtod) {
  EXPECT_DOUBLE_EQ(ReadDouble("24.00'"), 24.0);
  EXPECT_DOUBLE_EQ(ReadDouble(" -0.5"), -0.5);
  EXPECT_DOUBLE_EQ(ReadDouble(".25"), 0.25);
  EXPECT_DOUBLE_EQ(ReadDouble("1e3x"), 1000.0);
  EXPECT_EQ(ReadDouble("x1"), 0.0);
  EXPECT_EQ(ReadDouble("-"), 0.0);
}

TEST(Numbers, ReadDoubleOutOfRangeGoesWhereStrtodGoes) {
  // Too small is zero, too large is HUGE_VAL, whatever the digits before
  // the exponent say.
  for (const char* text :
       {"1e-400", "-1e-400", "0.000001e-320", "1e-99999999999999999999999", "1e400", "-1e400",
        "123456789e300", "0.001e311", "1e99999999999999999999999"}) {
    EXPECT_EQ(ReadDouble(text), std::strtod(text, nullptr)) << text;
  }
  // Four hundred digits before the point outweigh a negative exponent.
  const std::string longMantissa = "1" + std::string(400, '0') + "e-10";
  EXPECT_EQ(ReadDouble(longMantissa), HUGE_VAL);
}

// What strtod reads to the end of the text, and nothing where strtod would
// stop early or find no number at all.
TEST(Numbers, ReadWholeDoubleTakesTheWholeTextOrNothing) {
  EXPECT_EQ(ReadWholeDouble("7.4"), 7.4);
  EXPECT_EQ(ReadWholeDouble(" -0.5"), -0.5);
  EXPECT_EQ(ReadWholeDouble("+113.90"), 113.9);
  EXPECT_EQ(ReadWholeDouble("5."), 5.0);
  EXPECT_EQ(ReadWholeDouble(".25"), 0.25);
  EXPECT_EQ(ReadWholeDouble("1e3"), 1000.0);
  EXPECT_EQ(ReadWholeDouble("1e400"), HUGE_VAL);
  for (const char* text : {"", " ", "-", ".", "7.4 ", "7,4", "PGS", "110.30x", "1e", "e3"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ReadWholeDouble(text), std::nullopt);
  }
  // A view ends where it says, whatever the buffer holds after it.
  EXPECT_EQ(ReadWholeDouble(std::string_view("12.5x", 4)), 12.5);
}

TEST(Numbers, RoundHalfAwayFromZero) {
  EXPECT_EQ(RoundHalfAwayFromZero(2.5), 3);
  EXPECT_EQ(RoundHalfAwayFromZero(-2.5), -3);
  EXPECT_EQ(RoundHalfAwayFromZero(2.49), 2);
  EXPECT_EQ(RoundHalfAwayFromZero(-0.4), 0);
  EXPECT_EQ(RoundHalfAwayFromZero(1e300), LONG_MAX);
}

}  // namespace
}  // namespace platform
