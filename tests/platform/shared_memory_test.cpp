#include "platform/shared_memory.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

using platform::SharedBlock;

// Every test names its blocks with a prefix of this process, so parallel
// runs never meet.
class SharedMemory : public testing::Test {
 protected:
  void SetUp() override {
    prefix_ = "skat-platform-test-" + std::to_string(::getpid()) + "-";
    ::setenv("SKAT_SHM_PREFIX", prefix_.c_str(), 1);
  }
  void TearDown() override {
    platform::RemoveSharedBlock("block");
    ::unsetenv("SKAT_SHM_PREFIX");
  }
  std::string prefix_;
};

std::string Text(const SharedBlock& block) {
  return std::string(block.Bytes().data(), block.Bytes().size());
}

TEST_F(SharedMemory, NamesCarryThePrefixFromTheEnvironment) {
  EXPECT_EQ(platform::SharedMemoryName("NDPassData"), "/" + prefix_ + "NDPassData");
  ::unsetenv("SKAT_SHM_PREFIX");
  EXPECT_EQ(platform::SharedMemoryName("NDPassData"), "/NDPassData");
}

TEST_F(SharedMemory, PublishedBlocksAreReplacedWholeAndRemoved) {
  SharedBlock reader;
  EXPECT_EQ(reader.OpenReadOnly("block"), SharedBlock::OpenResult::Absent);

  ASSERT_TRUE(platform::PublishSharedBlock("block", std::string("route\0", 6)));
  ASSERT_EQ(reader.OpenReadOnly("block"), SharedBlock::OpenResult::Mapped);
  EXPECT_EQ(Text(reader), std::string("route\0", 6));

  // A new publication is a new block: the old view keeps the old bytes.
  ASSERT_TRUE(platform::PublishSharedBlock("block", "ab"));
  EXPECT_EQ(Text(reader), std::string("route\0", 6));
  SharedBlock second;
  ASSERT_EQ(second.OpenReadOnly("block"), SharedBlock::OpenResult::Mapped);
  EXPECT_EQ(Text(second), "ab");

  // An empty block exists but cannot be mapped.
  ASSERT_TRUE(platform::PublishSharedBlock("block", ""));
  EXPECT_EQ(second.OpenReadOnly("block"), SharedBlock::OpenResult::NotMapped);

  platform::RemoveSharedBlock("block");
  SharedBlock gone;
  EXPECT_EQ(gone.OpenReadOnly("block"), SharedBlock::OpenResult::Absent);
  EXPECT_FALSE(gone.IsMapped());
}

TEST_F(SharedMemory, CreateOrOpenSharesOneBlockAndGrowsAShortOne) {
  // Another program left the block shorter than this one needs.
  ASSERT_TRUE(platform::PublishSharedBlock("block", "xy"));
  SharedBlock first;
  ASSERT_EQ(first.CreateOrOpen("block", 60), SharedBlock::CreateResult::AlreadyExists);
  ASSERT_EQ(first.Bytes().size(), 60u);
  EXPECT_EQ(Text(first).substr(0, 3), std::string("xy\0", 3));
  first.Data()[59] = 'z';

  platform::RemoveSharedBlock("block");
  SharedBlock created;
  ASSERT_EQ(created.CreateOrOpen("block", 60), SharedBlock::CreateResult::Created);
  EXPECT_EQ(Text(created), std::string(60, '\0'));
  created.Data()[0] = 'N';
  SharedBlock other;
  ASSERT_EQ(other.CreateOrOpen("block", 60), SharedBlock::CreateResult::AlreadyExists);
  EXPECT_EQ(other.Data()[0], 'N');
  other.Close();
  EXPECT_FALSE(other.IsMapped());
}

}  // namespace
