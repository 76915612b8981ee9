// A small pool of threads for work too slow for the event loops (drawing a
// picture), bounded: at most `threads` tasks run and `queue` more wait, and
// one client address may have at most `per_address` running or waiting.
// Past a bound a task is refused at once, never queued, so that whoever
// asks more than the pool can do is told to come back, and nothing behind
// the pool waits for it. Thread-safe.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace miravel::poemd {

struct RenderPoolOptions {
  int threads = 1;
  size_t queue = 16;
  size_t per_address = 3;  // 0: no limit (behind a proxy that limits)
};

class RenderPool {
 public:
  enum class Admission { kTaken, kQueueFull, kAddressBusy };

  explicit RenderPool(RenderPoolOptions options);
  // Stops (as Stop), waits for the tasks under way, then drops the tasks
  // that never ran (destroyed unrun, on this thread).
  ~RenderPool();
  RenderPool(const RenderPool&) = delete;
  RenderPool& operator=(const RenderPool&) = delete;

  // Runs `task` on the pool for `address`, or says why not (then `task` is
  // dropped at once).
  Admission Submit(const std::string& address, std::function<void()> task);
  // From now on no task starts: tasks under way finish, and tasks waiting
  // or submitted later are dropped unrun when the pool is destroyed. Does
  // not wait.
  void Stop();
  // Running and waiting now (for tests and the log).
  size_t InFlight() const;

  struct Impl;  // named by the pool's tickets

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace miravel::poemd
