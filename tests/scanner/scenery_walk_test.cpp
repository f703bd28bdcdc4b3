// The walk decodes files on its own thread ahead of the merge; what a scan
// gives must not depend on which thread decoded what, or on how far ahead.
#include "scanner/scenery_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "scanner/scan_driver.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/scenery_writer/bgl_writer.h"

namespace {

namespace fs = std::filesystem;
using navdb::NavaidKind;
using Kind = scanner::WalkStep::Kind;

// A scenery file of NDBs named `prefix`0, `prefix`1, ... at `latitudeDeg`.
std::string NdbFile(const std::string& prefix, int count, double latitudeDeg) {
  scenery_writer::BglScenery scenery;
  for (int i = 0; i < count; ++i) {
    scenery_writer::BglNdb ndb;
    ndb.identifier = prefix + std::to_string(i);
    ndb.name = "NDB " + ndb.identifier;
    ndb.latitude24 = scenery_writer::Latitude24(latitudeDeg);
    scenery.ndbs.push_back(ndb);
  }
  const std::vector<uint8_t> bytes = scenery_writer::WriteBglImage(scenery);
  return {bytes.begin(), bytes.end()};
}

// Far more files than the walk decodes ahead, in nested folders, each with
// lines that also stand in other files (a whole degree apart, so both are
// kept without asking): the order of the merges shows in the rows.
void WriteManyFiles(testing_support::TempFolder& root, int files) {
  fs::create_directories(root / "sub/deeper");
  fs::create_directories(root / "empty");
  root.Write("notes.txt", "not scenery");
  for (int i = 0; i < files; ++i) {
    const std::string folder = i % 3 == 0 ? "" : (i % 3 == 1 ? "sub/" : "sub/deeper/");
    root.Write(folder + "f" + std::to_string(i) + ".bgl",
               NdbFile("N" + std::to_string(i % 7), 3, 10.0 + 0.5 * i));
  }
}

struct ExpectedStep {
  Kind kind;
  fs::path path;
  bool operator==(const ExpectedStep&) const = default;
};

// The order of a walk, worked out one folder at a time as the scan did
// before files were decoded ahead: files as listed, then the subfolders.
void ExpectedWalk(const fs::path& folder, std::vector<ExpectedStep>& steps) {
  steps.push_back({Kind::EnterFolder, folder});
  std::vector<fs::path> subfolders;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".bgl") steps.push_back({Kind::File, entry.path()});
    if (entry.is_directory()) subfolders.push_back(entry.path());
  }
  for (const fs::path& subfolder : subfolders) ExpectedWalk(subfolder, steps);
  steps.push_back({Kind::LeaveFolder, folder});
}

TEST(SceneryWalk, StepsComeInWalkOrderEachFileAsDecodedAlone) {
  testing_support::TempFolder root;
  WriteManyFiles(root, 100);
  std::vector<ExpectedStep> expected;
  ExpectedWalk(root.path(), expected);

  navdb::Database db;
  testing_support::RecordingUi recording;
  scanner::ScanSession session{db, recording};
  session.minRunwayLengthFt = 0;
  scanner::SceneryWalk walk(root.path(), session);
  std::vector<ExpectedStep> taken;
  while (std::optional<scanner::WalkStep> step = walk.Next()) {
    taken.push_back({step->kind, step->path});
    if (step->kind != Kind::File) continue;
    const scanner::DecodedFile alone = scanner::DecodeBglFile(step->path, 0, {});
    ASSERT_FALSE(step->file.readFailure);
    ASSERT_EQ(step->file.image.LineCount(), 3u) << step->path;
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(step->file.image.LineText(i), alone.image.LineText(i));
      EXPECT_EQ(step->file.image.KindOf(i), NavaidKind::Ndb);
    }
  }
  EXPECT_EQ(taken, expected);
  EXPECT_FALSE(walk.Next().has_value());  // over is over
}

