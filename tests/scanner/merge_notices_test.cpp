// The count and tab notices of a scanned file: told once per file and kind,
// and brought up to date before the user is asked anything.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "scanner/bgl_file.h"
#include "scanner/merge.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/scenery_writer/bgl_writer.h"

namespace {

using navdb::NavaidKind;
using CountNotice = std::pair<NavaidKind, int>;

std::string SceneryFile(int ndbs, int vors, const std::string& tag = "") {
  scenery_writer::BglScenery scenery;
  for (int i = 0; i < ndbs; ++i) {
    scenery_writer::BglNdb ndb;
    ndb.identifier = "N" + tag + std::to_string(i);
    ndb.name = "NDB " + std::to_string(i);
    scenery.ndbs.push_back(ndb);
  }
  for (int i = 0; i < vors; ++i) {
    scenery_writer::BglVor vor;
    vor.identifier = "V" + tag + std::to_string(i);
    vor.name = "VOR " + std::to_string(i);
    scenery.vors.push_back(vor);
  }
  const std::vector<uint8_t> image = scenery_writer::WriteBglImage(scenery);
  return {image.begin(), image.end()};
}

struct NoticeScan {
  navdb::Database db;
  testing_support::RecordingUi recording;
  std::vector<NavaidKind>& tabs = recording.kindsInFocus;
  scanner::ScanSession session{db, recording};
};

TEST(MergeNotices, AFileTellsEachKindsCountOnceAtItsEnd) {
  testing_support::TempFolder folder;
  folder.Write("a.bgl", SceneryFile(3, 2));
  folder.Write("b.bgl", SceneryFile(0, 1, "B"));
  NoticeScan scan;
  EXPECT_EQ(scanner::ScanBglFile(scan.session, folder / "a.bgl"), scanner::FileOutcome::NextFile);
  EXPECT_EQ(scan.recording.counts,
            (std::vector<CountNotice>{{NavaidKind::Ndb, 3}, {NavaidKind::Vor, 2}}));
  const std::vector<NavaidKind> firstFileTabs = scan.tabs;
  EXPECT_EQ(firstFileTabs.size(), 2u);  // one per kind the file holds, not one per line

  // The next file shows its kind's tab again, and only its own count.
  EXPECT_EQ(scanner::ScanBglFile(scan.session, folder / "b.bgl"), scanner::FileOutcome::NextFile);
  EXPECT_EQ(scan.recording.counts.back(), (CountNotice{NavaidKind::Vor, 3}));
  EXPECT_EQ(scan.recording.counts.size(), 3u);
  EXPECT_EQ(scan.tabs.size(), firstFileTabs.size() + 1);
  EXPECT_EQ(scan.tabs.back(), NavaidKind::Vor);
  EXPECT_FALSE(scan.session.notices.batching);
}

TEST(MergeNotices, CountsAreCurrentWhenTheDuplicateDialogAsks) {
  NoticeScan scan;
  std::vector<std::vector<CountNotice>> countsWhenAsked;
  scan.recording.duplicateAnswer = [&](const scanner::DuplicateRequest&) {
    countsWhenAsked.push_back(scan.recording.counts);
    return scanner::DuplicateAnswer{scanner::DuplicateOutcome::KeepBoth, false};
  };
  scanner::ScannedNdb ndb;
  ndb.identifier = "ABC";
  ndb.name = "SAME";
  ndb.frequencyText = "352.5";
  {
    const scanner::MergeNoticeBatch batch(scan.session);
    for (double latitudeDeg : {10.0, 20.0}) {
      ndb.latitudeDeg = latitudeDeg;
      EXPECT_EQ(scanner::AddNdbEntry(scan.session, ndb).status, scanner::MergeStatus::Added);
    }
    EXPECT_TRUE(scan.recording.counts.empty());  // held back while the batch lives
    ndb.latitudeDeg = 10.2;                      // the same whole degrees as the first: ask
    EXPECT_EQ(scanner::AddNdbEntry(scan.session, ndb).status, scanner::MergeStatus::Added);
  }
  ASSERT_EQ(countsWhenAsked.size(), 1u);
  EXPECT_EQ(countsWhenAsked[0], (std::vector<CountNotice>{{NavaidKind::Ndb, 2}}));
  EXPECT_EQ(scan.recording.counts.back(), (CountNotice{NavaidKind::Ndb, 3}));
  EXPECT_EQ(scan.tabs, std::vector<NavaidKind>{NavaidKind::Ndb});
}

}  // namespace
