// EncodeFormValue of 100,000 GBK bytes, letting Qt events run after each
// byte, against the same encoding with a pump that does nothing.
#include "bench/qt_bench_main.h"
#include "composer/form_encoding.h"
#include "composer/qt/qt_event_pump.h"

namespace {

using namespace miravel;

class IdlePump final : public EventPump {
 public:
  void ProcessPendingEvents() override {}
  WaitOutcome WaitFor(WorkerSignal&, std::chrono::milliseconds) override {
    return WaitOutcome::kTimedOut;
  }
};

Text GbkBytes(size_t n) {
  Text text;
  while (text.size() < n) text += "\xB4\xBA\xB7\xE7";  // 春风
  text.resize(n);
  return text;
}

void BM_EncodeWithQtEvents(benchmark::State& state) {
  QtEventPump pump;
  const Text input = GbkBytes(100000);
  for (auto _ : state) benchmark::DoNotOptimize(EncodeFormValue(input, pump));
}
BENCHMARK(BM_EncodeWithQtEvents)->Unit(benchmark::kMillisecond);

void BM_EncodeWithoutEvents(benchmark::State& state) {
  IdlePump pump;
  const Text input = GbkBytes(100000);
  for (auto _ : state) benchmark::DoNotOptimize(EncodeFormValue(input, pump));
}
BENCHMARK(BM_EncodeWithoutEvents)->Unit(benchmark::kMillisecond);

}  // namespace

MIRAVEL_QT_BENCHMARK_MAIN();
