// The four kinds of database entry and what belongs to each.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace navdb {

enum class NavaidKind { Ndb = 0, Vor = 1, Airport = 2, Intersection = 3 };

inline constexpr std::array<NavaidKind, 4> kAllKinds = {
    NavaidKind::Ndb, NavaidKind::Vor, NavaidKind::Airport, NavaidKind::Intersection};

struct KindInfo {
  std::string_view tabCaption;   // tab of the main window
  std::string_view fileName;     // database file in NavData
  std::string_view indexTag;     // three-letter tag of index lines
  std::string_view editorTitle;  // title of the entry editor
  std::string_view fileHeader;   // line 1 of the database file, without line end
  std::string_view loadErrorCaption;
  size_t lineLength;                    // length of a list line of this kind
  std::array<int, 9> separatorColumns;  // columns that hold ';' in the file form
  size_t separatorCount;
  size_t latitudeColumn;   // hemisphere letter of the latitude text
  size_t longitudeColumn;  // hemisphere letter of the longitude text
};

inline constexpr std::array<KindInfo, 4> kKindInfo = {{
    {"NDBs",
     "ndb.dat",
     "NDB",
     "NDB entry edition",
     "// NDB database for Skyatlas",
     "Error - NDB",
     79,
     {5, 31, 38, 52, 67, 74},
     6,
     40,
     54},
    {"VORs",
     "vor.dat",
     "VOR",
     "VOR/ILS entry edition",
     "// VOR database for Skyatlas",
     "Error - VOR",
     109,
     {5, 31, 48, 56, 61, 75, 90, 97, 102},
     9,
     63,
     77},
    {"Airports",
     "apt.dat",
     "APT",
     "Airport entry edition",
     "// Airport database for Skyatlas",
     "Error - Airports",
     105,
     {5, 31, 40, 49, 63, 78, 85, 92, 97},
     9,
     51,
     65},
    {"Intersections",
     "int.dat",
     "INT",
     "Intersection entry edition",
     "// Intersection database for Skyatlas",
     "Error - Intersections",
     67,
     {5, 31, 45, 60},
     4,
     33,
     47},
}};

constexpr const KindInfo& InfoOf(NavaidKind kind) {
  return kKindInfo[static_cast<size_t>(kind)];
}
constexpr size_t IndexOf(NavaidKind kind) {
  return static_cast<size_t>(kind);
}

// The line an empty list shows instead of entries; never saved or indexed.
inline constexpr std::string_view kPlaceholderLine = "(no data found)";

// Longest line a database file reader holds.
inline constexpr size_t kMaxLineLength = 111;

// Told after "Can't add entry to ... list.": the index line's five-digit row
// is what bounds a list.
inline constexpr std::string_view kListLimitText = "A list holds at most 100,000 entries.";

}  // namespace navdb
