#include "navdb/list_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "navdb/entry_list.h"

namespace navdb {
namespace {

TEST(ListOrder, ClassesAndCase) {
  // space < punctuation < digits < letters
  EXPECT_LT(CompareListOrder("A B", "A.B"), 0);
  EXPECT_LT(CompareListOrder("A.B", "A1B"), 0);
  EXPECT_LT(CompareListOrder("A9B", "AAB"), 0);
  EXPECT_LT(CompareListOrder("A_", "A0"), 0);
  EXPECT_LT(CompareListOrder("ABC", "ABCD"), 0);
  // Case-insensitive, lower case first only to break a tie.
  EXPECT_LT(CompareListOrder("abc", "ABD"), 0);
  EXPECT_LT(CompareListOrder("abc", "ABC"), 0);
  EXPECT_GT(CompareListOrder("ABC", "abc"), 0);
  EXPECT_EQ(CompareListOrder("ABC", "ABC"), 0);
  // Accented letters sort with their base letter.
  EXPECT_LT(CompareListOrder("\xC9TAIN", "EUX"), 0);
  EXPECT_GT(CompareListOrder("\xE9TAIN", "EA"), 0);
}

TEST(ListOrder, HyphenAndApostropheOnlyBreakTies) {
  EXPECT_LT(CompareListOrder("CO-OP", "COP"), 0);   // compared as COOP
  EXPECT_GT(CompareListOrder("C-B", "CA"), 0);      // compared as CB
  EXPECT_LT(CompareListOrder("O'HARE", "OHB"), 0);  // compared as OHARE
  EXPECT_NE(CompareListOrder("COOP", "CO-OP"), 0);  // a tie, broken
  EXPECT_LT(CompareListOrder("COOP", "CO-OP"), 0);
  EXPECT_LT(CompareListOrder("COOP", "CO'OP"), 0);
}

TEST(ListOrder, IndexLinesEastBeforeWest) {
  const std::string east = " 179.000000  10.000000  NDB00000";
  const std::string west = "-000.100000  10.000000  NDB00001";
  const std::string eastSmall = " 002.350000  48.856666  NDB00012";
  EXPECT_LT(CompareListOrder(eastSmall, east), 0);
  EXPECT_LT(CompareListOrder(east, west), 0);
  EXPECT_LT(
      CompareListOrder("-000.100000  10.000000  NDB00001", "-151.175000 -33.933333  VOR00007"), 0);
  // Same longitude text: north before south of the same magnitude.
  EXPECT_LT(
      CompareListOrder(" 002.000000  10.000000  NDB00000", " 002.000000 -10.000000  NDB00000"), 0);
}

TEST(ListOrder, PrefixKeyComparison) {
  EXPECT_EQ(ComparePrimaryKeyToPrefix("AB-CD", "ABC"), 0);
  EXPECT_LT(ComparePrimaryKeyToPrefix("AA", "AB"), 0);
  EXPECT_GT(ComparePrimaryKeyToPrefix("AC", "AB"), 0);
  EXPECT_LT(ComparePrimaryKeyToPrefix("A", "AB"), 0);
  EXPECT_TRUE(StartsWithIgnoringCase("Abcdef", "aBC"));
  EXPECT_FALSE(StartsWithIgnoringCase("AB-C", "ABC"));
  EXPECT_FALSE(StartsWithIgnoringCase("AB", "ABC"));
  EXPECT_TRUE(StartsWithIgnoringCase("\xE9t\xE9", "\xC9T"));
}

TEST(ListOrder, OrderIsTotalAndTransitive) {
  std::mt19937 random(7);
  const std::string alphabet = " -'.09AZaz\xB0\xE9\xC9";
  std::vector<std::string> lines;
  for (int i = 0; i < 400; ++i) {
    std::string line;
    const int length = 1 + static_cast<int>(random() % 6);
    for (int k = 0; k < length; ++k) line += alphabet[random() % alphabet.size()];
    lines.push_back(line);
  }
  std::sort(lines.begin(), lines.end(), ListOrderLess);
  for (size_t i = 1; i < lines.size(); ++i) {
    ASSERT_LE(CompareListOrder(lines[i - 1], lines[i]), 0) << i;
    ASSERT_GE(CompareListOrder(lines[i], lines[i - 1]), 0) << i;
    if (lines[i - 1] != lines[i]) {
      ASSERT_NE(CompareListOrder(lines[i - 1], lines[i]), 0);
    }
  }
}

int Sign(long long value) {
  return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

// Lines that mostly share a start longer than a packed key, with the
// disregarded characters, case pairs and accented letters mixed in.
std::string LongRandomLine(std::mt19937& random) {
  static const std::string kStarts[] = {"", "ABCDEFGH", "ABCD-EFGH", "abcdefgh", "ABCDEFG"};
  const std::string alphabet = " -'.09AZaz\xB0\xE9\xC9";
  std::string line = kStarts[random() % std::size(kStarts)];
  const int length = static_cast<int>(random() % 8);
  for (int k = 0; k < length; ++k) line += alphabet[random() % alphabet.size()];
  return line;
}

TEST(ListOrder, PackedKeyCountsAndOrdersTheFirstWeights) {
  EXPECT_EQ(PackPrimaryKey("").weights, 0u);
  EXPECT_EQ(PackPrimaryKey("").bits, 0u);
  EXPECT_EQ(PackPrimaryKey("-'").bits, 0u);
  EXPECT_EQ(PackPrimaryKey("A-B'C").weights, 3u);
  EXPECT_EQ(PackPrimaryKey("ABCDEFGH").weights, 8u);
  EXPECT_EQ(PackPrimaryKey("ABCDEFGHI").weights, 9u);
  EXPECT_EQ(PackPrimaryKey("ABCDEFGHIJKL").weights, 9u);
  // Only the first eight weights count; case and the disregarded ones vanish.
  EXPECT_EQ(PackPrimaryKey("ABCDEFGHX").bits, PackPrimaryKey("abcd-efghA").bits);
  EXPECT_EQ(PackPrimaryKey("\xC9t\xE9").bits, PackPrimaryKey("ETE").bits);
  EXPECT_LT(PackPrimaryKey("A").bits, PackPrimaryKey("A ").bits);
  EXPECT_LT(PackPrimaryKey("A B").bits, PackPrimaryKey("A.B").bits);
  EXPECT_LT(PackPrimaryKey("A.B").bits, PackPrimaryKey("A1B").bits);
  EXPECT_LT(PackPrimaryKey("A9B").bits, PackPrimaryKey("AAB").bits);
  EXPECT_LT(PackPrimaryKey("\xFF").bits, PackPrimaryKey("Z").bits);  // ÿ sorts with Y
}

TEST(ListOrder, DifferingPackedKeysAgreeWithTheFullComparisons) {
  std::mt19937 random(8);
  std::vector<std::string> lines;
  for (int i = 0; i < 300; ++i) lines.push_back(LongRandomLine(random));
  size_t decided = 0;
  for (const std::string& a : lines) {
    const PackedKey keyA = PackPrimaryKey(a);
    for (const std::string& b : lines) {
      const PackedKey keyB = PackPrimaryKey(b);
      if (keyA.bits != keyB.bits) {
        ++decided;
        ASSERT_EQ(Sign(CompareListOrder(a, b)), keyA.bits < keyB.bits ? -1 : 1) << a << " | " << b;
      }
      // A prefix of at most eight weights is decided by the key cut to it.
      if (keyB.weights <= kPackedWeights) {
        const uint64_t mask =
            keyB.weights == 0 ? 0 : ~uint64_t{0} << (8 * (kPackedWeights - keyB.weights));
        const uint64_t cut = keyA.bits & mask;
        const int expected = cut == keyB.bits ? 0 : (cut < keyB.bits ? -1 : 1);
        ASSERT_EQ(Sign(ComparePrimaryKeyToPrefix(a, b)), expected) << a << " | " << b;
      }
    }
  }
  // Most pairs are told apart by their keys alone, but not all of them.
  EXPECT_GT(decided, lines.size() * lines.size() / 2);
  EXPECT_LT(decided, lines.size() * lines.size());
}

}  // namespace
}  // namespace navdb
