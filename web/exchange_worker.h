// The worker threads of timed web requests. A request's exchange runs on a
// pooled thread, so that a request does not pay for starting one; a worker
// that overruns its time is told to abort, never killed, and its thread
// serves later requests once it has ended.
#pragma once

#include <atomic>
#include <memory>

#include "common/worker_signal.h"

namespace miravel {

// The worker's routine: runs HttpExchange on the in-memory file, then
// raises `done`.
void ExchangeWorker(int file_number, const std::atomic<bool>& abort, WorkerSignal& done);

// Runs ExchangeWorker on an idle pooled thread, or on a new one. False when
// no thread could be started. Thread-safe.
bool StartExchangeWorker(int file_number, std::shared_ptr<const std::atomic<bool>> abort,
                         std::shared_ptr<WorkerSignal> done);

// Lets every running worker finish (an aborted one ends within about a
// second) and ends the pool's threads. Call before the process ends, after
// the last timed web request; a later request starts the pool anew.
void JoinExchangeWorkers();

}  // namespace miravel
