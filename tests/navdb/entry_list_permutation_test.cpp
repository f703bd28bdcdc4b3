// A list loaded out of list order answers searches and takes inserts and
// deletes exactly like a simple model of it: rows in file order, searches
// in list order.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "navdb/entry_list.h"
#include "navdb/list_order.h"

namespace navdb {
namespace {

// The lines of a list in row order, and what each operation must give.
struct ModelList {
  std::vector<std::string> rows;

  // Rows in list order; identical lines in row order.
  bool Before(size_t a, size_t b) const {
    const int order = CompareListOrder(rows[a], rows[b]);
    return order != 0 ? order < 0 : a < b;
  }
  std::optional<size_t> FindPrefix(std::string_view text) const {
    std::optional<size_t> found;
    for (size_t row = 0; row < rows.size(); ++row) {
      if (StartsWithIgnoringCase(rows[row], text) && (!found || Before(row, *found))) found = row;
    }
    return found;
  }
  // Right after the last line that sorts at or before `line`, else before
  // the first line.
  size_t InsertionRow(std::string_view line) const {
    std::optional<size_t> last, first;
    for (size_t row = 0; row < rows.size(); ++row) {
      if (CompareListOrder(rows[row], line) <= 0) {
        if (!last || Before(*last, row)) last = row;
      } else if (!first || Before(row, *first)) {
        first = row;
      }
    }
    if (last) return *last + 1;
    return first ? *first : 0;
  }
};

std::vector<std::string> Rows(const EntryList& list) {
  std::vector<std::string> rows;
  list.ForEach([&](size_t row, std::string_view line) {
    EXPECT_EQ(list.GetLine(row), line);
    rows.emplace_back(line);
  });
  return rows;
}

// Lines that share prefixes, differ in letter case and in the characters
// list order disregards, and repeat.
std::string RandomLine(std::mt19937& random) {
  static const std::string kBytes = "abAB-' 1z";
  std::string line;
  const size_t length = 1 + random() % 6;
  for (size_t i = 0; i < length; ++i) line += kBytes[random() % kBytes.size()];
  return line;
}

TEST(EntryListPermutation, ShuffledListMatchesTheModelAndTheSortedList) {
  std::mt19937 random(15);
  std::vector<std::string> lines;
  for (int i = 0; i < 1500; ++i) lines.push_back(RandomLine(random));

  ModelList model;
  EntryList shuffled;
  EntryList sorted;
  for (const std::string& line : lines) {
    model.rows.push_back(line);
    ASSERT_EQ(shuffled.AppendLine(line), model.rows.size() - 1);
    sorted.AddLine(line);
  }
  ASSERT_FALSE(shuffled.IsSorted());
  ASSERT_TRUE(sorted.IsSorted());

  for (int step = 0; step < 4000; ++step) {
    const std::string text = RandomLine(random);
    switch (random() % 4) {
      case 0: {  // search
        const std::string prefix = text.substr(0, 1 + random() % 3);
        const std::optional<size_t> found = shuffled.FindPrefix(prefix);
        ASSERT_EQ(found, model.FindPrefix(prefix)) << prefix;
        const std::optional<size_t> inSorted = sorted.FindPrefix(prefix);
        ASSERT_EQ(found.has_value(), inSorted.has_value()) << prefix;
        if (found) {
          ASSERT_EQ(shuffled.GetLine(*found), sorted.GetLine(*inSorted)) << prefix;
        }
        break;
      }
      case 1: {  // insert
        const size_t expected = model.InsertionRow(text);
        ASSERT_EQ(shuffled.AddLine(text), expected) << text;
        model.rows.insert(model.rows.begin() + static_cast<long>(expected), text);
        sorted.AddLine(text);
        break;
      }
      case 2: {  // one search for the identity key and the line, then the insert
        const std::string key = text.substr(0, 2);
        const EntryList::Probe probe = shuffled.ProbeLine(key, text);
        ASSERT_EQ(probe.match, model.FindPrefix(key)) << text;
        if (probe.match) {
          ASSERT_EQ(probe.same, model.FindPrefix(text)) << text;
        }
        const size_t expected = model.InsertionRow(text);
        ASSERT_EQ(shuffled.AddProbedLine(probe, text), expected) << text;
        model.rows.insert(model.rows.begin() + static_cast<long>(expected), text);
        sorted.AddLine(text);
        break;
      }
      default: {  // delete, the same line from the sorted list
        if (model.rows.empty()) break;
        const size_t row = random() % model.rows.size();
        const std::string line = model.rows[row];
        shuffled.DeleteLine(row);
        model.rows.erase(model.rows.begin() + static_cast<long>(row));
        const std::optional<size_t> inSorted = sorted.FindPrefix(line);
        ASSERT_TRUE(inSorted);
        // FindPrefix gives the first line beginning with `line`; step to the identical one.
        size_t at = *inSorted;
        while (sorted.GetLine(at) != line) ++at;
        sorted.DeleteLine(at);
        break;
      }
    }
    if (step % 500 == 0) {
      ASSERT_EQ(Rows(shuffled), model.rows);
    }
  }
  ASSERT_EQ(Rows(shuffled), model.rows);
  ASSERT_EQ(shuffled.Count(), sorted.Count());
  // The same lines, in list order.
  std::vector<std::string> inOrder = model.rows;
  std::stable_sort(inOrder.begin(), inOrder.end(), ListOrderLess);
  EXPECT_EQ(Rows(sorted), inOrder);
}

TEST(EntryListPermutation, ProbeOnASortedListAgreesWithFindPrefixAndAddLine) {
  EntryList list;
  for (const char* line : {"ALPHA one", "ALPHA two", "al-pha three", "BRAVO", "bravo x"}) {
    list.AddLine(line);
  }
  // Key present, line absent: the match is the first of the key's lines.
  EntryList::Probe probe = list.ProbeLine("ALPHA", "ALPHA three");
  EXPECT_EQ(probe.match, 0u);
  EXPECT_FALSE(probe.same);
  EntryList copy = list;
  EXPECT_EQ(copy.AddLine("ALPHA three"), 1u);
  EXPECT_EQ(list.AddProbedLine(probe, "ALPHA three"), 1u);
  EXPECT_EQ(Rows(list), Rows(copy));
  // The line present in other letter case.
  probe = list.ProbeLine("bravo", "BRAVO X");
  EXPECT_EQ(probe.match, 4u);
  EXPECT_EQ(probe.same, 5u);
  // No line with the key: it goes where AddLine puts it.
  probe = list.ProbeLine("CHARLIE", "CHARLIE 1");
  EXPECT_FALSE(probe.match);
  EXPECT_EQ(list.AddProbedLine(probe, "CHARLIE 1"), 6u);
  probe = list.ProbeLine("0", "0 first");
  EXPECT_EQ(list.AddProbedLine(probe, "0 first"), 0u);
  // The disregarded '-' only breaks the tie with "ALPHA three".
  EXPECT_EQ(Rows(list),
            (std::vector<std::string>{"0 first", "ALPHA one", "ALPHA three", "al-pha three",
                                      "ALPHA two", "BRAVO", "bravo x", "CHARLIE 1"}));
  // A full list refuses at the probed point as well.
  EntryList full(1);
  full.AddLine("X");
  EXPECT_FALSE(full.AddProbedLine(full.ProbeLine("Y", "Y"), "Y"));
  EXPECT_EQ(full.Count(), 1u);
}

TEST(EntryListPermutation, AppendingAfterSearchesKeepsAnswersRight) {
  EntryList list;
  for (const char* line : {"M", "C", "X"}) list.AppendLine(line);
  EXPECT_EQ(list.FindPrefix("c"), 1u);
  // An append after the permutation was built must be found as well.
  list.AppendLine("A");
  EXPECT_EQ(list.FindPrefix("a"), 3u);
  // "B" goes right after "A", its neighbour in list order; "Z" after "X".
  EXPECT_EQ(list.AddLine("B"), 4u);
  EXPECT_EQ(list.AddLine("Z"), 3u);
  EXPECT_EQ(Rows(list), (std::vector<std::string>{"M", "C", "X", "Z", "A", "B"}));
  // Deleting down to nothing leaves an ordinary empty list.
  while (!list.Empty()) list.DeleteLine(0);
  EXPECT_TRUE(list.IsSorted());
  EXPECT_EQ(list.AddLine("Q"), 0u);
  EXPECT_EQ(list.FindPrefix("q"), 0u);
}

// The first searches of a list loaded out of order build its permutation and
// its keys; two threads may search at once (a plan import on its worker, Find
// ID in the window), and both must find what one thread alone finds.
TEST(EntryListPermutation, FirstSearchesOnTwoThreadsAgreeWithOneThread) {
  std::mt19937 random(9);
  std::vector<std::string> lines;
  for (int i = 0; i < 20000; ++i) lines.push_back(RandomLine(random));
  std::vector<std::string> prefixes;
  for (int i = 0; i < 200; ++i) prefixes.push_back(RandomLine(random).substr(0, 2));

  EntryList reference;
  for (const std::string& line : lines) reference.AppendLine(line);
  std::vector<std::optional<size_t>> expected;
  for (const std::string& prefix : prefixes) expected.push_back(reference.FindPrefix(prefix));

  for (int round = 0; round < 8; ++round) {
    EntryList list;
    for (const std::string& line : lines) list.AppendLine(line);
    std::vector<std::optional<size_t>> found[2];
    auto search = [&](int slot) {
      for (const std::string& prefix : prefixes) found[slot].push_back(list.FindPrefix(prefix));
    };
    std::thread other(search, 1);
    search(0);
    other.join();
    ASSERT_EQ(found[0], expected) << "round " << round;
    ASSERT_EQ(found[1], expected) << "round " << round;
  }
}

}  // namespace
}  // namespace navdb
