#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_io.h"
#include "tests/support/temp_folder.h"

namespace platform {
namespace {

using testing_support::TempFolder;

const std::array<std::string, 5> kNames = {"ndb.dat", "vor.dat", "apt.dat", "int.dat", "idx.dat"};

std::vector<std::string> FolderNames(const TempFolder& folder) {
  return testing_support::FileNamesIn(folder.path());
}

// Writes the old set (int.dat is missing: a file the save creates) and
// saves the new one with `fault`.
Status SaveNewSet(const TempFolder& folder, const FileFaultHook& fault) {
  for (const std::string& name : kNames) {
    if (name != "int.dat") folder.Write(name, "old " + name);
  }
  std::array<std::string, 5> contents;
  std::vector<FileToWrite> files;
  for (size_t i = 0; i < kNames.size(); ++i) {
    contents[i] = "new " + kNames[i] + "\r\n";
    files.push_back({folder / kNames[i], contents[i]});
  }
  return ReplaceFilesAsSet(files, fault);
}

void ExpectOldSet(const TempFolder& folder) {
  for (const std::string& name : kNames) {
    SCOPED_TRACE(name);
    if (name == "int.dat")
      EXPECT_FALSE(std::filesystem::exists(folder / name));
    else
      EXPECT_EQ(folder.Read(name), "old " + name);
  }
  EXPECT_EQ(FolderNames(folder),
            (std::vector<std::string>{"apt.dat", "idx.dat", "ndb.dat", "vor.dat"}));
}

void ExpectNewSet(const TempFolder& folder) {
  for (const std::string& name : kNames) {
    SCOPED_TRACE(name);
    EXPECT_EQ(folder.Read(name), "new " + name + "\r\n");
  }
  EXPECT_EQ(FolderNames(folder),
            (std::vector<std::string>{"apt.dat", "idx.dat", "int.dat", "ndb.dat", "vor.dat"}));
}

TEST(FileSet, AFailureAtAnyFileBeforeTheRenamesLeavesEveryOldFile) {
  for (FileStep step : {FileStep::Create, FileStep::Write, FileStep::Sync}) {
    for (const std::string& failing : kNames) {
      SCOPED_TRACE(failing + " step " + std::to_string(static_cast<int>(step)));
      TempFolder folder;
      const Status result = SaveNewSet(folder, [&](FileStep at, const std::filesystem::path& path) {
        return at == step && path.filename() == failing ? ENOSPC : 0;
      });
      EXPECT_FALSE(result.ok());
      EXPECT_EQ(result.error().message, std::strerror(ENOSPC));
      EXPECT_EQ(result.error().errorNumber, ENOSPC);
      EXPECT_EQ(result.error().path, folder / failing);
      ExpectOldSet(folder);
    }
  }
}

TEST(FileSet, AFailedRenamePutsTheRenamedFilesBack) {
  for (const std::string& failing : kNames) {
    SCOPED_TRACE(failing);
    TempFolder folder;
    const Status result = SaveNewSet(folder, [&](FileStep at, const std::filesystem::path& path) {
      return at == FileStep::Rename && path.filename() == failing ? EIO : 0;
    });
    EXPECT_EQ(result.error().errorNumber, EIO);
    EXPECT_EQ(result.error().path, folder / failing);
    ExpectOldSet(folder);
  }
}

TEST(FileSet, SuccessAndAFailedFolderSyncLeaveEveryNewFile) {
  TempFolder folder;
  EXPECT_TRUE(SaveNewSet(folder, {}).ok());
  ExpectNewSet(folder);

  TempFolder unsynced;
  const Status result = SaveNewSet(unsynced, [](FileStep at, const std::filesystem::path&) {
    return at == FileStep::SyncFolder ? EIO : 0;
  });
  EXPECT_EQ(result.error().errorNumber, EIO);
  EXPECT_EQ(result.error().path, unsynced.path());
  ExpectNewSet(unsynced);
}

// A replaced file keeps its permissions, and under root its owner: a save
// must not turn a file the user keeps private into one everyone reads, nor
// hand it to root.
TEST(FileSet, AReplacedFileKeepsItsPermissionsAndOwner) {
  TempFolder folder;
  folder.Write("ndb.dat", "old");
  folder.Write("vor.dat", "old");
  ::chmod((folder / "ndb.dat").c_str(), 0600);
  ::chmod((folder / "vor.dat").c_str(), 0444);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown((folder / "ndb.dat").c_str(), 4321, 4322), 0);
  }
  const std::string bytes = "new";
  const std::vector<FileToWrite> files = {
      {folder / "ndb.dat", bytes}, {folder / "vor.dat", bytes}, {folder / "int.dat", bytes}};
  // Not even while it is written is the private file's new version readable by others.
  mode_t whileWritten = 0777;
  ASSERT_TRUE(ReplaceFilesAsSet(files, [&](FileStep step, const std::filesystem::path& path) {
                if (step != FileStep::Write || path.filename() != "ndb.dat") return 0;
                for (const std::string& name : FolderNames(folder)) {
                  struct stat info {};
                  if (name.starts_with("ndb.dat.tmp.") &&
                      ::stat((folder / name).c_str(), &info) == 0) {
                    whileWritten = info.st_mode & 0777;
                  }
                }
                return 0;
              }).ok());
  EXPECT_EQ(whileWritten & 077, 0u);
  ASSERT_TRUE(ReplaceFileAtomically(folder / "vor.dat", "newer").ok());
  struct stat ndb {
  }, vor{}, created{};
  ASSERT_EQ(::stat((folder / "ndb.dat").c_str(), &ndb), 0);
  ASSERT_EQ(::stat((folder / "vor.dat").c_str(), &vor), 0);
  ASSERT_EQ(::stat((folder / "int.dat").c_str(), &created), 0);
  EXPECT_EQ(ndb.st_mode & 07777, 0600u);
  EXPECT_EQ(vor.st_mode & 07777, 0444u);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(created.st_mode & 07777, 0644u & ~mask);
  if (root) {
    EXPECT_EQ(ndb.st_uid, 4321u);
    EXPECT_EQ(ndb.st_gid, 4322u);
    EXPECT_EQ(created.st_uid, 0u);
  }
  EXPECT_EQ(folder.Read("ndb.dat"), "new");
  EXPECT_EQ(folder.Read("vor.dat"), "newer");
}

