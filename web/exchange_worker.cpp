#include "web/exchange_worker.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "web/http_exchange.h"

namespace miravel {
namespace {

class WorkerPool {
 public:
  ~WorkerPool() { JoinAll(); }

  bool Run(std::function<void()> job) {
    std::unique_lock lock(mutex_);
    jobs_.push_back(std::move(job));
    if (idle_ > 0) {
      wake_.notify_one();
      return true;
    }
    try {
      threads_.emplace_back([this] { Serve(); });
    } catch (const std::system_error&) {
      jobs_.pop_back();
      return false;
    }
    return true;
  }

  void JoinAll() {
    std::vector<std::thread> threads;
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
      wake_.notify_all();
      threads.swap(threads_);
    }
    for (std::thread& thread : threads) thread.join();
    std::lock_guard lock(mutex_);
    stopping_ = false;
  }

 private:
  void Serve() {
    std::unique_lock lock(mutex_);
    for (;;) {
      if (!jobs_.empty()) {
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job();
        lock.lock();
        continue;
      }
      if (stopping_) return;
      ++idle_;
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      --idle_;
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  std::vector<std::thread> threads_;
  int idle_ = 0;
  bool stopping_ = false;
};

WorkerPool& Pool() {
  static WorkerPool pool;
  return pool;
}

}  // namespace

void ExchangeWorker(int file_number, const std::atomic<bool>& abort, WorkerSignal& done) {
  HttpExchange(file_number, abort);
  done.Notify();
}

bool StartExchangeWorker(int file_number, std::shared_ptr<const std::atomic<bool>> abort,
                         std::shared_ptr<WorkerSignal> done) {
  return Pool().Run([file_number, abort = std::move(abort), done = std::move(done)] {
    ExchangeWorker(file_number, *abort, *done);
  });
}

void JoinExchangeWorkers() { Pool().JoinAll(); }

}  // namespace miravel
