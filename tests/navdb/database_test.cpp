#include "navdb/database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "navdb/coordinates.h"
#include "navdb/entry_lines.h"
#include "tests/support/navaid_lines.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace navdb {
namespace {

using testing_support::RecordingUi;
using testing_support::TempFolder;

const std::string kNdbA = BuildNdbLine({"AA", "ALPHA", "375.0",
                                        "N48\xB0"
                                        "51'24.00",
                                        "E002\xB0"
                                        "21'00.00",
                                        120, 50});
const std::string kNdbB = BuildNdbLine({"BB", "BRAVO", "400.5",
                                        "S10\xB0"
                                        "30'00.00",
                                        "W020\xB0"
                                        "00'00.00",
                                        5, 25});
const std::string kVorNeg = BuildVorLine({"VNG", "NEGATIVE", "VOR/DME", "113.90", "",
                                          "N40\xB0"
                                          "00'00.00",
                                          "W074\xB0"
                                          "00'00.00",
                                          10, 130, -123});

using testing_support::FileLine;

TEST(DatabaseFiles, EntryFileForm) {
  EntryList list;
  list.AppendLine(kNdbA);
  EXPECT_EQ(EncodeEntryFile(NavaidKind::Ndb, list),
            "// NDB database for Skyatlas\r\n"
            "AA   ; ALPHA                   ; 375.0; N48\xB0"
            "51'24.00; E002\xB0"
            "21'00.00; 00120; 050\r\n");
  EntryList vors;
  vors.AppendLine(kVorNeg);
  const std::string vorFile = EncodeEntryFile(NavaidKind::Vor, vors);
  EXPECT_EQ(vorFile.substr(vorFile.size() - 9), "; -12.3\r\n");  // 104 is no separator, 102 is
  EntryList placeholder;
  placeholder.AppendLine(kPlaceholderLine);
  EXPECT_EQ(EncodeEntryFile(NavaidKind::Intersection, placeholder),
            "// Intersection database for Skyatlas\r\n");
}

TEST(DatabaseFiles, SaveThenLoadRoundTrip) {
  TempFolder folder;
  Database db;
  db.folder = folder.path();
  db.List(NavaidKind::Ndb).AddLine(kNdbB);
  db.List(NavaidKind::Ndb).AddLine(kNdbA);
  db.List(NavaidKind::Vor).AddLine(kVorNeg);
  db.List(NavaidKind::Airport).AppendLine(kPlaceholderLine);
  RecordingUi ui;
  RebuildIndex(db.lists, db.index, ui);
  ui.statuses.clear();
  ASSERT_TRUE(SaveDatabase(db, ui));
  EXPECT_EQ(ui.statuses.front().second, "Status : saving data...");
  EXPECT_EQ(ui.statuses.back(), std::make_pair(StatusIcon::Ready, std::string("Status : done")));
  EXPECT_EQ(folder.Read("apt.dat"), "// Airport database for Skyatlas\r\n");
  EXPECT_EQ(folder.Read("idx.dat"),
            "// Index for Skyatlas 99\r\n"
            "-074.000000  40.000000  VOR00000\r\n"
            "-020.000000 -10.500000  NDB00001\r\n"
            " 002.350000  48.856666  NDB00000\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "ndb.dat.rejected"));

  Database loaded;
  loaded.folder = folder.path();
  RecordingUi loadUi;
  LoadDatabase(loaded, loadUi);
  EXPECT_TRUE(loadUi.messages.empty());
  ASSERT_EQ(loaded.List(NavaidKind::Ndb).Count(), 2u);
  EXPECT_EQ(loaded.List(NavaidKind::Ndb).GetLine(0), kNdbA);
  EXPECT_EQ(loaded.List(NavaidKind::Ndb).GetLine(1), kNdbB);
  EXPECT_EQ(loaded.List(NavaidKind::Vor).GetLine(0), kVorNeg);
  EXPECT_TRUE(loaded.List(NavaidKind::Airport).HoldsOnlyPlaceholder());
  EXPECT_TRUE(loaded.List(NavaidKind::Intersection).HoldsOnlyPlaceholder());
  ASSERT_EQ(loaded.index.primary.Count(), 3u);
  EXPECT_EQ(loaded.index.primary.GetLine(0), " 002.350000  48.856666  NDB00000");
  EXPECT_EQ(loaded.index.primary.GetLine(2), "-074.000000  40.000000  VOR00000");
  EXPECT_EQ(loadUi.loadingProgress.front(), 0);
  EXPECT_EQ(loadUi.loadingProgress.back(), 100);
  EXPECT_EQ(loadUi.counts,
            (std::vector<std::pair<NavaidKind, int>>{{NavaidKind::Ndb, 2},
                                                     {NavaidKind::Vor, 1},
                                                     {NavaidKind::Airport, 0},
                                                     {NavaidKind::Intersection, 0}}));
  // Saving what was loaded gives the same bytes.
  const std::string ndbBefore = folder.Read("ndb.dat");
  const std::string idxBefore = folder.Read("idx.dat");
  ASSERT_TRUE(SaveDatabase(loaded, loadUi));
  EXPECT_EQ(folder.Read("ndb.dat"), ndbBefore);
  EXPECT_EQ(folder.Read("idx.dat"), idxBefore);
}

TEST(DatabaseFiles, LoadKeepsFileOrderAndSkipsMalformedLines) {
  TempFolder folder;
  folder.Write("ndb.dat", "// NDB database for Skyatlas\n" + FileLine(NavaidKind::Ndb, kNdbB) +
                              "\n" + "short line\n" + FileLine(NavaidKind::Ndb, kNdbA) + "\r\n" +
                              kNdbA + "\r\n" /* no separators */ + "\r\n");
  folder.Write("vor.dat", "");
  Database db;
  db.folder = folder.path();
  RecordingUi ui;
  LoadDatabase(db, ui);
  ASSERT_EQ(db.List(NavaidKind::Ndb).Count(), 2u);
  EXPECT_EQ(db.List(NavaidKind::Ndb).GetLine(0), kNdbB);  // file order, not list order
  EXPECT_EQ(db.List(NavaidKind::Ndb).GetLine(1), kNdbA);
  EXPECT_TRUE(db.List(NavaidKind::Vor).HoldsOnlyPlaceholder());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].caption, "Warning");
  EXPECT_EQ(ui.messages[0].text,
            "ndb.dat: 2 malformed line(s) skipped, the first at line 3.\r"
            "They are kept in ndb.dat.rejected when the database is saved.");
  ASSERT_TRUE(SaveDatabase(db, ui));
  EXPECT_EQ(folder.Read("ndb.dat.rejected"), "short line\r\n" + kNdbA + "\r\n");
}

