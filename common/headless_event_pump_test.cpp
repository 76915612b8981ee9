#include "common/headless_event_pump.h"

#include <gtest/gtest.h>

#include <thread>

namespace miravel {
namespace {

using namespace std::chrono_literals;

TEST(HeadlessEventPump, WaitEndsWhenTheWorkerSignals) {
  HeadlessEventPump pump;
  WorkerSignal signal;
  std::thread worker([&] { signal.Notify(); });
  EXPECT_EQ(pump.WaitFor(signal, 10s), WaitOutcome::kSignalled);
  worker.join();
}

TEST(HeadlessEventPump, AlreadyRaisedSignalReturnsAtOnce) {
  HeadlessEventPump pump;
  WorkerSignal signal;
  signal.Notify();
  EXPECT_EQ(pump.WaitFor(signal, 0ms), WaitOutcome::kSignalled);
}

TEST(HeadlessEventPump, WaitTimesOut) {
  HeadlessEventPump pump;
  WorkerSignal signal;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(pump.WaitFor(signal, 50ms), WaitOutcome::kTimedOut);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
}

TEST(HeadlessEventPump, PostedTaskWakesTheWaitAndRunsWhenProcessed) {
  HeadlessEventPump pump;
  WorkerSignal signal;
  int ran = 0;
  std::thread poster([&] { pump.Post([&] { ++ran; }); });
  EXPECT_EQ(pump.WaitFor(signal, 10s), WaitOutcome::kWoken);
  poster.join();
  EXPECT_EQ(ran, 0);
  pump.ProcessPendingEvents();
  EXPECT_EQ(ran, 1);
}

TEST(HeadlessEventPump, InterruptGivesUpEveryWait) {
  HeadlessEventPump pump;
  WorkerSignal signal;
  pump.Interrupt();
  EXPECT_EQ(pump.WaitFor(signal, 10s), WaitOutcome::kInterrupted);
}

}  // namespace
}  // namespace miravel
