// The "worker has ended" flag that a worker thread raises and a waiting
// thread waits on. Shared between both through std::shared_ptr.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace miravel {

class WorkerSignal {
 public:
  // Worker side: raises the flag, wakes WaitFor() and calls the waker.
  void Notify();
  bool IsSet() const;
  // Blocks until the flag is raised or `limit` has passed; true when raised.
  bool WaitFor(std::chrono::milliseconds limit) const;
  // Waiter side: `waker` runs (on the worker's thread, under this signal's
  // lock) when Notify() is called while it is installed. Passing an empty
  // function uninstalls it; after that returns, the old waker is never called.
  void SetWaker(std::function<void()> waker);

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable raised_;
  bool set_ = false;
  std::function<void()> waker_;
};

}  // namespace miravel
