#include "aircraft.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace ndhost {

namespace {

constexpr double kLatitudeScale = 8.998425275576774e-06;
constexpr double kLongitudeScale = 1.2789770768341246e-12;
constexpr double kDegToRad = M_PI / 180.0;

double Number(const std::string& text, size_t position) {
  return position < text.size() ? std::strtod(text.c_str() + position, nullptr) : 0.0;
}

double CourseDeg(const Waypoint& from, const Waypoint& to) {
  double northNm = (to.latitudeDeg - from.latitudeDeg) * 60.0;
  double eastNm =
      (to.longitudeDeg - from.longitudeDeg) * 60.0 * std::cos(from.latitudeDeg * kDegToRad);
  double course = std::atan2(eastNm, northNm) / kDegToRad;
  return course < 0 ? course + 360 : course;
}

double DistanceNm(const Waypoint& from, const Waypoint& to) {
  double northNm = (to.latitudeDeg - from.latitudeDeg) * 60.0;
  double eastNm =
      (to.longitudeDeg - from.longitudeDeg) * 60.0 * std::cos(from.latitudeDeg * kDegToRad);
  return std::hypot(northNm, eastNm);
}

}  // namespace

double RawLatitudeFromDeg(double latitudeDeg) {
  return latitudeDeg / kLatitudeScale;
}

double RawLongitudeFromDeg(double longitudeDeg) {
  // The host counts longitude eastwards from 0 to 360 degrees.
  if (longitudeDeg < 0) longitudeDeg += 360.0;
  return longitudeDeg / kLongitudeScale;
}

int32_t BcdFromFrequencyMhz(double frequencyMhz) {
  int hundredths = static_cast<int>(std::lround(frequencyMhz * 100)) % 10000;
  int32_t bcd = 0;
  for (int digit = 0, divisor = 1000; digit < 4; ++digit, divisor /= 10) {
    bcd = (bcd << 4) | ((hundredths / divisor) % 10);
  }
  return bcd;
}

bool FillVariable(const AircraftState& aircraft, PanelVariable& variable) {
  PanelValue value{};
  switch (variable.token) {
    case 81:
      value.number = aircraft.headingDeg;
      break;
    case 24:
      value.integer = BcdFromFrequencyMhz(aircraft.nav1FrequencyMhz);
      break;
    case 31:
      value.number = aircraft.dmeNm;
      break;
    case 35:
      value.number = aircraft.dme2Nm;
      break;
    case 32:
      value.number = aircraft.groundSpeedKt;
      break;
    case 107:
      value.number = aircraft.selectedHeadingDeg;
      break;
    case 45:
      value.number = aircraft.navCourseDeg;
      break;
    case 40:
      value.number = aircraft.courseDeviation;
      break;
    case 41:
      value.number = aircraft.verticalDeviation;
      break;
    case 46:
      value.integer = aircraft.nav1Flags;
      break;
    case 44:
      value.number = aircraft.verticalScale;
      break;
    case 42:
      value.integer = aircraft.toFromFlags;
      break;
    case 47:
      value.text = aircraft.nav1Ident.c_str();
      break;
    case 49:
      value.number = aircraft.deviationRange;
      break;
    case 39:
      value.number = aircraft.adfBearingDeg;
      break;
    case 19:
      value.text = aircraft.adfIdent.c_str();
      break;
    case 20:
      value.number = aircraft.adfActive;
      break;
    case 354:
      value.number = aircraft.marker;
      break;
    case 55:
      value.integer = aircraft.nav2Flags;
      break;
    case 56:
      value.text = aircraft.nav2Ident.c_str();
      break;
    case 59:
      value.number = aircraft.nav2BearingDeg;
      break;
    case 343:
      value.number = aircraft.windSpeedKt;
      break;
    case 344:
      value.number = aircraft.windDirectionDeg;
      break;
    case 71:
      value.number = RawLatitudeFromDeg(aircraft.latitudeDeg);
      break;
    case 72:
      value.number = RawLongitudeFromDeg(aircraft.longitudeDeg);
      break;
    case 82:
      value.number = aircraft.courseOffsetDeg;
      break;
    case 86:
      // The heading-up map turns by the heading the aircraft flies.
      value.number = aircraft.headingDeg + aircraft.mapHeadingOffsetDeg;
      break;
    default:
      return false;
  }
  variable.currentValue = value;
  return true;
}

double CoordinateTextToDeg(const std::string& text, bool longitude) {
  if (text.empty()) return 0;
  size_t minutesAt = longitude ? 5 : 4;
  double degrees = Number(text, 1);
  double minutes = Number(text, minutesAt);
  double seconds = Number(text, minutesAt + 3);
  double value = degrees + minutes / 60.0 + seconds / 3600.0;
  return text[0] == 'S' || text[0] == 'W' ? -value : value;
}

std::vector<Waypoint> ReadPlanWaypoints(const std::string& planText) {
  std::vector<Waypoint> waypoints;
  size_t section = planText.find("[WAYPOINTS]");
  if (section == std::string::npos) return waypoints;
  std::istringstream rows(planText.substr(section));
  std::string row;
  std::getline(rows, row);
  while (std::getline(rows, row)) {
    if (row.size() < 75) continue;
    waypoints.push_back({CoordinateTextToDeg(row.substr(46, 14), false),
                         CoordinateTextToDeg(row.substr(60, 15), true)});
  }
  return waypoints;
}

void RouteFlight::PlaceAtStart(AircraftState& aircraft) {
  if (waypoints_.empty()) return;
  aircraft.latitudeDeg = waypoints_[0].latitudeDeg;
  aircraft.longitudeDeg = waypoints_[0].longitudeDeg;
  if (waypoints_.size() > 1) aircraft.headingDeg = CourseDeg(waypoints_[0], waypoints_[1]);
  next_ = 1;
}

bool RouteFlight::Advance(AircraftState& aircraft, double seconds) {
  double remainingNm = aircraft.groundSpeedKt * seconds / 3600.0;
  while (next_ < waypoints_.size() && remainingNm > 0) {
    Waypoint here{aircraft.latitudeDeg, aircraft.longitudeDeg};
    const Waypoint& target = waypoints_[next_];
    double toTargetNm = DistanceNm(here, target);
    if (toTargetNm <= remainingNm) {
      aircraft.latitudeDeg = target.latitudeDeg;
      aircraft.longitudeDeg = target.longitudeDeg;
      remainingNm -= toTargetNm;
      ++next_;
      continue;
    }
    double courseDeg = CourseDeg(here, target);
    aircraft.headingDeg = courseDeg;
    aircraft.latitudeDeg += remainingNm * std::cos(courseDeg * kDegToRad) / 60.0;
    aircraft.longitudeDeg += remainingNm * std::sin(courseDeg * kDegToRad) /
                             (60.0 * std::cos(here.latitudeDeg * kDegToRad));
    remainingNm = 0;
  }
  return next_ < waypoints_.size();
}

}  // namespace ndhost
