// The window thread's event pump on Qt: pending events are processed with
// QCoreApplication::processEvents(), and a wait is a nested event loop that
// ends on the worker's signal, on the time-out, or on Interrupt().
#pragma once

#include <QPointer>

#include "common/event_pump.h"

class QEventLoop;

namespace miravel {

class QtEventPump final : public EventPump {
 public:
  void ProcessPendingEvents() override;
  WaitOutcome WaitFor(WorkerSignal& signal, std::chrono::milliseconds limit) override;
  // The window is closing: the wait under way and every later one end at
  // once with kInterrupted. Window thread only.
  void Interrupt();

 private:
  bool interrupted_ = false;
  QPointer<QEventLoop> loop_;
};

}  // namespace miravel
