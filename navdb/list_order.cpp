#include "navdb/list_order.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace navdb {
namespace {

// Upper-case fold of Windows-1252 bytes.
constexpr unsigned char FoldCase(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c == 0x9A || c == 0x9C || c == 0x9E) return static_cast<unsigned char>(c - 0x10);  // š œ ž
  if (c == 0xFF) return 0x9F;                                                            // ÿ
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  return c;
}

constexpr bool IsLowerCase(unsigned char c) {
  return FoldCase(c) != c;
}

// Base letter of an upper-case Windows-1252 letter, or 0 when it is none.
constexpr unsigned char BaseLetter(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c;
  switch (c) {
    case 0x8A:
      return 'S';  // Š
    case 0x8C:
      return 'O';  // Œ
    case 0x8E:
      return 'Z';  // Ž
    case 0x9F:
      return 'Y';  // Ÿ
    case 0xC0:
    case 0xC1:
    case 0xC2:
    case 0xC3:
    case 0xC4:
    case 0xC5:
    case 0xC6:
      return 'A';
    case 0xC7:
      return 'C';
    case 0xC8:
    case 0xC9:
    case 0xCA:
    case 0xCB:
      return 'E';
    case 0xCC:
    case 0xCD:
    case 0xCE:
    case 0xCF:
      return 'I';
    case 0xD0:
      return 'D';
    case 0xD1:
      return 'N';
    case 0xD2:
    case 0xD3:
    case 0xD4:
    case 0xD5:
    case 0xD6:
    case 0xD8:
      return 'O';
    case 0xD9:
    case 0xDA:
    case 0xDB:
    case 0xDC:
      return 'U';
    case 0xDD:
      return 'Y';
    case 0xDE:
      return 'T';
    case 0xDF:
      return 'S';  // ß
    default:
      return 0;
  }
}

constexpr bool IsDisregarded(unsigned char c) {
  return c == '-' || c == '\'';
}

// Primary weights: 0 for the disregarded characters, then space, then every
// other non-letter, non-digit byte in byte order, then digits, then letters.
// Case pairs and accented letters share the weight of their base letter.
struct WeightTables {
  std::array<uint16_t, 256> primary{};
  std::array<uint16_t, 256> secondary{};  // like primary, but '-' and '\'' weigh most
  std::array<uint16_t, 256> tertiary{};   // distinct for every byte, lower case first
};

constexpr WeightTables MakeWeightTables() {
  WeightTables t{};
  constexpr uint16_t kSpace = 1;
  constexpr uint16_t kPunctuationBase = 2;  // + byte value: 2..257
  constexpr uint16_t kDigitBase = 300;      // + digit
  constexpr uint16_t kLetterBase = 400;     // + 2 * letter index
  for (int b = 0; b < 256; ++b) {
    const auto c = static_cast<unsigned char>(b);
    const unsigned char base = BaseLetter(FoldCase(c));
    uint16_t weight;
    if (IsDisregarded(c)) {
      weight = 0;
    } else if (c == ' ') {
      weight = kSpace;
    } else if (c >= '0' && c <= '9') {
      weight = static_cast<uint16_t>(kDigitBase + (c - '0'));
    } else if (base != 0) {
      weight = static_cast<uint16_t>(kLetterBase + 2 * (base - 'A'));
    } else {
      weight = static_cast<uint16_t>(kPunctuationBase + c);
    }
    t.primary[b] = weight;
    t.secondary[b] = IsDisregarded(c) ? static_cast<uint16_t>(1000 + c) : weight;
    t.tertiary[b] = static_cast<uint16_t>(FoldCase(c) * 2 + (IsLowerCase(c) ? 0 : 1));
  }
  return t;
}

constexpr WeightTables kWeights = MakeWeightTables();

