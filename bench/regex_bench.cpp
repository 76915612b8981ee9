// RegexObject::Search over a 10 MB page of list items with every group text
// read back, against ICU alone converting the page; peak memory reported.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "text/gbk_unicode.h"
#include "text/regex_object.h"

namespace {

using namespace miravel;

const Text& TenMegabytePage() {
  static const Text page = [] {
    Text p;
    const Text item =
        "<li>\xB4\xBA\xB7\xE7<font style=\"color:red\">\xD6\xD0</font>\xBB\xA8\xBF\xAA</li>\n";
    while (p.size() < 10 * 1000 * 1000) p += item;
    return p;
  }();
  return page;
}

double PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_SearchAndReadGroups(benchmark::State& state) {
  const Text& page = TenMegabytePage();
  int matches = 0;
  for (auto _ : state) {
    RegexObject regex;
    regex.Search("<li>(.*?)<font style=\"color:red\">(.*?)</font>(.*?)</li>", page);
    matches = regex.GetMatchCount();
    for (int i = 1; i <= matches; ++i) {
      for (int g = 1; g <= 3; ++g) benchmark::DoNotOptimize(regex.GetSubmatchText(i, g));
    }
  }
  state.counters["matches"] = matches;
  state.counters["page_mb"] = static_cast<double>(page.size()) / 1e6;
  state.counters["peak_rss_mb"] = PeakRssMb();
}
BENCHMARK(BM_SearchAndReadGroups)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ConvertPageOnly(benchmark::State& state) {
  const Text& page = TenMegabytePage();
  for (auto _ : state) benchmark::DoNotOptimize(GbkToUtf16(page));
}
BENCHMARK(BM_ConvertPageOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
