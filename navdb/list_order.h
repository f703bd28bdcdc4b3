// The order of entry lists and index lists: a case-insensitive comparison of
// the whole line in which '-' and '\'' are disregarded and only break a tie
// between lines that are otherwise equal. The space sorts before
// punctuation, punctuation before digits, digits before letters; accented
// letters sort with their base letter.
#pragma once

#include <string_view>

namespace navdb {

// Negative, zero or positive as `a` sorts before, equal to or after `b`.
// Zero only for identical lines: ties are broken by the disregarded
// characters, then by letter case (lower case first), so the order is total.
int CompareListOrder(std::string_view a, std::string_view b);

inline bool ListOrderLess(std::string_view a, std::string_view b) {
  return CompareListOrder(a, b) < 0;
}

// Comparison of the primary keys only (the disregarded characters skipped,
// case folded): negative when `line` sorts before every line whose key
// begins with the key of `prefix`, zero when `line`'s key begins with it.
int ComparePrimaryKeyToPrefix(std::string_view line, std::string_view prefix);

// True when `line` begins with `prefix`, letter case ignored.
bool StartsWithIgnoringCase(std::string_view line, std::string_view prefix);

}  // namespace navdb
