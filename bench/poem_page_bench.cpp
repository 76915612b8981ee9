// A poem's page as the service answers it at its own address (composed
// from its seed, then rendered), without pinyin and with it: the ratio of
// the two is what showing each character's reading costs a reader. The
// index is MIRAVEL_INDEX, or build/corpus/poems.idx (scripts/corpus.sh
// makes it).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/real_index.h"
#include "poemd/http/form_body.h"
#include "poemd/serve/poem_service.h"

namespace miravel::poemd {
namespace {

HttpRequest Get(const std::string& target) {
  HttpRequest request;
  request.method = "GET";
  request.target = target;
  request.peer = "192.0.2.1";
  request.host = "127.0.0.1";
  return request;
}

// Poems of both lengths and several modes, each at its own address.
std::vector<std::string> Addresses(const PoemService& service) {
  std::vector<std::string> addresses;
  for (const char* xing : {"春风花月", "中秋快乐", "生日快乐", "一路平安", "山高水长"}) {
    for (const char* mode : {"&gender=5&num=cangtou", "&gender=7&num=cangtou",
                             "&gender=7&num=cangwei", "&gender=5&num=dizeng"}) {
      const HttpReply reply =
          service.Handle(Get("/poem?xing=" + PercentEncode(xing) + mode + "&seed=11"));
      for (const auto& [name, value] : reply.headers) {
        if (name == "Location") addresses.push_back(value);
      }
    }
  }
  return addresses;
}

void BM_PoemPage(benchmark::State& state) {
  const CorpusIndex* index = bench::RealIndex();
  if (index == nullptr) return state.SkipWithError("no index: run scripts/corpus.sh");
  const PoemService service(*index, {});
  const std::vector<std::string> addresses = Addresses(service);
  if (addresses.empty()) return state.SkipWithError("no poem");
  const std::string pinyin = state.range(0) != 0 ? "?pinyin=1" : "";
  size_t k = 0;
  for (auto _ : state) {
    const HttpReply reply = service.Handle(Get(addresses[k++ % addresses.size()] + pinyin));
    if (reply.status != 200) return state.SkipWithError("no page");
    benchmark::DoNotOptimize(reply.body.data());
  }
}
BENCHMARK(BM_PoemPage)->ArgName("pinyin")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace miravel::poemd

BENCHMARK_MAIN();
