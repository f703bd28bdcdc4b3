// Turns Natural Earth's countries, as TopoJSON topologies, into the map's
// coastline file and a C++ source that holds the same bytes:
//   make_coastlines OUT.bin OUT.cpp TOPOLOGY.json:TILE_DEG ...
// one topology per level of detail, coarsest first. An arc that one country
// uses is coast, one that two use a border. TILE_DEG > 0 cuts the land
// areas into tiles of that size (0 keeps them whole).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "map/coastline_file.h"
#include "map/tools/antimeridian.h"
#include "map/tools/json_value.h"
#include "map/tools/land_tiles.h"
#include "map/tools/topology.h"

namespace {

using coastline_tool::Ring;

// Long lines are cut into pieces, each with its own box, so the map skips
// the pieces out of view.
constexpr size_t kMaxLinePoints = 128;

void AddLinePieces(const Ring& part, navmap::CoastlineKind kind, navmap::QuantizedLevel& level) {
  for (size_t first = 0; first + 1 < part.size(); first += kMaxLinePoints - 1) {
    const size_t end = std::min(part.size(), first + kMaxLinePoints);
    level.lines.push_back({kind, Ring(part.begin() + first, part.begin() + end)});
  }
}

bool MakeLevel(const std::string& argument, navmap::QuantizedLevel& level) {
  const size_t colon = argument.rfind(':');
  const std::string path = argument.substr(0, colon);
  const double tileDeg = colon == std::string::npos ? 0 : std::atof(argument.c_str() + colon + 1);
  std::ifstream file(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!file && text.empty()) {
    std::fprintf(stderr, "make_coastlines: cannot read %s\n", path.c_str());
    return false;
  }
  const platform::Result<coastline_tool::JsonValue> document = coastline_tool::ParseJson(text);
  if (!document) {
    std::fprintf(stderr, "make_coastlines: %s: %s\n", path.c_str(),
                 document.error().message.c_str());
    return false;
  }
  const platform::Result<coastline_tool::Topology> topology =
      coastline_tool::ReadTopology(*document);
  if (!topology) {
    std::fprintf(stderr, "make_coastlines: %s: %s\n", path.c_str(),
                 topology.error().message.c_str());
    return false;
  }
  level.grid = topology->grid;
  for (size_t arc = 0; arc < topology->arcs.size(); ++arc) {
    const auto kind = topology->countryUses[arc] >= 2 ? navmap::CoastlineKind::Border
                                                      : navmap::CoastlineKind::Coast;
    for (const Ring& part :
         coastline_tool::SplitLineAtAntimeridian(topology->arcs[arc], topology->grid)) {
      AddLinePieces(part, kind, level);
    }
  }
  std::vector<Ring> sides;
  for (const Ring& ring : topology->landRings) {
    for (Ring& piece : coastline_tool::SplitRingAtAntimeridian(ring, topology->grid))
      sides.push_back(std::move(piece));
  }
  level.landRings = coastline_tool::CutIntoTiles(sides, topology->grid, tileDeg);
  size_t linePoints = 0, ringPoints = 0;
  for (const auto& line : level.lines) linePoints += line.points.size();
  for (const auto& ring : level.landRings) ringPoints += ring.size();
  std::printf("%s: %zu lines (%zu points), %zu land rings (%zu points)\n", path.c_str(),
              level.lines.size(), linePoints, level.landRings.size(), ringPoints);
  return true;
}

bool WriteSource(const std::string& path, const std::string& bytes) {
  std::ostringstream out;
  out << "// Made by make_coastlines from Natural Earth's data; do not edit.\n"
         "#include \"map/coastline_data.h\"\n\nnamespace navmap {\n\n"
         "const unsigned char kCoastlineBytes[] =\n";
  constexpr size_t kBytesPerLine = 32;
  char hex[8];
  for (size_t at = 0; at < bytes.size(); at += kBytesPerLine) {
    out << "    \"";
    for (size_t i = at; i < std::min(bytes.size(), at + kBytesPerLine); ++i) {
      std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(bytes[i]));
      out << hex;
    }
    out << "\"\n";
  }
  out << "    ;\nconst size_t kCoastlineByteCount = " << bytes.size()
      << ";\n\n}  // namespace navmap\n";
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << out.str();
  return static_cast<bool>(file.flush());
}

int MakeCoastlines(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: make_coastlines OUT.bin OUT.cpp TOPOLOGY.json:TILE_DEG ...\n");
    return 2;
  }
  std::vector<navmap::QuantizedLevel> levels(static_cast<size_t>(argc - 3));
  for (int arg = 3; arg < argc; ++arg) {
    if (!MakeLevel(argv[arg], levels[static_cast<size_t>(arg - 3)])) return 1;
  }
  const std::string bytes = navmap::EncodeCoastlines(levels);
  std::ofstream bin(argv[1], std::ios::binary | std::ios::trunc);
  bin << bytes;
  if (!bin.flush() || !WriteSource(argv[2], bytes)) {
    std::fprintf(stderr, "make_coastlines: cannot write %s or %s\n", argv[1], argv[2]);
    return 1;
  }
  std::printf("%s: %zu bytes\n", argv[1], bytes.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Out of memory on a huge topology ends the build step with a message.
  try {
    return MakeCoastlines(argc, argv);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "make_coastlines: %s\n", failure.what());
  } catch (...) {
    std::fprintf(stderr, "make_coastlines: an unknown failure\n");
  }
  return 1;
}
