// How code below the window layer lets the window's events flow: process
// what is pending, or wait for a worker while events are dispatched.
//
// Implementations: HeadlessEventPump (here) for non-GUI callers and tests,
// QtEventPump in composer/. All calls are made on the thread that owns the
// pump (the window thread).
#pragma once

#include <chrono>

#include "common/worker_signal.h"

namespace miravel {

enum class WaitOutcome {
  kSignalled,    // the worker's signal is raised
  kTimedOut,     // the limit has passed
  kWoken,        // events arrived and want processing; wait again afterwards
  kInterrupted,  // the program is shutting down: give up the wait
};

class EventPump {
 public:
  virtual ~EventPump() = default;
  // Dispatches every event queued for the calling thread, then returns.
  // Handlers may run nested inside this call.
  virtual void ProcessPendingEvents() = 0;
  // Waits until `signal` is raised or `limit` has passed. It never polls: it
  // sleeps until one of those or an event. Pumps that dispatch events while
  // they wait do so; others return kWoken.
  virtual WaitOutcome WaitFor(WorkerSignal& signal, std::chrono::milliseconds limit) = 0;
};

}  // namespace miravel