TEST(FileSet, ARealRenameFailureOntoAFolder) {
  TempFolder folder;
  folder.Write("ndb.dat", "old ndb.dat");
  std::filesystem::create_directory(folder / "vor.dat");
  const std::string ndb = "new ndb", vor = "new vor";
  const std::vector<FileToWrite> files = {{folder / "ndb.dat", ndb}, {folder / "vor.dat", vor}};
  const Status result = ReplaceFilesAsSet(files);
  EXPECT_EQ(result.error().errorNumber, EISDIR);
  EXPECT_EQ(folder.Read("ndb.dat"), "old ndb.dat");
  EXPECT_EQ(FolderNames(folder), (std::vector<std::string>{"ndb.dat", "vor.dat"}));
}

}  // namespace
}  // namespace platform

namespace platform {
namespace {

// A named pipe, a device or a folder where a file is read is refused at once,
// never waited on: an open() of a pipe with no writer blocks for ever.
TEST(WholeFileRead, OnlyRegularFilesAreReadAndNothingWaits) {
  testing_support::TempFolder folder;
  folder.Write("a.dat", "line\r\n");
  std::string bytes = "stale";
  ASSERT_TRUE(ReadWholeFile(folder / "a.dat", bytes).ok());
  EXPECT_EQ(bytes, "line\r\n");

  ASSERT_EQ(::mkfifo((folder / "vor.dat").c_str(), 0600), 0);
  Status read = ReadWholeFile(folder / "vor.dat", bytes);
  EXPECT_FALSE(read.ok());
  EXPECT_EQ(read.error().message, kNotRegularFileText);
  EXPECT_EQ(ReadWholeFile("/dev/zero", bytes).error().message, kNotRegularFileText);

  read = ReadWholeFile(folder.path(), bytes);
  EXPECT_EQ(read.error().errorNumber, EISDIR);
  EXPECT_EQ(ReadWholeFile(folder / "gone.dat", bytes).error().errorNumber, ENOENT);
}

}  // namespace
}  // namespace platform
