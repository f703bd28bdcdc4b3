#include "scanner/scan_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/scenery_writer/bgl_writer.h"

namespace {

using navdb::NavaidKind;

std::string Bytes(const std::vector<uint8_t>& bytes) {
  return {bytes.begin(), bytes.end()};
}

scenery_writer::BglScenery Ndbs(std::initializer_list<const char*> identifiers) {
  scenery_writer::BglScenery scenery;
  for (const char* id : identifiers) {
    scenery_writer::BglNdb ndb;
    ndb.identifier = id;
    ndb.name = std::string("NDB ") + id;
    ndb.latitude24 = scenery_writer::Latitude24(10);
    scenery.ndbs.push_back(ndb);
  }
  return scenery;
}

TEST(ScanDriver, WalksPlainAndPackedFilesSavesAndSummarises) {
  testing_support::TempFolder root;
  testing_support::TempFolder navData;
  std::filesystem::create_directories(root / "sub/deeper");
  root.Write("a.bgl", Bytes(scenery_writer::WriteBglImage(Ndbs({"A1", "A2"}))));
  root.Write("notes.txt", "not scenery");
  scenery_writer::BglScenery packedScenery = Ndbs({"P1"});
  packedScenery.extendedHeader = true;
  root.Write("sub/deeper/P.BGL",
             Bytes(scenery_writer::WritePackedBgl(scenery_writer::WriteBglImage(packedScenery))));
  root.Write("sub/broken.bgl", Bytes(scenery_writer::WritePackedBgl(
                                   scenery_writer::WriteBglImage(packedScenery), 5)));
  root.Write("sub/tiny.bgl", "JUNK");  // too short to name any section: nothing in it
  std::filesystem::create_directory_symlink(root.path(), root / "sub/loop");

  navdb::Database db;
  db.folder = navData.path();
  testing_support::RecordingUi recording;
  recording.QueueAnswers({navdb::MessageAnswer::Yes});  // go on after the broken file
  const std::vector<std::string>& currentFiles = recording.scanPositions;
  scanner::ScanSession session{db, recording};
  session.keepAlwaysOutcome = scanner::DuplicateOutcome::KeepBoth;
  const scanner::ScanResult result = scanner::ScanSceneryThread(session, root.path());
  EXPECT_FALSE(result.stopped);
  EXPECT_FALSE(result.saveFailed);
  EXPECT_EQ(result.added(NavaidKind::Ndb), 3);
  EXPECT_EQ(result.added(NavaidKind::Vor), 0);

  EXPECT_EQ(db.List(NavaidKind::Ndb).Count(), 3u);
  EXPECT_EQ(db.List(NavaidKind::Vor).GetLine(0), navdb::kPlaceholderLine);
  EXPECT_FALSE(session.keepAlwaysOutcome.has_value());
  ASSERT_EQ(recording.messages.size(), 2u);
  EXPECT_EQ(recording.messages[0].text, "The BGL file \"" + (root / "sub/broken.bgl").string() +
                                            "\" contains unrecognized data.\nIt will be ignored !"
                                            "\n\nContinue with next file ?");
  EXPECT_EQ(recording.messages[0].buttons, navdb::MessageButtons::YesNo);
  EXPECT_EQ(recording.messages[1].caption, "Information");
  EXPECT_EQ(recording.messages[1].text,
            "Added to the database :\r\r3\tNDB,\r0\tVOR,\r0\tAirports.\r");
  EXPECT_TRUE(std::filesystem::exists(navData / "ndb.dat"));
  EXPECT_TRUE(std::filesystem::exists(navData / "idx.dat"));
  EXPECT_EQ(db.index.Count(), 3u);
  ASSERT_FALSE(recording.statuses.empty());
  EXPECT_EQ(recording.statuses.front().second, "Status : scanning...");
  EXPECT_EQ(currentFiles.front(), root.path().string());
  EXPECT_EQ(currentFiles.back(), " ");
}

TEST(ScanDriver, EmptyTreesStoppedScansAndRebuild) {
  testing_support::TempFolder root;
  testing_support::TempFolder navData;
  navdb::Database db;
  db.folder = navData.path();
  testing_support::RecordingUi recording;
  scanner::ScanSession session{db, recording};
  EXPECT_FALSE(scanner::ScanSceneryThread(session, root.path()).stopped);
  EXPECT_EQ(recording.messages.back().text,
            "Added to the database :\r\r0\tNDB,\r0\tVOR,\r0\tAirports.\r");
  EXPECT_FALSE(std::filesystem::exists(navData / "ndb.dat"));  // nothing changed, nothing saved

  // No after an unreadable file stops the walk; what was merged is saved.
  root.Write("a.bgl", Bytes(scenery_writer::WriteBglImage(Ndbs({"A1"}))));
  std::filesystem::create_directory(root / "z");
  root.Write("z/bad.bgl", "");
  recording.QueueAnswers({navdb::MessageAnswer::No});
  const scanner::ScanResult stopped = scanner::ScanSceneryThread(session, root.path());
  EXPECT_TRUE(stopped.stopped);
  EXPECT_FALSE(stopped.saveFailed);
  EXPECT_EQ(stopped.added(NavaidKind::Ndb), 1);
  EXPECT_NE(
      std::find(recording.statuses.begin(), recording.statuses.end(),
                std::make_pair(navdb::StatusIcon::Ready, std::string("Status : scanning aborted"))),
      recording.statuses.end());
  EXPECT_EQ(recording.messages[recording.messages.size() - 2].text.substr(0, 24),
            "File mapping failed for ");
  // The summary tells the stop first, with the count of files found when
  // the walk had listed them all by then (it lists beside the scan).
  EXPECT_EQ(recording.messages.back().caption, "Warning");
  const std::optional<size_t> found = session.filesFound;
  if (found) {
    EXPECT_EQ(*found, 2u);
  }
  EXPECT_EQ(recording.messages.back().text,
            scanner::StoppedScanText(2, found) +
                "Added to the database :\r\r1\tNDB,\r0\tVOR,\r0\tAirports.\r");
  EXPECT_EQ(scanner::StoppedScanText(2, 2),
            "The scan was stopped after 2 of 2 scenery files.\rWhat it had merged until then is "
            "kept in the database.\r\r");
  EXPECT_EQ(scanner::StoppedScanText(1, std::nullopt),
            "The scan was stopped after 1 scenery file.\rWhat it had merged until then is kept "
            "in the database.\r\r");
  EXPECT_EQ(scanner::StoppedScanText(3, std::nullopt).substr(0, 43),
            "The scan was stopped after 3 scenery files.");
  EXPECT_TRUE(std::filesystem::exists(navData / "ndb.dat"));

  recording.QueueAnswers({navdb::MessageAnswer::No});
  EXPECT_FALSE(scanner::ConfirmAndClearForRebuild(session));
  EXPECT_EQ(db.List(NavaidKind::Ndb).EntryCount(), 1u);
  recording.QueueAnswers({navdb::MessageAnswer::Yes});
  EXPECT_TRUE(scanner::ConfirmAndClearForRebuild(session));
  EXPECT_EQ(recording.messages.back().text,
            "You are going to lose any modification you've done on the database !\r"
            "(The Intersection list will not be lost)\r\rProceed ?");
  EXPECT_EQ(db.List(NavaidKind::Ndb).Count(), 0u);
  // With hand edits to replay the question says how many, the old text kept.
  const std::string head =
      "You are going to lose any modification you've done on the database !\r"
      "(The Intersection list will not be lost)\r\r";
  EXPECT_EQ(scanner::RebuildWarningText(0), head + "Proceed ?");
  EXPECT_EQ(scanner::RebuildWarningText(1),
            head +
                "1 hand edit of edits.journal will be applied again after the rebuild.\r\r"
                "Proceed ?");
  EXPECT_EQ(scanner::RebuildWarningText(12),
            head +
                "12 hand edits of edits.journal will be applied again after the rebuild.\r\r"
                "Proceed ?");
}

// A folder that cannot be read (here: removed just as the walk reaches it)
// is named in the status line and the summary; the walk goes on, or stops
// when the session asks to stop at such a folder.
TEST(ScanDriver, UnreadableFoldersAreReportedAndMayStopTheScan) {
  testing_support::TempFolder root;
  testing_support::TempFolder navData;
  std::filesystem::create_directory(root / "gone");
  std::filesystem::create_directory(root / "gone2");
  std::filesystem::create_directory(root / "kept");
  root.Write("kept/k.bgl", Bytes(scenery_writer::WriteBglImage(Ndbs({"K1"}))));
  const std::string reason = std::make_error_code(std::errc::no_such_file_or_directory).message();

  for (bool stop : {false, true}) {
    navdb::Database db;
    db.folder = navData.path();
    testing_support::RecordingUi recording;
    scanner::ScanSession session{db, recording};
    session.beforeFolderListed = [&](const std::filesystem::path& folder) {
      if (folder.filename() == "gone" || folder.filename() == "gone2") {
        std::filesystem::remove(folder);
      }
    };
    session.stopOnUnreadableFolder = stop;
    EXPECT_EQ(scanner::ScanSceneryThread(session, root.path()).stopped, stop);
    std::vector<std::string> problems;
    for (const auto& [icon, text] : recording.statuses) {
      if (icon == navdb::StatusIcon::Problem) problems.push_back(text);
    }
    const std::string summary = recording.messages.back().text;
    std::filesystem::create_directory(root / "gone");
    std::filesystem::create_directory(root / "gone2");
    if (stop) {
      ASSERT_EQ(problems.size(), 1u);
      EXPECT_TRUE(problems[0].starts_with("Status : could not read folder " + root.path().string() +
                                          "/gone"));
      EXPECT_TRUE(std::ranges::any_of(recording.statuses, [](const auto& status) {
        return status.second == "Status : scanning aborted";
      }));
      EXPECT_TRUE(summary.ends_with("\rFolders that could not be read :\r" +
                                    problems[0].substr(31) + "\r"));
      continue;
    }
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_TRUE(std::ranges::find(problems, "Status : could not read folder " +
                                                (root / "gone").string() + " (" + reason + ")") !=
                problems.end());
    EXPECT_EQ(db.List(NavaidKind::Ndb).EntryCount(), 1u);  // the walk went on
    EXPECT_EQ(summary,
              "Added to the database :\r\r1\tNDB,\r0\tVOR,\r0\tAirports.\r"
              "\rFolders that could not be read :\r" +
                  problems[0].substr(31) + "\r" + problems[1].substr(31) + "\r");
    EXPECT_TRUE(session.unreadableFolders.empty());  // the next scan starts afresh
  }
}

// The scan tells how many scenery files it goes through once, as soon as
// its walk has listed the tree: names ending in ".bgl" in any case, and a
// folder reached again through a link counted once.
TEST(ScanDriver, TellsTheNumberOfSceneryFilesOnce) {
  testing_support::TempFolder root;
  testing_support::TempFolder navData;
  const std::string ndbFile = Bytes(scenery_writer::WriteBglImage(Ndbs({"A1"})));
  root.Write("a.bgl", ndbFile);
  root.Write("b.BGL", ndbFile);
  root.Write("c.txt", ndbFile);
  std::filesystem::create_directories(root / "sub/deeper");
  root.Write("sub/d.bgl", ndbFile);
  root.Write("sub/deeper/e.Bgl", ndbFile);
  std::filesystem::create_directory_symlink(root.path(), root / "sub/loop");

  for (const std::filesystem::path& scanned : {root.path(), root / "missing"}) {
    navdb::Database db;
    db.folder = navData.path();
    testing_support::RecordingUi recording;
    const std::vector<size_t>& totals = recording.scanFileTotals;
    scanner::ScanSession session{db, recording};
    scanner::ScanSceneryThread(session, scanned);
    EXPECT_EQ(totals, std::vector<size_t>{scanned == root.path() ? 4u : 0u}) << scanned;
  }
}

// A scan whose save fails says so in its result and shows no summary: the
// additions never reached the database files.
TEST(ScanDriver, FailedSaveIsTheOutcome) {
  testing_support::TempFolder root;
  testing_support::TempFolder navData;
  root.Write("a.bgl", Bytes(scenery_writer::WriteBglImage(Ndbs({"A1", "A2"}))));
  navData.Write("blocker", "a file where the NavData folder should be");
  navdb::Database db;
  db.folder = navData / "blocker";
  testing_support::RecordingUi recording;
  scanner::ScanSession session{db, recording};
  const scanner::ScanResult result = scanner::ScanSceneryThread(session, root.path());
  EXPECT_TRUE(result.saveFailed);
  EXPECT_FALSE(result.stopped);
  EXPECT_EQ(result.added(NavaidKind::Ndb), 2);
  for (const auto& message : recording.messages) {
    EXPECT_NE(message.caption, "Information") << message.text;
  }
}

}  // namespace
