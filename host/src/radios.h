// The aircraft's radios as a simulator computes them from the stations'
// positions: NAV 1 (VOR or ILS with its course deviation, to/from, glide
// slope and DME), NAV 2 (bearing needle and DME), the ADF, and the marker
// beacons of an ILS approach; filled into the host variables.
#pragma once

#include <string>

#include "aircraft.h"
#include "flight_model.h"
#include "station_finder.h"

namespace ndhost {

// Full-scale course deviation (the host variable's 127) of a VOR and of a
// localizer, and of the glide slope (the variable's 119), in degrees.
inline constexpr double kVorFullScaleDeg = 10;
inline constexpr double kLocalizerFullScaleDeg = 2.5;
inline constexpr double kGlideSlopeFullScaleDeg = 0.7;
inline constexpr double kGlideSlopeAngleDeg = 3;
inline constexpr double kCourseDeviationFull = 127;
inline constexpr double kGlideSlopeDeviationFull = 119;
// The deviation range of a station not received: the display then holds
// its deviation bar in the middle (it follows the deviation below 30000).
inline constexpr double kNoSignalDeviationRange = 99999;

// Host-variable flag bits.
inline constexpr int32_t kNavFlagDme = 0x01;
inline constexpr int32_t kNavFlagNoSignal = 0x08;
inline constexpr int32_t kNavFlagIls = 0x80;
inline constexpr int32_t kToFromFlagFrom = 0x04;

// Markers by distance from the threshold along the approach (NM), with the
// half length of the stretch over which each is heard.
inline constexpr double kOuterMarkerNm = 4.5, kOuterMarkerHalfNm = 0.3;
inline constexpr double kMiddleMarkerNm = 0.55, kMiddleMarkerHalfNm = 0.1;
inline constexpr double kInnerMarkerNm = 0.15, kInnerMarkerHalfNm = 0.05;

struct RadioTuning {
  const Station* nav1 = nullptr;
  double nav1CourseDeg = 0;  // selected course, magnetic
  const Station* nav2 = nullptr;
  const Station* adf = nullptr;
};

// The course a receiver is set to when a station is tuned: an ILS's
// localizer course, for a VOR the course to it from `from` (magnetic).
double DefaultCourseDeg(const Station& station, const GeoPoint& from);

// Magnetic variation the aircraft's compass is given (east positive): the
// NAV 1 station's, so that the course display and the compass agree.
double LocalVariationDeg(const RadioTuning& tuning);

// Whether the aircraft at `position` and `altitudeFt` receives the station.
bool Receives(const Station& station, const GeoPoint& position, double altitudeFt);

// Slant distance to the station's antenna, nautical miles.
double SlantDistanceNm(const Station& station, const GeoPoint& position, double altitudeFt);

// What the DME reads: the slant distance to the station's DME antenna (its
// twin DME line's when it has one).
double DmeDistanceNm(const Station& station, const GeoPoint& position, double altitudeFt);

// 0 none, 1 outer, 2 middle, 3 inner marker of the ILS heard at the position.
int MarkerOver(const Station& ils, const GeoPoint& position);

// The radio variables as one line for --report:
// "NAV1 PGS flags 0x01 DME 30.0 CRS 090 DEV +15 FROM GS - | NAV2 ... | ADF ... | MKR 0".
std::string RadioReportText(const AircraftState& aircraft);

// Fills every radio, heading and position variable of `aircraft`.
void ComputeRadios(const FlightState& flight, const Wind& wind, const RadioTuning& tuning,
                   AircraftState& aircraft);

}  // namespace ndhost
