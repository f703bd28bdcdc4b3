// The database after a save killed between its renames, and after saves
// killed anywhere: what the next holder of the lock finds and makes of it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "navdb/coordinates.h"
#include "navdb/database.h"
#include "navdb/database_lock.h"
#include "navdb/database_recovery.h"
#include "navdb/entry_lines.h"
#include "tests/support/lock_acquire.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace navdb {
namespace {

using testing_support::RecordingUi;
using testing_support::TempFolder;

constexpr int kKilled = 9;
const std::vector<std::string> kFiveFiles = {"apt.dat", "idx.dat", "int.dat", "ndb.dat", "vor.dat"};

std::string NdbLine(const std::string& identifier, double latitudeDeg) {
  return BuildNdbLine({identifier, "NAME " + identifier, "375.0", FormatLatitude(latitudeDeg),
                       FormatLongitude(2.0), 100, 25});
}

Database Loaded(const TempFolder& folder) {
  Database db;
  db.folder = folder.path();
  LoadDatabase(db, {});
  return db;
}

// A database of `count` NDBs, saved.
Database SavedDatabase(const TempFolder& folder, int count) {
  Database db;
  db.folder = folder.path();
  for (int i = 0; i < count; ++i)
    db.List(NavaidKind::Ndb).AddLine(NdbLine("N" + std::to_string(i), 40.0 + i));
  RebuildIndex(db.lists, db.index, {});
  EXPECT_TRUE(SaveDatabase(db, {}));
  return db;
}

// Saves `db` and dies, as a kill would, right before renaming `name`.
void SaveAndDieBeforeRenaming(Database db, const std::string& name) {
  GTEST_FLAG_SET(death_test_style, "fast");  // the child saves into this test's folder
  EXPECT_EXIT(SaveDatabase(db, {},
                           [&](platform::FileStep step, const std::filesystem::path& path) {
                             if (step == platform::FileStep::Rename && path.filename() == name)
                               ::_exit(kKilled);
                             return 0;
                           }),
              testing::ExitedWithCode(kKilled), "");
}

// Two NDBs on disk, a save of three killed after ndb.dat was renamed: the
// new ndb.dat stands beside the old idx.dat.
Database MixedSet(const TempFolder& folder) {
  Database db = SavedDatabase(folder, 2);
  db.List(NavaidKind::Ndb).AddLine(NdbLine("A0", 39.0));  // row 0: every row moves
  RebuildIndex(db.lists, db.index, {});
  SaveAndDieBeforeRenaming(db, "vor.dat");
  EXPECT_TRUE(folder.Exists(std::string(kSaveManifestName)));
  return db;
}

const std::string kForward =
    "The last save of the database was interrupted before all its files were in place. It has "
    "now been finished: the database holds the files of that save.";

TEST(DatabaseRecovery, TheNextWriterFinishesAKilledSaveAndSaysSo) {
  TempFolder folder;
  MixedSet(folder);
  RecordingUi ui;
  std::string refusal;
  std::optional<DatabaseLock> lock =
      testing_support::AcquireLock(folder.path(), LockMode::Exclusive, "skat-cli", refusal, ui);
  ASSERT_TRUE(lock) << refusal;
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].caption, "Warning");
  EXPECT_EQ(ui.messages[0].text, kForward);
  EXPECT_EQ(testing_support::FileNamesIn(folder.path()),
            (std::vector<std::string>{"apt.dat", "idx.dat", "int.dat", "ndb.dat", "skat.lock",
                                      "vor.dat"}));
  const Database db = Loaded(folder);
  EXPECT_EQ(db.List(NavaidKind::Ndb).EntryCount(), 3u);
  EXPECT_EQ(db.List(NavaidKind::Ndb).GetLine(0).substr(0, 2), "A0");
  EXPECT_EQ(db.index.Count(), 3u);
  EXPECT_EQ(db.index.primary.GetLine(0).substr(24), "NDB00000");
}

