// X-Plane 11's flight plan file, version 1100: the header, the departure
// and destination blocks, then one enroute line per plan row,
// "type identifier via altitude latitude longitude".
#include <string>

#include "planner/plan_export.h"
#include "planner/plan_export_text.h"
#include "platform/text_columns.h"

namespace planner {
namespace {

// X-Plane's waypoint types: 1 airport, 2 NDB, 3 VOR, 11 named fix, 28 a
// plain latitude/longitude. X-Plane has no ILS type: an ILS row goes as
// the plain position of its antenna, under its identifier.
int XPlaneType(ExportPointKind kind) {
  switch (kind) {
    case ExportPointKind::Airport:
      return 1;
    case ExportPointKind::Ndb:
      return 2;
    case ExportPointKind::Vor:
      return 3;
    case ExportPointKind::Intersection:
      return 11;
    case ExportPointKind::Ils:
    case ExportPointKind::Generated:
      return 28;
  }
  return 28;
}

void AppendLine(std::string& out, const std::string& line) {
  out += line;
  out += "\r\n";
}

}  // namespace

std::string EncodeXPlaneFms(const ExportRoute& route, int airacCycle) {
  const ExportPoint& first = route.points.front();
  const ExportPoint& last = route.points.back();
  std::string out;
  AppendLine(out, "I");
  AppendLine(out, "1100 Version");
  AppendLine(out, "CYCLE " + platform::ZeroPadded(airacCycle, 4));
  if (route.departsFromAirport) {
    AppendLine(out, "ADEP " + first.identifier);
    if (!route.departureRunway.empty()) AppendLine(out, "DEPRWY RW" + route.departureRunway);
  } else {
    AppendLine(out, "DEP " + first.identifier);
  }
  if (route.arrivesAtAirport) {
    AppendLine(out, "ADES " + last.identifier);
    if (!route.arrivalRunway.empty()) AppendLine(out, "DESRWY RW" + route.arrivalRunway);
  } else {
    AppendLine(out, "DES " + last.identifier);
  }
  AppendLine(out, "NUMENR " + std::to_string(route.points.size()));
  for (size_t i = 0; i < route.points.size(); ++i) {
    const ExportPoint& point = route.points[i];
    std::string via = "DRCT";
    if (i == 0 && route.departsFromAirport) via = "ADEP";
    if (i + 1 == route.points.size() && route.arrivesAtAirport) via = "ADES";
    AppendLine(out, std::to_string(XPlaneType(point.kind)) + ' ' + point.identifier + ' ' + via +
                        ' ' + FixedDecimal(point.altitudeFt, 6) + ' ' +
                        FixedDecimal(point.latitudeDeg, 6) + ' ' +
                        FixedDecimal(point.longitudeDeg, 6));
  }
  return out;
}

}  // namespace planner
