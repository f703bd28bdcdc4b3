#include "route_publisher.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/shared_memory.h"
#include "test_environment.h"

namespace ndhost {
namespace {

// The bytes of a route block, or nothing when it does not exist.
std::optional<std::string> BlockBytes(int number) {
  std::string name = platform::SharedMemoryName("fltplanMap" + std::to_string(number));
  int descriptor = ::shm_open(name.c_str(), O_RDONLY, 0);
  if (descriptor < 0) return std::nullopt;
  struct stat status {};
  ::fstat(descriptor, &status);
  std::string bytes(static_cast<size_t>(status.st_size), '\0');
  if (!bytes.empty()) {
    void* view = ::mmap(nullptr, bytes.size(), PROT_READ, MAP_SHARED, descriptor, 0);
    std::memcpy(bytes.data(), view, bytes.size());
    ::munmap(view, bytes.size());
  }
  ::close(descriptor);
  return bytes;
}

TEST(RoutePublisher, AlternatesAndRemovesItsBlocks) {
  EXPECT_EQ(platform::SharedMemoryName("fltplanMap0"),
            "/" + gauge_test::SharedMemoryPrefix() + "fltplanMap0");
  {
    RoutePublisher publisher;
    ASSERT_TRUE(publisher.Publish("first"));
    EXPECT_EQ(publisher.LastBlockNumber(), 0);
    EXPECT_EQ(BlockBytes(0), std::string("first\0", 6));
    EXPECT_FALSE(BlockBytes(1));
    ASSERT_TRUE(publisher.Publish("second"));
    EXPECT_EQ(publisher.LastBlockNumber(), 1);
    EXPECT_FALSE(BlockBytes(0));
    EXPECT_EQ(BlockBytes(1), std::string("second\0", 7));
    ASSERT_TRUE(publisher.PublishBytes("raw"));
    EXPECT_EQ(BlockBytes(0), std::string("raw"));
  }
  EXPECT_FALSE(BlockBytes(0));
  EXPECT_FALSE(BlockBytes(1));
}

}  // namespace
}  // namespace ndhost
