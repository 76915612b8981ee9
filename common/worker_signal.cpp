#include "common/worker_signal.h"

namespace miravel {

void WorkerSignal::Notify() {
  std::lock_guard lock(mutex_);
  set_ = true;
  raised_.notify_all();
  if (waker_) waker_();
}

bool WorkerSignal::IsSet() const {
  std::lock_guard lock(mutex_);
  return set_;
}

bool WorkerSignal::WaitFor(std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return raised_.wait_for(lock, limit, [this] { return set_; });
}

void WorkerSignal::SetWaker(std::function<void()> waker) {
  std::lock_guard lock(mutex_);
  waker_ = std::move(waker);
}

}  // namespace miravel
