#include "platform/shared_memory.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

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

// Cuts or grows the block `name` as another program may.
void Resize(const std::string& name, off_t sizeBytes) {
  int descriptor = ::shm_open(platform::SharedMemoryName(name).c_str(), O_RDWR, 0);
  ASSERT_GE(descriptor, 0);
  ASSERT_EQ(::ftruncate(descriptor, sizeBytes), 0);
  ::close(descriptor);
}

std::string Read(const SharedBlock& block, size_t offset, size_t sizeBytes) {
  std::string bytes(sizeBytes, '?');
  return block.Read(offset, bytes) ? bytes : "(short)";
}

TEST_F(SharedMemory, NamesCarryThePrefixFromTheEnvironment) {
  EXPECT_EQ(platform::SharedMemoryName("NDPassData"), "/" + prefix_ + "NDPassData");
  ::unsetenv("SKAT_SHM_PREFIX");
  EXPECT_EQ(platform::SharedMemoryName("NDPassData"), "/NDPassData");
}

TEST_F(SharedMemory, PublishedBlocksAreCopiedWholeAndRemoved) {
  EXPECT_EQ(platform::CopySharedBlock("block", 100), std::nullopt);

  ASSERT_TRUE(platform::PublishSharedBlock("block", std::string("route\0", 6)));
  EXPECT_EQ(platform::CopySharedBlock("block", 100), std::string("route\0", 6));
  EXPECT_EQ(platform::CopySharedBlock("block", 3), "rou");

  // A new publication is a new block.
  ASSERT_TRUE(platform::PublishSharedBlock("block", "ab"));
  EXPECT_EQ(platform::CopySharedBlock("block", 100), "ab");

  // An empty block exists, with no bytes.
  ASSERT_TRUE(platform::PublishSharedBlock("block", ""));
  EXPECT_EQ(platform::CopySharedBlock("block", 100), "");

  platform::RemoveSharedBlock("block");
  EXPECT_EQ(platform::CopySharedBlock("block", 100), std::nullopt);
}

TEST_F(SharedMemory, CreateOrOpenSharesOneBlockAndGrowsAShortOne) {
  // Another program left the block shorter than this one needs.
  ASSERT_TRUE(platform::PublishSharedBlock("block", "xy"));
  SharedBlock first;
  ASSERT_EQ(first.CreateOrOpen("block", 60), SharedBlock::CreateResult::AlreadyExists);
  EXPECT_EQ(Read(first, 0, 60), std::string("xy") + std::string(58, '\0'));
  EXPECT_EQ(Read(first, 59, 2), "(short)");
  ASSERT_TRUE(first.Write(59, std::string_view("z")));
  EXPECT_EQ(Read(first, 58, 2), std::string("\0z", 2));

  platform::RemoveSharedBlock("block");
  SharedBlock created;
  ASSERT_EQ(created.CreateOrOpen("block", 60), SharedBlock::CreateResult::Created);
  EXPECT_EQ(Read(created, 0, 60), std::string(60, '\0'));
  ASSERT_TRUE(created.Write(0, std::string_view("N")));
  SharedBlock other;
  ASSERT_EQ(other.CreateOrOpen("block", 60), SharedBlock::CreateResult::AlreadyExists);
  EXPECT_EQ(Read(other, 0, 1), "N");
  other.Close();
  EXPECT_FALSE(other.IsOpen());
  EXPECT_FALSE(other.Write(0, std::string_view("x")));
  EXPECT_EQ(Read(other, 0, 1), "(short)");
}

// Another program shrinks a block this one holds: through a mapping the next
// access was SIGBUS for the whole process. Reads now come back short, writes
// past the new end are refused and do not grow the block.
TEST_F(SharedMemory, ABlockCutShortIsNeverReadPastItsEnd) {
  SharedBlock block;
  ASSERT_EQ(block.CreateOrOpen("block", 60), SharedBlock::CreateResult::Created);
  ASSERT_TRUE(block.Write(0, std::string_view("NDMode=1")));
  Resize("block", 4);
  EXPECT_EQ(Read(block, 0, 60), "(short)");
  EXPECT_EQ(Read(block, 0, 4), "NDMo");
  EXPECT_FALSE(block.Write(30, std::string_view("Range=040")));
  EXPECT_EQ(platform::CopySharedBlock("block", 100), "NDMo");
  Resize("block", 0);
  EXPECT_EQ(Read(block, 0, 1), "(short)");
  EXPECT_EQ(platform::CopySharedBlock("block", 100), "");

  // A copy taken while another thread keeps cutting and growing the block is
  // a copy of some size at most the largest, never a fault.
  const std::string content(65536, 'r');
  ASSERT_TRUE(platform::PublishSharedBlock("block", content));
  std::atomic<bool> stop{false};
  std::thread resizer([&stop] {
    int descriptor = ::shm_open(platform::SharedMemoryName("block").c_str(), O_RDWR, 0);
    for (int round = 0; descriptor >= 0 && !stop; ++round) {
      if (::ftruncate(descriptor, round % 2 == 0 ? 0 : 65536) != 0) break;
    }
    if (descriptor >= 0) ::close(descriptor);
  });
  for (int copy = 0; copy < 2000; ++copy) {
    std::optional<std::string> bytes = platform::CopySharedBlock("block", 1 << 20);
    ASSERT_TRUE(bytes);
    ASSERT_LE(bytes->size(), 65536u);
  }
  stop = true;
  resizer.join();
}

}  // namespace
