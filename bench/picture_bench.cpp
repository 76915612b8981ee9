// What a poem's picture costs: laying it out, drawing it as PNG (cairo and
// pango, then zlib), writing it as SVG; for a quatrain, an eight-line poem
// and a full page of sixteen seven-character lines.
#include <benchmark/benchmark.h>

#include "poemd/picture/picture_layout.h"
#include "poemd/picture/picture_render.h"

namespace miravel::poemd {
namespace {

PoemPicture Poem(size_t lines, size_t length) {
  static constexpr char16_t kText[] = u"春江潮水连海平明月共潮生滟滟随波千万里何处春江无月明";
  PoemPicture picture{u"藏头诗 · 春江花月", u"平水韵 · 下平八庚，中华新韵 · 十一庚", {}};
  for (size_t i = 0; i < lines; ++i) {
    picture.lines.push_back(
        {std::u16string(kText + (i * 3) % 20, length), 0, i == 2, u"〔唐〕张若虚《春江花月夜》"});
  }
  return picture;
}

void Args(benchmark::internal::Benchmark* b) { b->Args({4, 5})->Args({8, 7})->Args({16, 7}); }

void BM_Layout(benchmark::State& state) {
  const PoemPicture picture = Poem(state.range(0), state.range(1));
  for (auto _ : state) benchmark::DoNotOptimize(LayOutPicture(picture, 0));
}
BENCHMARK(BM_Layout)->Apply(Args);

void BM_Png(benchmark::State& state) {
  const PictureLayout layout = LayOutPicture(Poem(state.range(0), state.range(1)), 0);
  size_t bytes = 0;
  for (auto _ : state) bytes = RenderPng(layout)->size();
  state.counters["KiB"] = static_cast<double>(bytes) / 1024;
}
BENCHMARK(BM_Png)->Apply(Args)->Unit(benchmark::kMillisecond);

void BM_Svg(benchmark::State& state) {
  const PictureLayout layout = LayOutPicture(Poem(state.range(0), state.range(1)), 0);
  size_t bytes = 0;
  for (auto _ : state) bytes = RenderSvg(layout, "藏头诗 · 春江花月").size();
  state.counters["KiB"] = static_cast<double>(bytes) / 1024;
}
BENCHMARK(BM_Svg)->Apply(Args)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace miravel::poemd

BENCHMARK_MAIN();
