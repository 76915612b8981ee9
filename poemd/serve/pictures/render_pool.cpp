#include "poemd/serve/pictures/render_pool.h"

// Boost 1.74's Asio uses std::exchange without including <utility>.
#include <utility>
//
#include <boost/asio/post.hpp>
#include <boost/asio/thread_pool.hpp>
#include <mutex>
#include <unordered_map>

namespace miravel::poemd {

struct RenderPool::Impl {
  explicit Impl(RenderPoolOptions o)
      : options(o),
        pool(std::make_unique<boost::asio::thread_pool>(
            static_cast<size_t>(std::max(1, o.threads)))) {}

  RenderPoolOptions options;
  std::mutex mutex;
  size_t in_flight = 0;
  std::unordered_map<std::string, size_t> per_address;
  // Its tasks hold tickets naming this Impl: it goes first (~RenderPool).
  std::unique_ptr<boost::asio::thread_pool> pool;

  void Release(const std::string& address) {
    std::lock_guard lock(mutex);
    --in_flight;
    if (options.per_address == 0) return;
    const auto it = per_address.find(address);
    if (it != per_address.end() && --it->second == 0) per_address.erase(it);
  }
};

namespace {

// A task's place in the pool, given back when the task has run or has been
// dropped unrun.
class Ticket {
 public:
  Ticket(RenderPool::Impl* pool, std::string address) : pool_(pool), address_(std::move(address)) {}
  ~Ticket() { pool_->Release(address_); }
  Ticket(const Ticket&) = delete;
  Ticket& operator=(const Ticket&) = delete;

 private:
  RenderPool::Impl* pool_;
  std::string address_;
};

}  // namespace

RenderPool::RenderPool(RenderPoolOptions options) : impl_(std::make_unique<Impl>(options)) {}

RenderPool::~RenderPool() {
  Stop();
  impl_->pool->join();
  impl_->pool.reset();  // drops the tasks that never ran, giving back their tickets
}

RenderPool::Admission RenderPool::Submit(const std::string& address, std::function<void()> task) {
  {
    std::lock_guard lock(impl_->mutex);
    const RenderPoolOptions& o = impl_->options;
    if (impl_->in_flight >= static_cast<size_t>(std::max(1, o.threads)) + o.queue) {
      return Admission::kQueueFull;
    }
    if (o.per_address != 0) {
      size_t& mine = impl_->per_address[address];
      if (mine >= o.per_address) return Admission::kAddressBusy;
      ++mine;
    }
    ++impl_->in_flight;
  }
  auto ticket = std::make_shared<Ticket>(impl_.get(), address);
  boost::asio::post(*impl_->pool, [task = std::move(task), ticket = std::move(ticket)] { task(); });
  return Admission::kTaken;
}

void RenderPool::Stop() { impl_->pool->stop(); }

size_t RenderPool::InFlight() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->in_flight;
}

}  // namespace miravel::poemd
