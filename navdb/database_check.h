// Whether idx.dat is in step with the entry files: the display finds an
// entry by the kind tag and row of its index line and trusts the position
// written there.
#pragma once

#include <cstddef>

#include "navdb/database.h"

namespace navdb {

// The index rows of `db` that are out of step with its entry lists: rows
// whose kind tag and row name no entry, or name one whose position, as the
// index builder writes it, differs from the row's; rows that name an entry
// a row before them already named; and entries that no row names. Counted
// as the rows a rebuild would have to change: the larger of the index rows
// and the entries, less the rows that match.
size_t CountIndexRowsOutOfStep(const Database& db);

}  // namespace navdb
