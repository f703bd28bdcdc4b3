// Scanning one file: a file laid out as packed is decoded from its unpacked
// image only, whatever its stored bytes look like.
#include "scanner/bgl_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/scenery_writer/bgl_writer.h"

namespace {

using navdb::NavaidKind;

constexpr uint32_t kNdbSectionAt = 8192;

// A plain image whose NDB section (the NDBs named) starts at kNdbSectionAt.
std::vector<uint8_t> ImageWithNdbsFar(std::initializer_list<const char*> identifiers) {
  scenery_writer::BglScenery scenery;
  for (const char* id : identifiers) {
    scenery_writer::BglNdb ndb;
    ndb.identifier = id;
    ndb.name = std::string("NDB ") + id;
    scenery.ndbs.push_back(ndb);
  }
  const std::vector<uint8_t> near = scenery_writer::WriteBglImage(scenery);
  uint32_t section;
  std::memcpy(&section, near.data() + 78, 4);
  std::vector<uint8_t> image(near.begin(), near.begin() + 128);
  std::memcpy(image.data() + 78, &kNdbSectionAt, 4);
  image.resize(kNdbSectionAt, 0);
  image.insert(image.end(), near.begin() + section, near.end());
  return image;
}

// A packed file of NDBs "A1", "A2" whose stored bytes, behind the stream,
// also hold a readable NDB section of "R1", "R2" at the header's offset.
std::string PackedFileWithDecoyBytes() {
  std::vector<uint8_t> packed = scenery_writer::WritePackedBgl(ImageWithNdbsFar({"A1", "A2"}));
  const std::vector<uint8_t> decoy = ImageWithNdbsFar({"R1", "R2"});
  EXPECT_LT(packed.size(), kNdbSectionAt);
  packed.resize(kNdbSectionAt, 0);
  packed.insert(packed.end(), decoy.begin() + kNdbSectionAt, decoy.end());
  return {packed.begin(), packed.end()};
}

struct FileScan {
  navdb::Database db;
  testing_support::RecordingUi recording;
  scanner::ScanSession session{db, recording};
  std::vector<std::string> Identifiers() const {
    std::vector<std::string> ids;
    db.List(NavaidKind::Ndb).ForEach([&](size_t, std::string_view line) {
      ids.emplace_back(line.substr(0, 2));
    });
    return ids;
  }
};

TEST(BglFile, PackedLayoutIsDecodedFromTheUnpackedImageOnly) {
  testing_support::TempFolder folder;
  folder.Write("p.bgl", PackedFileWithDecoyBytes());
  FileScan scan;
  EXPECT_EQ(scanner::ScanBglFile(scan.session, folder / "p.bgl"), scanner::FileOutcome::NextFile);
  EXPECT_TRUE(scan.recording.messages.empty());
  EXPECT_EQ(scan.Identifiers(), (std::vector<std::string>{"A1", "A2"}));
}

// Cancel after a refused entry ends the file: the user is asked once.
TEST(BglFile, CancelAfterARefusedEntryEndsAPackedFile) {
  testing_support::TempFolder folder;
  folder.Write("p.bgl", PackedFileWithDecoyBytes());
  FileScan scan;
  scan.db.lists[navdb::IndexOf(NavaidKind::Ndb)] = navdb::EntryList(1);
  scan.recording.QueueAnswers({navdb::MessageAnswer::Cancel});
  EXPECT_EQ(scanner::ScanBglFile(scan.session, folder / "p.bgl"), scanner::FileOutcome::NextFile);
  ASSERT_EQ(scan.recording.messages.size(), 1u);
  EXPECT_EQ(scan.recording.messages[0].text,
            "Can't add entry to NDB list.\r\rA list holds at most 100,000 entries.");
  EXPECT_EQ(scan.Identifiers(), (std::vector<std::string>{"A1"}));
}

}  // namespace
