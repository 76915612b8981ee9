// From the click on 开始作诗 to the filled result box (the real window,
// offscreen) against a local service, and the bare exchange of the same
// request on a fresh curl handle.
#include <QPushButton>

#include "bench/bare_exchange.h"
#include "bench/qt_bench_main.h"
#include "composer/control_names.h"
#include "composer/gbk_literal.h"
#include "composer/qt/main_window.h"
#include "composer/testing/stand_in_service.h"
#include "web/exchange_worker.h"

namespace {

using namespace miravel;

testing::StandInService& Service() {
  static testing::StandInService service;
  return service;
}

const std::string kBody =
    "xing=%B4%BA%B7%E7%BB%A8%D4%C2&gender=5&type_str=&classid=0&num=cangtou&limit=100";

void BM_BareExchange(benchmark::State& state) {
  const std::string url = Service().Url();
  for (auto _ : state) bench::BarePost(url, kBody);
}
BENCHMARK(BM_BareExchange)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_ClickToFilledResultBox(benchmark::State& state) {
  MainWindow window(Service().Url());
  if (state.range(0)) window.show();
  window.Created();
  window.toolkit().SetEditContent(kInputEdit, Gbk("春风花月"));
  auto* button = window.findChild<QPushButton*>(QString::fromUtf8(kComposeButton));
  for (auto _ : state) {
    button->click();
    // The window paints the new poem once the command has returned to the
    // event loop, after the moment measured here.
    state.PauseTiming();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
  if (window.toolkit().EditContent(kResultEdit).empty()) state.SkipWithError("no poem arrived");
}
BENCHMARK(BM_ClickToFilledResultBox)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  curl_global_init(CURL_GLOBAL_DEFAULT);
  {
    QApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
  }
  JoinExchangeWorkers();
  return 0;
}
