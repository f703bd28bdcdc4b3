#include "navdb/edit_journal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "navdb/database.h"
#include "navdb/journal_file.h"
#include "tests/support/navaid_lines.h"
#include "tests/support/temp_folder.h"

namespace navdb {
namespace {

using testing_support::TempFolder;

// Test lines are written with '*' for the degree sign byte 0xB0.
constexpr auto& L = testing_support::WithDegreeSigns;

const std::string kBefore =
    L("ABC    TEST NDB                  375.0  N48*51'24.00  E002*20'30.00  00150  025");
const std::string kAfter =
    L("ABC    TEST\\NDB                  376.0  N48*51'24.00  E002*20'30.00  00150  025");
const std::string kFix = L("ROMEO  A FIX                     N45*30'45.50  W073*05'30.00  00000");

std::vector<JournalRecord> ThreeRecords() {
  return {{"2026-12-08T09:14:03Z", JournalAction::Modify, NavaidKind::Ndb, kBefore, kAfter},
          {"2026-12-08T09:15:00Z", JournalAction::Add, NavaidKind::Intersection, "", kFix},
          {"2026-12-08T23:59:60Z", JournalAction::Delete, NavaidKind::Ndb, kAfter, ""}};
}

// The text a person reads: CR LF lines, the degree sign kept as its one
// Windows-1252 byte, a backslash doubled, nothing else changed.
TEST(EditJournal, RecordsAreWrittenAsReadableLines) {
  const std::string escapedAfter =
      L("ABC    TEST\\\\NDB                  376.0  N48*51'24.00  E002*20'30.00  00150  025");
  EXPECT_EQ(EncodeJournal(ThreeRecords()),
            "// Edit journal for Skyatlas, format 1\r\n\r\n"
            "2026-12-08T09:14:03Z modify ndb\r\n- " +
                kBefore + "\r\n+ " + escapedAfter +
                "\r\n\r\n"
                "2026-12-08T09:15:00Z add int\r\n+ " +
                kFix +
                "\r\n\r\n"
                "2026-12-08T23:59:60Z delete ndb\r\n- " +
                escapedAfter + "\r\n\r\n");
  EXPECT_NE(EncodeJournal(ThreeRecords()).find('\xB0'), std::string::npos);

  // Read back whole, from CR LF, LF or CR lines alike.
  std::string lf = EncodeJournal(ThreeRecords());
  std::erase(lf, '\r');
  for (const std::string& bytes : {EncodeJournal(ThreeRecords()), lf}) {
    const platform::Result<JournalContents> read = DecodeJournal(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->records, ThreeRecords());
    EXPECT_FALSE(read->damage);
  }
  EXPECT_EQ(JournalTimeText(std::chrono::sys_days{std::chrono::year{2026} / 12 / 8} +
                            std::chrono::hours{9} + std::chrono::seconds{3}),
            "2026-12-08T09:00:03Z");
}

TEST(EditJournal, ReadingStopsAtTheFirstRecordThatIsNotWhole) {
  const std::string whole = EncodeJournal(ThreeRecords());
  struct Case {
    std::string damaged;  // what replaces the second record
    size_t lineNumber;
    std::string reason;
  };
  const std::string record2 = "2026-12-08T09:15:00Z add int\r\n+ " + kFix + "\r\n";
  const std::vector<Case> cases = {
      {"2026-12-08T09:15:00Z add int\r\n", 7,
       "line 8: expected the line after the change, beginning with '+ ', found ''"},
      {"2026-13-08T09:15:00Z add int\r\n+ " + kFix + "\r\n", 7,
       "line 7: '2026-13-08T09:15:00Z add int' is not the head of a record"},
      {"2026-12-08T09:15:00Z rename int\r\n+ " + kFix + "\r\n", 7, "is not the head of a record"},
      {"2026-12-08T09:15:00Z add int\r\n- " + kFix + "\r\n", 7,
       "line 8: expected the line after the change, beginning with '+ '"},
      {"2026-12-08T09:15:00Z add int\r\n+ " + kFix.substr(1) + "\r\n", 7,
       "line 8: the line after the change does not have the layout of a line of int.dat"},
      {"2026-12-08T09:15:00Z add int\r\n+ ROMEO\\q" + kFix.substr(7) + "\r\n", 7,
       "line 8: a '\\' that is neither"},
      {"2026-12-08T09:15:00Z add int\r\n+ ROMEO\\x09" + kFix.substr(6) + "\r\n", 7,
       "no control bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.damaged);
    std::string bytes = whole;
    bytes.replace(bytes.find(record2), record2.size(), c.damaged);
    const platform::Result<JournalContents> read = DecodeJournal(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->records, std::vector<JournalRecord>{ThreeRecords()[0]});
    ASSERT_TRUE(read->damage);
    EXPECT_EQ(read->damage->lineNumber, c.lineNumber);
    EXPECT_NE(read->damage->reason.find(c.reason), std::string::npos) << read->damage->reason;
    // The rest is kept byte for byte, from the damaged record's first line.
    EXPECT_EQ(read->damage->rest, bytes.substr(bytes.find(c.damaged)));
  }
  // Cut short in a record, as a copy broken off would be.
  const std::string cut = whole.substr(0, whole.find(record2) + 30);
  const platform::Result<JournalContents> read = DecodeJournal(cut);
  ASSERT_TRUE(read && read->damage);
  EXPECT_EQ(read->damage->reason, "the journal ends before the line after the change (line 8)");
  EXPECT_EQ(read->damage->rest, "2026-12-08T09:15:00Z add int\r\n");
}

TEST(EditJournal, AFileOfAnotherFormatIsNotRead) {
  EXPECT_TRUE(DecodeJournal(""));
  EXPECT_TRUE(DecodeJournal("")->records.empty());
  const platform::Result<JournalContents> newer =
      DecodeJournal("// Edit journal for Skyatlas, format 2\r\n\r\n");
  ASSERT_FALSE(newer);
  EXPECT_EQ(newer.error().message,
            "edits.journal is written in format '2', which this version of the program does not "
            "read. It is left as it is.");
  ASSERT_FALSE(DecodeJournal("ABC    TEST NDB\r\n"));
}

// A damaged journal is mended only after its rest is safe in the .rejected
// file; one that is not a journal at all is never written over.
TEST(JournalFile, ADamagedRestIsSetAsideBeforeTheJournalIsRewritten) {
  TempFolder folder;
  const std::string whole = EncodeJournal(ThreeRecords());
  const std::string damaged = whole.substr(0, whole.find("2026-12-08T09:15:00Z")) + "garbage\r\n" +
                              whole.substr(whole.find("2026-12-08T23:59:60Z"));
  folder.Write("edits.journal", damaged);
  folder.Write("edits.journal.rejected", "earlier\r\n");

  const platform::Result<JournalUpdate> opened = OpenJournalFile(folder.path());
  ASSERT_TRUE(opened);
  EXPECT_EQ(opened->records, std::vector<JournalRecord>{ThreeRecords()[0]});
  ASSERT_TRUE(opened->setAside);
  EXPECT_EQ(folder.Read("edits.journal"), EncodeJournal(opened->records));
  const std::string rejected = folder.Read("edits.journal.rejected");
  EXPECT_TRUE(rejected.starts_with("earlier\r\n// Set aside from edits.journal on "));
  EXPECT_TRUE(
      rejected.ends_with(": line 7: 'garbage' is not the head of a record (its time in "
                         "UTC, add, modify or delete, and ndb, vor, apt or int)\r\n" +
                         damaged.substr(damaged.find("garbage"))));
  EXPECT_EQ(SetAsideText(*opened->setAside, 1),
            "edits.journal was damaged from line 7 (line 7: 'garbage' is not the head of a record "
            "(its time in UTC, add, modify or delete, and ndb, vor, apt or int)). The 1 record "
            "before it are kept; the rest is now in edits.journal.rejected.");

  // Not a journal: refused, and left byte for byte.
  folder.Write("edits.journal", "my notes\r\n");
  EXPECT_FALSE(ChangeJournalFile(folder.path(),
                                 [](std::vector<JournalRecord>& records) { records.clear(); }));
  EXPECT_EQ(folder.Read("edits.journal"), "my notes\r\n");
}

TEST(JournalFile, ASaveWritesItsEditsToTheJournalOnlyWhenItsFilesAreWritten) {
  TempFolder folder;
  Database db;
  db.folder = folder.path();
  db.List(NavaidKind::Ndb).AddLine(kBefore);
  RebuildIndex(db.lists, db.index, {});
  ASSERT_TRUE(SaveDatabase(db, {}));
  EXPECT_FALSE(folder.Exists("edits.journal"));  // no edit, no journal

  db.unsavedEdits = {ThreeRecords()[1]};
  db.List(NavaidKind::Intersection).AddLine(kFix);
  RebuildIndex(db.lists, db.index, {});
  // The journal is written first: a failure at the database files takes
  // its records out again, and the edit stays unsaved for the next save.
  const auto failAtIndex = [](platform::FileStep step, const std::filesystem::path& path) {
    return step == platform::FileStep::Rename && path.filename() == "idx.dat" ? EIO : 0;
  };
  EXPECT_FALSE(SaveDatabase(db, {}, failAtIndex));
  EXPECT_EQ(folder.Read("edits.journal"), EncodeJournal({}));
  EXPECT_EQ(db.unsavedEdits.size(), 1u);

  ASSERT_TRUE(SaveDatabase(db, {}));
  EXPECT_EQ(folder.Read("edits.journal"), EncodeJournal(std::vector{ThreeRecords()[1]}));
  EXPECT_TRUE(db.unsavedEdits.empty());

  // Undo of an edit not saved yet takes its record away before it is written.
  db.unsavedEdits = {ThreeRecords()[0], ThreeRecords()[2]};
  EXPECT_TRUE(ForgetUnsavedEdit(db, ThreeRecords()[2]));
  EXPECT_FALSE(ForgetUnsavedEdit(db, ThreeRecords()[1]));  // saved already
  EXPECT_EQ(db.unsavedEdits, std::vector{ThreeRecords()[0]});
}

}  // namespace
}  // namespace navdb