// The whole scan gives the very rows that merging file after file on one
// thread gives.
TEST(SceneryWalk, ScanRowsEqualFileAfterFileMerges) {
  testing_support::TempFolder root;
  testing_support::TempFolder navData;
  WriteManyFiles(root, 100);
  std::vector<ExpectedStep> order;
  ExpectedWalk(root.path(), order);

  testing_support::RecordingUi recording;
  navdb::Database scanned;
  scanned.folder = navData.path();
  scanner::ScanSession scan{scanned, recording};
  EXPECT_FALSE(scanner::ScanSceneryThread(scan, root.path()).stopped);

  navdb::Database oneByOne;
  scanner::ScanSession merge{oneByOne, recording};
  for (const ExpectedStep& step : order) {
    if (step.kind == Kind::File) scanner::ScanBglFile(merge, step.path);
  }
  const navdb::EntryList& got = scanned.List(NavaidKind::Ndb);
  const navdb::EntryList& want = oneByOne.List(NavaidKind::Ndb);
  ASSERT_EQ(got.Count(), 300u);
  ASSERT_EQ(want.Count(), 300u);
  for (size_t row = 0; row < want.Count(); ++row) {
    EXPECT_EQ(got.GetLine(row), want.GetLine(row)) << "row " << row;
  }
}

// A walk decodes a bounded number of files ahead of the merge (their lines
// wait in memory), and a walk left early stops reading.
TEST(SceneryWalk, ReadsABoundedNumberAheadAndStopsWhenLeft) {
  testing_support::TempFolder root;
  WriteManyFiles(root, 150);
  navdb::Database db;
  testing_support::RecordingUi recording;
  scanner::ScanSession session{db, recording};
  std::atomic<int> filesRead = 0;
  session.afterFileSized = [&](const fs::path&) { ++filesRead; };
  {
    scanner::SceneryWalk walk(root.path(), session);
    std::optional<scanner::WalkStep> step;
    while ((step = walk.Next()) && step->kind != Kind::File) {
    }
    ASSERT_TRUE(step.has_value());
    // The one taken and the 32 after it are read; then the walk waits.
    while (filesRead.load() < 33) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(filesRead.load(), 33);
  }
  EXPECT_EQ(filesRead.load(), 33);
}

// "Abort scanning" in a file deep in the tree: nothing of the files after
// it is merged, and every folder being walked ends as aborted.
TEST(SceneryWalk, AbortInASubfolderStopsTheMergeThere) {
  testing_support::TempFolder root;
  testing_support::TempFolder navData;
  fs::create_directories(root / "sub");
  root.Write("sub/a.bgl", NdbFile("A", 2, 10.0));
  root.Write("sub/b.bgl", NdbFile("A", 2, 10.2));  // the same NDBs, near: the user is asked
  for (int i = 0; i < 60; ++i) {
    root.Write("sub/c" + std::to_string(i) + ".bgl", NdbFile("C" + std::to_string(i), 2, 20.0));
  }
  std::vector<ExpectedStep> order;
  ExpectedWalk(root.path(), order);
  const auto position = [&](const std::string& name) {
    return std::find(order.begin(), order.end(), ExpectedStep{Kind::File, root / "sub" / name}) -
           order.begin();
  };
  const bool bFirst = position("b.bgl") < position("a.bgl");
  long filesBeforeAsked = 0;
  for (const ExpectedStep& step : order) {
    if (step.kind == Kind::File && step.path.filename() != (bFirst ? "a.bgl" : "b.bgl")) {
      ++filesBeforeAsked;
    } else if (step.kind == Kind::File) {
      break;
    }
  }

  navdb::Database db;
  db.folder = navData.path();
  testing_support::RecordingUi recording;
  int asked = 0;
  recording.duplicateAnswer = [&](const scanner::DuplicateRequest&) {
    ++asked;
    return scanner::DuplicateAnswer{scanner::DuplicateOutcome::AbortScan, false};
  };
  scanner::ScanSession session{db, recording};
  const scanner::ScanResult result = scanner::ScanSceneryThread(session, root.path());
  EXPECT_TRUE(result.stopped);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(result.added(NavaidKind::Ndb), 2 * filesBeforeAsked);
  // "sub", then the root: once for each folder being walked, one after the other.
  const auto aborted =
      std::make_pair(navdb::StatusIcon::Ready, std::string("Status : scanning aborted"));
  const auto first = std::find(recording.statuses.begin(), recording.statuses.end(), aborted);
  ASSERT_NE(first, recording.statuses.end());
  EXPECT_EQ(std::count(recording.statuses.begin(), recording.statuses.end(), aborted), 2);
  ASSERT_NE(first + 1, recording.statuses.end());
  EXPECT_EQ(first[1], aborted);
}

}  // namespace
