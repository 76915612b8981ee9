// Composing one poem from the real corpus index, as the service does for a
// request: everyday requests (blessings, seasons, names) and random
// four-character ones from the corpus's frequent characters. The index is
// MIRAVEL_INDEX, or build/corpus/poems.idx (scripts/corpus.sh makes it).
#include <benchmark/benchmark.h>

#include <random>

#include "bench/real_index.h"
#include "poemd/compose/poem_composer.h"
#include "poemd/index/corpus_index.h"

namespace {

using namespace miravel::poemd;

const std::u16string kEveryday[] = {u"春夏秋冬", u"生日快乐", u"心想事成", u"前程似锦",
                                    u"花好月圆", u"李思远",   u"张雨欣",   u"故乡明月"};
const std::u16string kRandom[] = {u"唾稍回温", u"颗慧潢解", u"梵窕凡垠", u"晴鸣沙渚",
                                  u"骄衬缕颇", u"钧丛帘逼", u"诞辟芦锋", u"蔽贴喷纽"};
// Eight characters make a poem of eight lines, a 律诗 with middle couplets
// to run in parallel.
const std::u16string kEightLines[] = {u"春风花月年年有余", u"生日快乐万事如意", u"白头偕老永结同心",
                                      u"前程似锦步步高升"};

void Compose(benchmark::State& state, const std::u16string* requests, size_t count) {
  const CorpusIndex* index = miravel::bench::RealIndex();
  if (index == nullptr) {
    state.SkipWithError("no index: run scripts/corpus.sh or set MIRAVEL_INDEX");
    return;
  }
  uint64_t seed = 0;
  size_t k = 0;
  for (auto _ : state) {
    PoemOrder order;
    order.length = static_cast<int>(state.range(0));
    order.place = static_cast<Place>(state.range(1));
    order.characters = requests[k++ % count];
    benchmark::DoNotOptimize(ComposePoem(*index, order, {.seed = ++seed}));
  }
}

void BM_ComposeEveryday(benchmark::State& state) {
  Compose(state, kEveryday, std::size(kEveryday));
}
void BM_ComposeRandom(benchmark::State& state) { Compose(state, kRandom, std::size(kRandom)); }
void BM_ComposeEightLines(benchmark::State& state) {
  Compose(state, kEightLines, std::size(kEightLines));
}

BENCHMARK(BM_ComposeEveryday)->ArgsProduct({{5, 7}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeRandom)->ArgsProduct({{5, 7}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeEightLines)->ArgsProduct({{5, 7}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
