// A poem's picture as the service answers it: drawn (composed, laid out,
// drawn as PNG), kept from an earlier drawing, and named by a matching
// If-None-Match (304); the ratios say what the cache saves.
#include <benchmark/benchmark.h>

#include "poemd/serve/pictures/picture_route.h"
#include "poemd/testing/testing_corpus.h"

namespace miravel::poemd {
namespace {

// The made-up corpus and the composer over it, made once.
struct Made {
  CorpusIndex index = testing::MadeUpCorpus();
  IndexPoemMaker poems{index};
};
const Made& Service() {
  static const Made made;
  return made;
}

// The answer at once, drawn on this thread when it must be.
HttpReply Drawn(const PictureRoute& route, const HttpRequest& request) {
  return *route.Serve(request, *ReadShortAddress(request.Path()), nullptr);
}

HttpRequest Asked() {
  HttpRequest request;
  request.method = "GET";
  // /春风花月/五言藏头/k3x9z.png
  request.target =
      "/%E6%98%A5%E9%A3%8E%E8%8A%B1%E6%9C%88/%E4%BA%94%E8%A8%80%E8%97%8F%E5%A4%B4/k3x9z.png";
  request.peer = "192.0.2.1";
  return request;
}

void Run(benchmark::State& state, const PictureRoute& route, const HttpRequest& request) {
  for (auto _ : state) {
    const HttpReply reply = Drawn(route, request);
    if (reply.status != 200 && reply.status != 304) state.SkipWithError("no picture");
    benchmark::DoNotOptimize(reply.body.data());
  }
}

void BM_PictureDrawn(benchmark::State& state) {
  const PictureRoute route(Service().index, Service().poems, RhymeBook::kBoth, {.cache_bytes = 0});
  Run(state, route, Asked());
}
BENCHMARK(BM_PictureDrawn)->Unit(benchmark::kMillisecond);

void BM_PictureKept(benchmark::State& state) {
  const PictureRoute route(Service().index, Service().poems, RhymeBook::kBoth, {});
  Run(state, route, Asked());
}
BENCHMARK(BM_PictureKept)->Unit(benchmark::kMicrosecond);

void BM_PictureNotModified(benchmark::State& state) {
  const PictureRoute route(Service().index, Service().poems, RhymeBook::kBoth, {});
  HttpRequest request = Asked();
  for (const auto& [name, value] : Drawn(route, request).headers) {
    if (name == "ETag") request.if_none_match = value;
  }
  Run(state, route, request);
}
BENCHMARK(BM_PictureNotModified)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace miravel::poemd

BENCHMARK_MAIN();
