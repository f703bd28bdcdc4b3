// A set replacement killed between two of its renames, and what the next
// process makes of what it left: the manifest, some files renamed, some
// temporary files, the kept old files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_set.h"
#include "tests/support/temp_folder.h"

namespace platform {
namespace {

using testing_support::TempFolder;

const std::array<std::string, 5> kNames = {"ndb.dat", "vor.dat", "apt.dat", "int.dat", "idx.dat"};
const std::array<std::string_view, 5> kTargets = {"ndb.dat", "vor.dat", "apt.dat", "int.dat",
                                                  "idx.dat"};
constexpr int kKilled = 9;

std::vector<std::string> FolderNames(const TempFolder& folder) {
  return testing_support::FileNamesIn(folder.path());
}

// Writes the old set (int.dat missing: a file the replacement creates) and
// holds the new set's contents, which its files point into: not copied.
struct Sets {
  explicit Sets(const TempFolder& folder) {
    for (size_t i = 0; i < kNames.size(); ++i) {
      if (kNames[i] != "int.dat") folder.Write(kNames[i], "old " + kNames[i]);
      contents[i] = "new " + kNames[i] + "\r\n";
      files.push_back({folder / kNames[i], contents[i]});
    }
  }
  Sets(const Sets&) = delete;
  Sets& operator=(const Sets&) = delete;
  std::array<std::string, 5> contents;
  std::vector<FileToWrite> files;
};

// Replaces the set and dies, as a kill would, right before the rename of
// `name`: the process ends there, nothing of it cleans up.
void ReplaceAndDieBeforeRenaming(const TempFolder& folder, const Sets& sets,
                                 const std::string& name) {
  // Forked where it stands, so that the child replaces this test's files.
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(ReplaceFilesAsSet(
                  sets.files,
                  [&](FileStep step, const std::filesystem::path& path) {
                    if (step == FileStep::Rename && path.filename() == name) ::_exit(kKilled);
                    return 0;
                  },
                  folder / "skat.save"),
              testing::ExitedWithCode(kKilled), "");
}

std::string TemporaryOf(const TempFolder& folder, std::string_view name) {
  for (const std::string& file : FolderNames(folder)) {
    if (file.starts_with(std::string(name) + ".tmp.")) return file;
  }
  return {};
}

std::string KeptOf(const TempFolder& folder, std::string_view name) {
  for (const std::string& file : FolderNames(folder)) {
    if (file.starts_with(std::string(name) + ".old.")) return file;
  }
  return {};
}

void ExpectOnly(const TempFolder& folder, std::string_view prefix) {
  for (size_t i = 0; i < kNames.size(); ++i) {
    SCOPED_TRACE(kNames[i]);
    if (prefix == "old" && kNames[i] == "int.dat") {
      EXPECT_FALSE(folder.Exists("int.dat"));
    } else {
      EXPECT_EQ(folder.Read(kNames[i]),
                std::string(prefix) + " " + kNames[i] + (prefix == "new" ? "\r\n" : ""));
    }
  }
}

TEST(FileSetRecovery, AKillBetweenAnyTwoRenamesIsRolledForward) {
  for (size_t killedAt = 0; killedAt < kNames.size(); ++killedAt) {
    SCOPED_TRACE("killed before renaming " + kNames[killedAt]);
    TempFolder folder;
    const Sets sets(folder);
    ReplaceAndDieBeforeRenaming(folder, sets, kNames[killedAt]);
    // The files renamed so far are new, the others old: a mixed set.
    for (size_t i = 0; i < kNames.size(); ++i) {
      if (i < killedAt) {
        EXPECT_EQ(folder.Read(kNames[i]), sets.contents[i]);
      }
    }
    if (killedAt == 2) {
      // The manifest, byte for byte: what each file's new and old contents are called.
      const std::string text = folder.Read("skat.save");
      EXPECT_TRUE(text.starts_with("file set 1\nndb.dat\tndb.dat.tmp.")) << text;
      const Result<std::vector<SetEntry>> entries = ParseSetManifest(text);
      ASSERT_TRUE(entries) << entries.error().message;
      ASSERT_EQ(entries->size(), 5u);
      EXPECT_EQ((*entries)[2].target, "apt.dat");
      EXPECT_EQ((*entries)[2].temporary, TemporaryOf(folder, "apt.dat"));
      EXPECT_EQ((*entries)[2].kept, KeptOf(folder, "apt.dat"));
      EXPECT_EQ((*entries)[3].kept, "");  // int.dat had no old file
      EXPECT_EQ((*entries)[3].sizeBytes, sets.contents[3].size());
      EXPECT_EQ((*entries)[3].digest, ContentDigest(sets.contents[3]));
      EXPECT_EQ(EncodeSetManifest(*entries), text);
    }
    const Result<SetRecovery> result = FinishInterruptedSet(folder / "skat.save", kTargets);
    ASSERT_TRUE(result) << result.error().message;
    EXPECT_EQ(*result, SetRecovery::RolledForward);
    ExpectOnly(folder, "new");
    EXPECT_EQ(FolderNames(folder),
              (std::vector<std::string>{"apt.dat", "idx.dat", "int.dat", "ndb.dat", "vor.dat"}));
    // Done is done: a second look finds nothing left.
    EXPECT_EQ(FinishInterruptedSet(folder / "skat.save", kTargets).value(),
              SetRecovery::NothingLeft);
  }
}

TEST(FileSetRecovery, WithoutEveryNewFileTheOldSetIsPutBack) {
  TempFolder folder;
  const Sets sets(folder);
  ReplaceAndDieBeforeRenaming(folder, sets, "int.dat");
  // ndb, vor and apt are new; int.dat's new contents are lost.
  std::filesystem::remove(folder / TemporaryOf(folder, "int.dat"));
  Result<SetRecovery> result = FinishInterruptedSet(folder / "skat.save", kTargets);
  ASSERT_TRUE(result) << result.error().message;
  EXPECT_EQ(*result, SetRecovery::RolledBack);
  ExpectOnly(folder, "old");

  // A temporary file that is there but not whole counts as lost too.
  TempFolder damaged;
  const Sets again(damaged);
  ReplaceAndDieBeforeRenaming(damaged, again, "vor.dat");
  damaged.Write(TemporaryOf(damaged, "idx.dat"), "new idx.dat\r\r");  // same size, other bytes
  result = FinishInterruptedSet(damaged / "skat.save", kTargets);
  ASSERT_TRUE(result) << result.error().message;
  EXPECT_EQ(*result, SetRecovery::RolledBack);
  ExpectOnly(damaged, "old");
  EXPECT_EQ(FolderNames(damaged),
            (std::vector<std::string>{"apt.dat", "idx.dat", "ndb.dat", "vor.dat"}));
}

TEST(FileSetRecovery, WhatCannotBeMadeWholeIsLeftAsItIs) {
  TempFolder folder;
  const Sets sets(folder);
  ReplaceAndDieBeforeRenaming(folder, sets, "apt.dat");
  // apt.dat's new contents are gone, and so is ndb.dat's old file.
  std::filesystem::remove(folder / TemporaryOf(folder, "apt.dat"));
  std::filesystem::remove(folder / KeptOf(folder, "ndb.dat"));
  const std::vector<std::string> before = FolderNames(folder);
  const Result<SetRecovery> result = FinishInterruptedSet(folder / "skat.save", kTargets);
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error().message, "neither the new nor the old contents of every file are there");
  EXPECT_EQ(FolderNames(folder), before);

