// Finding an entry of a list again: by its exact line, or by what makes it
// the same entry (identifier and name, and for runways the designation)
// and where it lies. The journal's replay finds the entries of its records
// this way after a rebuild or a rescan has brought other versions of them.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "navdb/entry_list.h"
#include "navdb/navaid_kind.h"

namespace shell {

// Entries of one identity farther apart than this are different entries.
inline constexpr double kSameEntryDistanceNm = 0.5;

// Rows whose line begins with `prefix` (letter case ignored), in list order
// for a list in list order, else in row order.
std::vector<size_t> RowsBeginningWith(const navdb::EntryList& list, std::string_view prefix);

// A row holding exactly `line`, or nothing.
std::optional<size_t> RowOfLine(const navdb::EntryList& list, std::string_view line);

// The part of a line that names its entry: identifier and name, and for a
// runway its designation (what the editors' duplicate check compares).
std::string_view IdentityOf(navdb::NavaidKind kind, std::string_view line);

// Great-circle distance between the positions of two lines of `kind`.
double DistanceBetweenNm(navdb::NavaidKind kind, std::string_view a, std::string_view b);

// The entry that `line` stands for, in whatever version the list holds it:
// the one entry of its identity, or of several the nearest within
// kSameEntryDistanceNm of `line`'s position. With `nearOnly` even a single
// entry of that identity must lie that near.
std::optional<size_t> FindSameEntry(const navdb::EntryList& list, navdb::NavaidKind kind,
                                    std::string_view line, bool nearOnly);

}  // namespace shell
