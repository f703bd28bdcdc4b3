// Great-circle geometry on a spherical earth: distances, courses and the
// point a course and distance lead to, and angles brought into a turn.
#pragma once

namespace platform {

struct GeoPoint {
  double latitudeDeg = 0;
  double longitudeDeg = 0;
};

inline constexpr double kFeetPerNm = 6076.115485564304;

// Distance along the great circle in nautical miles of one minute of arc:
// the unit a radio receiver and a chart measure in.
double DistanceNm(const GeoPoint& from, const GeoPoint& to);
// Distance along the great circle in metres on the sphere of the earth's mean
// radius (6,371,008.8 m): what a runway's two ends give as its length.
double DistanceMetres(const GeoPoint& from, const GeoPoint& to);
// True course from `from` to `to` at `from`, 0 up to (not including) 360 degrees.
double InitialBearingDeg(const GeoPoint& from, const GeoPoint& to);
// The point `distanceNm` from `from` along the true course `bearingDeg`.
GeoPoint Destination(const GeoPoint& from, double bearingDeg, double distanceNm);

// An angle brought into 0 up to (not including) 360 degrees.
double Normalize360(double angleDeg);
// The signed difference `to` - `from`, brought into -180 up to 180 degrees.
double SignedDifferenceDeg(double fromDeg, double toDeg);
// An angle as whole degrees 0 to 359, rounded half away from zero: 359.6
// degrees reads 0, as a three-digit heading shows it.
long WholeDegrees(double angleDeg);

}  // namespace platform
