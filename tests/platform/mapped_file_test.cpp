#include "platform/mapped_file.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/support/temp_folder.h"

namespace {

using platform::MappedFile;

std::string Text(const MappedFile& file) {
  return std::string(file.Bytes().data(), file.SizeBytes());
}

TEST(MappedFile, MapsWholeFilesAndStopsAtTheStageThatFails) {
  testing_support::TempFolder folder;
  folder.Write("ndb.dat", std::string("AB\0CD\r\n", 7));
  folder.Write("empty.dat", "");

  MappedFile file;
  ASSERT_TRUE(file.Open((folder / "ndb.dat").string()));
  ASSERT_TRUE(file.ReadSize());
  EXPECT_EQ(file.SizeBytes(), 7u);
  ASSERT_TRUE(file.MapView());
  EXPECT_EQ(Text(file), std::string("AB\0CD\r\n", 7));

  // Moving hands the view over; the moved-from file holds nothing.
  MappedFile moved = std::move(file);
  EXPECT_EQ(Text(moved), std::string("AB\0CD\r\n", 7));
  EXPECT_EQ(file.SizeBytes(), 0u);
  EXPECT_TRUE(file.Bytes().empty());
  moved.Close();
  EXPECT_TRUE(moved.Bytes().empty());

  MappedFile missing;
  EXPECT_FALSE(missing.Open((folder / "gone.dat").string()));
  EXPECT_FALSE(missing.ReadSize());
  EXPECT_FALSE(missing.MapView());

  // An empty file and a folder open, but have no size to map.
  MappedFile empty;
  ASSERT_TRUE(empty.Open((folder / "empty.dat").string()));
  EXPECT_FALSE(empty.ReadSize());
  EXPECT_FALSE(empty.MapView());
  MappedFile directory;
  ASSERT_TRUE(directory.Open((folder / ".").string()));
  EXPECT_FALSE(directory.ReadSize());
}

}  // namespace