TEST(DatabaseFiles, RefusedLinesAskRetryOrCancel) {
  TempFolder folder;
  std::string bytes = "// Intersection database for Skyatlas\r\n";
  for (int i = 0; i < 4; ++i) {
    bytes += FileLine(NavaidKind::Intersection,
                      BuildIntersectionLine({"FIX" + std::to_string(i), "", FormatLatitude(i),
                                             FormatLongitude(i), 0})) +
             "\r\n";
  }
  EntryList list(1);
  std::vector<std::string> rejected;
  RecordingUi ui;
  ui.QueueAnswers({MessageAnswer::Retry, MessageAnswer::Cancel});
  EXPECT_FALSE(DecodeEntryFile(NavaidKind::Intersection, bytes, list, rejected, ui));
  // Retry goes on with the next line, Cancel stops taking lines.
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].caption, "Error - Intersections");
  EXPECT_EQ(ui.messages[0].text,
            "Can't add entry to list.\r\rA list holds at most 100,000 entries.");
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::RetryCancel);
  EXPECT_TRUE(ui.messages[0].topmost);
  EXPECT_EQ(list.Count(), 1u);
  // The refused line and the lines after Cancel are kept, not lost.
  ASSERT_EQ(rejected.size(), 3u);
  EXPECT_EQ(rejected[0].substr(0, 5), "FIX1 ");
  EXPECT_EQ(rejected[2].substr(0, 5), "FIX3 ");
}

TEST(DatabaseFiles, MissingFilesGiveEmptyLists) {
  TempFolder folder;
  Database db;
  db.folder = folder.path() / "absent";
  db.List(NavaidKind::Ndb).AddLine(kNdbA);  // the load replaces what was there
  RecordingUi ui;
  LoadDatabase(db, ui);
  EXPECT_TRUE(ui.messages.empty());
  for (const EntryList& list : db.lists) EXPECT_TRUE(list.HoldsOnlyPlaceholder());
  EXPECT_EQ(db.index.Count(), 0u);
}

