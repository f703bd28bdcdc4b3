#include "data/database_watch.h"

namespace lumaro {

void ResetDatabaseWatch(DatabaseWatch& watch, const NavDatabase& database) {
  watch.lastCheckSeconds.reset();
  watch.lastSeen = database.stamps;
}

bool DatabaseFilesChanged(DatabaseWatch& watch, const NavDatabase& database,
                          const std::string& simulatorFolder, int64_t nowSeconds) {
  if (watch.lastCheckSeconds == nowSeconds) return false;
  watch.lastCheckSeconds = nowSeconds;
  const DatabaseStamps seen = StampDatabaseFiles(simulatorFolder);
  const bool settled = seen == watch.lastSeen;
  watch.lastSeen = seen;
  return settled && seen != database.stamps;
}

}  // namespace lumaro
