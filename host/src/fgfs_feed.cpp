#include "fgfs_feed.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "great_circle.h"

namespace ndhost {

namespace {

// Needle scales of the display: the deviation bar reaches the outer dot (two
// dots, r x 128/350 pixels) at 128; the glide-slope diamond reaches its outer
// circle (28 pixels at 7/30 a unit) at 120. A full-scale needle is one unit
// short of the outer dot, as a receiver's needle stops at its stop pin.
constexpr double kFullScaleCourseDeviation = 127;
constexpr double kFullScaleVerticalDeviation = 120;
// Token 49 at or above 30000 holds the deviation bar in the centre.
constexpr double kNoSignalDeviationRange = 30000;
constexpr int32_t kNav1FrequencyShown = 0x80;
constexpr int32_t kDmeShown = 0x01;
constexpr int32_t kNav2Hidden = 0x08;
constexpr int32_t kFromFlag = 0x04;
constexpr double kMetresPerNm = 1852;
constexpr double kNavBandLowMhz = 108.0;
constexpr double kNavBandHighMhz = 118.0;

double Needle(const std::optional<double>& value) {
  return std::clamp(value.value_or(0.0), -1.0, 1.0);
}

// The local magnetic variation (east positive) as FlightGear applies it:
// the difference of its two headings, once both have come.
std::optional<double> VariationDeg(const FgfsSample& state) {
  if (!state.headingMagneticDeg || !state.headingTrueDeg) return std::nullopt;
  return SignedDifferenceDeg(*state.headingMagneticDeg, *state.headingTrueDeg);
}

void ApplyHeadings(const FgfsSample& state, AircraftState& aircraft) {
  const std::optional<double>& magnetic = state.headingMagneticDeg;
  const std::optional<double>& trueHeading = state.headingTrueDeg;
  if (magnetic) {
    aircraft.headingDeg = Normalize360(*magnetic);
  } else if (trueHeading) {
    aircraft.headingDeg = Normalize360(*trueHeading);
  }
  // The map is turned by the true heading and courses are drawn true, while
  // the compass and the selected course are magnetic: the variation joins them.
  if (std::optional<double> variationDeg = VariationDeg(state)) {
    aircraft.mapHeadingOffsetDeg = *variationDeg;
    aircraft.courseOffsetDeg = *variationDeg;
  }
  if (state.headingBugDeg) aircraft.selectedHeadingDeg = Normalize360(*state.headingBugDeg);
}

void ApplyNav1(const FgfsSample& state, AircraftState& aircraft) {
  const FgfsNavRadio& nav = state.nav1;
  const bool live = nav.inRange.value_or(false);
  if (nav.frequencyMhz) aircraft.nav1FrequencyMhz = *nav.frequencyMhz;
  if (nav.selectedCourseDeg) aircraft.navCourseDeg = Normalize360(*nav.selectedCourseDeg);
  aircraft.nav1Ident = live ? nav.ident.value_or("") : "";
  aircraft.courseDeviation = live ? Needle(nav.courseNeedle) * kFullScaleCourseDeviation : 0;
  aircraft.deviationRange = live ? 0 : kNoSignalDeviationRange;
  aircraft.toFromFlags = live && nav.fromFlag.value_or(false) ? kFromFlag : 0;
  const bool glideSlope = live && nav.glideSlopeInRange.value_or(false);
  aircraft.verticalScale = glideSlope ? 1 : 0;
  // The diamond shows where the glide slope is: below the centre when the
  // aircraft is above it (FlightGear's needle then points down, negative).
  aircraft.verticalDeviation =
      glideSlope ? -Needle(nav.glideSlopeNeedle) * kFullScaleVerticalDeviation : 0;
  const bool dme = state.dmeInRange.value_or(false);
  // A receiver off the NAV band (FlightGear's 0 before it is tuned) shows no
  // frequency rather than "ILS 10000".
  const bool tuned =
      aircraft.nav1FrequencyMhz >= kNavBandLowMhz && aircraft.nav1FrequencyMhz < kNavBandHighMhz;
  aircraft.nav1Flags = (tuned ? kNav1FrequencyShown : 0) | (dme ? kDmeShown : 0);
  if (state.dmeDistanceNm) aircraft.dmeNm = dme ? *state.dmeDistanceNm : 0;
}

void ApplyNav2(const FgfsSample& state, AircraftState& aircraft) {
  const FgfsNavRadio& nav = state.nav2;
  const bool live = nav.inRange.value_or(false);
  const bool dme = live && nav.dmeInRange.value_or(false);
  aircraft.nav2Ident = live ? nav.ident.value_or("") : "";
  aircraft.nav2Flags = (live ? 0 : kNav2Hidden) | (dme ? kDmeShown : 0);
  if (live && nav.bearingTrueDeg && state.headingTrueDeg) {
    aircraft.nav2BearingDeg = Normalize360(*nav.bearingTrueDeg - *state.headingTrueDeg);
  }
  aircraft.dme2Nm = dme ? nav.distanceM.value_or(0) / kMetresPerNm : 0;
}

void ApplyAdfAndMarkers(const FgfsSample& state, AircraftState& aircraft) {
  aircraft.adfActive = state.adfInRange.value_or(false) ? 1 : 0;
  if (state.adfIdent) aircraft.adfIdent = *state.adfIdent;
  if (state.adfBearingDeg) aircraft.adfBearingDeg = Normalize360(*state.adfBearingDeg);
  if (state.markerInner.value_or(false)) {
    aircraft.marker = 3;
  } else if (state.markerMiddle.value_or(false)) {
    aircraft.marker = 2;
  } else {
    aircraft.marker = state.markerOuter.value_or(false) ? 1 : 0;
  }
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.*f", decimals, value);
  return text;
}

}  // namespace

void ApplyFgfsSample(const FgfsSample& state, AircraftState& aircraft) {
  if (state.latitudeDeg) aircraft.latitudeDeg = *state.latitudeDeg;
  if (state.longitudeDeg) aircraft.longitudeDeg = *state.longitudeDeg;
  if (state.groundSpeedKt) aircraft.groundSpeedKt = *state.groundSpeedKt;
  // FlightGear gives the wind true; the display shows it magnetic, as the
  // compass, like the host's own flight does.
  if (state.windFromDeg) {
    aircraft.windDirectionDeg = Normalize360(*state.windFromDeg - VariationDeg(state).value_or(0));
  }
  if (state.windSpeedKt) aircraft.windSpeedKt = *state.windSpeedKt;
  ApplyHeadings(state, aircraft);
  ApplyNav1(state, aircraft);
  ApplyNav2(state, aircraft);
  ApplyAdfAndMarkers(state, aircraft);
}

platform::Result<std::unique_ptr<FgfsFeed>> FgfsFeed::Open(uint16_t port) {
  platform::Result<std::unique_ptr<FgfsReceiver>> receiver = FgfsReceiver::Open(port);
  if (!receiver) return receiver.error();
  return std::unique_ptr<FgfsFeed>(new FgfsFeed(std::move(receiver).value()));
}

void FgfsFeed::Poll(double nowSeconds) {
  receiver_->DrainQueued(kFgfsMaxPacketBytes, [&](std::string_view bytes, bool truncated) {
    Take(bytes, truncated, nowSeconds);
  });
}

void FgfsFeed::Take(std::string_view bytes, bool truncated, double nowSeconds) {
  const platform::Result<FgfsSample> result =
      truncated ? platform::Failure("packet is longer than " + std::to_string(kFgfsMaxPacketBytes) +
                                    " bytes")
                : ParseFgfsPacket(bytes);
  if (!result) {
    ++rejectedPackets_;
    lastRejection_ = result.error().message;
    return;
  }
  MergeFgfsSample(state_, *result);
  haveGoodPacket_ = true;
  lastGoodSeconds_ = nowSeconds;
  ++goodPackets_;
}

void FgfsFeed::Apply(AircraftState& aircraft) const {
  if (haveGoodPacket_) ApplyFgfsSample(state_, aircraft);
}

bool FgfsFeed::Live(double nowSeconds) const {
  return haveGoodPacket_ && nowSeconds - lastGoodSeconds_ < kFgfsFeedTimeoutSeconds;
}

std::string FgfsFeed::PanelNotice(double nowSeconds) const {
  return Live(nowSeconds) ? std::string() : std::string(kNoFeedText);
}

std::string FgfsFeed::FlightText() const {
  if (!haveGoodPacket_) return "no packet from FlightGear yet";
  const FgfsSample& s = state_;
  auto whole = [](const std::optional<double>& value) {
    return static_cast<long>(std::lround(value.value_or(0)));
  };
  auto degrees = [](const std::optional<double>& value) { return WholeDegrees(value.value_or(0)); };
  char text[160];
  std::snprintf(text, sizeof(text), "HDG %03ld SEL %03ld TAS %ld GS %ld ALT %ld (FlightGear)",
                degrees(s.headingMagneticDeg ? s.headingMagneticDeg : s.headingTrueDeg),
                degrees(s.headingBugDeg), whole(s.trueAirspeedKt), whole(s.groundSpeedKt),
                whole(s.altitudeFt));
  return text;
}

std::string FgfsFeed::ReportText() const {
  std::string text = "fgfs feed on 127.0.0.1:" + std::to_string(Port()) + ": " +
                     std::to_string(goodPackets_) + " good packets, " +
                     std::to_string(rejectedPackets_) + " rejected\n";
  if (rejectedPackets_ > 0) text += "fgfs last rejected packet: " + lastRejection_ + "\n";
  if (!haveGoodPacket_) return text;
  const FgfsSample& s = state_;
  text += "fgfs last values: lat " + Fixed(s.latitudeDeg.value_or(0), 6) + " lon " +
          Fixed(s.longitudeDeg.value_or(0), 6) + " alt " + Fixed(s.altitudeFt.value_or(0), 0) +
          " ft, heading " + Fixed(s.headingMagneticDeg.value_or(0), 1) + " mag, ground speed " +
          Fixed(s.groundSpeedKt.value_or(0), 0) + " kt, true airspeed " +
          Fixed(s.trueAirspeedKt.value_or(0), 0) + " kt\n";
  text += "fgfs radios: nav1 " + Fixed(s.nav1.frequencyMhz.value_or(0), 2) + " \"" +
          s.nav1.ident.value_or("") + "\"" +
          (s.nav1.inRange.value_or(false) ? "" : " (no signal)") + ", nav2 " +
          Fixed(s.nav2.frequencyMhz.value_or(0), 2) + " \"" + s.nav2.ident.value_or("") + "\"" +
          (s.nav2.inRange.value_or(false) ? "" : " (no signal)") + ", dme " +
          (s.dmeInRange.value_or(false) ? Fixed(s.dmeDistanceNm.value_or(0), 1) + " nm" : "-") +
          ", adf " + Fixed(s.adfFrequencyKhz.value_or(0), 0) + " \"" + s.adfIdent.value_or("") +
          "\"" + (s.adfInRange.value_or(false) ? "" : " (no signal)") + "\n";
  return text;
}

}  // namespace ndhost
