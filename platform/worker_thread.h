// Threads for work that should run beside the thread that starts it.
#pragma once

#include <pthread.h>

#include <functional>
#include <memory>

namespace platform {

// A thread that is joined when it is destroyed or replaced, as std::jthread
// is, and that starts on another processor than the one its starter runs on.
//
// A new thread is otherwise queued on its starter's processor and, under
// schedulers that pack work onto few processors (as virtual machines' do),
// waits there for the starter's time slice, several milliseconds, while
// another processor idles: the start-up's load would wait on the window being
// built. So the thread is created allowed only on the other processors and,
// once it runs, allowed on all of them again (those its starter may use).
// With a single processor it starts as any thread does.
class WorkerThread {
 public:
  WorkerThread() = default;
  // Throws std::system_error when no thread can be had, as std::thread does.
  explicit WorkerThread(std::function<void()> work);
  WorkerThread(WorkerThread&& other) noexcept;
  WorkerThread& operator=(WorkerThread&& other) noexcept;
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;
  ~WorkerThread();

  bool joinable() const { return started_; }
  void join();

 private:
  pthread_t thread_{};
  bool started_ = false;
};

}  // namespace platform
