#include "platform/great_circle.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr double kDegToRad = M_PI / 180.0;
// One nautical mile is one minute of arc of a great circle.
constexpr double kNmPerRadian = 60.0 * 180.0 / M_PI;
constexpr double kEarthMeanRadiusMetres = 6371008.8;

// The angle at the earth's centre between the two points, by the haversine:
// well conditioned for the short distances of a runway or an approach.
double CentralAngleRad(const GeoPoint& from, const GeoPoint& to) {
  double lat1 = from.latitudeDeg * kDegToRad;
  double lat2 = to.latitudeDeg * kDegToRad;
  double sinHalfLat = std::sin((lat2 - lat1) / 2);
  double sinHalfLon = std::sin((to.longitudeDeg - from.longitudeDeg) * kDegToRad / 2);
  double a = sinHalfLat * sinHalfLat + std::cos(lat1) * std::cos(lat2) * sinHalfLon * sinHalfLon;
  return 2 * std::asin(std::min(1.0, std::sqrt(a)));
}

}  // namespace

double Normalize360(double angleDeg) {
  double normalized = std::fmod(angleDeg, 360.0);
  if (normalized < 0) normalized += 360.0;
  return normalized >= 360.0 ? 0.0 : normalized;
}

double SignedDifferenceDeg(double fromDeg, double toDeg) {
  double difference = Normalize360(toDeg - fromDeg);
  return difference >= 180.0 ? difference - 360.0 : difference;
}

long WholeDegrees(double angleDeg) {
  return std::lround(Normalize360(angleDeg)) % 360;
}

double InitialBearingDeg(const GeoPoint& from, const GeoPoint& to) {
  double lat1 = from.latitudeDeg * kDegToRad;
  double lat2 = to.latitudeDeg * kDegToRad;
  double deltaLon = (to.longitudeDeg - from.longitudeDeg) * kDegToRad;
  double y = std::sin(deltaLon) * std::cos(lat2);
  double x = std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(deltaLon);
  return Normalize360(std::atan2(y, x) / kDegToRad);
}

double DistanceNm(const GeoPoint& from, const GeoPoint& to) {
  return CentralAngleRad(from, to) * kNmPerRadian;
}

double DistanceMetres(const GeoPoint& from, const GeoPoint& to) {
  return CentralAngleRad(from, to) * kEarthMeanRadiusMetres;
}

GeoPoint Destination(const GeoPoint& from, double bearingDeg, double distanceNm) {
  double lat1 = from.latitudeDeg * kDegToRad;
  double lon1 = from.longitudeDeg * kDegToRad;
  double bearing = bearingDeg * kDegToRad;
  double angular = distanceNm / kNmPerRadian;
  double lat2 = std::asin(std::sin(lat1) * std::cos(angular) +
                          std::cos(lat1) * std::sin(angular) * std::cos(bearing));
  double lon2 = lon1 + std::atan2(std::sin(bearing) * std::sin(angular) * std::cos(lat1),
                                  std::cos(angular) - std::sin(lat1) * std::sin(lat2));
  double longitudeDeg = std::fmod(lon2 / kDegToRad + 540.0, 360.0) - 180.0;
  return {lat2 / kDegToRad, longitudeDeg};
}

}  // namespace platform
