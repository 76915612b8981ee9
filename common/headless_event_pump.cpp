#include "common/headless_event_pump.h"

namespace miravel {

void HeadlessEventPump::Post(std::function<void()> task) {
  std::lock_guard lock(mutex_);
  tasks_.push_back(std::move(task));
  woken_.notify_all();
}

void HeadlessEventPump::Interrupt() {
  std::lock_guard lock(mutex_);
  interrupted_ = true;
  woken_.notify_all();
}

void HeadlessEventPump::ProcessPendingEvents() {
  // Tasks posted while these run wait for the next call, as window events do.
  std::deque<std::function<void()>> batch;
  {
    std::lock_guard lock(mutex_);
    batch.swap(tasks_);
  }
  for (auto& task : batch) task();
}

WaitOutcome HeadlessEventPump::WaitFor(WorkerSignal& signal, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  // Lock order is signal, then pump: the waker runs under the signal's lock,
  // so this thread never asks the signal anything while it holds ours.
  bool raised = false;
  signal.SetWaker([this, &raised] {
    std::lock_guard lock(mutex_);
    raised = true;
    woken_.notify_all();
  });
  WaitOutcome outcome = WaitOutcome::kSignalled;
  if (!signal.IsSet()) {
    std::unique_lock lock(mutex_);
    const bool woke = woken_.wait_until(lock, deadline, [&] {
      if (interrupted_)
        outcome = WaitOutcome::kInterrupted;
      else if (raised)
        outcome = WaitOutcome::kSignalled;
      else if (!tasks_.empty())
        outcome = WaitOutcome::kWoken;
      else
        return false;
      return true;
    });
    if (!woke) outcome = WaitOutcome::kTimedOut;
  }
  signal.SetWaker(nullptr);
  return outcome;
}

}  // namespace miravel
