// Great-circle geometry on a sphere of the earth's mean radius: what a
// radio receiver measures between the aircraft and a station.
#pragma once

namespace ndhost {

struct GeoPoint {
  double latitudeDeg = 0;
  double longitudeDeg = 0;
};

inline constexpr double kFeetPerNm = 6076.115485564304;

// True bearing from `from` to `to`, 0 up to (not including) 360 degrees.
double InitialBearingDeg(const GeoPoint& from, const GeoPoint& to);
// Distance along the great circle, nautical miles.
double DistanceNm(const GeoPoint& from, const GeoPoint& to);
// The point `distanceNm` from `from` along the true bearing `bearingDeg`.
GeoPoint Destination(const GeoPoint& from, double bearingDeg, double distanceNm);

// An angle brought into 0 up to (not including) 360 degrees.
double Normalize360(double angleDeg);
// The signed difference `to` - `from`, brought into -180 up to 180 degrees.
double SignedDifferenceDeg(double fromDeg, double toDeg);

}  // namespace ndhost
