#include "navdb/geo_index.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <vector>

#include "navdb/coordinates.h"
#include "navdb/entry_lines.h"
#include "navdb/list_order.h"
#include "platform/numbers.h"
#include "platform/text_columns.h"

namespace navdb {
namespace {

// Unsigned degrees of the coordinate whose hemisphere letter is at `column`.
double CoordinateMagnitude(std::string_view line, size_t column, size_t degreeDigits) {
  const long degrees = platform::ReadLong(platform::Columns(line, column + 1, degreeDigits));
  const long minutes = platform::ReadLong(platform::Columns(line, column + degreeDigits + 2, 2));
  const double seconds =
      platform::ReadDouble(platform::Columns(line, column + degreeDigits + 5, 5));
  return DegreesFromParts(degrees, minutes, seconds);
}

void SplitDegrees(double magnitude, long& whole, long& millionths) {
  whole = static_cast<long>(magnitude);
  millionths = static_cast<long>((magnitude - static_cast<double>(whole)) * 1000000);
}

// Writes the last `digits` decimal digits of a non-negative value.
void PutDigits(char* out, long value, int digits) {
  unsigned long v = value < 0 ? 0 : static_cast<unsigned long>(value);
  for (int i = digits - 1; i >= 0; --i) {
    out[i] = static_cast<char>('0' + v % 10);
    v /= 10;
  }
}

bool UnlimitedLists(const IndexLists& index) {
  return index.primary.Capacity() == EntryList::kUnlimited &&
         index.following.Capacity() == EntryList::kUnlimited;
}

// Fills the lists from lines already in index order, as adding them one by
// one would.
bool IsKnownTag(const char* tag) {
  for (const KindInfo& info : kKindInfo) {
    const std::string_view known = info.indexTag;
    if (tag[0] == known[0] && tag[1] == known[1] && tag[2] == known[2]) return true;
  }
  return false;
}

std::string PerformedText(size_t done, size_t total) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "Performed : %05zu / %05zu", done, total);
  return buffer;
}

}  // namespace

void AssignInIndexOrder(IndexLists& index, const std::vector<IndexKey>& keys) {
  index.Clear();
  const auto primaryEnd =
      keys.begin() + static_cast<std::ptrdiff_t>(std::min(keys.size(), kPrimaryIndexCapacity));
  index.primary.AssignSorted(keys.begin(), primaryEnd);
  index.following.AssignSorted(primaryEnd, keys.end());
}

bool IndexKeyLess(const IndexKey& a, const IndexKey& b) {
  // Keys of one shape differ only in digits, in the tag letters and in the
  // sign columns 0 and 12, where ' ' sorts before '-' in both orders (the
  // ignored '-' lets the next digit meet the other line's space). So byte
  // order is list order here, at a fraction of the cost.
  return std::memcmp(a.text, b.text, sizeof a.text) < 0;
}

void AssignInIndexOrder(IndexLists& index, std::shared_ptr<const std::string> bytes,
                        const std::vector<std::string_view>& lines) {
  index.Clear();
  const size_t primaryCount = std::min(lines.size(), kPrimaryIndexCapacity);
  index.primary.KeepBytes(bytes);
  index.primary.AssignSortedViews(std::span(lines).first(primaryCount));
  index.following.KeepBytes(std::move(bytes));
  index.following.AssignSortedViews(std::span(lines).subspan(primaryCount));
}

bool HasIndexLineShape(const IndexKey& key) {
  return HasIndexLineShape(key.text);
}

namespace {

// Eight columns of an index line as one little-endian word.
constexpr uint64_t Word(const char* text) {
  uint64_t word = 0;
  for (int i = 7; i >= 0; --i) word = word << 8 | static_cast<unsigned char>(text[i]);
  return word;
}

// " 002.350000  48.856666  NDB00012": the digit columns, and the columns of
// fixed characters with what they hold ('0' stands for any digit, 'T' for a
// tag letter; the sign columns are checked on their own).
constexpr char kShape[] = "S000.000000 S00.000000  TTT00000";
constexpr uint64_t ByteMask(char wanted, int word) {
  uint64_t mask = 0;
  for (int i = 7; i >= 0; --i) mask = mask << 8 | (kShape[word * 8 + i] == wanted ? 0xFF : 0);
  return mask;
}
constexpr uint64_t FixedMask(int word) {
  return ~(ByteMask('0', word) | ByteMask('S', word) | ByteMask('T', word));
}

// The masks of the four words, worked out when compiling.
struct ShapeMasks {
  std::array<uint64_t, 4> digits{};      // the high bit of every digit column
  std::array<uint64_t, 4> fixed{};       // every byte of the fixed columns
  std::array<uint64_t, 4> fixedBytes{};  // what those columns hold
};
constexpr ShapeMasks MakeShapeMasks() {
  ShapeMasks masks;
  for (int w = 0; w < 4; ++w) {
    masks.digits[w] = ByteMask('0', w) & 0x8080808080808080ULL;
    masks.fixed[w] = FixedMask(w);
    masks.fixedBytes[w] = Word(kShape + w * 8) & FixedMask(w);
  }
  return masks;
}
constexpr ShapeMasks kShapeMasks = MakeShapeMasks();

// The high bit of every byte of `word` that is a decimal digit (for bytes
// below 0x80, which the caller makes sure of).
constexpr uint64_t DigitBits(uint64_t word) {
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  return ~(word + 0x46 * kOnes) & ((word | 0x80 * kOnes) - 0x30 * kOnes) & 0x80 * kOnes;
}

}  // namespace

