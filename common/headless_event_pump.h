// An event pump without a window system: its events are tasks posted from any
// thread, run by ProcessPendingEvents() on the pump's thread.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "common/event_pump.h"

namespace miravel {

class HeadlessEventPump final : public EventPump {
 public:
  // Thread-safe. Queues `task`; a WaitFor() under way returns kWoken.
  void Post(std::function<void()> task);
  // Makes every WaitFor() from now on return kInterrupted at once.
  void Interrupt();

  void ProcessPendingEvents() override;
  WaitOutcome WaitFor(WorkerSignal& signal, std::chrono::milliseconds limit) override;

 private:
  std::mutex mutex_;
  std::condition_variable woken_;
  std::deque<std::function<void()>> tasks_;
  bool interrupted_ = false;
};

}  // namespace miravel
