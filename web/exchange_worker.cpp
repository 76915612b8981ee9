#include "web/exchange_worker.h"

#include <mutex>
#include <vector>

#include "web/http_exchange.h"

namespace miravel {
namespace {

struct Overrun {
  std::thread thread;
  std::shared_ptr<WorkerSignal> done;
};

class Reaper {
 public:
  ~Reaper() { JoinAll(); }

  void Adopt(std::thread worker, std::shared_ptr<WorkerSignal> done) {
    std::vector<Overrun> ended;
    {
      std::lock_guard lock(mutex_);
      for (auto it = workers_.begin(); it != workers_.end();) {
        if (it->done->IsSet()) {
          ended.push_back(std::move(*it));
          it = workers_.erase(it);
        } else {
          ++it;
        }
      }
      workers_.push_back({std::move(worker), std::move(done)});
    }
    for (Overrun& w : ended) w.thread.join();
  }

  void JoinAll() {
    std::vector<Overrun> all;
    {
      std::lock_guard lock(mutex_);
      all.swap(workers_);
    }
    for (Overrun& w : all) w.thread.join();
  }

 private:
  std::mutex mutex_;
  std::vector<Overrun> workers_;
};

Reaper& TheReaper() {
  static Reaper reaper;
  return reaper;
}

}  // namespace

void ExchangeWorker(int file_number, std::shared_ptr<const std::atomic<bool>> abort,
                    std::shared_ptr<WorkerSignal> done) {
  HttpExchange(file_number, *abort);
  done->Notify();
}

void AdoptOverrunWorker(std::thread worker, std::shared_ptr<WorkerSignal> done) {
  TheReaper().Adopt(std::move(worker), std::move(done));
}

void JoinOverrunWorkers() { TheReaper().JoinAll(); }

}  // namespace miravel
