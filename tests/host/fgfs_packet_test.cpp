// The FlightGear packet reader: every field of a real packet, the bounds of
// the values, and each way a packet is rejected, with its message.
#include "fgfs_packet.h"

#include <gtest/gtest.h>

#include "fgfs_test_packets.h"

namespace ndhost {
namespace {

using fgfs_test::kFlightGearPacket;
using fgfs_test::WithField;

TEST(FgfsPacket, ReadsEveryFieldOfAFlightGearPacket) {
  platform::Result<FgfsSample> result = ParseFgfsPacket(kFlightGearPacket);
  ASSERT_TRUE(result) << result.error().message;
  const FgfsSample& s = *result;
  EXPECT_DOUBLE_EQ(*s.latitudeDeg, 48.9987538);
  EXPECT_DOUBLE_EQ(*s.longitudeDeg, 2.6105347);
  EXPECT_DOUBLE_EQ(*s.altitudeFt, -1.0);
  EXPECT_DOUBLE_EQ(*s.headingTrueDeg, 265.42);
  EXPECT_DOUBLE_EQ(*s.headingMagneticDeg, 262.18);
  EXPECT_DOUBLE_EQ(*s.groundSpeedKt, 0);
  EXPECT_DOUBLE_EQ(*s.trueAirspeedKt, 0);
  EXPECT_DOUBLE_EQ(*s.windFromDeg, 270);
  EXPECT_DOUBLE_EQ(*s.windSpeedKt, 3);
  EXPECT_DOUBLE_EQ(*s.headingBugDeg, 0);
  EXPECT_DOUBLE_EQ(*s.nav1.frequencyMhz, 115.35);
  EXPECT_EQ(*s.nav1.ident, "CGN");
  EXPECT_TRUE(*s.nav1.inRange);
  EXPECT_DOUBLE_EQ(*s.nav1.selectedCourseDeg, 284);
  EXPECT_DOUBLE_EQ(*s.nav1.courseNeedle, 0.2201);
  EXPECT_FALSE(*s.nav1.glideSlopeInRange);
  EXPECT_DOUBLE_EQ(*s.nav1.glideSlopeNeedle, 0);
  EXPECT_TRUE(*s.nav1.toFlag);
  EXPECT_FALSE(*s.nav1.fromFlag);
  EXPECT_DOUBLE_EQ(*s.nav1.bearingTrueDeg, 286.3);
  EXPECT_DOUBLE_EQ(*s.nav1.distanceM, 8415);
  EXPECT_TRUE(*s.nav1.dmeInRange);
  EXPECT_DOUBLE_EQ(*s.nav2.frequencyMhz, 117.05);
  EXPECT_EQ(*s.nav2.ident, "PGS");
  EXPECT_DOUBLE_EQ(*s.nav2.courseNeedle, 1.0);
  EXPECT_FALSE(*s.nav2.toFlag);
  EXPECT_TRUE(*s.nav2.fromFlag);
  EXPECT_DOUBLE_EQ(*s.nav2.bearingTrueDeg, 85.3);
  EXPECT_DOUBLE_EQ(*s.nav2.distanceM, 980);
  EXPECT_TRUE(*s.dmeInRange);
  EXPECT_DOUBLE_EQ(*s.dmeDistanceNm, 4.54);
  EXPECT_DOUBLE_EQ(*s.adfFrequencyKhz, 343);
  EXPECT_EQ(*s.adfIdent, "CGO");
  EXPECT_TRUE(*s.adfInRange);
  EXPECT_DOUBLE_EQ(*s.adfBearingDeg, 362.3);
  EXPECT_FALSE(*s.markerOuter);
  EXPECT_FALSE(*s.markerMiddle);
  EXPECT_FALSE(*s.markerInner);

  // The line end is optional, and a carriage return before it is allowed.
  std::string line = kFlightGearPacket.substr(0, kFlightGearPacket.size() - 1);
  for (const std::string& variant : {line, line + "\r\n"}) {
    platform::Result<FgfsSample> again = ParseFgfsPacket(variant);
    ASSERT_TRUE(again) << again.error().message;
    EXPECT_EQ(FormatFgfsPacket(*again), FormatFgfsPacket(s));
  }
}

TEST(FgfsPacket, EmptyFieldsAreMissingAndKeepTheLastValueWhenMerged) {
  FgfsSample state = *ParseFgfsPacket(kFlightGearPacket);
  std::string newer = WithField(fgfs_test::kLatitude, "49.5");
  newer = WithField(fgfs_test::kLongitude, "", newer);
  newer = WithField(fgfs_test::kNav1Ident, "", newer);
  newer = WithField(fgfs_test::kNav1InRange, "0", newer);
  newer = WithField(fgfs_test::kMarkerMiddle, "", newer);
  platform::Result<FgfsSample> parsed = ParseFgfsPacket(newer);
  ASSERT_TRUE(parsed) << parsed.error().message;
  EXPECT_FALSE(parsed->longitudeDeg.has_value());
  EXPECT_FALSE(parsed->nav1.ident.has_value());
  EXPECT_FALSE(parsed->markerMiddle.has_value());

  MergeFgfsSample(state, *parsed);
  EXPECT_DOUBLE_EQ(*state.latitudeDeg, 49.5);
  EXPECT_DOUBLE_EQ(*state.longitudeDeg, 2.6105347);
  EXPECT_EQ(*state.nav1.ident, "CGN");
  EXPECT_FALSE(*state.nav1.inRange);
  EXPECT_FALSE(*state.markerMiddle);

  // A packet of nothing but empty fields is good and changes nothing.
  const std::string empty = "SKND1" + std::string(43, '\t') + "\n";
  platform::Result<FgfsSample> nothing = ParseFgfsPacket(empty);
  ASSERT_TRUE(nothing) << nothing.error().message;
  FgfsSample before = state;
  MergeFgfsSample(state, *nothing);
  EXPECT_EQ(FormatFgfsPacket(state), FormatFgfsPacket(before));
  EXPECT_EQ(FormatFgfsPacket(FgfsSample{}), empty);
}

TEST(FgfsPacket, FormatsWhatItReads) {
  FgfsSample sample = *ParseFgfsPacket(kFlightGearPacket);
  std::string formatted = FormatFgfsPacket(sample);
  EXPECT_EQ(formatted.substr(0, 40), "SKND1\t48.9987538\t2.6105347\t-1\t265.42\t262");
  platform::Result<FgfsSample> again = ParseFgfsPacket(formatted);
  ASSERT_TRUE(again) << again.error().message;
  EXPECT_EQ(FormatFgfsPacket(*again), formatted);
}

TEST(FgfsPacket, ValuesAtTheirBoundsAreTaken) {
  struct Case {
    size_t field;
    std::string text;
  };
  const Case cases[] = {
      {fgfs_test::kLatitude, "90"},
      {fgfs_test::kLatitude, "-90"},
      {fgfs_test::kLongitude, "180"},
      {fgfs_test::kLongitude, "-180"},
      {fgfs_test::kLongitude, "-0.0"},
      {fgfs_test::kGroundSpeed, "1e5"},
      {fgfs_test::kHeadingBug, "-720"},
      {fgfs_test::kNav1CourseNeedle, "-10"},
      {fgfs_test::kNav1Ident, "ABCDEFGHIJKLMNOP"},
      {fgfs_test::kAdfIdent, "\xC3\x89TAMPES"},  // UTF-8 "É"
  };
  for (const Case& entry : cases) {
    SCOPED_TRACE(entry.text);
    platform::Result<FgfsSample> result = ParseFgfsPacket(WithField(entry.field, entry.text));
    EXPECT_TRUE(result) << result.error().message;
  }
}

TEST(FgfsPacket, RejectsBadPacketsWithTheirReason) {
  struct Case {
    std::string packet;
    std::string error;
  };
  const std::string line = kFlightGearPacket.substr(0, kFlightGearPacket.size() - 1);
  const Case cases[] = {
      {"", "not a skyatlas-nd packet: tag \"\""},
      {"\n", "not a skyatlas-nd packet: tag \"\""},
      {"SKND1\n", "44 fields expected, 1 received"},
      {"$GPRMC,081836,A,3751.65,S,14507.36,E,000.0,360.0,130998,011.3,E*62\r\n",
       "not a skyatlas-nd packet: tag \"$GPRMC,081836,A,3751.65,...\""},
      {line.substr(0, line.rfind('\t')) + "\n", "44 fields expected, 43 received"},
      {line + "\t0\n", "44 fields expected, 45 received"},
      {WithField(0, "SKND2"), "not a skyatlas-nd packet: tag \"SKND2\""},
      {WithField(0, std::string(30, 'X')),
       "not a skyatlas-nd packet: tag \"XXXXXXXXXXXXXXXXXXXXXXXX...\""},
      {WithField(fgfs_test::kLatitude, "nan"),
       "field 1 (latitude-deg): \"nan\" is not a finite number"},
      {WithField(fgfs_test::kLatitude, "-inf"),
       "field 1 (latitude-deg): \"-inf\" is not a finite number"},
      {WithField(fgfs_test::kLatitude, "90.0000001"),
       "field 1 (latitude-deg): \"90.0000001\" is out of range"},
      {WithField(fgfs_test::kLongitude, "1e309"),
       "field 2 (longitude-deg): \"1e309\" is out of range"},
      {WithField(fgfs_test::kLongitude, "-180.5"),
       "field 2 (longitude-deg): \"-180.5\" is out of range"},
      {WithField(fgfs_test::kGroundSpeed, "-0.5"),
       "field 6 (groundspeed-kt): \"-0.5\" is out of range"},
      {WithField(fgfs_test::kGroundSpeed, "12kt"),
       "field 6 (groundspeed-kt): \"12kt\" is not a number"},
      {WithField(fgfs_test::kGroundSpeed, " 12"),
       "field 6 (groundspeed-kt): \" 12\" is not a number"},
      {WithField(fgfs_test::kGroundSpeed, "0x10"),
       "field 6 (groundspeed-kt): \"0x10\" is not a number"},
      {WithField(fgfs_test::kNav1InRange, "2"), "field 13 (nav1-in-range): \"2\" is not 0 or 1"},
      {WithField(fgfs_test::kNav2InRange, "true"),
       "field 25 (nav2-in-range): \"true\" is not 0 or 1"},
      {WithField(fgfs_test::kNav1Ident, "ABCDEFGHIJKLMNOPQ"),
       "field 12 (nav1-ident): \"ABCDEFGHIJKLMNOPQ\" is longer than 16 bytes"},
      {WithField(fgfs_test::kMarkerInner, "1.0"), "field 43 (marker-inner): \"1.0\" is not 0 or 1"},
      {WithField(fgfs_test::kNav1Ident, "C\xFFN"), "packet is not UTF-8 text (byte 76)"},
      {WithField(fgfs_test::kNav1Ident, "\xC0\xAF"), "packet is not UTF-8 text (byte 75)"},
      {WithField(fgfs_test::kNav1Ident, "\xED\xA0\x80"), "packet is not UTF-8 text (byte 75)"},
      {WithField(fgfs_test::kNav1Ident, "\xE2\x82"), "packet is not UTF-8 text (byte 75)"},
      {WithField(fgfs_test::kNav1Ident, "C\x01N"), "packet has a control character at byte 76"},
      {WithField(fgfs_test::kNav1Ident, "C\nN"), "packet has a control character at byte 76"},
      {std::string("SKND1\0", 6) + line.substr(5), "packet has a control character at byte 5"},
      {line + "\n\n", "packet has a control character at byte " + std::to_string(line.size())},
      {WithField(fgfs_test::kAdfIdent, std::string(2100, 'A')),
       "packet of 2298 bytes is longer than 2048"},
  };
  for (const Case& entry : cases) {
    SCOPED_TRACE(entry.error);
    platform::Result<FgfsSample> result = ParseFgfsPacket(entry.packet);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.error().message, entry.error);
  }
  // The largest packet allowed is read; one byte more is not.
  const std::string base = WithField(fgfs_test::kAdfIdent, "");
  const size_t otherBytes = base.size() - std::string("-1.0").size();  // all but the altitude
  const std::string largest =
      WithField(fgfs_test::kAltitude, std::string(2048 - otherBytes, '0'), base);
  ASSERT_EQ(largest.size(), 2048u);
  EXPECT_TRUE(ParseFgfsPacket(largest)) << ParseFgfsPacket(largest).error().message;
  EXPECT_EQ(ParseFgfsPacket(largest + " ").error().message,
            "packet of 2049 bytes is longer than 2048");
}

}  // namespace
}  // namespace ndhost