TEST(DatabaseRecovery, AKilledSaveWithoutItsNewFilesIsUndone) {
  TempFolder folder;
  const Database old = SavedDatabase(folder, 2);
  const std::string ndbBefore = folder.Read("ndb.dat");
  MixedSet(folder);
  // The new idx.dat's temporary file is gone: only the old set can be whole.
  for (const std::string& name : testing_support::FileNamesIn(folder.path())) {
    if (name.starts_with("idx.dat.tmp.")) std::filesystem::remove(folder / name);
  }
  RecordingUi ui;
  std::string refusal;
  ASSERT_TRUE(
      testing_support::AcquireLock(folder.path(), LockMode::Exclusive, "skat", refusal, ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "The last save of the database was interrupted before all its files were in place. "
            "The files it was replacing were put back: the database holds the files from before "
            "that save.");
  EXPECT_EQ(folder.Read("ndb.dat"), ndbBefore);
  EXPECT_EQ(Loaded(folder).index.Count(), 2u);
}

// A reader finishes a killed save when it is alone; among other readers it
// is refused, and the files stay as they are for the one that is alone.
TEST(DatabaseRecovery, AReaderFinishesAKilledSaveOnlyWhenAlone) {
  std::string refusal;
  std::optional<DatabaseLock> other;
  // Another reader holds the lock (it came in before the manifest was looked at).
  TempFolder shared;
  MixedSet(shared);
  const std::string manifest = shared.Read(std::string(kSaveManifestName));
  std::filesystem::rename(shared / kSaveManifestName, shared / "aside");
  other = testing_support::AcquireLock(shared.path(), LockMode::Shared, "first-reader", refusal);
  ASSERT_TRUE(other);
  std::filesystem::rename(shared / "aside", shared / kSaveManifestName);
  RecordingUi ui;
  EXPECT_FALSE(
      testing_support::AcquireLock(shared.path(), LockMode::Shared, "skat-cli", refusal, ui));
  EXPECT_EQ(refusal,
            "The database files are out of step: a save was interrupted. It is finished by the "
            "next program that has the database to itself.\r\r" +
                LockRefusalText("first-reader " + std::to_string(::getpid())));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(shared.Read(std::string(kSaveManifestName)), manifest);
  other.reset();

  // Alone, the reader finishes it and goes on sharing the lock.
  std::optional<DatabaseLock> reader =
      testing_support::AcquireLock(shared.path(), LockMode::Shared, "skat-cli", refusal, ui);
  ASSERT_TRUE(reader) << refusal;
  EXPECT_EQ(reader->Mode(), LockMode::Shared);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kForward);
  EXPECT_TRUE(testing_support::AcquireLock(shared.path(), LockMode::Shared, "second", refusal));
  EXPECT_FALSE(testing_support::AcquireLock(shared.path(), LockMode::Exclusive, "writer", refusal));
  EXPECT_EQ(Loaded(shared).index.Count(), 3u);
}

TEST(DatabaseRecovery, ADamagedRecordOfASaveStopsEveryProgram) {
  TempFolder folder;
  SavedDatabase(folder, 2);
  folder.Write(std::string(kSaveManifestName), "not a record of a save\n");
  folder.Write("ndb.dat.tmp.77.0", "what a killed save was writing");
  for (LockMode mode : {LockMode::Exclusive, LockMode::Shared}) {
    std::string refusal;
    RecordingUi ui;
    EXPECT_FALSE(testing_support::AcquireLock(folder.path(), mode, "skat-cli", refusal, ui));
    EXPECT_EQ(refusal,
              "The database files are out of step: a save was interrupted and could not be "
              "finished or undone (skat.save is damaged: its first line is not \"file set "
              "1\").\r\rNothing was changed. " +
                  (folder / kSaveManifestName).string() + " lists the files of that save.");
    EXPECT_TRUE(ui.messages.empty());
    // The leftovers stay with the record: they may be what it needs.
    EXPECT_TRUE(folder.Exists("ndb.dat.tmp.77.0"));
  }
}

// Temporary and kept-old files of killed saves go when a writer takes the
// lock; nothing else does, however alike its name.
TEST(DatabaseRecovery, TheLeftoversOfKilledSavesAreRemovedByTheNextWriter) {
  TempFolder folder;
  SavedDatabase(folder, 1);
  const std::vector<std::string> leftovers = {"ndb.dat.tmp.4242.0",      "idx.dat.old.4242.3",
                                              "int.dat.tmp.1.17",        "vor.dat.rejected.tmp.9.1",
                                              "skat.save.tmp.4242.5",    "apt.dat.old.7.2.tmp.7.3",
                                              "apt.dat.rejected.old.1.1"};
  const std::vector<std::string> kept = {"notes.dat.tmp.1.2",   "ndb.dat.tmp.x.2", "ndb.dat.tmp.1",
                                         "ndb.dat.tmp.1.2.bak", "ndb.dat.new",     "ndb.dat.tmp..2",
                                         "skat.lock.tmp.1.2",   "Ndb.dat.tmp.1.2"};
  for (const std::string& name : leftovers) folder.Write(name, "left");
  for (const std::string& name : kept) folder.Write(name, "mine");
  std::filesystem::create_directory(folder / "vor.dat.tmp.5.5");
  TempFolder outside;
  outside.Write("target", "linked");
  std::filesystem::create_symlink(outside / "target", folder / "apt.dat.old.1.1");
  for (const std::string& name : leftovers) EXPECT_TRUE(IsSaveLeftover(name)) << name;
  for (const std::string& name : kept) EXPECT_FALSE(IsSaveLeftover(name)) << name;

  // A reader removes nothing.
  std::string refusal;
  std::optional<DatabaseLock> lock =
      testing_support::AcquireLock(folder.path(), LockMode::Shared, "reader", refusal);
  ASSERT_TRUE(lock);
  for (const std::string& name : leftovers) EXPECT_TRUE(folder.Exists(name)) << name;
  lock.reset();

  lock = testing_support::AcquireLock(folder.path(), LockMode::Exclusive, "writer", refusal);
  ASSERT_TRUE(lock);
  for (const std::string& name : leftovers) EXPECT_FALSE(folder.Exists(name)) << name;
  for (const std::string& name : kept) EXPECT_EQ(folder.Read(name), "mine") << name;
  EXPECT_TRUE(std::filesystem::is_directory(folder / "vor.dat.tmp.5.5"));
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "apt.dat.old.1.1"));
  EXPECT_EQ(outside.Read("target"), "linked");
  EXPECT_EQ(Loaded(folder).List(NavaidKind::Ndb).EntryCount(), 1u);
}

}  // namespace
}  // namespace navdb
