#include "data/nav_math.h"

#include <gtest/gtest.h>

namespace lumaro {
namespace {

TEST(NavMath, HostPositionToDegrees) {
  EXPECT_DOUBLE_EQ(HostLatitudeToDeg(1000000.0), 8.998425275576774);
  // Degrees of exactly 180 become -180: the host counts 0..360 eastwards.
  double raw180 = 180.0 / kLongitudeScale;
  EXPECT_DOUBLE_EQ(HostLongitudeToDeg(raw180), raw180 * kLongitudeScale - 360.0);
  EXPECT_LT(HostLongitudeToDeg(raw180), -179.999);
  EXPECT_NEAR(HostLongitudeToDeg(179.5 / kLongitudeScale), 179.5, 1e-9);
  EXPECT_NEAR(HostLongitudeToDeg(358.0 / kLongitudeScale), -2.0, 1e-9);
}

TEST(NavMath, NmPerDegreeLongitude) {
  EXPECT_NEAR(NmPerDegreeLongitude(0.0), kPi / 180 * 3438, 1e-9);
  EXPECT_NEAR(NmPerDegreeLongitude(60.0), kPi / 180 * 3438 * 0.5, 1e-6);
}

TEST(NavMath, MulDivRoundsToNearest) {
  EXPECT_EQ(MulDiv(100, 1000, 10000), 10);
  EXPECT_EQ(MulDiv(15, 1, 10), 2);
  EXPECT_EQ(MulDiv(-15, 1, 10), -2);
  EXPECT_EQ(MulDiv(14, 1, 10), 1);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(NavMath, RotateAboutCentre) {
  ScreenPoint centre{100, 100};
  // A quarter turn counter-clockwise puts a point right of the centre straight up.
  EXPECT_EQ(RotateAbout({110, 100}, centre, kPi / 2), (ScreenPoint{100, 90}));
  EXPECT_EQ(RotateAbout({110, 100}, centre, kPi), (ScreenPoint{90, 100}));
  EXPECT_EQ(RotateAbout({100, 90}, centre, -kPi / 2), (ScreenPoint{110, 100}));
  EXPECT_EQ(RotateAbout({110, 100}, centre, 0), (ScreenPoint{110, 100}));
  // The centre itself stays where it is (no division by zero).
  EXPECT_EQ(RotateAbout(centre, centre, 1.0), centre);
}

}  // namespace
}  // namespace lumaro
