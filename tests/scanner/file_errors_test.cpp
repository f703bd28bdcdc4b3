#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "scanner/bgl_file.h"
#include "scanner/scan_driver.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/scenery_writer/bgl_writer.h"

namespace {

namespace fs = std::filesystem;

struct FileScan {
  navdb::Database db;
  testing_support::RecordingUi recording;
  scanner::ScanSession session{db, recording};
};

TEST(BglFileErrors, CouldNotOpenAsksForTheNextFile) {
  testing_support::TempFolder folder;
  const fs::path missing = folder / "gone.bgl";
  FileScan yes;
  yes.recording.QueueAnswers({navdb::MessageAnswer::Yes});
  EXPECT_EQ(scanner::ScanBglFile(yes.session, missing), scanner::FileOutcome::NextFile);
  ASSERT_EQ(yes.recording.messages.size(), 1u);
  const testing_support::RecordedMessage& message = yes.recording.messages[0];
  EXPECT_EQ(message.caption, "Error");
  EXPECT_EQ(message.text, "Could not open " + missing.string() + "\r\r" + std::strerror(ENOENT) +
                              "\r\rTry next BGL file ?\n");
  EXPECT_EQ(message.icon, navdb::MessageIcon::Error);
  EXPECT_EQ(message.buttons, navdb::MessageButtons::YesNo);

  FileScan no;
  no.recording.QueueAnswers({navdb::MessageAnswer::No});
  EXPECT_EQ(scanner::ScanBglFile(no.session, missing), scanner::FileOutcome::StopScan);
}

// A kernel attribute file claims a size of a page but reads much shorter:
// like a file cut down while it is read, it ends as "Could not map file"
// after an OK box, and the scan goes on with the next file.
TEST(BglFileErrors, ShortReadIsCouldNotMapFileAndTheScanGoesOn) {
  const fs::path attribute = "/sys/kernel/profiling";
  if (!fs::is_regular_file(attribute)) GTEST_SKIP() << "no " << attribute;
  FileScan scan;
  EXPECT_EQ(scanner::ScanBglFile(scan.session, attribute), scanner::FileOutcome::NextFile);
  ASSERT_EQ(scan.recording.messages.size(), 1u);
  const testing_support::RecordedMessage& message = scan.recording.messages[0];
  EXPECT_EQ(message.caption, "Error");
  EXPECT_EQ(message.text, "Could not map file " + attribute.string() +
                              "\r\rThe file became shorter while it was read.\n");
  EXPECT_EQ(message.buttons, navdb::MessageButtons::Ok);
}

// A scenery file cut down by another program while the scan reads it: that
// file ends as "Could not map file", the scan goes on and keeps the navaids
// of the other files.
TEST(BglFileErrors, FileTruncatedWhileReadEndsOnlyThatFile) {
  testing_support::TempFolder root;
  testing_support::TempFolder navData;
  auto sceneryFile = [](std::initializer_list<const char*> identifiers) {
    scenery_writer::BglScenery scenery;
    for (const char* id : identifiers) {
      scenery_writer::BglNdb ndb;
      ndb.identifier = id;
      ndb.name = std::string("NDB ") + id;
      scenery.ndbs.push_back(ndb);
    }
    const std::vector<uint8_t> image = scenery_writer::WriteBglImage(scenery);
    return std::string(image.begin(), image.end());
  };
  root.Write("cut.bgl", sceneryFile({"C1", "C2"}));
  fs::create_directory(root / "later");
  root.Write("later/kept.bgl", sceneryFile({"K1", "K2"}));

  FileScan scan;
  scan.db.folder = navData.path();
  std::vector<fs::path> sized;
  scan.session.afterFileSized = [&](const fs::path& path) {
    sized.push_back(path);
    if (path.filename() == "cut.bgl") fs::resize_file(path, 130);
  };
  const scanner::ScanResult result = scanner::ScanSceneryThread(scan.session, root.path());
  EXPECT_FALSE(result.stopped);
  EXPECT_FALSE(result.saveFailed);
  EXPECT_EQ(result.added(navdb::NavaidKind::Ndb), 2);
  ASSERT_EQ(sized.size(), 2u);
  ASSERT_EQ(scan.recording.messages.size(), 2u);
  EXPECT_EQ(scan.recording.messages[0].text,
            "Could not map file " + (root / "cut.bgl").string() +
                "\r\rThe file became shorter while it was read.\n");
  EXPECT_EQ(scan.recording.messages[1].text,
            "Added to the database :\r\r2\tNDB,\r0\tVOR,\r0\tAirports.\r");
  EXPECT_EQ(scan.db.List(navdb::NavaidKind::Ndb).GetLine(0).substr(0, 2), "K1");
  EXPECT_TRUE(std::ranges::any_of(scan.recording.statuses, [](const auto& status) {
    return status.second == "Status : scanning done";
  }));
}

}  // namespace
