// The pictures' pool: its bounds refuse at once, its places come back when
// a task has run, and what never ran is dropped when it stops.
#include "poemd/serve/render_pool.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace miravel::poemd {
namespace {

using Admission = RenderPool::Admission;

// Holds the pool's one thread until opened.
class Gate {
 public:
  void Wait() {
    std::unique_lock lock(mutex_);
    ++waiting_;
    changed_.notify_all();
    changed_.wait(lock, [&] { return open_; });
  }
  void WaitForOne() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return waiting_ > 0; });
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int waiting_ = 0;
  bool open_ = false;
};

TEST(RenderPool, AFullQueueAndABusyAddressAreRefusedAtOnce) {
  RenderPool pool({.threads = 1, .queue = 3, .per_address = 3});
  Gate gate;
  ASSERT_EQ(pool.Submit("a", [&] { gate.Wait(); }), Admission::kTaken);
  gate.WaitForOne();
  EXPECT_EQ(pool.Submit("a", [] {}), Admission::kTaken);
  EXPECT_EQ(pool.Submit("a", [] {}), Admission::kTaken);
  EXPECT_EQ(pool.Submit("a", [] {}), Admission::kAddressBusy);  // a fourth from one address
  EXPECT_EQ(pool.Submit("b", [] {}), Admission::kTaken);
  EXPECT_EQ(pool.Submit("c", [] {}), Admission::kQueueFull);  // one running, three waiting
  EXPECT_EQ(pool.InFlight(), 4u);
  gate.Open();
  for (int i = 0; i < 1000 && pool.InFlight() > 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(pool.InFlight(), 0u);
  EXPECT_EQ(pool.Submit("a", [] {}), Admission::kTaken);  // its places came back
}

TEST(RenderPool, WithoutALimitPerAddressOnlyTheQueueBounds) {
  RenderPool pool({.threads = 1, .queue = 5, .per_address = 0});
  Gate gate;
  ASSERT_EQ(pool.Submit("proxy", [&] { gate.Wait(); }), Admission::kTaken);
  gate.WaitForOne();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(pool.Submit("proxy", [] {}), Admission::kTaken);
  EXPECT_EQ(pool.Submit("proxy", [] {}), Admission::kQueueFull);
  gate.Open();
}

TEST(RenderPool, TasksThatNeverRanAreDroppedWhenItStops) {
  auto dropped = std::make_shared<int>(0);
  std::weak_ptr<int> watch = dropped;
  bool ran = false;
  Gate gate;
  std::thread opener;
  {
    RenderPool pool({.threads = 1, .queue = 4, .per_address = 0});
    ASSERT_EQ(pool.Submit("a", [&] { gate.Wait(); }), Admission::kTaken);
    gate.WaitForOne();
    ASSERT_EQ(pool.Submit("a", [&ran, dropped] { ran = true; }), Admission::kTaken);
    dropped.reset();
    opener = std::thread([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      gate.Open();
    });
  }  // stops: the running task finishes, the waiting one is dropped
  opener.join();
  EXPECT_FALSE(ran);
  EXPECT_TRUE(watch.expired());
}

}  // namespace
}  // namespace miravel::poemd
