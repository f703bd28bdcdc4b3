#include "shell/core/restore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "navdb/coordinates.h"
#include "navdb/entry_lines.h"
#include "tests/support/navaid_lines.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace shell {
namespace {

using namespace navdb;
using testing_support::RecordingUi;
using testing_support::TempFolder;

const std::string kNdbA = BuildNdbLine({"AA", "ALPHA", "375.0",
                                        "N48\xB0"
                                        "51'24.00",
                                        "E002\xB0"
                                        "21'00.00",
                                        120, 50});

using testing_support::FileLine;

TEST(DatabaseFiles, RestoreOriginal) {
  TempFolder folder;
  const std::string ndbFile =
      "// NDB database for Skyatlas\r\n" + FileLine(NavaidKind::Ndb, kNdbA) + "\r\n";
  folder.Write("Original/ndb.dat", ndbFile);
  folder.Write("Original/idx.dat",
               "// Index for Skyatlas 99\r\n 002.350000  48.856666  NDB00000\r\n");
  folder.Write("ndb.dat", "// NDB database for Skyatlas\r\n");
  Database db;
  db.folder = folder.path();
  db.databaseModified = true;

  RecordingUi no;
  no.QueueAnswers({MessageAnswer::No});
  EXPECT_FALSE(RestoreOriginalDatabase(db, no));
  ASSERT_EQ(no.messages.size(), 1u);
  EXPECT_EQ(no.messages[0].caption, "Warning");
  EXPECT_EQ(no.messages[0].text,
            "You are going to lose any modification you've done on the database, \r"
            "INCLUDING the Intersection list !\r\rProceed ?");
  EXPECT_EQ(no.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(folder.Read("ndb.dat"), "// NDB database for Skyatlas\r\n");

  // Missing reference copies: nothing is copied, nothing loaded, and it is a failure.
  RecordingUi incomplete;
  incomplete.QueueAnswers({MessageAnswer::Yes});
  EXPECT_FALSE(RestoreOriginalDatabase(db, incomplete));
  EXPECT_EQ(folder.Read("ndb.dat"), "// NDB database for Skyatlas\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "idx.dat"));
  ASSERT_EQ(incomplete.messages.size(), 5u);
  EXPECT_EQ(incomplete.messages[1].caption, "Error : vor.dat");
  EXPECT_EQ(incomplete.messages[1].text, "No such file or directory");
  EXPECT_EQ(incomplete.messages[2].caption, "Error : apt.dat");
  EXPECT_EQ(incomplete.messages[3].caption, "Error : int.dat");
  EXPECT_EQ(incomplete.messages[4].caption, "Error");
  EXPECT_EQ(incomplete.messages[4].text,
            "The original database could not be restored. The database files were left as "
            "they were.");
  EXPECT_TRUE(incomplete.indexWindow.empty());

  folder.Write("Original/vor.dat", "// VOR database for Skyatlas\r\n");
  folder.Write("Original/apt.dat", "// Airport database for Skyatlas\r\n");
  folder.Write("Original/int.dat", "// Intersection database for Skyatlas\r\n");
  RecordingUi yes;
  yes.QueueAnswers({MessageAnswer::Yes});
  EXPECT_TRUE(RestoreOriginalDatabase(db, yes));
  EXPECT_EQ(folder.Read("ndb.dat"), ndbFile);
  EXPECT_EQ(folder.Read("int.dat"), "// Intersection database for Skyatlas\r\n");
  ASSERT_GE(yes.messages.size(), 3u);
  EXPECT_EQ(yes.messages[1].caption, "Please wait");
  EXPECT_EQ(yes.messages[1].text, "Restoring original database...");
  EXPECT_EQ(yes.messages.back().caption, "Information");
  EXPECT_EQ(yes.messages.back().text, "Original database restored.");
  EXPECT_EQ(yes.indexWindow, (std::vector<bool>{true, false}));
  EXPECT_EQ(db.List(NavaidKind::Ndb).GetLine(0), kNdbA);
  EXPECT_EQ(db.index.primary.Count(), 1u);
  EXPECT_TRUE(db.databaseModified);
}

}  // namespace
}  // namespace shell
