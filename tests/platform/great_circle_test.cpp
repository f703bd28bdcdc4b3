#include "platform/great_circle.h"

#include <gtest/gtest.h>

#include <cmath>

namespace platform {
namespace {

TEST(GreatCircle, BearingsAndDistancesOfKnownPoints) {
  // A minute of arc along the equator or a meridian is a nautical mile.
  EXPECT_NEAR(DistanceNm({0, 0}, {0, 1}), 60.0, 1e-9);
  EXPECT_NEAR(InitialBearingDeg({0, 0}, {0, 1}), 90.0, 1e-9);
  EXPECT_NEAR(DistanceNm({48, 2}, {49, 2}), 60.0, 1e-9);
  EXPECT_NEAR(InitialBearingDeg({49, 2}, {48, 2}), 180.0, 1e-9);
  // Across the date line the short way round.
  EXPECT_NEAR(DistanceNm({0, 179.5}, {0, -179.5}), 60.0, 1e-9);
  EXPECT_NEAR(InitialBearingDeg({0, 179.5}, {0, -179.5}), 90.0, 1e-9);
  // Paris to London: 185 NM on a bearing of about 330 degrees.
  GeoPoint paris{48.8566, 2.3522}, london{51.5074, -0.1278};
  EXPECT_NEAR(DistanceNm(paris, london), 185.0, 1.0);
  EXPECT_NEAR(InitialBearingDeg(paris, london), 330.0, 1.0);
  GeoPoint there = Destination(paris, 47.0, 123.4);
  EXPECT_NEAR(DistanceNm(paris, there), 123.4, 1e-9);
  EXPECT_NEAR(InitialBearingDeg(paris, there), 47.0, 1e-9);
  EXPECT_NEAR(Destination({0, 179.9}, 90, 12).longitudeDeg, -179.9, 1e-9);
}

// Metres are measured on the sphere of the mean radius, nautical miles as
// minutes of arc: one degree is 111,195.08 m but 60 NM (111,120 m).
TEST(GreatCircle, MetresOnTheMeanRadiusSphere) {
  EXPECT_NEAR(DistanceMetres({0, 0}, {1, 0}), 6371008.8 * M_PI / 180, 1e-6);
  EXPECT_NEAR(DistanceMetres({48, 2}, {48, 2}), 0.0, 1e-9);
  // A runway of 3,000 m along the equator, from its west end and back.
  const double runwayDeg = 3000 / 6371008.8 * 180 / M_PI;
  GeoPoint west{0, 10}, east{0, 10 + runwayDeg};
  EXPECT_NEAR(DistanceMetres(west, east), 3000.0, 1e-6);
  EXPECT_NEAR(InitialBearingDeg(west, east), 90.0, 1e-9);
  EXPECT_NEAR(InitialBearingDeg(east, west), 270.0, 1e-9);
}

TEST(GreatCircle, AnglesIntoATurn) {
  EXPECT_DOUBLE_EQ(Normalize360(-10), 350);
  EXPECT_DOUBLE_EQ(Normalize360(720), 0);
  EXPECT_DOUBLE_EQ(Normalize360(359.5), 359.5);
  // Just below zero: +360 rounds to 360 itself, which is 0.
  EXPECT_EQ(Normalize360(-1e-15), 0.0);
  EXPECT_TRUE(std::isnan(Normalize360(NAN)));
  EXPECT_DOUBLE_EQ(SignedDifferenceDeg(350, 10), 20);
  EXPECT_DOUBLE_EQ(SignedDifferenceDeg(10, 350), -20);
  EXPECT_DOUBLE_EQ(SignedDifferenceDeg(0, 180), -180);
  EXPECT_DOUBLE_EQ(SignedDifferenceDeg(3.5, 0), -3.5);
  EXPECT_EQ(WholeDegrees(359.6), 0);
  EXPECT_EQ(WholeDegrees(359.4), 359);
  EXPECT_EQ(WholeDegrees(-0.4), 0);
  EXPECT_EQ(WholeDegrees(-0.6), 359);
  EXPECT_EQ(WholeDegrees(720.5), 1);
}

}  // namespace
}  // namespace platform
