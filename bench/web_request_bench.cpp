// TimedWebRequest of the poem request against a local server, against a
// bare curl_easy_perform of the same request on a fresh handle.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include "bench/bare_exchange.h"
#include "common/headless_event_pump.h"
#include "web/exchange_worker.h"
#include "web/testing/local_server.h"
#include "web/timed_web_request.h"

namespace {

using namespace miravel;

const Bytes kBody = "xing=%B4%BA%B7%E7&gender=5&type_str=&classid=0&num=cangtou&limit=100";

testing::LocalServer& TheServer() {
  static testing::LocalServer server([](httplib::Server& s) {
    s.Post("/qm/cts.php", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string(4000, 'x'), "text/html; charset=gbk");
    });
  });
  return server;
}

void BM_BareCurlPerform(benchmark::State& state) {
  const std::string url = TheServer().Url("/qm/cts.php");
  for (auto _ : state) bench::BarePost(url, kBody);
}
BENCHMARK(BM_BareCurlPerform)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_TimedWebRequest(benchmark::State& state) {
  HeadlessEventPump pump;
  for (auto _ : state) {
    Text url = TheServer().Url("/qm/cts.php");
    benchmark::DoNotOptimize(TimedWebRequest(url, pump, {.method = kMethodPost, .body = kBody}));
  }
}
BENCHMARK(BM_TimedWebRequest)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

int main(int argc, char** argv) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  ::benchmark::Initialize(&argc, argv);
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  JoinExchangeWorkers();
  return 0;
}
