// ExtractPoems of pages of 1,000 and 10,000 poem lines into the real Qt
// result box (offscreen), and for comparison the box filled the naive way:
// one read-append-write of the whole content per group.
#include "bench/qt_bench_main.h"
#include "composer/control_names.h"
#include "composer/qt/main_window.h"
#include "composer/result_extraction.h"

namespace {

using namespace miravel;

Text Page(int lines) {
  Text page = "<html><body><ul>\n";
  for (int i = 0; i < lines; ++i) {
    page += "<li>\xB4\xBA\xB7\xE7<font style=\"color:red\">\xD6\xD0</font>\xBB\xA8\xBF\xAA</li>\n";
  }
  return page + "</ul></body></html>";
}

void BM_ExtractIntoQtBox(benchmark::State& state) {
  MainWindow window("http://127.0.0.1/");
  const Text page = Page(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    RegexObject regex;
    ExtractPoems(page, "cangzhong", regex, window.toolkit());
  }
  state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ExtractIntoQtBox)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_NaiveAppendPerGroup(benchmark::State& state) {
  MainWindow window("http://127.0.0.1/");
  WindowToolkit& toolkit = window.toolkit();
  const Text page = Page(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    RegexObject regex;
    toolkit.SetEditContent(kResultEdit, "");
    regex.Search(kInnerPattern, page);
    for (int i = 1; i <= regex.GetMatchCount(); ++i) {
      for (int g = 1; g <= 3; ++g) {
        toolkit.SetEditContent(kResultEdit, toolkit.EditContent(kResultEdit) +
                                                regex.GetSubmatchText(i, g) +
                                                (g == 3 ? "\r\n" : ""));
      }
    }
  }
}
BENCHMARK(BM_NaiveAppendPerGroup)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

MIRAVEL_QT_BENCHMARK_MAIN();
