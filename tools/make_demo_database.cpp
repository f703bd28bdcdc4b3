// Writes a regional database from X-Plane format data, for the demo folder.
// Usage: make_demo_database NAVDATA_DIR OUT_DIR SOUTH NORTH WEST EAST
// (WEST greater than EAST for a region over the 180th meridian)
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "navdb/database.h"
#include "tools/navdata_database.h"

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr, "Usage: make_demo_database NAVDATA_DIR OUT_DIR SOUTH NORTH WEST EAST\n");
    return 2;
  }
  navdata_tools::Region region{std::atof(argv[3]), std::atof(argv[4]), std::atof(argv[5]),
                               std::atof(argv[6])};
  navdb::Database db;
  db.folder = argv[2];
  std::filesystem::create_directories(db.folder);
  const platform::Status built = navdata_tools::BuildDatabaseFromNavData(argv[1], region, db);
  if (!built) {
    std::fprintf(stderr, "make_demo_database: %s\n", built.error().message.c_str());
    return 1;
  }
  navdb::AddPlaceholdersToEmptyLists(db);
  return navdb::SaveDatabase(db, {}) ? 0 : 1;
}
