// A database of real-world entries for benchmarks: every NDB, VOR/ILS/DME
// station, runway and fix of the X-Plane data under shared/data/navdata,
// turned into entry lines directly (without the scan's duplicate handling).
#pragma once

#include <filesystem>
#include <string>

#include "navdb/database.h"

namespace bench_support {

// The folder of the real-world data, found from the source tree.
std::filesystem::path RealNavDataFolder();

// Fills the four lists of `db` in list order and rebuilds its index.
// Returns an empty text, or what went wrong reading the data.
std::string BuildRealWorldDatabase(navdb::Database& db);

// A fresh temporary folder for benchmark files.
std::filesystem::path MakeTemporaryFolder();

}  // namespace bench_support
