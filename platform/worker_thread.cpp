#include "platform/worker_thread.h"

#include <sched.h>

#include <system_error>
#include <utility>

namespace platform {
namespace {

struct Start {
  std::function<void()> work;
  cpu_set_t allowed{};  // the starter's processors, given back once running
  bool widen = false;
};

void* RunWork(void* argument) noexcept {
  const std::unique_ptr<Start> start(static_cast<Start*>(argument));
  if (start->widen) (void)::sched_setaffinity(0, sizeof start->allowed, &start->allowed);
  // Like std::thread: work that throws ends the program.
  start->work();
  return nullptr;
}

// The starter's processors without the one it runs on, when that leaves any.
bool OtherProcessors(const cpu_set_t& allowed, cpu_set_t& others) {
  const int current = ::sched_getcpu();
  if (current < 0 || current >= CPU_SETSIZE || !CPU_ISSET(current, &allowed)) return false;
  others = allowed;
  CPU_CLR(current, &others);
  return CPU_COUNT(&others) > 0;
}

}  // namespace

WorkerThread::WorkerThread(std::function<void()> work) {
  auto start = std::make_unique<Start>();
  start->work = std::move(work);
  cpu_set_t others{};
  const bool place = ::sched_getaffinity(0, sizeof start->allowed, &start->allowed) == 0 &&
                     OtherProcessors(start->allowed, others);
  start->widen = place;
  // Once a thread is created it owns `start` and may already have freed it:
  // from then on nothing here reads it.
  int created = EAGAIN;
  if (place) {
    pthread_attr_t attributes;
    if (::pthread_attr_init(&attributes) == 0) {
      if (::pthread_attr_setaffinity_np(&attributes, sizeof others, &others) == 0) {
        created = ::pthread_create(&thread_, &attributes, RunWork, start.get());
      }
      ::pthread_attr_destroy(&attributes);
    }
  }
  if (created != 0) {
    // Not placed (one processor, or a container that refuses affinities):
    // no thread was made, so it is started plainly.
    start->widen = false;
    created = ::pthread_create(&thread_, nullptr, RunWork, start.get());
  }
  if (created != 0) throw std::system_error(created, std::generic_category(), "pthread_create");
  (void)start.release();  // the thread owns it now
  started_ = true;
}

WorkerThread::WorkerThread(WorkerThread&& other) noexcept
    : thread_(other.thread_), started_(std::exchange(other.started_, false)) {}

WorkerThread& WorkerThread::operator=(WorkerThread&& other) noexcept {
  if (this != &other) {
    join();
    thread_ = other.thread_;
    started_ = std::exchange(other.started_, false);
  }
  return *this;
}

WorkerThread::~WorkerThread() {
  join();
}

void WorkerThread::join() {
  if (!std::exchange(started_, false)) return;
  (void)::pthread_join(thread_, nullptr);
}

}  // namespace platform
