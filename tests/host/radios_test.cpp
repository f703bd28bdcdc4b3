// The radios against geometry worked out by hand: stations on the equator
// and on meridians, where bearings and distances are whole numbers.
#include "radios.h"

#include <gtest/gtest.h>

#include <cmath>

#include "flight_session.h"

namespace ndhost {
namespace {

Station MakeStation(StationKind kind, const std::string& ident, GeoPoint position, double rangeNm) {
  Station station;
  station.kind = kind;
  station.ident = ident;
  station.position = position;
  station.rangeNm = rangeNm;
  station.hasDme = kind != StationKind::Ndb;
  station.frequency = kind == StationKind::Ndb ? 375.0 : 113.9;
  return station;
}

// An ILS at 0°N 0.1°E landing east; with no runway in the database its
// threshold is 9000 ft short of the localizer and the antenna 1000 ft past that.
Station EastboundIls() {
  Station ils = MakeStation(StationKind::Ils, "IEA", {0, 0.1}, 18);
  ils.localizerCourseDeg = 90;
  ils.hasGlideSlope = true;
  ils.frequency = 110.3;
  ils.glidePath.threshold = Destination(ils.position, 270, 9000 / kFeetPerNm);
  ils.glidePath.antenna = Destination(ils.position, 270, 8000 / kFeetPerNm);
  return ils;
}

AircraftState Radios(const FlightState& flight, const RadioTuning& tuning) {
  AircraftState aircraft;
  ComputeRadios(flight, {}, tuning, aircraft);
  return aircraft;
}

TEST(Radios, BearingAndDistanceToKnownStations) {
  Station vor = MakeStation(StationKind::Vor, "VVV", {0.5, 0}, 130);
  vor.variationDeg = 1.0;
  Station ndb = MakeStation(StationKind::Ndb, "NN", {0, 0.5}, 40);
  FlightState flight;
  flight.trueHeadingDeg = 45;
  RadioTuning tuning{&vor, 0, &vor, &ndb};
  AircraftState aircraft = Radios(flight, tuning);
  // 30 NM north; at the station's height the slant distance is the ground distance.
  EXPECT_NEAR(SlantDistanceNm(vor, flight.position, 0), 30.0, 1e-9);
  EXPECT_NEAR(aircraft.dmeNm, 30.0, 1e-9);
  EXPECT_NEAR(aircraft.dme2Nm, 30.0, 1e-9);
  EXPECT_EQ(aircraft.nav1Flags, kNavFlagDme);
  EXPECT_EQ(aircraft.nav2Flags, kNavFlagDme);
  EXPECT_EQ(aircraft.nav1Ident, "VVV");
  EXPECT_NEAR(aircraft.nav1FrequencyMhz, 113.9, 1e-9);
  // North of the aircraft heading 045 true: the needle 45 degrees left.
  EXPECT_NEAR(aircraft.nav2BearingDeg, 315.0, 1e-9);
  // East: 45 degrees right.
  EXPECT_NEAR(aircraft.adfBearingDeg, 45.0, 1e-9);
  EXPECT_EQ(aircraft.adfActive, 1);
  EXPECT_EQ(aircraft.adfIdent, "NN");
  // The compass shows magnetic: true 045 with 1 degree east is 044; the map
  // turns by the true heading, and the course line by the variation.
  EXPECT_NEAR(aircraft.headingDeg, 44.0, 1e-9);
  EXPECT_NEAR(aircraft.headingDeg + aircraft.mapHeadingOffsetDeg, 45.0, 1e-9);
  EXPECT_DOUBLE_EQ(aircraft.courseOffsetDeg, 1.0);
  // 10000 ft above the station: the DME reads the slant distance.
  flight.altitudeFt = 10000;
  EXPECT_NEAR(Radios(flight, tuning).dmeNm, std::hypot(30.0, 10000 / kFeetPerNm), 1e-9);
  // The default course of a VOR leads to it: true 000 is magnetic 359.
  EXPECT_NEAR(DefaultCourseDeg(vor, {0, 0}), 359.0, 1e-9);
}

TEST(Radios, CourseDeviationSideAndToFrom) {
  Station vor = MakeStation(StationKind::Vor, "VVV", {0, 0}, 130);
  RadioTuning tuning{&vor, 90, nullptr, nullptr};
  FlightState flight;
  // East of the station on the 090 radial but a little north: the course
  // lies to the right (from), 0.6 NM off at 30 NM is 1.146 degrees.
  flight.position = {0.01, 0.5};
  AircraftState north = Radios(flight, tuning);
  EXPECT_EQ(north.toFromFlags, kToFromFlagFrom);
  double offsetDeg = std::atan2(0.6, 30.0) * 180 / M_PI;
  EXPECT_NEAR(north.courseDeviation, offsetDeg / kVorFullScaleDeg * 127, 0.01);
  flight.position = {-0.01, 0.5};
  EXPECT_NEAR(Radios(flight, tuning).courseDeviation, -offsetDeg / kVorFullScaleDeg * 127, 0.01);
  // West of it, inbound on 090: north of the line the course still lies right (to).
  flight.position = {0.01, -0.5};
  AircraftState west = Radios(flight, tuning);
  EXPECT_EQ(west.toFromFlags, 0);
  EXPECT_NEAR(west.courseDeviation, offsetDeg / kVorFullScaleDeg * 127, 0.01);
  // Far off the course the needle stays at full scale.
  flight.position = {0.5, -0.1};
  EXPECT_DOUBLE_EQ(Radios(flight, tuning).courseDeviation, 127);
  EXPECT_DOUBLE_EQ(Radios(flight, tuning).deviationRange, 0);

  // Far north the radial is the bearing from the station (271.7 degrees
  // here), not the bearing to it turned round (268.3): on the radial, no
  // deviation.
  Station northern = MakeStation(StationKind::Vor, "NOR", {60, 4}, 200);
  flight.position = {60, 0};
  double radialDeg = InitialBearingDeg(northern.position, flight.position);
  EXPECT_NEAR(radialDeg, 271.73, 0.01);
  AircraftState onRadial = Radios(flight, {&northern, radialDeg, nullptr, nullptr});
  EXPECT_EQ(onRadial.toFromFlags, kToFromFlagFrom);
  EXPECT_NEAR(onRadial.courseDeviation, 0.0, 1e-6);
  // Tuned afresh, the course leads to the station with the needle centred.
  double toCourseDeg = DefaultCourseDeg(northern, flight.position);
  EXPECT_NEAR(toCourseDeg, radialDeg - 180, 1e-9);
  AircraftState tuned = Radios(flight, {&northern, toCourseDeg, nullptr, nullptr});
  EXPECT_EQ(tuned.toFromFlags, 0);
  EXPECT_NEAR(tuned.courseDeviation, 0.0, 1e-6);
}

TEST(Radios, ToFlipsToFromPastTheStation) {
  StationFinder finder;
  finder.SetStations({MakeStation(StationKind::Vor, "VVV", {0, 0}, 130)});
  FlightSession session(finder);
  session.Flight().position = {0, -0.05};
  session.Flight().trueHeadingDeg = session.Flight().selectedHeadingDeg = 90;
  session.Flight().airspeedKt = 360;  // a tenth of a mile a second
  session.Tune(RadioSlot::Nav1, &finder.Stations()[0]);
  EXPECT_DOUBLE_EQ(session.Tuning().nav1CourseDeg, 90);
  int flips = 0;
  int32_t lastFlags = -1;
  for (int second = 0; second < 60; ++second) {
    AircraftState aircraft;
    session.Publish(aircraft);
    double longitudeDeg = session.Flight().position.longitudeDeg;
    if (std::fabs(longitudeDeg) > 1e-6) {
      EXPECT_EQ(aircraft.toFromFlags, longitudeDeg > 0 ? kToFromFlagFrom : 0) << longitudeDeg;
    }
    if (lastFlags != -1 && aircraft.toFromFlags != lastFlags) ++flips;
    lastFlags = aircraft.toFromFlags;
    // Right over the course line all the way: no deviation.
    EXPECT_NEAR(aircraft.courseDeviation, 0.0, 0.01);
    session.Advance(1.0);
  }
  EXPECT_EQ(flips, 1);
  EXPECT_EQ(lastFlags, kToFromFlagFrom);
}

TEST(Radios, OutOfRangeGivesNoSignal) {
  Station vor = MakeStation(StationKind::Vor, "VVV", {0, 0}, 30);
  Station ndb = MakeStation(StationKind::Ndb, "NN", {0, 0}, 30);
  Station ils = EastboundIls();
  RadioTuning tuning{&vor, 90, &vor, &ndb};
  FlightState flight;
  flight.position = {0, 29.9 / 60};
  AircraftState inside = Radios(flight, tuning);
  EXPECT_EQ(inside.nav1Flags, kNavFlagDme);
  EXPECT_EQ(inside.adfActive, 1);
  flight.position = {0, 30.1 / 60};
  AircraftState outside = Radios(flight, tuning);
  EXPECT_EQ(outside.nav1Ident, "VVV");  // tuned, but nothing received
  EXPECT_EQ(outside.nav1Flags, kNavFlagNoSignal);
  EXPECT_DOUBLE_EQ(outside.dmeNm, 0);
  EXPECT_DOUBLE_EQ(outside.courseDeviation, 0);
  EXPECT_DOUBLE_EQ(outside.deviationRange, kNoSignalDeviationRange);
  EXPECT_EQ(outside.nav2Flags, kNavFlagNoSignal);
  EXPECT_EQ(outside.adfActive, 0);
  EXPECT_EQ(outside.adfIdent, "NN");
  // An ILS out of range shows neither its frequency flag nor its glide slope.
  tuning.nav1 = &ils;
  flight.position = {0, 0.1 - 18.5 / 60};
  AircraftState farIls = Radios(flight, tuning);
  EXPECT_EQ(farIls.nav1Flags, kNavFlagNoSignal);
  EXPECT_DOUBLE_EQ(farIls.verticalScale, 0);
  // Nothing tuned at all.
  AircraftState silent = Radios(flight, {});
  EXPECT_EQ(silent.nav1Ident, "");
  EXPECT_EQ(silent.nav2Ident, "");
  EXPECT_EQ(silent.adfActive, 0);
}

TEST(Radios, LocalizerAndGlideSlopeOfAnIls) {
  Station ils = EastboundIls();
  RadioTuning tuning{&ils, 90, nullptr, nullptr};
  FlightState flight;
  // 10 NM before the antenna, right on the 3-degree path.
  GeoPoint onCentreline = Destination(ils.glidePath.antenna, 270, 10);
  flight.position = onCentreline;
  double pathFt = 10 * kFeetPerNm * std::tan(3 * M_PI / 180);
  flight.altitudeFt = pathFt;
  AircraftState onPath = Radios(flight, tuning);
  EXPECT_EQ(onPath.nav1Flags, kNavFlagIls | kNavFlagDme);
  EXPECT_NEAR(onPath.courseDeviation, 0.0, 1e-6);
  EXPECT_DOUBLE_EQ(onPath.verticalScale, 1);
  EXPECT_NEAR(onPath.verticalDeviation, 0.0, 1e-6);
  EXPECT_EQ(onPath.toFromFlags, 0);
  // 0.35 degree above the path: half scale, the diamond below the middle.
  flight.altitudeFt = 10 * kFeetPerNm * std::tan(3.35 * M_PI / 180);
  EXPECT_NEAR(Radios(flight, tuning).verticalDeviation, 59.5, 1e-6);
  flight.altitudeFt = 10 * kFeetPerNm * std::tan(2.65 * M_PI / 180);
  EXPECT_NEAR(Radios(flight, tuning).verticalDeviation, -59.5, 1e-6);
  flight.altitudeFt = 0;
  EXPECT_DOUBLE_EQ(Radios(flight, tuning).verticalDeviation, -kGlideSlopeDeviationFull);
  // North of the centreline (left of the inbound course): fly right.
  flight.altitudeFt = pathFt;
  double localizerNm = DistanceNm(onCentreline, ils.position);
  flight.position = Destination(onCentreline, 0, 0.1);
  double offsetDeg = std::atan2(0.1, localizerNm) * 180 / M_PI;
  EXPECT_NEAR(Radios(flight, tuning).courseDeviation, offsetDeg / kLocalizerFullScaleDeg * 127,
              0.05);
  flight.position = Destination(onCentreline, 180, 0.1);
  EXPECT_NEAR(Radios(flight, tuning).courseDeviation, -offsetDeg / kLocalizerFullScaleDeg * 127,
              0.05);
  // Past the glide-slope antenna there is no glide slope.
  flight.position = Destination(ils.glidePath.antenna, 90, 0.1);
  EXPECT_DOUBLE_EQ(Radios(flight, tuning).verticalScale, 0);
  // The default course of an ILS is its localizer course, magnetic.
  ils.variationDeg = -2;
  EXPECT_DOUBLE_EQ(DefaultCourseDeg(ils, {}), 92);
}

TEST(Radios, MarkersInOrderOverTheApproach) {
  Station ils = EastboundIls();
  RadioTuning tuning{&ils, 90, nullptr, nullptr};
  FlightState flight;
  flight.position = Destination(ils.glidePath.threshold, 270, 6);
  std::vector<double> heard;
  // 6 NM to the threshold at 120 kt, a quarter of a second a step.
  for (int step = 0; step < 4 * 200; ++step) {
    AircraftState aircraft = Radios(flight, tuning);
    if (heard.empty() || heard.back() != aircraft.marker) heard.push_back(aircraft.marker);
    flight.position = Destination(flight.position, 90, 120.0 / 3600 / 4);
  }
  EXPECT_EQ(heard, (std::vector<double>{0, 1, 0, 2, 0, 3, 0}));
  // Exactly at the outer marker, and a mile and a half to the side of it.
  GeoPoint outer = Destination(ils.glidePath.threshold, 270, kOuterMarkerNm);
  EXPECT_EQ(MarkerOver(ils, outer), 1);
  EXPECT_EQ(MarkerOver(ils, Destination(outer, 0, 1.5)), 0);
  EXPECT_EQ(MarkerOver(ils, Destination(ils.glidePath.threshold, 270, kMiddleMarkerNm)), 2);
  EXPECT_EQ(MarkerOver(MakeStation(StationKind::Vor, "V", {0, 0}, 100), outer), 0);
}

TEST(Radios, ReportLine) {
  Station vor = MakeStation(StationKind::Vor, "VVV", {0.5, 0}, 130);
  Station ndb = MakeStation(StationKind::Ndb, "NN", {0, 0.5}, 40);
  FlightState flight;
  flight.trueHeadingDeg = 45;
  AircraftState aircraft = Radios(flight, {&vor, 0, nullptr, &ndb});
  EXPECT_EQ(RadioReportText(aircraft),
            "NAV1 VVV flags 0x01 DME 30.0 CRS 000 DEV +0 TO GS - | NAV2 - flags 0x08 BRG 000 "
            "DME 0.0 | ADF NN on BRG 045 | MKR 0");
}

// A VOR whose DME is a line of its own gives its course and, on both
// receivers, the distance to that DME's antenna.
TEST(Radios, AVorWithATwinDmeGivesCourseAndTheTwinsDistance) {
  // The DME 1.2 NM short of the VOR on the aircraft's meridian: 28.8 NM.
  Station dme = MakeStation(StationKind::Dme, "VVV", {0.48, 0}, 130);
  dme.elevationFt = 1000;
  Station vor = MakeStation(StationKind::Vor, "VVV", {0.5, 0}, 130);
  vor.hasDme = false;
  StationFinder finder;
  finder.SetStations({dme, vor});
  const Station* tuned = finder.Find(Band::Nav, "VVV", {0, 0});
  ASSERT_EQ(tuned, &finder.Stations()[1]);
  FlightState flight;
  flight.altitudeFt = 1000;
  RadioTuning tuning{tuned, 0, tuned, nullptr};
  AircraftState aircraft = Radios(flight, tuning);
  const double twinNm = 28.8;
  EXPECT_EQ(aircraft.nav1Flags, kNavFlagDme);
  EXPECT_EQ(aircraft.deviationRange, 0);
  EXPECT_NEAR(aircraft.dmeNm, twinNm, 1e-9);
  EXPECT_NEAR(aircraft.dme2Nm, twinNm, 1e-9);
  EXPECT_EQ(aircraft.toFromFlags, 0);  // north of the aircraft on course 000: to
  EXPECT_NEAR(SlantDistanceNm(*tuned, flight.position, 0), 30.0, 1e-9);
}

}  // namespace
}  // namespace ndhost
