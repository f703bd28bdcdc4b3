#include "map/tools/topology.h"

#include <algorithm>
#include <cmath>

namespace coastline_tool {
namespace {

using navmap::QuantizedPoint;

bool IsArray(const JsonValue* value) {
  return value != nullptr && value->type == JsonValue::Type::Array;
}

// Arcs are written as a first position and then differences.
bool ReadArcs(const JsonValue& arcs, Topology& topology, std::string& problem) {
  for (const JsonValue& arc : arcs.items) {
    Ring& points = topology.arcs.emplace_back();
    int64_t x = 0;
    int64_t y = 0;
    for (const JsonValue& position : arc.items) {
      if (position.items.size() < 2) {
        problem = "an arc position has fewer than two numbers";
        return false;
      }
      x += static_cast<int64_t>(position.items[0].number);
      y += static_cast<int64_t>(position.items[1].number);
      points.push_back({static_cast<int32_t>(x), static_cast<int32_t>(y)});
    }
  }
  topology.countryUses.assign(topology.arcs.size(), 0);
  return true;
}

// Calls fn(ring) for every ring (an array of arc references) of a Polygon
// or MultiPolygon geometry.
template <class Fn>
void ForEachRing(const JsonValue& geometry, Fn&& fn) {
  const JsonValue* type = geometry.Find("type");
  const JsonValue* arcs = geometry.Find("arcs");
  if (type == nullptr || !IsArray(arcs)) return;
  if (type->text == "Polygon") {
    for (const JsonValue& ring : arcs->items) fn(ring);
  } else if (type->text == "MultiPolygon") {
    for (const JsonValue& polygon : arcs->items) {
      for (const JsonValue& ring : polygon.items) fn(ring);
    }
  }
}

// Arc reference: i, or ~i for arc i walked backwards.
size_t ArcOf(int reference) {
  return static_cast<size_t>(reference >= 0 ? reference : ~reference);
}

bool RingPoints(const Topology& topology, const JsonValue& references, Ring& ring,
                std::string& problem) {
  for (const JsonValue& reference : references.items) {
    const int value = static_cast<int>(reference.number);
    const size_t arc = ArcOf(value);
    if (arc >= topology.arcs.size()) {
      problem = "a ring names an arc that does not exist";
      return false;
    }
    Ring points = topology.arcs[arc];
    if (value < 0) std::reverse(points.begin(), points.end());
    // Each arc begins where the one before it ended.
    ring.insert(ring.end(), points.begin() + (ring.empty() ? 0 : 1), points.end());
  }
  return true;
}

const JsonValue* Geometries(const JsonValue& document, const char* object) {
  const JsonValue* objects = document.Find("objects");
  const JsonValue* named = objects == nullptr ? nullptr : objects->Find(object);
  const JsonValue* geometries = named == nullptr ? nullptr : named->Find("geometries");
  if (IsArray(geometries)) return geometries;
  // A single geometry instead of a collection.
  return named;
}

std::optional<Topology> ReadTopologyOf(const JsonValue& document, std::string& problem) {
  Topology topology;
  const JsonValue* transform = document.Find("transform");
  const JsonValue* scale = transform == nullptr ? nullptr : transform->Find("scale");
  const JsonValue* translate = transform == nullptr ? nullptr : transform->Find("translate");
  const JsonValue* arcs = document.Find("arcs");
  if (!IsArray(scale) || scale->items.size() != 2 || !IsArray(translate) ||
      translate->items.size() != 2 || !IsArray(arcs)) {
    problem = "not a quantized topology (transform and arcs)";
    return std::nullopt;
  }
  topology.grid = {scale->items[0].number, translate->items[0].number, scale->items[1].number,
                   translate->items[1].number};
  if (!ReadArcs(*arcs, topology, problem)) return std::nullopt;

  const JsonValue* countries = Geometries(document, "countries");
  const JsonValue* land = Geometries(document, "land");
  if (countries == nullptr || land == nullptr) {
    problem = "the topology has no countries or no land";
    return std::nullopt;
  }
  auto countUses = [&](const JsonValue& ring) {
    for (const JsonValue& reference : ring.items) {
      const size_t arc = ArcOf(static_cast<int>(reference.number));
      if (arc < topology.countryUses.size()) ++topology.countryUses[arc];
    }
  };
  auto addLand = [&](const JsonValue& ring) {
    Ring points;
    if (RingPoints(topology, ring, points, problem) && points.size() >= 4) {
      topology.landRings.push_back(std::move(points));
    }
  };
  auto eachGeometry = [](const JsonValue& collection, auto&& fn) {
    if (collection.type == JsonValue::Type::Array) {
      for (const JsonValue& geometry : collection.items) ForEachRing(geometry, fn);
    } else {
      ForEachRing(collection, fn);
    }
  };
  eachGeometry(*countries, countUses);
  eachGeometry(*land, addLand);
  if (!problem.empty()) return std::nullopt;
  return topology;
}

}  // namespace

platform::Result<Topology> ReadTopology(const JsonValue& document) {
  std::string problem;
  std::optional<Topology> topology = ReadTopologyOf(document, problem);
  if (!topology) return platform::Failure(std::move(problem));
  return std::move(*topology);
}

}  // namespace coastline_tool
