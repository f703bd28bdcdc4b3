// The feed's values in the host variables the display reads, and the feed's
// clock: "NO FEED" before the first packet and 2 seconds after the last.
#include "fgfs_feed.h"

#include <gtest/gtest.h>

#include "fgfs_test_packets.h"

namespace ndhost {
namespace {

using fgfs_test::kFlightGearPacket;
using fgfs_test::WithField;

FgfsSample Sample(const std::string& packet) {
  platform::Result<FgfsSample> result = ParseFgfsPacket(packet);
  EXPECT_TRUE(result) << result.error().message;
  return result.ok() ? *result : (FgfsSample{});
}

PanelValue Variable(const AircraftState& aircraft, uint32_t token) {
  PanelVariable variable{};
  variable.token = token;
  EXPECT_TRUE(FillVariable(aircraft, variable));
  return variable.currentValue;
}

TEST(FgfsFeed, AFlightGearPacketSetsTheHostVariables) {
  AircraftState aircraft;
  ApplyFgfsSample(Sample(kFlightGearPacket), aircraft);
  EXPECT_DOUBLE_EQ(Variable(aircraft, PANEL_VAR_HEADING).number, 262.18);
  // The map turns by the true heading, courses are drawn true.
  EXPECT_NEAR(Variable(aircraft, PANEL_VAR_MAP_HEADING).number, 265.42, 1e-9);
  EXPECT_NEAR(Variable(aircraft, PANEL_VAR_COURSE_OFFSET).number, 3.24, 1e-9);
  EXPECT_DOUBLE_EQ(Variable(aircraft, PANEL_VAR_LATITUDE).number,
                   48.9987538 / 8.998425275576774e-06);
  EXPECT_DOUBLE_EQ(Variable(aircraft, PANEL_VAR_LONGITUDE).number,
                   2.6105347 / 1.2789770768341246e-12);
  EXPECT_EQ(Variable(aircraft, PANEL_VAR_NAV1_FREQUENCY).integer, 0x1535);
  EXPECT_STREQ(Variable(aircraft, PANEL_VAR_NAV1_IDENT).text, "CGN");
  EXPECT_EQ(Variable(aircraft, PANEL_VAR_NAV1_FLAGS).integer, 0x81);
  EXPECT_DOUBLE_EQ(Variable(aircraft, PANEL_VAR_DME).number, 4.54);
  EXPECT_DOUBLE_EQ(Variable(aircraft, PANEL_VAR_NAV_COURSE).number, 284);
  EXPECT_DOUBLE_EQ(Variable(aircraft, PANEL_VAR_COURSE_DEVIATION).number, 0.2201 * 127);
  EXPECT_DOUBLE_EQ(Variable(aircraft, PANEL_VAR_DEVIATION_RANGE).number, 0);
  EXPECT_EQ(Variable(aircraft, PANEL_VAR_TO_FROM_FLAGS).integer, 0);
  EXPECT_DOUBLE_EQ(Variable(aircraft, PANEL_VAR_VERTICAL_SCALE).number, 0);
  EXPECT_DOUBLE_EQ(Variable(aircraft, PANEL_VAR_VERTICAL_DEVIATION).number, 0);
  EXPECT_STREQ(Variable(aircraft, PANEL_VAR_NAV2_IDENT).text, "PGS");
  EXPECT_EQ(Variable(aircraft, PANEL_VAR_NAV2_FLAGS).integer, 0x01);
  EXPECT_NEAR(Variable(aircraft, PANEL_VAR_NAV2_BEARING).number, 179.88, 1e-9);
  EXPECT_DOUBLE_EQ(Variable(aircraft, PANEL_VAR_DME2).number, 980 / 1852.0);
  EXPECT_DOUBLE_EQ(Variable(aircraft, PANEL_VAR_ADF_ACTIVE).number, 1);
  EXPECT_STREQ(Variable(aircraft, PANEL_VAR_ADF_IDENT).text, "CGO");
  EXPECT_NEAR(Variable(aircraft, PANEL_VAR_ADF_BEARING).number, 2.3, 1e-9);
  EXPECT_DOUBLE_EQ(Variable(aircraft, PANEL_VAR_MARKER).number, 0);
  // FlightGear's wind from 270 true, shown magnetic as the compass: 3.24 less.
  EXPECT_NEAR(Variable(aircraft, PANEL_VAR_WIND_DIRECTION).number, 266.76, 1e-9);
  EXPECT_DOUBLE_EQ(Variable(aircraft, PANEL_VAR_WIND_SPEED).number, 3);
  EXPECT_DOUBLE_EQ(Variable(aircraft, PANEL_VAR_GROUND_SPEED).number, 0);
  EXPECT_DOUBLE_EQ(Variable(aircraft, PANEL_VAR_SELECTED_HEADING).number, 0);
}

TEST(FgfsFeed, ReceiversOutOfRangeGiveTheNoSignalValues) {
  std::string packet = WithField(fgfs_test::kNav1InRange, "0");
  packet = WithField(fgfs_test::kNav2InRange, "0", packet);
  packet = WithField(fgfs_test::kAdfInRange, "0", packet);
  packet = WithField(fgfs_test::kDmeInRange, "0", packet);
  packet = WithField(fgfs_test::kNav1GlideSlopeInRange, "1", packet);
  packet = WithField(fgfs_test::kNav1FromFlag, "1", packet);
  AircraftState aircraft;
  ApplyFgfsSample(Sample(kFlightGearPacket), aircraft);
  ApplyFgfsSample(Sample(packet), aircraft);
  EXPECT_EQ(aircraft.nav1Ident, "");
  EXPECT_EQ(aircraft.nav1Flags, 0x80);  // frequency shown, DME and speed texts not
  EXPECT_DOUBLE_EQ(aircraft.dmeNm, 0);
  EXPECT_DOUBLE_EQ(aircraft.courseDeviation, 0);
  EXPECT_DOUBLE_EQ(aircraft.deviationRange, 30000);
  EXPECT_EQ(aircraft.toFromFlags, 0);
  EXPECT_DOUBLE_EQ(aircraft.verticalScale, 0);  // no glide slope without the localizer
  EXPECT_EQ(aircraft.nav2Ident, "");
  EXPECT_EQ(aircraft.nav2Flags, 0x08);
  EXPECT_DOUBLE_EQ(aircraft.dme2Nm, 0);
  EXPECT_DOUBLE_EQ(aircraft.adfActive, 0);
  EXPECT_DOUBLE_EQ(aircraft.nav1FrequencyMhz, 115.35);  // still tuned

  // Untuned (FlightGear's 0) and at the ends of the NAV band.
  const std::pair<const char*, int32_t> bands[] = {
      {"0.00", 0x00}, {"107.95", 0x00}, {"108.00", 0x80}, {"117.95", 0x80}, {"118.00", 0x00}};
  for (const auto& [frequency, flags] : bands) {
    SCOPED_TRACE(frequency);
    ApplyFgfsSample(Sample(WithField(fgfs_test::kNav1Frequency, frequency, packet)), aircraft);
    EXPECT_EQ(aircraft.nav1Flags, flags);
  }
}

TEST(FgfsFeed, NeedlesAndMarkersOnAnIlsApproach) {
  std::string packet = WithField(fgfs_test::kNav1GlideSlopeInRange, "1");
  packet = WithField(fgfs_test::kNav1GlideSlopeNeedle, "0.5", packet);
  packet = WithField(fgfs_test::kNav1CourseNeedle, "-2.5", packet);
  packet = WithField(fgfs_test::kNav1ToFlag, "0", packet);
  packet = WithField(fgfs_test::kNav1FromFlag, "1", packet);
  packet = WithField(fgfs_test::kMarkerOuter, "1", packet);
  AircraftState aircraft;
  ApplyFgfsSample(Sample(packet), aircraft);
  // Below the glide slope the diamond stands above the centre.
  EXPECT_DOUBLE_EQ(aircraft.verticalDeviation, -60);
  EXPECT_DOUBLE_EQ(aircraft.verticalScale, 1);
  EXPECT_DOUBLE_EQ(aircraft.courseDeviation, -127);  // pinned at full scale
  EXPECT_EQ(aircraft.toFromFlags, 0x04);
  EXPECT_DOUBLE_EQ(aircraft.marker, 1);

  ApplyFgfsSample(Sample(WithField(fgfs_test::kNav1GlideSlopeNeedle, "-7",
                                   WithField(fgfs_test::kMarkerMiddle, "1", packet))),
                  aircraft);
  EXPECT_DOUBLE_EQ(aircraft.verticalDeviation, 120);
  EXPECT_DOUBLE_EQ(aircraft.marker, 2);
  ApplyFgfsSample(Sample(WithField(fgfs_test::kMarkerInner, "1", packet)), aircraft);
  EXPECT_DOUBLE_EQ(aircraft.marker, 3);
}

TEST(FgfsFeed, AnglesAreWrappedAcrossNorth) {
  std::string packet = WithField(fgfs_test::kHeadingMagnetic, "359.5");
  packet = WithField(fgfs_test::kHeadingTrue, "1.5", packet);
  packet = WithField(fgfs_test::kHeadingBug, "-10", packet);
  AircraftState aircraft;
  ApplyFgfsSample(Sample(packet), aircraft);
  EXPECT_DOUBLE_EQ(aircraft.headingDeg, 359.5);
  EXPECT_DOUBLE_EQ(aircraft.mapHeadingOffsetDeg, 2.0);
  EXPECT_DOUBLE_EQ(aircraft.selectedHeadingDeg, 350);
  EXPECT_NEAR(aircraft.nav2BearingDeg, 83.8, 1e-9);

  ApplyFgfsSample(Sample(WithField(fgfs_test::kHeadingMagnetic, "720",
                                   WithField(fgfs_test::kHeadingTrue, "", packet))),
                  aircraft);
  EXPECT_DOUBLE_EQ(aircraft.headingDeg, 0);
}

// The wind is shown magnetic with the variation of FlightGear's two headings,
// across north too; before both headings have come it is shown as given.
TEST(FgfsFeed, TheWindIsShownMagnetic) {
  std::string packet = WithField(fgfs_test::kHeadingTrue, "93.3");
  packet = WithField(fgfs_test::kHeadingMagnetic, "90.0", packet);
  AircraftState aircraft;
  ApplyFgfsSample(Sample(WithField(fgfs_test::kWindFrom, "175.0", packet)), aircraft);
  EXPECT_NEAR(aircraft.windDirectionDeg, 171.7, 1e-9);
  ApplyFgfsSample(Sample(WithField(fgfs_test::kWindFrom, "1.0", packet)), aircraft);
  EXPECT_NEAR(aircraft.windDirectionDeg, 357.7, 1e-9);
  // West variation: magnetic above true.
  packet = WithField(fgfs_test::kHeadingMagnetic, "95.0", packet);
  ApplyFgfsSample(Sample(WithField(fgfs_test::kWindFrom, "358.0", packet)), aircraft);
  EXPECT_NEAR(aircraft.windDirectionDeg, 359.7, 1e-9);

  AircraftState withoutMagnetic;
  ApplyFgfsSample(Sample(WithField(fgfs_test::kHeadingMagnetic, "",
                                   WithField(fgfs_test::kWindFrom, "175.0", packet))),
                  withoutMagnetic);
  EXPECT_DOUBLE_EQ(withoutMagnetic.windDirectionDeg, 175.0);
}

// The flight line of --report and of the window's title follows the feed.
TEST(FgfsFeed, TheFlightLineIsFlightGears) {
  platform::Result<std::unique_ptr<FgfsFeed>> opened = FgfsFeed::Open(0);
  ASSERT_TRUE(opened) << opened.error().message;
  const std::unique_ptr<FgfsFeed> feed = std::move(opened).value();
  EXPECT_EQ(feed->FlightText(), "no packet from FlightGear yet");
  std::string packet = WithField(fgfs_test::kAltitude, "2500.4");
  packet = WithField(fgfs_test::kGroundSpeed, "150.2", packet);
  packet = WithField(fgfs_test::kTrueAirspeed, "156.5", packet);
  packet = WithField(fgfs_test::kHeadingBug, "359.6", packet);
  feed->Take(packet, false, 1.0);
  EXPECT_EQ(feed->FlightText(), "HDG 262 SEL 000 TAS 157 GS 150 ALT 2500 (FlightGear)");
  // A heading magnetic of its own missing: the true one stands in.
  feed->Take(WithField(fgfs_test::kHeadingTrue, "7.6", packet), false, 2.0);
  EXPECT_EQ(feed->FlightText().substr(0, 8), "HDG 262 ");
}

TEST(FgfsFeed, NoFeedBeforeTheFirstPacketAndTwoSecondsAfterTheLast) {
  platform::Result<std::unique_ptr<FgfsFeed>> opened = FgfsFeed::Open(0);
  ASSERT_TRUE(opened) << opened.error().message;
  const std::unique_ptr<FgfsFeed> feed = std::move(opened).value();
  AircraftState aircraft;
  aircraft.latitudeDeg = 10;
  feed->Apply(aircraft);
  EXPECT_DOUBLE_EQ(aircraft.latitudeDeg, 10);  // nothing received, nothing applied
  EXPECT_EQ(feed->PanelNotice(0), "NO FEED");

  feed->Take(kFlightGearPacket, false, 100.0);
  EXPECT_TRUE(feed->Live(100.0));
  EXPECT_EQ(feed->PanelNotice(101.999), "");
  EXPECT_EQ(feed->PanelNotice(102.0), "NO FEED");

  // Bad packets do not keep the feed alive.
  feed->Take(WithField(fgfs_test::kLatitude, "nan"), false, 101.5);
  feed->Take(std::string(2048, 'x'), true, 101.6);
  EXPECT_EQ(feed->PanelNotice(102.0), "NO FEED");
  EXPECT_EQ(feed->RejectedPackets(), 2u);
  EXPECT_EQ(feed->LastRejection(), "packet is longer than 2048 bytes");

  feed->Take(WithField(fgfs_test::kLatitude, "49.25"), false, 105.0);
  EXPECT_EQ(feed->PanelNotice(105.5), "");
  EXPECT_EQ(feed->GoodPackets(), 2u);
  feed->Apply(aircraft);
  EXPECT_DOUBLE_EQ(aircraft.latitudeDeg, 49.25);

  const std::string port = std::to_string(feed->Port());
  EXPECT_EQ(feed->ReportText(),
            "fgfs feed on 127.0.0.1:" + port +
                ": 2 good packets, 2 rejected\n"
                "fgfs last rejected packet: packet is longer than 2048 bytes\n"
                "fgfs last values: lat 49.250000 lon 2.610535 alt -1 ft, heading 262.2 mag, "
                "ground speed 0 kt, true airspeed 0 kt\n"
                "fgfs radios: nav1 115.35 \"CGN\", nav2 117.05 \"PGS\", dme 4.5 nm, "
                "adf 343 \"CGO\"\n");
}

}  // namespace
}  // namespace ndhost
