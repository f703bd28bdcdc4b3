// The search of the main window's lists: which lines of a kind match what
// the user typed, by identifier, name or frequency. It works on the list's
// Windows-1252 bytes as they lie, so a keystroke on 100,000 lines costs a
// few milliseconds and copies no line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "navdb/entry_list.h"
#include "navdb/navaid_kind.h"

class LineSearch {
 public:
  LineSearch() = default;
  // `textWin1252` as typed; letter case, accents and the spaces around it
  // do not count.
  LineSearch(navdb::NavaidKind kind, std::string_view textWin1252);

  navdb::NavaidKind kind() const { return kind_; }
  // True when nothing was typed: every line is shown.
  bool empty() const { return needle_.empty(); }

  // A line matches when its identifier or its name holds the text, or when
  // the text is a number that begins the line's frequency (leading zeros of
  // the frequency left out, so "75" finds the NDB on 075.0 but not 175.0).
  bool matches(std::string_view line) const;

  // True when every line this search matches also matches `wider`, so the
  // rows of `wider` are enough to look through (the user typed on).
  bool narrows(const LineSearch& wider) const;

  bool operator==(const LineSearch& other) const = default;

 private:
  navdb::NavaidKind kind_ = navdb::NavaidKind::Ndb;
  std::string needle_;  // folded: lower case, accents taken off
  bool numeric_ = false;
};

// The rows of `list` whose lines match, in row order: among `within` when
// it is given (rows of the list, in row order), else among all rows. The
// "(no data found)" line matches nothing.
std::vector<int> MatchingRows(const navdb::EntryList& list, const LineSearch& search,
                              const std::vector<int>* within = nullptr);

// The byte `c` of Windows-1252 text in lower case and without its accent
// ('É' and 'e' give 'e'), so that "zurich" finds "ZÜRICH".
char FoldedChar(char c);
