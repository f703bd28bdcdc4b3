// The geographic index: one 32-character line per entry with its longitude,
// latitude, kind tag and row, held in index order (the list order of entry
// lists) in three lists.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "navdb/entry_list.h"
#include "navdb/reporter.h"

namespace navdb {

inline constexpr size_t kIndexLineLength = 32;
// Lines the primary list (the one the Index window shows) keeps after an add.
inline constexpr size_t kPrimaryIndexCapacity = 32735;

struct IndexLists {
  EntryList primary{EntryList::kUnlimited, kIndexLineLength};
  // Lines after the primary ones in index order.
  EntryList following{EntryList::kUnlimited, kIndexLineLength};
  // Lines before them; only paging puts lines here.
  EntryList preceding{EntryList::kUnlimited, kIndexLineLength};

  void Clear() {
    primary.Clear();
    following.Clear();
    preceding.Clear();
  }
  size_t Count() const { return primary.Count() + following.Count() + preceding.Count(); }
};

// An index line held without allocation.
struct IndexKey {
  char text[32];
  operator std::string_view() const { return {text, sizeof text}; }
};
static_assert(sizeof(IndexKey) == kIndexLineLength);

// Index line of the entry `line` of `kind` at `row`. Every number is
// written with exactly its field's digits, so the line is always 32
// characters (rows stay below 100,000 by the capacity of the entry lists).
void FormatIndexLine(NavaidKind kind, std::string_view line, size_t row, IndexKey& key);
std::string MakeIndexLine(NavaidKind kind, std::string_view line, size_t row);

// Inserts into the primary list in index order; when that list then holds
// more than kPrimaryIndexCapacity lines, its last line moves to the
// following list. False when an insertion fails.
bool AddIndexLine(IndexLists& index, std::string_view line);

// Rebuilds the three lists from the four entry lists.
void RebuildIndex(const std::array<EntryList, 4>& lists, IndexLists& index, const Reporter& ui);

// The lines of idx.dat after its first line: all west lines of the three
// lists from the most western, then all east lines in ascending order; every
// line ends with CR LF.
std::string WriteIndex(const IndexLists& index);

// The line of idx.dat as it is held in memory (leading blanks dropped, a
// space put back in front of a non-negative longitude); false when it is no
// index line.
bool NormalizeIndexFileLine(std::string_view fileLine, IndexKey& key);

// True when every column holds what an index line has there: signs, digits,
// points, blanks and one of the four tags.
bool HasIndexLineShape(const IndexKey& key);
// The same for the 32 characters at `text`.
bool HasIndexLineShape(const char* text);

// Index order of two keys of index-line shape.
bool IndexKeyLess(const IndexKey& a, const IndexKey& b);

// Fills the lists from keys already in index order, as adding them one by
// one would: the smallest in the primary list, the rest in the following one.
void AssignInIndexOrder(IndexLists& index, const std::vector<IndexKey>& keys);
// The same for lines that lie in `bytes`, which the lists then keep alive:
// nothing is copied.
void AssignInIndexOrder(IndexLists& index, std::shared_ptr<const std::string> bytes,
                        const std::vector<std::string_view>& lines);

}  // namespace navdb
