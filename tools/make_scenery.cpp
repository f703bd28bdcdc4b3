// Writes the real-world scenery tree: make_scenery NAVDATA_DIR OUT_DIR
// [SOUTH NORTH WEST EAST]. With a box, only what lies inside it is written
// (an airport goes by its first runway).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/scenery_writer/navdata_scenery.h"
#include "xplane/navdata_reader.h"

namespace {

struct Box {
  double southDeg = -90, northDeg = 90, westDeg = -180, eastDeg = 180;
  bool Contains(double latitudeDeg, double longitudeDeg) const {
    return latitudeDeg >= southDeg && latitudeDeg <= northDeg && longitudeDeg >= westDeg &&
           longitudeDeg <= eastDeg;
  }
};

template <typename Record, typename Inside>
void KeepOnly(std::vector<Record>& records, Inside inside) {
  std::erase_if(records, [&](const Record& record) { return !inside(record); });
}

void KeepInside(const Box& box, xplane::NavData& data) {
  KeepOnly(data.ndbs, [&](const auto& r) { return box.Contains(r.latitudeDeg, r.longitudeDeg); });
  KeepOnly(data.stations,
           [&](const auto& r) { return box.Contains(r.latitudeDeg, r.longitudeDeg); });
  KeepOnly(data.airports, [&](const xplane::AirportRecord& r) {
    return !r.runways.empty() &&
           box.Contains(r.runways.front().latitudeDeg, r.runways.front().longitudeDeg);
  });
  data.fixes.clear();  // scenery holds no intersections
}

bool ReadDegrees(const char* text, double& degrees) {
  char* end = nullptr;
  degrees = std::strtod(text, &end);
  return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  Box box;
  if ((argc != 3 && argc != 7) ||
      (argc == 7 && !(ReadDegrees(argv[3], box.southDeg) && ReadDegrees(argv[4], box.northDeg) &&
                      ReadDegrees(argv[5], box.westDeg) && ReadDegrees(argv[6], box.eastDeg)))) {
    std::fprintf(stderr, "Usage: make_scenery NAVDATA_DIR OUT_DIR [SOUTH NORTH WEST EAST]\n");
    return 2;
  }
  xplane::NavData data;
  platform::Status done = xplane::ReadNavDataFolder(argv[1], data);
  if (done.ok()) {
    KeepInside(box, data);
    scenery_writer::SceneryTreeCounts counts;
    done = scenery_writer::WriteSceneryTree(data, argv[2], counts);
    std::printf("%zu NDB, %zu stations, %zu airports: %zu files (%zu packed), %zu bytes\n",
                data.ndbs.size(), data.stations.size(), data.airports.size(), counts.files,
                counts.packedFiles, counts.bytes);
  }
  if (!done) {
    std::fprintf(stderr, "make_scenery: %s\n", done.error().message.c_str());
    return 1;
  }
  return 0;
}
