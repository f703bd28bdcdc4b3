// Real-world scenery from X-Plane format navigation data: one tree of
// scenery files, one 10 x 10 degree tile per folder pair, laid out as the
// simulator stores them, so that a scan has real data to read.
//
// Each tile gets a navaid file (an NDB section and a VOR/ILS/DME section)
// and an airport file. Packed files carry no airport section, so airports
// always stand in plain files, and every other tile's navaid file is packed.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "tools/scenery_writer/bgl_writer.h"
#include "xplane/navdata_reader.h"

#include "platform/result.h"

namespace scenery_writer {

struct SceneryTile {
  BglScenery navaids;   // NDBs and stations
  BglScenery airports;  // airports with their land runways
};

// Tiles by (south, west) corner in whole degrees, multiples of 10.
using SceneryTiles = std::map<std::pair<int, int>, SceneryTile>;

SceneryTiles TilesOfNavData(const xplane::NavData& data);

// "N40E000", "S10W080": the tile's south-west corner.
std::string TileName(int southDeg, int westDeg);
// `root`/N40/E000: the folder of a tile.
std::filesystem::path TileFolder(const std::filesystem::path& root, int southDeg, int westDeg);
// Every other tile (a checkerboard) stores its navaid file packed.
bool TileIsPacked(int southDeg, int westDeg);

struct SceneryTreeCounts {
  size_t files = 0;
  size_t packedFiles = 0;
  size_t bytes = 0;
};

// Writes the tree of `data` below `root`. Fails saying what went wrong.
platform::Status WriteSceneryTree(const xplane::NavData& data, const std::filesystem::path& root,
                                  SceneryTreeCounts& counts);

// The record fields of one navaid, as WriteSceneryTree stores them.
BglNdb NdbOf(const xplane::NdbRecord& record);
BglVor VorOf(const xplane::StationRecord& record);
BglAirport AirportOf(const xplane::AirportRecord& record);

}  // namespace scenery_writer
