#include "radios.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ndhost {

namespace {

constexpr double kDegToRad = M_PI / 180.0;
// Marker beams are heard only this close to the localizer line.
constexpr double kMarkerCrossTrackNm = 1.0;
// The glide slope is received within this angle either side of the localizer.
constexpr double kGlideSlopeSectorDeg = 35;

// Position of a point relative to a line through `origin` along `courseDeg`:
// distance ahead along the line (negative behind) and to its right.
struct AlongCross {
  double alongNm = 0;
  double rightNm = 0;
};

AlongCross Relative(const GeoPoint& origin, double courseDeg, const GeoPoint& point) {
  double distanceNm = DistanceNm(origin, point);
  double offsetRad = SignedDifferenceDeg(courseDeg, InitialBearingDeg(origin, point)) * kDegToRad;
  return {distanceNm * std::cos(offsetRad), distanceNm * std::sin(offsetRad)};
}

double SlantNm(const GeoPoint& antenna, double antennaElevationFt, const GeoPoint& position,
               double altitudeFt) {
  double groundNm = DistanceNm(position, antenna);
  double heightNm = (altitudeFt - antennaElevationFt) / kFeetPerNm;
  return std::hypot(groundNm, heightNm);
}

double Scaled(double deviationDeg, double fullScaleDeg, double fullValue) {
  return std::clamp(deviationDeg / fullScaleDeg * fullValue, -fullValue, fullValue);
}

struct NavReading {
  double deviation = 0;
  int32_t toFromFlags = 0;
  double verticalDeviation = 0;
  double verticalScale = 0;
};

// Lateral deviation of a VOR radial or a localizer: positive when the
// selected course lies to the right (fly right).
NavReading ReadNav(const Station& station, double courseDeg, const FlightState& flight) {
  NavReading reading;
  if (station.kind == StationKind::Ils) {
    // The needle shows on which side of the centreline the aircraft is, on
    // the back course as well (sensed as flying the front course inbound).
    AlongCross fromLocalizer =
        Relative(station.position, station.localizerCourseDeg, flight.position);
    double offsetDeg =
        -std::atan2(fromLocalizer.rightNm, std::fabs(fromLocalizer.alongNm)) / kDegToRad;
    reading.deviation = Scaled(offsetDeg, kLocalizerFullScaleDeg, kCourseDeviationFull);
    const GlidePath& path = station.glidePath;
    AlongCross fromAntenna =
        Relative(path.antenna, station.localizerCourseDeg + 180, flight.position);
    double sectorDeg = std::atan2(std::fabs(fromAntenna.rightNm), fromAntenna.alongNm) / kDegToRad;
    if (station.hasGlideSlope && fromAntenna.alongNm > 0 && sectorDeg < kGlideSlopeSectorDeg) {
      double heightFt = flight.altitudeFt - path.thresholdElevationFt;
      double pathDeg = std::atan2(heightFt, fromAntenna.alongNm * kFeetPerNm) / kDegToRad;
      reading.verticalScale = 1;
      reading.verticalDeviation =
          Scaled(pathDeg - kGlideSlopeAngleDeg, kGlideSlopeFullScaleDeg, kGlideSlopeDeviationFull);
    }
    return reading;
  }
  // The radial is the bearing from the station, which on the sphere is not
  // the bearing to it turned round; radials are magnetic with the station's
  // variation.
  double radialDeg =
      Normalize360(InitialBearingDeg(station.position, flight.position) - station.variationDeg);
  double fromOffsetDeg = SignedDifferenceDeg(radialDeg, courseDeg);
  if (std::fabs(fromOffsetDeg) < 90) {
    reading.toFromFlags = kToFromFlagFrom;
    reading.deviation = Scaled(fromOffsetDeg, kVorFullScaleDeg, kCourseDeviationFull);
  } else {
    double toOffsetDeg = SignedDifferenceDeg(courseDeg, Normalize360(radialDeg + 180));
    reading.deviation = Scaled(toOffsetDeg, kVorFullScaleDeg, kCourseDeviationFull);
  }
  return reading;
}

void ComputeNav1(const FlightState& flight, const RadioTuning& tuning, AircraftState& aircraft) {
  aircraft.nav1Ident.clear();
  aircraft.nav1FrequencyMhz = 0;
  aircraft.nav1Flags = kNavFlagNoSignal;
  aircraft.dmeNm = aircraft.courseDeviation = aircraft.verticalDeviation = 0;
  aircraft.verticalScale = 0;
  aircraft.toFromFlags = 0;
  aircraft.deviationRange = kNoSignalDeviationRange;
  aircraft.navCourseDeg = tuning.nav1CourseDeg;
  const Station* station = tuning.nav1;
  if (station == nullptr) return;
  aircraft.nav1Ident = station->ident;
  aircraft.nav1FrequencyMhz = station->frequency;
  if (!Receives(*station, flight.position, flight.altitudeFt)) return;
  aircraft.nav1Flags = station->kind == StationKind::Ils ? kNavFlagIls : 0;
  if (station->hasDme) {
    aircraft.nav1Flags |= kNavFlagDme;
    aircraft.dmeNm = DmeDistanceNm(*station, flight.position, flight.altitudeFt);
  }
  aircraft.deviationRange = 0;
  if (station->kind == StationKind::Dme) return;
  NavReading reading = ReadNav(*station, tuning.nav1CourseDeg, flight);
  aircraft.courseDeviation = reading.deviation;
  aircraft.toFromFlags = reading.toFromFlags;
  aircraft.verticalDeviation = reading.verticalDeviation;
  aircraft.verticalScale = reading.verticalScale;
}

void ComputeNav2(const FlightState& flight, const RadioTuning& tuning, AircraftState& aircraft) {
  const Station* station = tuning.nav2;
  aircraft.nav2Ident = station != nullptr ? station->ident : "";
  aircraft.nav2Flags = kNavFlagNoSignal;
  aircraft.nav2BearingDeg = aircraft.dme2Nm = 0;
  if (station == nullptr || !Receives(*station, flight.position, flight.altitudeFt)) return;
  aircraft.nav2Flags = 0;
  // A DME alone gives a distance but no bearing: its needle stays hidden.
  if (station->kind == StationKind::Dme) aircraft.nav2Flags = kNavFlagNoSignal;
  if (station->hasDme) {
    aircraft.nav2Flags |= kNavFlagDme;
    aircraft.dme2Nm = DmeDistanceNm(*station, flight.position, flight.altitudeFt);
  }
  aircraft.nav2BearingDeg =
      Normalize360(InitialBearingDeg(flight.position, station->position) - flight.trueHeadingDeg);
}

void ComputeAdf(const FlightState& flight, const RadioTuning& tuning, AircraftState& aircraft) {
  const Station* station = tuning.adf;
  aircraft.adfIdent = station != nullptr ? station->ident : "";
  aircraft.adfActive = 0;
  aircraft.adfBearingDeg = 0;
  if (station == nullptr || !Receives(*station, flight.position, flight.altitudeFt)) return;
  aircraft.adfActive = 1;
  aircraft.adfBearingDeg =
      Normalize360(InitialBearingDeg(flight.position, station->position) - flight.trueHeadingDeg);
}

}  // namespace