// Byte-sized ranks of the primary weights, in the same order: 0 stands for
// a disregarded character (and marks the end of a packed key).
constexpr std::array<uint8_t, 256> MakePackedRanks() {
  std::array<bool, 1024> used{};
  for (uint16_t weight : kWeights.primary) used[weight] = true;
  std::array<uint16_t, 1024> rank{};
  uint16_t next = 0;
  for (size_t weight = 1; weight < used.size(); ++weight) {
    if (used[weight]) rank[weight] = ++next;
  }
  std::array<uint8_t, 256> ranks{};
  for (size_t b = 0; b < 256; ++b) ranks[b] = static_cast<uint8_t>(rank[kWeights.primary[b]]);
  return ranks;
}

constexpr bool RanksFitInBytes() {
  std::array<bool, 1024> used{};
  size_t distinct = 0;
  for (uint16_t weight : kWeights.primary) {
    if (weight >= used.size()) return false;
    if (weight != 0 && !used[weight]) ++distinct;
    used[weight] = true;
  }
  return distinct <= 255;
}
static_assert(RanksFitInBytes(), "primary weights must rank within a byte");

constexpr std::array<uint8_t, 256> kPackedRanks = MakePackedRanks();

// Length of the common start of `a` and `b`, byte for byte. Identical bytes
// at the same place weigh the same in every order (a disregarded one is
// skipped in both), so comparisons may start after it.
size_t CommonStart(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t x, y;
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y) break;
  }
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

int ComparePrimary(std::string_view a, std::string_view b) {
  size_t i = CommonStart(a, b), j = i;
  for (;;) {
    uint16_t wa = 0, wb = 0;
    while (i < a.size() && (wa = kWeights.primary[static_cast<unsigned char>(a[i])]) == 0) ++i;
    while (j < b.size() && (wb = kWeights.primary[static_cast<unsigned char>(b[j])]) == 0) ++j;
    const bool endA = i >= a.size(), endB = j >= b.size();
    if (endA || endB) return endA == endB ? 0 : (endA ? -1 : 1);
    if (wa != wb) return wa < wb ? -1 : 1;
    ++i;
    ++j;
  }
}

int CompareWith(const std::array<uint16_t, 256>& weights, std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const uint16_t wa = weights[static_cast<unsigned char>(a[i])];
    const uint16_t wb = weights[static_cast<unsigned char>(b[i])];
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

int CompareListOrder(std::string_view a, std::string_view b) {
  if (int c = ComparePrimary(a, b)) return c;
  if (int c = CompareWith(kWeights.secondary, a, b)) return c;
  return CompareWith(kWeights.tertiary, a, b);
}

int ComparePrimaryKeyToPrefix(std::string_view line, std::string_view prefix) {
  size_t i = CommonStart(line, prefix), j = i;
  for (;;) {
    uint16_t wl = 0, wp = 0;
    while (i < line.size() && (wl = kWeights.primary[static_cast<unsigned char>(line[i])]) == 0)
      ++i;
    while (j < prefix.size() && (wp = kWeights.primary[static_cast<unsigned char>(prefix[j])]) == 0)
      ++j;
    if (j >= prefix.size()) return 0;
    if (i >= line.size()) return -1;
    if (wl != wp) return wl < wp ? -1 : 1;
    ++i;
    ++j;
  }
}

PackedKey PackPrimaryKey(std::string_view text) {
  PackedKey key;
  for (const char c : text) {
    const uint8_t rank = kPackedRanks[static_cast<unsigned char>(c)];
    if (rank == 0) continue;
    if (key.weights == kPackedWeights) {
      ++key.weights;
      break;
    }
    key.bits |= uint64_t{rank} << (8 * (kPackedWeights - 1 - key.weights));
    ++key.weights;
  }
  return key;
}

bool StartsWithIgnoringCase(std::string_view line, std::string_view prefix) {
  if (prefix.size() > line.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (FoldCase(static_cast<unsigned char>(line[i])) !=
        FoldCase(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace navdb
