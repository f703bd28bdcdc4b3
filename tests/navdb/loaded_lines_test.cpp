// Loaded lines live in the file's bytes: they read as list lines, outlive
// the list they were loaded into in its copies, change only when edited,
// and save back to the same bytes.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "navdb/database.h"
#include "tests/support/navaid_lines.h"
#include "tests/support/recording_ui.h"

namespace navdb {
namespace {

using testing_support::FileLine;
using testing_support::NdbLine;

std::string NdbFile(const std::vector<std::string>& lines) {
  std::string bytes = "// NDB database for Skyatlas\r\n";
  for (const std::string& line : lines) bytes += FileLine(NavaidKind::Ndb, line) + "\r\n";
  return bytes;
}

TEST(LoadedLines, ViewsIntoTheFileBytesSurviveCopiesAndEdits) {
  const std::vector<std::string> lines = {
      NdbLine("ZZ", "ZULU", 10, 10), NdbLine("AA", "ALPHA", 1, 1), NdbLine("MM", "MIKE", 5, 5)};
  const std::string file = NdbFile(lines);
  std::optional<EntryList> loaded(std::in_place);
  std::vector<std::string> rejected;
  ASSERT_TRUE(
      DecodeEntryFile(NavaidKind::Ndb, std::make_shared<std::string>(file), *loaded, rejected, {}));
  ASSERT_TRUE(rejected.empty());
  EntryList copy = *loaded;
  loaded.reset();  // the list the bytes were loaded into is gone; the copy keeps them
  ASSERT_EQ(copy.Count(), 3u);
  for (size_t row = 0; row < lines.size(); ++row) EXPECT_EQ(copy.GetLine(row), lines[row]);
  EXPECT_EQ(EncodeEntryFile(NavaidKind::Ndb, copy), file);

  // Edits of the copy: the others keep their bytes, the file follows the rows.
  EntryList edited = copy;
  const std::string added = NdbLine("BB", "BRAVO", 2, 2);
  EXPECT_EQ(edited.AddLine(added), 2u);  // right after ALPHA, its neighbour in list order
  edited.DeleteLine(0);
  EXPECT_EQ(EncodeEntryFile(NavaidKind::Ndb, edited), NdbFile({lines[1], added, lines[2]}));
  EXPECT_EQ(EncodeEntryFile(NavaidKind::Ndb, copy), file);
}

TEST(LoadedLines, RefusedAndMalformedLinesKeepTheirFileBytes) {
  const std::vector<std::string> lines = {NdbLine("AA", "ALPHA", 1, 1),
                                          NdbLine("BB", "BRAVO", 2, 2)};
  std::string file = NdbFile(lines);
  // A line with a tab inside and a short line are set aside as they stand.
  const std::string tabbed = FileLine(NavaidKind::Ndb, NdbLine("TT", "TA\tB", 3, 3));
  file += tabbed + "\r\nshort\r\n";
  EntryList one(1);
  std::vector<std::string> rejected;
  testing_support::RecordingUi recording;
  recording.QueueAnswers({MessageAnswer::Retry});
  EXPECT_TRUE(DecodeEntryFile(NavaidKind::Ndb, file, one, rejected, recording));
  ASSERT_EQ(one.Count(), 1u);
  EXPECT_EQ(one.GetLine(0), lines[0]);
  // The refused line is kept in its file form, with its separators.
  EXPECT_EQ(rejected,
            (std::vector<std::string>{FileLine(NavaidKind::Ndb, lines[1]), tabbed, "short"}));
  ASSERT_EQ(recording.messages.size(), 2u);
  EXPECT_EQ(recording.messages[0].text,
            "Can't add entry to list.\r\rA list holds at most 100,000 entries.");
  EXPECT_EQ(recording.messages[1].text,
            "ndb.dat: 2 malformed line(s) skipped, the first at line 4.\r"
            "They are kept in ndb.dat.rejected when the database is saved.");
}

TEST(LoadedLines, IndexLinesAreNormalizedWhereTheyLie) {
  const std::string east = " 002.350000  48.856666  NDB00012";
  const std::string west = "-002.500000  48.856666  NDB00013";
  // No leading space, a leading tab before '-', CR-only and LF-only line ends.
  const std::string file = "// Index for Skyatlas 99\n" + east.substr(1) + "\r\t" + west +
                           "\n\t003.000000 x48.856666  NDB00014\r\n";
  auto bytes = std::make_shared<std::string>(file);
  IndexLists index;
  std::vector<std::string> rejected;
  DecodeIndexFile(bytes, index, 3, rejected, {});
  ASSERT_EQ(index.primary.Count(), 2u);
  EXPECT_EQ(index.primary.GetLine(0), east);
  EXPECT_EQ(index.primary.GetLine(1), west);
  // The malformed line keeps its tab: only lines taken are changed.
  EXPECT_EQ(rejected, (std::vector<std::string>{"\t003.000000 x48.856666  NDB00014"}));
  EXPECT_EQ(WriteIndex(index), west + "\r\n" + east + "\r\n");
  bytes.reset();
  IndexLists copy = index;
  index.Clear();
  EXPECT_EQ(copy.primary.GetLine(1), west);
}

}  // namespace
}  // namespace navdb

namespace navdb {
namespace {

// What each column of an index line may hold, column by column.
bool ShapeByColumns(const std::string& line) {
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    const bool digit = c >= '0' && c <= '9';
    if (i == 0 || i == 12) {
      if (c != ' ' && c != '-') return false;
    } else if (i == 4 || i == 15) {
      if (c != '.') return false;
    } else if (i == 11 || i == 22 || i == 23) {
      if (c != ' ') return false;
    } else if (i >= 24 && i <= 26) {
      continue;  // the tag, checked as a whole below
    } else if (!digit) {
      return false;
    }
  }
  const std::string tag = line.substr(24, 3);
  return tag == "NDB" || tag == "VOR" || tag == "APT" || tag == "INT";
}

TEST(LoadedLines, IndexShapeCheckAgreesColumnByColumn) {
  const std::string valid = "-179.999999 -89.000001  APT99999";
  ASSERT_TRUE(HasIndexLineShape(valid.data()));
  for (size_t column = 0; column < kIndexLineLength; ++column) {
    for (int byte = 0; byte < 256; ++byte) {
      std::string line = valid;
      line[column] = static_cast<char>(byte);
      ASSERT_EQ(HasIndexLineShape(line.data()), ShapeByColumns(line))
          << "column " << column << " byte " << byte;
    }
  }
}

}  // namespace
}  // namespace navdb
