// The worker thread of one timed web request, and the keeping of workers
// that overran their time: they are told to abort, never killed, and are
// joined before the process ends.
#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "common/worker_signal.h"

namespace miravel {

// The worker's start routine: runs HttpExchange on the in-memory file, then
// raises `done`.
void ExchangeWorker(int file_number, std::shared_ptr<const std::atomic<bool>> abort,
                    std::shared_ptr<WorkerSignal> done);

// Takes an overrun worker whose abort flag is raised. Workers that have
// ended since are joined now; the rest by JoinOverrunWorkers(). Thread-safe.
void AdoptOverrunWorker(std::thread worker, std::shared_ptr<WorkerSignal> done);

// Joins every adopted worker (each ends within about a second of its abort).
// Call before the process ends, after the last timed web request.
void JoinOverrunWorkers();

}  // namespace miravel
