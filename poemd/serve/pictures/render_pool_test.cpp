// The pictures' pool: its bounds refuse at once, its places come back when
// a task has run, and what never ran is dropped when it stops.
#include "poemd/serve/pictures/render_pool.h"

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
  bool finished = false;
  bool ran = false;
  std::thread::id dropped_on;
  Gate gate;
  {
    RenderPool pool({.threads = 1, .queue = 4, .per_address = 0});
    ASSERT_EQ(pool.Submit("a",
                          [&] {
                            gate.Wait();
                            finished = true;
                          }),
              Admission::kTaken);
    gate.WaitForOne();
    const std::shared_ptr<int> witness(new int, [&](int* p) {
      dropped_on = std::this_thread::get_id();
      delete p;
    });
    ASSERT_EQ(pool.Submit("a", [&ran, witness] { ran = true; }), Admission::kTaken);
    pool.Stop();  // returns at once, with the first task still held
    gate.Open();
    // Once the first task's place is back, a pool that had not stopped
    // would be starting the second.
    while (pool.InFlight() > 1) std::this_thread::yield();
  }  // the waiting task is dropped
  EXPECT_TRUE(finished);
  EXPECT_FALSE(ran);
  EXPECT_EQ(dropped_on, std::this_thread::get_id());
}

}  // namespace
}  // namespace miravel::poemd
