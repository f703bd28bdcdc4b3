#include "platform/worker_thread.h"

#include <gtest/gtest.h>
#include <sched.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

namespace {

using platform::WorkerThread;

bool SameProcessors(const cpu_set_t& a, const cpu_set_t& b) {
  return CPU_EQUAL(&a, &b) != 0;
}

TEST(WorkerThread, RunsItsWorkAndIsJoinedWhenDestroyedOrReplaced) {
  std::atomic<int> done{0};
  {
    WorkerThread first([&done] {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      done += 1;
    });
    EXPECT_TRUE(first.joinable());
    // Replacing a thread waits for the one replaced.
    first = WorkerThread([&done] { done += 10; });
    EXPECT_GE(done.load(), 1);
    WorkerThread moved(std::move(first));
    EXPECT_FALSE(first.joinable());  // NOLINT(bugprone-use-after-move): moved-from is empty
    EXPECT_TRUE(moved.joinable());
  }  // destroyed: joined
  EXPECT_EQ(done.load(), 11);

  WorkerThread joined([&done] { done += 100; });
  joined.join();
  EXPECT_EQ(done.load(), 111);
  EXPECT_FALSE(joined.joinable());
  joined.join();  // a second join does nothing
  EXPECT_FALSE(WorkerThread().joinable());
}

// Placed on another processor to start, the thread must then be free to
// run on every processor its starter may use: left pinned, it would never
// use the starter's processor again.
TEST(WorkerThread, StartsOnAnotherProcessorAndMayThenUseAllOfTheStarters) {
  cpu_set_t starters{};
  ASSERT_EQ(::sched_getaffinity(0, sizeof starters, &starters), 0);
  cpu_set_t workers{};
  int workerStartedOn = -1;
  const int starterBefore = ::sched_getcpu();
  WorkerThread worker([&] {
    workerStartedOn = ::sched_getcpu();
    ::sched_getaffinity(0, sizeof workers, &workers);
  });
  const int starterAfter = ::sched_getcpu();
  worker.join();
  EXPECT_TRUE(SameProcessors(workers, starters));
  // Only when the starter stayed put is the processor it left known.
  if (CPU_COUNT(&starters) > 1 && starterBefore == starterAfter) {
    EXPECT_NE(workerStartedOn, starterBefore);
  }
}

TEST(WorkerThread, WithASingleProcessorStartsThereAsAnyThread) {
  cpu_set_t starters{};
  ASSERT_EQ(::sched_getaffinity(0, sizeof starters, &starters), 0);
  const int only = ::sched_getcpu();
  cpu_set_t one{};
  CPU_SET(only, &one);
  ASSERT_EQ(::sched_setaffinity(0, sizeof one, &one), 0);
  cpu_set_t workers{};
  bool ran = false;
  WorkerThread([&] {
    ran = true;
    ::sched_getaffinity(0, sizeof workers, &workers);
  }).join();
  ::sched_setaffinity(0, sizeof starters, &starters);
  EXPECT_TRUE(ran);
  EXPECT_TRUE(SameProcessors(workers, one));
}

}  // namespace
