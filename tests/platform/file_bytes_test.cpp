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
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_EQ(ReadFileBytes(folder / "a.bin", 3, bytes, error), ReadStep::None);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 0, 2}));

  EXPECT_EQ(ReadFileBytes(folder / "a.bin", 2, bytes, error), ReadStep::Read);
  EXPECT_EQ(error, std::strerror(EFBIG));
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(ReadFileBytes(folder / "gone.bin", 10, bytes, error), ReadStep::Open);
  EXPECT_EQ(error, std::strerror(ENOENT));
  EXPECT_EQ(ReadFileBytes(folder.path(), 10, bytes, error), ReadStep::Open);
  EXPECT_EQ(error, std::strerror(EISDIR));
  folder.Write("empty.bin", "");
  EXPECT_EQ(ReadFileBytes(folder / "empty.bin", 10, bytes, error), ReadStep::Size);
  EXPECT_EQ(error, std::strerror(EINVAL));
  ASSERT_EQ(::mkfifo((folder / "pipe.bgl").c_str(), 0600), 0);
  EXPECT_EQ(ReadFileBytes(folder / "pipe.bgl", 10, bytes, error), ReadStep::Size);  // no hang
}

// Another program cuts the file down between the size and the read: the
// read ends as a failure instead of a fault, and nothing half-read is kept.
TEST(FileBytes, AFileThatShrinksWhileReadIsAFailure) {
  testing_support::TempFolder folder;
  folder.Write("s.bin", std::string(5000, 'x'));
  std::vector<uint8_t> bytes;
  std::string error;
  const ReadStep step = ReadFileBytes(folder / "s.bin", 1 << 20, bytes, error,
                                      [&] { fs::resize_file(folder / "s.bin", 100); });
  EXPECT_EQ(step, ReadStep::Read);
  EXPECT_EQ(error, platform::kFileShrankText);
  EXPECT_TRUE(bytes.empty());

  // A file that grows meanwhile is read up to the size it had.
  ASSERT_EQ(ReadFileBytes(folder / "s.bin", 1 << 20, bytes, error,
                          [&] { std::ofstream(folder / "s.bin", std::ios::app) << "more"; }),
            ReadStep::None);
  EXPECT_EQ(bytes.size(), 100u);
}

}  // namespace
