#include "platform/file_bytes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::ReadFileBytes;
using platform::ReadStep;

TEST(FileBytes, ReadsWholeFilesAndNamesTheStepThatFailed) {
  testing_support::TempFolder folder;
  folder.Write("a.bin", std::string("\x01\x00\x02", 3));
  const auto whole = ReadFileBytes(folder / "a.bin", 3);
  ASSERT_TRUE(whole);
  EXPECT_EQ(*whole, (std::vector<uint8_t>{1, 0, 2}));

  const auto tooLarge = ReadFileBytes(folder / "a.bin", 2);
  ASSERT_FALSE(tooLarge);
  EXPECT_EQ(tooLarge.error().step, ReadStep::Read);
  EXPECT_EQ(tooLarge.error().message, std::strerror(EFBIG));
  EXPECT_EQ(tooLarge.error().errorNumber, EFBIG);
  EXPECT_EQ(tooLarge.error().path, folder / "a.bin");
  const auto gone = ReadFileBytes(folder / "gone.bin", 10);
  ASSERT_FALSE(gone);
  EXPECT_EQ(gone.error().step, ReadStep::Open);
  EXPECT_EQ(gone.error().message, std::strerror(ENOENT));
  const auto folderItself = ReadFileBytes(folder.path(), 10);
  ASSERT_FALSE(folderItself);
  EXPECT_EQ(folderItself.error().step, ReadStep::Open);
  EXPECT_EQ(folderItself.error().message, std::strerror(EISDIR));
  folder.Write("empty.bin", "");
  const auto empty = ReadFileBytes(folder / "empty.bin", 10);
  ASSERT_FALSE(empty);
  EXPECT_EQ(empty.error().step, ReadStep::Size);
  EXPECT_EQ(empty.error().message, std::strerror(EINVAL));
  ASSERT_EQ(::mkfifo((folder / "pipe.bgl").c_str(), 0600), 0);
  const auto pipe = ReadFileBytes(folder / "pipe.bgl", 10);  // no hang
  ASSERT_FALSE(pipe);
  EXPECT_EQ(pipe.error().step, ReadStep::Size);
}

// Another program cuts the file down between the size and the read: the
// read ends as a failure instead of a fault, and nothing half-read is kept.
TEST(FileBytes, AFileThatShrinksWhileReadIsAFailure) {
  testing_support::TempFolder folder;
  folder.Write("s.bin", std::string(5000, 'x'));
  const auto shrunk =
      ReadFileBytes(folder / "s.bin", 1 << 20, [&] { fs::resize_file(folder / "s.bin", 100); });
  ASSERT_FALSE(shrunk);
  EXPECT_EQ(shrunk.error().step, ReadStep::Read);
  EXPECT_EQ(shrunk.error().message, platform::kFileShrankText);
  EXPECT_EQ(shrunk.error().errorNumber, 0);

  // A file that grows meanwhile is read up to the size it had.
  const auto grown = ReadFileBytes(
      folder / "s.bin", 1 << 20, [&] { std::ofstream(folder / "s.bin", std::ios::app) << "more"; });
  ASSERT_TRUE(grown);
  EXPECT_EQ(grown->size(), 100u);
}

}  // namespace