TEST(DatabaseFiles, IndexFileLinesComeBackWithTheirSign) {
  TempFolder folder;
  folder.Write("idx.dat",
               "// Index for Skyatlas 99\r\n"
               "-002.500000  10.000000  NDB00001\r\n"
               "002.500000  10.000000  NDB00000\r\n"
               "garbage\r\n");
  Database db;
  db.folder = folder.path();
  RecordingUi ui;
  LoadDatabase(db, ui);
  ASSERT_EQ(db.index.primary.Count(), 2u);
  EXPECT_EQ(db.index.primary.GetLine(0), " 002.500000  10.000000  NDB00000");
  EXPECT_EQ(db.index.primary.GetLine(1), "-002.500000  10.000000  NDB00001");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.substr(0, 48), "idx.dat: 1 malformed line(s) skipped, the first ");
  ASSERT_TRUE(SaveDatabase(db, ui));
  EXPECT_EQ(folder.Read("idx.dat"),
            "// Index for Skyatlas 99\r\n"
            "-002.500000  10.000000  NDB00001\r\n"
            " 002.500000  10.000000  NDB00000\r\n");
}

// idx.dat is read on a second thread while the entry files load; what the
// user is told still comes in file order, the index's news last.
TEST(DatabaseFiles, IndexFileNewsComesAfterTheEntryFiles) {
  TempFolder folder;
  folder.Write("ndb.dat", "// NDB database for Skyatlas\r\n" + FileLine(NavaidKind::Ndb, kNdbA) +
                              "\r\nshort line\r\n");
  std::filesystem::create_directory(folder / "vor.dat");  // there, but no file to read
  folder.Write("idx.dat",
               "// Index for Skyatlas 99\r\n"
               "002.500000  10.000000  NDB00000\r\n"
               "garbage\r\n");
  Database db;
  db.folder = folder.path();
  RecordingUi ui;
  LoadDatabase(db, ui);
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(ui.messages[0].text.substr(0, 40), "ndb.dat: 1 malformed line(s) skipped, th");
  EXPECT_EQ(ui.messages[1].text.substr(0, 22), "Could not open vor.dat");
  EXPECT_EQ(ui.messages[2].text.substr(0, 40), "idx.dat: 1 malformed line(s) skipped, th");
  EXPECT_EQ(db.rejectedLines[kIndexFileSlot], std::vector<std::string>{"garbage"});
  EXPECT_FALSE(db.readFailures[IndexOf(NavaidKind::Vor)].empty());
  EXPECT_EQ(db.index.Count(), 1u);
  EXPECT_EQ(ui.loadingProgress, (std::vector<int>{0, 10, 20, 30, 100}));

  // An idx.dat that cannot be read is told last, and kept from any save.
  std::filesystem::remove_all(folder / "vor.dat");
  std::filesystem::remove(folder / "idx.dat");
  std::filesystem::create_directory(folder / "idx.dat");
  RecordingUi again;
  LoadDatabase(db, again);
  ASSERT_EQ(again.messages.size(), 2u);
  EXPECT_EQ(again.messages[0].text.substr(0, 7), "ndb.dat");
  EXPECT_EQ(again.messages[1].text.substr(0, 22), "Could not open idx.dat");
  EXPECT_FALSE(db.readFailures[kIndexFileSlot].empty());
  EXPECT_EQ(db.index.Count(), 0u);
  EXPECT_FALSE(SaveDatabase(db, again));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "idx.dat"));
}

TEST(DatabaseFiles, SaveFailureKeepsEveryOldFile) {
  TempFolder folder;
  folder.Write("ndb.dat", "old ndb");
  folder.Write("apt.dat", "old apt");
  folder.Write("idx.dat", "old idx");
  std::filesystem::create_directory(folder / "vor.dat");  // cannot be replaced by a file
  Database db;
  db.folder = folder.path();
  db.List(NavaidKind::Ndb).AddLine(kNdbA);
  RecordingUi ui;
  EXPECT_FALSE(SaveDatabase(db, ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].caption, "Error");
  EXPECT_EQ(ui.messages[0].text,
            "Can't create file vor.dat\r\rIs a directory\r\r"
            "The database files were left as they were.");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(
      ui.statuses.back(),
      std::make_pair(StatusIcon::Problem, std::string("Status : a problem occurs while saving !")));
  // ndb.dat was renamed into place before vor.dat failed, and was put back.
  EXPECT_EQ(folder.Read("ndb.dat"), "old ndb");
  EXPECT_EQ(folder.Read("apt.dat"), "old apt");
  EXPECT_EQ(folder.Read("idx.dat"), "old idx");
  EXPECT_FALSE(std::filesystem::exists(folder / "int.dat"));
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"apt.dat", "idx.dat", "ndb.dat", "vor.dat"}));
}

}  // namespace
}  // namespace navdb
