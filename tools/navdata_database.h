// A database of real-world entries for benchmarks and the demo: the NDBs,
// VOR/ILS/DME stations, runways and fixes of X-Plane format data, turned
// into entry lines directly (without the scan's duplicate handling).
#pragma once

#include <filesystem>
#include <string>

#include "navdb/database.h"

#include "platform/result.h"

namespace navdata_tools {

// The folder of the real-world data beside the source tree.
std::filesystem::path RealNavDataFolder();

// Only entries inside the box are taken (all of them by default). A box
// whose west edge lies east of its east edge reaches over the 180th meridian.
struct Region {
  double southDeg = -90, northDeg = 90, westDeg = -180, eastDeg = 180;
  bool Contains(double latitudeDeg, double longitudeDeg) const {
    if (latitudeDeg < southDeg || latitudeDeg > northDeg) return false;
    if (westDeg <= eastDeg) return longitudeDeg >= westDeg && longitudeDeg <= eastDeg;
    return longitudeDeg >= westDeg || longitudeDeg <= eastDeg;
  }
};

// Fills the four lists of `db` in list order from the X-Plane files in
// `folder` and rebuilds its index. Fails saying what went wrong.
platform::Status BuildDatabaseFromNavData(const std::filesystem::path& folder, const Region& region,
                                          navdb::Database& db);

// The whole real-world data.
platform::Status BuildRealWorldDatabase(navdb::Database& db);

}  // namespace navdata_tools
