#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "scanner/bgl_file.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

struct FileScan {
  navdb::Database db;
  testing_support::RecordingUi recording;
  scanner::ScanSession session{db, recording.ui()};
};

TEST(BglFileErrors, CouldNotOpenAsksForTheNextFile) {
  testing_support::TempFolder folder;
  const fs::path missing = folder / "gone.bgl";
  FileScan yes;
  yes.recording.QueueAnswers({navdb::MessageAnswer::Yes});
  EXPECT_EQ(scanner::ScanBglFile(yes.session, missing), 0);
  ASSERT_EQ(yes.recording.messages.size(), 1u);
  const testing_support::RecordedMessage& message = yes.recording.messages[0];
  EXPECT_EQ(message.caption, "Error");
  EXPECT_EQ(message.text, "Could not open " + missing.string() + "\r\r" + std::strerror(ENOENT) +
                              "\r\rTry next BGL file ?\n");
  EXPECT_EQ(message.icon, navdb::MessageIcon::Error);
  EXPECT_EQ(message.buttons, navdb::MessageButtons::YesNo);

  FileScan no;
  no.recording.QueueAnswers({navdb::MessageAnswer::No});
  EXPECT_EQ(scanner::ScanBglFile(no.session, missing), -1);
}

// A kernel attribute file is a regular file with a size that cannot be
// mapped: the view step fails, and the scan stops after an OK box.
TEST(BglFileErrors, CouldNotMapFileStopsTheScan) {
  const fs::path attribute = "/sys/kernel/profiling";
  if (!fs::is_regular_file(attribute)) GTEST_SKIP() << "no " << attribute;
  FileScan scan;
  EXPECT_NE(scanner::ScanBglFile(scan.session, attribute), 0);
  ASSERT_EQ(scan.recording.messages.size(), 1u);
  const testing_support::RecordedMessage& message = scan.recording.messages[0];
  EXPECT_EQ(message.caption, "Error");
  EXPECT_EQ(message.text,
            "Could not map file " + attribute.string() + "\r\r" + std::strerror(ENODEV) + "\n");
  EXPECT_EQ(message.buttons, navdb::MessageButtons::Ok);
}

}  // namespace
