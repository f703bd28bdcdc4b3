// GPX 1.1: one route, one route point per plan row, named by the navaid's
// identifier (or the generated point's code), elevations in metres.
#include <string>

#include "planner/plan_export.h"
#include "planner/plan_export_text.h"

namespace planner {
namespace {

constexpr double kMetresPerFoot = 0.3048;

void AppendElement(std::string& out, int indent, std::string_view name, std::string_view utf8) {
  out.append(static_cast<size_t>(indent), ' ');
  out += '<' + std::string(name) + '>' + XmlText(utf8) + "</" + std::string(name) + ">\n";
}

void AppendRoutePoint(std::string& out, const ExportPoint& point) {
  out += "    <rtept lat=\"" + FixedDecimal(point.latitudeDeg, 6) + "\" lon=\"" +
         FixedDecimal(point.longitudeDeg, 6) + "\">\n";
  AppendElement(out, 6, "ele", FixedDecimal(point.altitudeFt * kMetresPerFoot, 2));
  AppendElement(out, 6, "name", point.identifier);
  if (!point.name.empty()) AppendElement(out, 6, "desc", point.name);
  AppendElement(out, 6, "type", point.code);
  out += "    </rtept>\n";
}

}  // namespace

std::string EncodeGpxRoute(const ExportRoute& route) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\" version=\"1.1\" creator=\"Skyatlas\">\n";
  if (!route.planName.empty()) {
    out += "  <metadata>\n";
    AppendElement(out, 4, "name", route.planName);
    out += "  </metadata>\n";
  }
  out += "  <rte>\n";
  if (!route.planName.empty()) AppendElement(out, 4, "name", route.planName);
  for (const ExportPoint& point : route.points) AppendRoutePoint(out, point);
  out += "  </rte>\n</gpx>\n";
  return out;
}

}  // namespace planner
