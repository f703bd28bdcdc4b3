#include "shell/skat/list_search.h"

#include <array>
#include <optional>

namespace {

using navdb::NavaidKind;

constexpr std::array<unsigned char, 256> MakeFoldTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = static_cast<unsigned char>(c + 32);
  // Windows-1252 letters with an accent fold to their plain letter; the
  // others of the upper half to their lower-case form.
  const auto fold = [&table](int first, int last, char to) {
    for (int c = first; c <= last; ++c) table[c] = static_cast<unsigned char>(to);
  };
  fold(0x8A, 0x8A, 's');
  fold(0x9A, 0x9A, 's');
  fold(0x8E, 0x8E, 'z');
  fold(0x9E, 0x9E, 'z');
  fold(0x9F, 0x9F, 'y');
  table[0x8C] = 0x9C;  // OE ligature
  fold(0xC0, 0xC5, 'a');
  fold(0xE0, 0xE5, 'a');
  table[0xC6] = 0xE6;  // AE ligature
  fold(0xC7, 0xC7, 'c');
  fold(0xE7, 0xE7, 'c');
  fold(0xC8, 0xCB, 'e');
  fold(0xE8, 0xEB, 'e');
  fold(0xCC, 0xCF, 'i');
  fold(0xEC, 0xEF, 'i');
  table[0xD0] = 0xF0;  // eth
  fold(0xD1, 0xD1, 'n');
  fold(0xF1, 0xF1, 'n');
  fold(0xD2, 0xD6, 'o');
  fold(0xF2, 0xF6, 'o');
  fold(0xD8, 0xD8, 'o');
  fold(0xF8, 0xF8, 'o');
  fold(0xD9, 0xDC, 'u');
  fold(0xF9, 0xFC, 'u');
  fold(0xDD, 0xDD, 'y');
  fold(0xFD, 0xFD, 'y');
  fold(0xFF, 0xFF, 'y');
  table[0xDE] = 0xFE;  // thorn
  return table;
}

constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

// Columns of the identifier, the name and the frequency text (Part of the
// line layouts); an intersection has no frequency.
constexpr size_t kIdentifierColumn = 0;
constexpr size_t kIdentifierWidth = 5;
constexpr size_t kNameColumn = 7;
constexpr size_t kNameWidth = 24;

struct Columns {
  size_t first;
  size_t width;
};

std::optional<Columns> FrequencyColumns(NavaidKind kind) {
  switch (kind) {
    case NavaidKind::Ndb:
      return Columns{33, 5};
    case NavaidKind::Vor:
      return Columns{50, 6};
    case NavaidKind::Airport:
      return Columns{99, 6};
    case NavaidKind::Intersection:
      return std::nullopt;
  }
  return std::nullopt;
}

std::string_view Field(std::string_view line, size_t first, size_t width) {
  if (first >= line.size()) return {};
  return line.substr(first, width);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Digits, then at most one '.' and more digits: a frequency as typed.
bool IsNumber(std::string_view text) {
  if (text.empty() || !IsDigit(text.front())) return false;
  bool point = false;
  for (char c : text) {
    if (c == '.' && !point) {
      point = true;
    } else if (!IsDigit(c)) {
      return false;
    }
  }
  return true;
}

bool ContainsFolded(std::string_view haystack, std::string_view needle) {
  if (needle.size() > haystack.size()) return false;
  const char first = needle.front();
  for (size_t at = 0; at + needle.size() <= haystack.size(); ++at) {
    if (FoldedChar(haystack[at]) != first) continue;
    size_t same = 1;
    while (same < needle.size() && FoldedChar(haystack[at + same]) == needle[same]) ++same;
    if (same == needle.size()) return true;
  }
  return false;
}

// "075.0" begins with "75", "000.00" (an airport without ATIS) with nothing.
bool FrequencyBeginsWith(std::string_view frequency, std::string_view number) {
  size_t start = 0;
  while (start + 1 < frequency.size() && frequency[start] == '0' && IsDigit(frequency[start + 1])) {
    ++start;
  }
  frequency.remove_prefix(start);
  if (frequency.find_first_not_of("0.") == std::string_view::npos) return false;
  return frequency.starts_with(number);
}

}  // namespace

char FoldedChar(char c) {
  return static_cast<char>(kFold[static_cast<unsigned char>(c)]);
}

LineSearch::LineSearch(NavaidKind kind, std::string_view textWin1252) : kind_(kind) {
  const size_t first = textWin1252.find_first_not_of(' ');
  if (first == std::string_view::npos) return;
  const size_t last = textWin1252.find_last_not_of(' ');
  for (char c : textWin1252.substr(first, last - first + 1)) needle_.push_back(FoldedChar(c));
  numeric_ = IsNumber(needle_);
}

bool LineSearch::matches(std::string_view line) const {
  if (needle_.empty()) return true;
  if (ContainsFolded(Field(line, kIdentifierColumn, kIdentifierWidth), needle_)) return true;
  if (ContainsFolded(Field(line, kNameColumn, kNameWidth), needle_)) return true;
  if (!numeric_) return false;
  const std::optional<Columns> frequency = FrequencyColumns(kind_);
  return frequency && FrequencyBeginsWith(Field(line, frequency->first, frequency->width), needle_);
}

bool LineSearch::narrows(const LineSearch& wider) const {
  // A longer text that begins with the shorter one: each field that holds
  // it holds the shorter one, and a frequency it begins begins with both.
  return kind_ == wider.kind_ && !wider.needle_.empty() && needle_.starts_with(wider.needle_);
}

std::vector<int> MatchingRows(const navdb::EntryList& list, const LineSearch& search,
                              const std::vector<int>* within) {
  std::vector<int> rows;
  if (list.HoldsOnlyPlaceholder()) return rows;
  if (within == nullptr) {
    list.ForEach([&](size_t row, std::string_view line) {
      if (search.matches(line)) rows.push_back(static_cast<int>(row));
    });
    return rows;
  }
  for (int row : *within) {
    if (row < 0 || static_cast<size_t>(row) >= list.Count()) continue;
    if (search.matches(list.GetLine(static_cast<size_t>(row)))) rows.push_back(row);
  }
  return rows;
}