double DefaultCourseDeg(const Station& station, const GeoPoint& from) {
  if (station.kind == StationKind::Ils)
    return Normalize360(station.localizerCourseDeg - station.variationDeg);
  // The reciprocal of the radial the aircraft is on: the needle centres, "to".
  return Normalize360(InitialBearingDeg(station.position, from) + 180 - station.variationDeg);
}

double LocalVariationDeg(const RadioTuning& tuning) {
  return tuning.nav1 != nullptr ? tuning.nav1->variationDeg : 0.0;
}

bool Receives(const Station& station, const GeoPoint& position, double altitudeFt) {
  return SlantDistanceNm(station, position, altitudeFt) <= ReceptionRangeNm(station);
}

double SlantDistanceNm(const Station& station, const GeoPoint& position, double altitudeFt) {
  return SlantNm(station.position, station.elevationFt, position, altitudeFt);
}

double DmeDistanceNm(const Station& station, const GeoPoint& position, double altitudeFt) {
  if (!station.twinDme) return SlantDistanceNm(station, position, altitudeFt);
  return SlantNm(station.twinDme->position, station.twinDme->elevationFt, position, altitudeFt);
}

int MarkerOver(const Station& ils, const GeoPoint& position) {
  if (ils.kind != StationKind::Ils) return 0;
  // Distance before the threshold, measured outward along the approach.
  AlongCross out = Relative(ils.glidePath.threshold, ils.localizerCourseDeg + 180, position);
  if (std::fabs(out.rightNm) > kMarkerCrossTrackNm) return 0;
  if (std::fabs(out.alongNm - kOuterMarkerNm) <= kOuterMarkerHalfNm) return 1;
  if (std::fabs(out.alongNm - kMiddleMarkerNm) <= kMiddleMarkerHalfNm) return 2;
  if (std::fabs(out.alongNm - kInnerMarkerNm) <= kInnerMarkerHalfNm) return 3;
  return 0;
}

