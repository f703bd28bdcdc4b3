#include "data/database_watch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "test_environment.h"
#include "tests/support/database_writer.h"

namespace lumaro {
namespace {

using gauge_test::BuildDatabase;

class DatabaseWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files_ = BuildDatabase({{'N', "AB", 48.0, 2.0}, {'I', "OKRIX", 47.5, 1.5}});
    gauge_test::WriteDatabase(folder_.path(), files_);
    ASSERT_EQ(OpenNavDatabase(database_, Root()), 0);
    ResetDatabaseWatch(watch_, database_);
  }
  std::string Root() const { return folder_.path().string(); }
  bool ChangedAt(int64_t seconds) {
    return DatabaseFilesChanged(watch_, database_, Root(), seconds);
  }
  void Append(const char* name, const std::string& text) {
    std::ofstream(folder_ / name, std::ios::binary | std::ios::app) << text;
  }

  gauge_test::SimulatorFolder folder_;
  gauge_test::DatabaseFiles files_;
  NavDatabase database_;
  DatabaseWatch watch_;
};

// A change is reported at the first check that finds the files as the check
// before found them, one check a second.
TEST_F(DatabaseWatchTest, AChangeIsReportedOnceTheFilesHoldStill) {
  EXPECT_FALSE(ChangedAt(100));
  Append("NavData/ndb.dat", "X");
  EXPECT_FALSE(ChangedAt(100));  // this second was checked already
  EXPECT_FALSE(ChangedAt(101));  // seen changing
  EXPECT_TRUE(ChangedAt(102));   // still the same: read it
  ASSERT_EQ(OpenNavDatabase(database_, Root()), 402);
  EXPECT_FALSE(ChangedAt(103));

  // A copy that goes on for seconds is read after it has ended.
  for (int64_t second = 104; second < 108; ++second) {
    Append("NavData/idx.dat", "Y");
    EXPECT_FALSE(ChangedAt(second));
  }
  EXPECT_TRUE(ChangedAt(108));
  ASSERT_EQ(OpenNavDatabase(database_, Root()), 403);  // the index ragged too

  // Removing a file is a change, and so is the file coming back whole.
  std::filesystem::remove(folder_ / "NavData/idx.dat");
  EXPECT_FALSE(ChangedAt(109));
  EXPECT_TRUE(ChangedAt(110));
  ASSERT_EQ(OpenNavDatabase(database_, Root()), 101);
  gauge_test::WriteDatabase(folder_.path(), files_);
  EXPECT_FALSE(ChangedAt(111));
  EXPECT_TRUE(ChangedAt(112));
  EXPECT_EQ(OpenNavDatabase(database_, Root()), 0);
  EXPECT_FALSE(ChangedAt(113));
}

}  // namespace
}  // namespace lumaro