  // A manifest that names a file outside the set touches nothing either.
  const std::array<std::string_view, 1> onlyNdb = {"ndb.dat"};
  EXPECT_EQ(FinishInterruptedSet(folder / "skat.save", onlyNdb).error().message,
            "skat.save names vor.dat, which is no file of this set");
  folder.Write("skat.save", "file set 1\n../notes.txt\t../notes.txt.tmp.1.2\t\t4\t0\n");
  EXPECT_EQ(FinishInterruptedSet(folder / "skat.save", kTargets).error().message,
            "skat.save is damaged: a line names a file that no set replacement makes");
  std::filesystem::remove(folder / "skat.save");
  std::filesystem::create_directory(folder / "skat.save");
  EXPECT_EQ(FinishInterruptedSet(folder / "skat.save", kTargets).error().message,
            "skat.save cannot be read: Is a directory");
  std::filesystem::remove(folder / "skat.save");
  EXPECT_EQ(FolderNames(folder).size(), before.size() - 1);
}

TEST(FileSetRecovery, ManifestsAreReadStrictly) {
  const std::string good = "file set 1\nndb.dat\tndb.dat.tmp.12.0\tndb.dat.old.12.5\t1f\tabc\n";
  const Result<std::vector<SetEntry>> entries = ParseSetManifest(good);
  ASSERT_TRUE(entries);
  EXPECT_EQ((*entries)[0].sizeBytes, 31u);
  EXPECT_EQ((*entries)[0].digest, 0xABCu);
  const std::pair<std::string, std::string> refused[] = {
      {"", "it names no file"},
      {"file set 2\nndb.dat\tndb.dat.tmp.1.0\t\t1\t1\n", "its first line is not \"file set 1\""},
      {"file set 1\n", "it names no file"},
      {"file set 1\nndb.dat\tndb.dat.tmp.1.0\t\t1\n", "a line does not have five fields"},
      {"file set 1\nndb.dat\tndb.dat.tmp.1.0\t\t1\t1\t\n", "a line does not have five fields"},
      {"file set 1\nndb.dat\tvor.dat.tmp.1.0\t\t1\t1\n",
       "a line names a file that no set replacement makes"},
      {"file set 1\nndb.dat\tndb.dat.tmp.1\t\t1\t1\n",
       "a line names a file that no set replacement makes"},
      {"file set 1\nndb.dat\tndb.dat.tmp.1.0\tndb.dat.tmp.1.1\t1\t1\n",
       "a line names a file that no set replacement makes"},
      {"file set 1\nsub/ndb.dat\tsub/ndb.dat.tmp.1.0\t\t1\t1\n",
       "a line names a file that no set replacement makes"},
      {"file set 1\nndb.dat\tndb.dat.tmp.1.0\t\t-1\t1\n", "a line has no size or digest"},
      {"file set 1\nndb.dat\tndb.dat.tmp.1.0\t\t1\t10000000000000000\n",
       "a line has no size or digest"},
      {"file set 1\nndb.dat\tndb.dat.tmp.1.0\t\t1\t1\nndb.dat\tndb.dat.tmp.1.1\t\t1\t1\n",
       "a file is named twice"},
  };
  for (const auto& [text, why] : refused) {
    SCOPED_TRACE(text);
    const Result<std::vector<SetEntry>> refusal = ParseSetManifest(text);
    ASSERT_FALSE(refusal);
    EXPECT_EQ(refusal.error().message, why);
  }
  // Digests tell versions apart: one byte, its place, or the length.
  EXPECT_NE(ContentDigest("new ndb.dat\r\n"), ContentDigest("new ndb.dat\r\r"));
  EXPECT_NE(ContentDigest("ab"), ContentDigest("ba"));
  EXPECT_NE(ContentDigest(std::string(8, '\0')), ContentDigest(std::string(9, '\0')));
  EXPECT_EQ(ContentDigest("same"), ContentDigest(std::string("same")));
}

// Without a kill, the manifest is there only while the files are renamed.
TEST(FileSetRecovery, AWholeOrFailedReplacementLeavesNoManifest) {
  TempFolder folder;
  const Sets sets(folder);
  ASSERT_TRUE(ReplaceFilesAsSet(sets.files, {}, folder / "skat.save").ok());
  ExpectOnly(folder, "new");
  EXPECT_FALSE(folder.Exists("skat.save"));

  for (FileStep step : {FileStep::Create, FileStep::Rename, FileStep::SyncFolder}) {
    SCOPED_TRACE(static_cast<int>(step));
    TempFolder failing;
    const Sets failingSets(failing);
    // The manifest's own steps fail: no file has been replaced yet.
    const Status result = ReplaceFilesAsSet(
        failingSets.files,
        [&](FileStep at, const std::filesystem::path& path) {
          const bool manifest = path.filename() == "skat.save" || path == failing.path();
          return at == step && manifest ? EIO : 0;
        },
        failing / "skat.save");
    EXPECT_EQ(result.error().errorNumber, EIO);
    EXPECT_EQ(result.error().path, failing / "skat.save");
    ExpectOnly(failing, "old");
    EXPECT_EQ(FolderNames(failing),
              (std::vector<std::string>{"apt.dat", "idx.dat", "ndb.dat", "vor.dat"}));
  }

  TempFolder renameFails;
  const Sets renameSets(renameFails);
  const Status result = ReplaceFilesAsSet(
      renameSets.files,
      [](FileStep at, const std::filesystem::path& path) {
        return at == FileStep::Rename && path.filename() == "idx.dat" ? EIO : 0;
      },
      renameFails / "skat.save");
  EXPECT_EQ(result.error().errorNumber, EIO);
  ExpectOnly(renameFails, "old");
  EXPECT_EQ(FolderNames(renameFails),
            (std::vector<std::string>{"apt.dat", "idx.dat", "ndb.dat", "vor.dat"}));
}

}  // namespace
}  // namespace platform
