// Start of the client to its window shown, against the fair floor (a bare Qt
// program showing one 24-point label of Chinese text: it loads a CJK face,
// as the client does) and an empty window, as whole processes. On the
// display DISPLAY names (run it under xvfb-run), else offscreen.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>

extern char** environ;

namespace {

void RunProcess(benchmark::State& state, const char* path) {
  if (std::getenv("DISPLAY") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  for (auto _ : state) {
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(path), nullptr};
    if (posix_spawn(&pid, path, nullptr, nullptr, argv, environ) != 0) {
      state.SkipWithError("cannot start the probe");
      return;
    }
    int status = 0;
    waitpid(pid, &status, 0);
  }
}

void BM_MiravelToWindowShown(benchmark::State& state) { RunProcess(state, MIRAVEL_PROBE); }
BENCHMARK(BM_MiravelToWindowShown)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_FairFloorToWindowShown(benchmark::State& state) { RunProcess(state, FAIR_FLOOR_PROBE); }
BENCHMARK(BM_FairFloorToWindowShown)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_BareQtToWindowShown(benchmark::State& state) { RunProcess(state, BARE_PROBE); }
BENCHMARK(BM_BareQtToWindowShown)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
