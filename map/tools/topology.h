// What the map takes from a TopoJSON topology of Natural Earth's countries:
// its arcs in whole grid steps, how many countries use each arc (one: a
// coast; two: a border), and the rings of its land areas.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "map/coastline_file.h"
#include "map/tools/json_value.h"

#include "platform/result.h"

namespace coastline_tool {

using Ring = std::vector<navmap::QuantizedPoint>;

struct Topology {
  navmap::Quantization grid;
  std::vector<Ring> arcs;        // absolute points
  std::vector<int> countryUses;  // by arc
  std::vector<Ring> landRings;   // closed: the last point repeats the first
};

// Reads the "countries" and "land" objects of a quantized topology.
// Fails saying what it lacks.
platform::Result<Topology> ReadTopology(const JsonValue& document);

}  // namespace coastline_tool
