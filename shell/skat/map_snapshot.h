// What the map window draws from: a copy of the four entry lists taken on
// the window thread while nothing changes them, and the spatial index over
// that copy. The copy shares the lines' text with the database (written
// text never changes), so it costs the rows, not the lines; the map's
// worker reads it while the database itself goes on changing (an edit, a
// scan) until the next copy replaces it.
#pragma once

#include <memory>
#include <mutex>
#include <optional>

#include "map/map_route.h"
#include "map/spatial_index.h"
#include "navdb/database.h"

// A west-to-east box round the entries; eastDeg may exceed 180 for
// entries on both sides of the 180th meridian.
struct EntryBox {
  double southDeg = 0;
  double westDeg = 0;
  double northDeg = 0;
  double eastDeg = 0;
};

// The box of `index`'s entries that leaves out the widest span of
// longitudes without one, so that islands either side of the 180th
// meridian make a narrow box; nothing for an empty index.
std::optional<EntryBox> BoxOfEntries(const navmap::SpatialIndex& index);

class MapSnapshot {
 public:
  // Copies the lists (window thread, while no worker changes them).
  explicit MapSnapshot(const navdb::Database& db);

  const navdb::Database& database() const { return database_; }
  // Built on first use, by whichever thread asks first (the map's worker).
  const navmap::SpatialIndex& index() const;
  // The entries' box; nothing until the index is built, or when it is empty.
  std::optional<EntryBox> box() const;

 private:
  navdb::Database database_;
  mutable std::once_flag indexBuilt_;
  mutable std::unique_ptr<navmap::SpatialIndex> index_;
  mutable std::mutex boxMutex_;  // the box is read on the window thread
  mutable std::optional<EntryBox> box_;
};
