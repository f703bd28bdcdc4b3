// FlightGear's route-manager file: a property list of version 2, laid out
// as FlightGear itself writes one (two blanks per level, typed values,
// n="i" on every repeated node after the first, doubles to ten significant
// digits), so that its "Load" reads it like one of its own.
#include <string>

#include "planner/plan_export.h"
#include "planner/plan_export_text.h"
#include "platform/numbers.h"

namespace planner {
namespace {

class PropertyWriter {
 public:
  void Open(std::string_view name, int index = 0) {
    Indent();
    out_ += '<';
    out_ += name;
    if (index != 0) out_ += " n=\"" + std::to_string(index) + '"';
    out_ += ">\n";
    depth_ += 1;
  }
  void Close(std::string_view name) {
    depth_ -= 1;
    Indent();
    out_ += "</" + std::string(name) + ">\n";
  }
  // `text` is XML character data already.
  void Value(std::string_view name, std::string_view type, std::string_view text) {
    Indent();
    out_ += '<' + std::string(name) + " type=\"" + std::string(type) + "\">";
    out_ += text;
    out_ += "</" + std::string(name) + ">\n";
  }
  void Int(std::string_view name, long value) { Value(name, "int", std::to_string(value)); }
  void Double(std::string_view name, double value) {
    Value(name, "double", SignificantDecimal(value, 10));
  }
  void String(std::string_view name, std::string_view utf8) {
    Value(name, "string", XmlText(utf8));
  }
  std::string Take() { return std::move(out_); }

 private:
  void Indent() { out_.append(static_cast<size_t>(depth_) * 2, ' '); }

  std::string out_;
  int depth_ = 1;
};

void WriteEnd(PropertyWriter& writer, std::string_view node, const ExportPoint& airport,
              const std::string& runway) {
  writer.Open(node);
  writer.String("airport", airport.identifier);
  if (!runway.empty()) writer.String("runway", runway);
  writer.Close(node);
}

void WriteCruise(PropertyWriter& writer, const ExportRoute& route) {
  const double speed = platform::ReadDouble(route.cruiseSpeed);
  if (route.cruiseAltitudeFt <= 0 && speed <= 0) return;
  writer.Open("cruise");
  if (route.cruiseAltitudeFt > 0) writer.Int("altitude-ft", route.cruiseAltitudeFt);
  // The planner reads a value below 5 as a Mach number.
  if (speed > 0 && speed < 5) {
    writer.Double("mach", speed);
  } else if (speed >= 5) {
    writer.Int("knots", platform::RoundHalfAwayFromZero(speed));
  }
  writer.Close("cruise");
}

// A database navaid is a "navaid" waypoint, which FlightGear finds by its
// identifier nearest to the position given; a generated point is a "basic"
// one, a plain position.
void WriteWaypoint(PropertyWriter& writer, const ExportPoint& point, int index) {
  writer.Open("wp", index);
  writer.String("type", point.kind == ExportPointKind::Generated ? "basic" : "navaid");
  writer.String("alt-restrict", "at");
  writer.Double("altitude-ft", point.altitudeFt);
  writer.String("ident", point.identifier);
  writer.Double("lon", point.longitudeDeg);
  writer.Double("lat", point.latitudeDeg);
  writer.Close("wp");
}

}  // namespace

std::string EncodeFlightGearRoute(const ExportRoute& route) {
  PropertyWriter writer;
  writer.Int("version", 2);
  writer.String("flight-rules", "I");
  writer.String("flight-type", "X");
  writer.Int("estimated-duration-minutes", route.totalMinutes);
  if (route.departsFromAirport) {
    WriteEnd(writer, "departure", route.points.front(), route.departureRunway);
  }
  if (route.arrivesAtAirport) {
    WriteEnd(writer, "destination", route.points.back(), route.arrivalRunway);
  }
  WriteCruise(writer, route);
  // The airports at the ends are the departure and destination above:
  // FlightGear puts their runways into the route itself when it loads the
  // file, so listing them here too would fly them twice.
  const size_t first = route.departsFromAirport ? 1 : 0;
  const size_t end = route.points.size() - (route.arrivesAtAirport ? 1 : 0);
  writer.Open("route");
  for (size_t i = first; i < end; ++i) {
    WriteWaypoint(writer, route.points[i], static_cast<int>(i - first));
  }
  writer.Close("route");
  return "<?xml version=\"1.0\"?>\n\n<PropertyList>\n" + writer.Take() + "</PropertyList>\n";
}

}  // namespace planner