bool HasIndexLineShape(const char* t) {
  // Four words of eight columns: no byte at or above 0x80, every digit
  // column a digit, every fixed column its character. A load checks every
  // line, so this runs without a loop over the columns.
  bool fits = (t[0] == ' ' || t[0] == '-') && (t[12] == ' ' || t[12] == '-');
  for (int w = 0; w < 4; ++w) {
    uint64_t word;
    std::memcpy(&word, t + w * 8, 8);
    if constexpr (std::endian::native != std::endian::little) word = __builtin_bswap64(word);
    fits &= (word & 0x8080808080808080ULL) == 0;
    fits &= (DigitBits(word) & kShapeMasks.digits[w]) == kShapeMasks.digits[w];
    fits &= (word & kShapeMasks.fixed[w]) == kShapeMasks.fixedBytes[w];
  }
  return fits && IsKnownTag(t + 24);
}

void FormatIndexLine(NavaidKind kind, std::string_view line, size_t row, IndexKey& key) {
  const KindInfo& info = InfoOf(kind);
  long lonWhole, lonMillionths, latWhole, latMillionths;
  SplitDegrees(CoordinateMagnitude(line, info.longitudeColumn, 3), lonWhole, lonMillionths);
  SplitDegrees(CoordinateMagnitude(line, info.latitudeColumn, 2), latWhole, latMillionths);
  const bool east = info.longitudeColumn < line.size() && line[info.longitudeColumn] == 'E';
  const bool north = info.latitudeColumn < line.size() && line[info.latitudeColumn] == 'N';
  // " %03d.%06d " then the latitude sign, "%02d.%06d  ", the tag and "%05d".
  char* t = key.text;
  t[0] = east ? ' ' : '-';
  PutDigits(t + 1, lonWhole, 3);
  t[4] = '.';
  PutDigits(t + 5, lonMillionths, 6);
  t[11] = ' ';
  t[12] = north ? ' ' : '-';
  PutDigits(t + 13, latWhole, 2);
  t[15] = '.';
  PutDigits(t + 16, latMillionths, 6);
  t[22] = t[23] = ' ';
  info.indexTag.copy(t + 24, 3);
  PutDigits(t + 27, static_cast<long>(row % 100000), 5);
}

std::string MakeIndexLine(NavaidKind kind, std::string_view line, size_t row) {
  IndexKey key;
  FormatIndexLine(kind, line, row, key);
  return std::string(key);
}

bool AddIndexLine(IndexLists& index, std::string_view line) {
  if (!index.primary.AddLine(line)) return false;
  if (index.primary.Count() > kPrimaryIndexCapacity) {
    const size_t last = index.primary.Count() - 1;
    const std::string moved(index.primary.GetLine(last));
    if (!index.following.AddLine(moved)) return false;
    index.primary.DeleteLine(last);
  }
  return true;
}

void RebuildIndex(const std::array<EntryList, 4>& lists, IndexLists& index, const Reporter& ui) {
  ui.IndexInFlux(true);
  ui.Status(StatusIcon::Sorting, "Status : sorting index...");
  index.Clear();
  size_t total = 0;
  for (const EntryList& list : lists) total += list.EntryCount();

  const bool oneStep = UnlimitedLists(index);
  std::vector<IndexKey> keys;
  if (oneStep) keys.reserve(total);
  size_t done = 0;
  for (NavaidKind kind : kAllKinds) {
    const EntryList& list = lists[IndexOf(kind)];
    const size_t count = list.EntryCount();
    for (size_t row = 0; row < count; ++row) {
      IndexKey key;
      FormatIndexLine(kind, list.GetLine(row), row, key);
      ++done;
      if (oneStep) {
        keys.push_back(key);
      } else if (!AddIndexLine(index, key)) {
        const MessageAnswer answer = ShowMessage(ui, "Index Error", "Can't add index to list.",
                                                 MessageIcon::Error, MessageButtons::RetryCancel);
        if (answer == MessageAnswer::Cancel) {
          ui.ProgressText(PerformedText(done, total));
          break;
        }
      }
      ui.ProgressText(PerformedText(done, total));
    }
  }
  if (oneStep) {
    // Adding every line one by one would give the same lists: the smallest
    // lines in the primary list, the rest in the following one.
    std::sort(keys.begin(), keys.end(), IndexKeyLess);
    AssignInIndexOrder(index, keys);
  }
  ui.IndexInFlux(false);
  ui.Status(StatusIcon::Ready, "Status : index sorted");
  ui.ProgressText(" ");
}

std::string WriteIndex(const IndexLists& index) {
  std::string out;
  out.reserve(index.Count() * (kIndexLineLength + 2));
  // The three lists taken together are one sequence in index order: east
  // lines first, then west lines by growing magnitude. West lines go out
  // backwards so the file runs in ascending signed longitude.
  const EntryList* inOrder[] = {&index.preceding, &index.primary, &index.following};
  for (int l = 2; l >= 0; --l) {
    const EntryList& list = *inOrder[l];
    for (size_t row = list.Count(); row-- > 0;) {
      std::string_view line = list.GetLine(row);
      if (!line.empty() && line[0] == '-') out.append(line).append("\r\n");
    }
  }
  for (const EntryList* list : inOrder) {
    list->ForEach([&](size_t, std::string_view line) {
      if (line.empty() || line[0] != '-') out.append(line).append("\r\n");
    });
  }
  return out;
}

bool NormalizeIndexFileLine(std::string_view fileLine, IndexKey& key) {
  size_t start = 0;
  while (start < fileLine.size() && (fileLine[start] == ' ' || fileLine[start] == '\t')) ++start;
  std::string_view rest = fileLine.substr(start);
  const size_t lead = (rest.empty() || rest[0] != '-') ? 1 : 0;
  if (lead + rest.size() != kIndexLineLength) return false;
  key.text[0] = ' ';
  rest.copy(key.text + lead, rest.size());
  return HasIndexLineShape(key);
}
}  // namespace navdb
