// ndhost reads the stations of vor.dat, ndb.dat and apt.dat and the route
// of an ND plan: any bytes give stations and route points, or none, and
// the radios computed from them stay finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "autopilot.h"
#include "radios.h"
#include "station_finder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The input is cut in three at its first two form feeds: vor, ndb, apt.
  size_t first = bytes.find('\f');
  size_t second = first == std::string_view::npos ? first : bytes.find('\f', first + 1);
  std::string_view vor = bytes.substr(0, first);
  std::string_view ndb =
      first == std::string_view::npos ? "" : bytes.substr(first + 1, second - first - 1);
  std::string_view apt = second == std::string_view::npos ? "" : bytes.substr(second + 1);
  ndhost::StationFinder finder;
  finder.LoadFileBytes(vor, ndb, apt, "NavData");
  ndhost::PlanRoute route = ndhost::ReadPlanRoute(std::string(bytes));
  ndhost::FlightState flight;
  if (!route.points.empty()) flight.position = route.points.front().position;
  flight.altitudeFt = 3000;
  for (const ndhost::Station& station : finder.Stations()) {
    ndhost::RadioTuning tuning{&station, ndhost::DefaultCourseDeg(station, flight.position),
                               &station, &station};
    ndhost::AircraftState aircraft;
    ndhost::ComputeRadios(flight, {}, tuning, aircraft);
    if (!std::isfinite(aircraft.courseDeviation) || !std::isfinite(aircraft.verticalDeviation))
      std::abort();
  }
  ndhost::Autopilot pilot(route);
  pilot.Steer(flight, {});
  return 0;
}
