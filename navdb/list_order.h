// The order of entry lists and index lists: a case-insensitive comparison of
// the whole line in which '-' and '\'' are disregarded and only break a tie
// between lines that are otherwise equal. The space sorts before
// punctuation, punctuation before digits, digits before letters; accented
// letters sort with their base letter.
#pragma once

#include <cstddef>
#include <cstdint>
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

// The first kPackedWeights primary weights of a line (the disregarded
// characters skipped) packed into an integer, the first one in the highest
// byte and 0 past the end, so that two packed keys that differ order their
// lines as the full comparison does. Equal packed keys decide nothing: the
// lines may differ further on or in the tie-breaks. Lets a binary search
// compare integers and read a line's text only on a tie.
inline constexpr size_t kPackedWeights = 8;
struct PackedKey {
  uint64_t bits = 0;
  // Primary weights of the text, counted up to kPackedWeights + 1 (more
  // than fit).
  size_t weights = 0;
};
PackedKey PackPrimaryKey(std::string_view text);

// True when `line` begins with `prefix`, letter case ignored.
bool StartsWithIgnoringCase(std::string_view line, std::string_view prefix);

}  // namespace navdb
