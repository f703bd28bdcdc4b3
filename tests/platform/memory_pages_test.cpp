#include "platform/memory_pages.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <numeric>
#include <vector>

namespace {

using platform::PrefaultForWriting;

size_t ResidentPages(void* start, size_t bytes) {
  const auto pageBytes = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  std::vector<unsigned char> resident((bytes + pageBytes - 1) / pageBytes);
  if (::mincore(start, bytes, resident.data()) != 0) return 0;
  size_t count = 0;
  for (unsigned char page : resident) count += page & 1;
  return count;
}

TEST(PrefaultForWriting, BacksAFreshBufferWithPagesAndKeepsItsBytes) {
  const auto pageBytes = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  const size_t pages = 512;  // 2 MiB with 4 KiB pages
  void* mapped = ::mmap(nullptr, pages * pageBytes, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  auto* bytes = static_cast<uint8_t*>(mapped);
  // Two pages written by hand before; the rest never touched.
  bytes[0] = 0x5a;
  bytes[pages * pageBytes - 1] = 0xa5;
  EXPECT_EQ(ResidentPages(mapped, pages * pageBytes), 2u);

  // An unaligned range well inside: the pages holding its ends are backed
  // too, and nothing outside them.
  PrefaultForWriting(bytes + 3 * pageBytes + 17, 300 * pageBytes);
  const size_t backed = ResidentPages(mapped, pages * pageBytes);
  if (backed == 2) GTEST_SKIP() << "this kernel does not populate pages on request";
  EXPECT_EQ(backed, 2 + 301u);
  EXPECT_EQ(ResidentPages(bytes + 3 * pageBytes, 301 * pageBytes), 301u);
  EXPECT_EQ(bytes[0], 0x5a);
  EXPECT_EQ(bytes[pages * pageBytes - 1], 0xa5);
  EXPECT_EQ(std::accumulate(bytes + pageBytes, bytes + (pages - 1) * pageBytes, 0), 0);
  ::munmap(mapped, pages * pageBytes);
}

TEST(PrefaultForWriting, LeavesSmallBuffersToFaultAsUsual) {
  const auto pageBytes = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  void* mapped =
      ::mmap(nullptr, 64 * pageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  PrefaultForWriting(mapped, 16 * pageBytes);
  EXPECT_EQ(ResidentPages(mapped, 64 * pageBytes), 0u);
  PrefaultForWriting(nullptr, 1 << 30);  // nothing to do, and no fault
  ::munmap(mapped, 64 * pageBytes);
}

// A buffer filled through ReadWholeFile's path keeps what it was given
// after a prefault of its spare capacity.
TEST(PrefaultForWriting, LeavesTheBytesOfAHeapBufferAsTheyWere) {
  std::vector<char> buffer(3 << 20);
  for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<char>(i * 7);
  PrefaultForWriting(buffer.data() + 5, buffer.size() - 10);
  for (size_t i = 0; i < buffer.size(); i += 4093) {
    ASSERT_EQ(buffer[i], static_cast<char>(i * 7)) << i;
  }
}

}  // namespace
