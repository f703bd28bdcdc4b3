// Notices the database files changing on disk while the display runs (a
// save, a copy over them, a truncate, a removal), once a second, so that the
// module reads them again once they have stopped changing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "data/nav_database.h"

namespace lumaro {

struct DatabaseWatch {
  std::optional<int64_t> lastCheckSeconds;
  DatabaseStamps lastSeen;  // the stamps at the last check
};

// Starts watching from the stamps of the files just read.
void ResetDatabaseWatch(DatabaseWatch& watch, const NavDatabase& database);

// At most once per second of `nowSeconds`: true when the files differ from
// those `database` was read from and are the same as at the check before,
// so that a save or a copy still writing its five files is not read half
// done. A file whose change went on for a while is read at the first check
// after it stopped.
bool DatabaseFilesChanged(DatabaseWatch& watch, const NavDatabase& database,
                          const std::string& simulatorFolder, int64_t nowSeconds);

}  // namespace lumaro