std::string RadioReportText(const AircraftState& aircraft) {
  auto identOr = [](const std::string& ident) { return ident.empty() ? "-" : ident.c_str(); };
  char glideSlope[16] = "-";
  if (aircraft.verticalScale != 0)
    std::snprintf(glideSlope, sizeof(glideSlope), "%+ld", std::lround(aircraft.verticalDeviation));
  char text[256];
  std::snprintf(text, sizeof(text),
                "NAV1 %s flags 0x%02X DME %.1f CRS %03ld DEV %+ld %s GS %s | NAV2 %s flags 0x%02X "
                "BRG %03ld DME %.1f | ADF %s %s BRG %03ld | MKR %.0f",
                identOr(aircraft.nav1Ident), static_cast<unsigned>(aircraft.nav1Flags),
                aircraft.dmeNm, WholeDegrees(aircraft.navCourseDeg),
                std::lround(aircraft.courseDeviation),
                (aircraft.toFromFlags & kToFromFlagFrom) != 0 ? "FROM" : "TO", glideSlope,
                identOr(aircraft.nav2Ident), static_cast<unsigned>(aircraft.nav2Flags),
                WholeDegrees(aircraft.nav2BearingDeg), aircraft.dme2Nm, identOr(aircraft.adfIdent),
                aircraft.adfActive != 0 ? "on" : "off", WholeDegrees(aircraft.adfBearingDeg),
                aircraft.marker);
  return text;
}

void ComputeRadios(const FlightState& flight, const Wind& wind, const RadioTuning& tuning,
                   AircraftState& aircraft) {
  double variationDeg = LocalVariationDeg(tuning);
  aircraft.latitudeDeg = flight.position.latitudeDeg;
  aircraft.longitudeDeg = flight.position.longitudeDeg;
  aircraft.headingDeg = Normalize360(flight.trueHeadingDeg - variationDeg);
  aircraft.selectedHeadingDeg = Normalize360(flight.selectedHeadingDeg - variationDeg);
  // The map is drawn north up in true degrees: it turns by the true heading,
  // and a magnetic course line is turned on by the variation.
  aircraft.mapHeadingOffsetDeg = variationDeg;
  aircraft.courseOffsetDeg = variationDeg;
  aircraft.groundSpeedKt = flight.groundSpeedKt;
  aircraft.windDirectionDeg = Normalize360(wind.fromDeg - variationDeg);
  aircraft.windSpeedKt = wind.speedKt;
  ComputeNav1(flight, tuning, aircraft);
  ComputeNav2(flight, tuning, aircraft);
  ComputeAdf(flight, tuning, aircraft);
  aircraft.marker = 0;
  for (const Station* station : {tuning.nav1, tuning.nav2}) {
    if (station != nullptr && aircraft.marker == 0)
      aircraft.marker = MarkerOver(*station, flight.position);
  }
}

}  // namespace ndhost
