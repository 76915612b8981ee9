// What the composer asks of the index's subjects, hundreds of times a poem:
// a subject's lines that hold a character at a place, a line's subject and
// its closeness to a subject, and the subjects nearest a hidden phrase. The
// index is MIRAVEL_INDEX, or build/corpus/poems.idx (scripts/corpus.sh
// makes it).
#include <benchmark/benchmark.h>

#include "bench/real_index.h"
#include "poemd/index/corpus_index.h"

namespace {

using namespace miravel::poemd;

constexpr std::u16string_view kCharacters = u"春风花月山人不一生日快乐福寿安康";

// One character a subject, in turn, over every subject; the lines of all
// ranks counted.
void BM_SubjectLinesWithACharacter(benchmark::State& state) {
  const CorpusIndex* index = miravel::bench::RealIndex();
  if (index == nullptr) return state.SkipWithError("no index: run scripts/corpus.sh");
  const auto subjects = static_cast<SubjectId>(index->Subjects().Count());
  const int length = static_cast<int>(state.range(0));
  size_t k = 0;
  for (auto _ : state) {
    const SubjectLines lines =
        index->LinesWith(kCharacters[k % kCharacters.size()], length, 0, k % subjects);
    benchmark::DoNotOptimize(lines.size());
    ++k;
  }
}
BENCHMARK(BM_SubjectLinesWithACharacter)->Arg(5)->Arg(7);

// Every line that holds 春 at the head: its subject and its closeness to a
// subject, per line.
void BM_LinesSubjectAndCloseness(benchmark::State& state) {
  const CorpusIndex* index = miravel::bench::RealIndex();
  if (index == nullptr) return state.SkipWithError("no index: run scripts/corpus.sh");
  const auto lines = index->LinesWith(u'春', 7, 0);
  for (auto _ : state) {
    float sum = 0;
    for (const uint32_t line : lines) sum += index->Closeness(7, line, index->SubjectOf(7, 0));
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * lines.size()));
}
BENCHMARK(BM_LinesSubjectAndCloseness);

void BM_SubjectsNearestAHiddenPhrase(benchmark::State& state) {
  const CorpusIndex* index = miravel::bench::RealIndex();
  if (index == nullptr) return state.SkipWithError("no index: run scripts/corpus.sh");
  for (auto _ : state) {
    const SubjectModel& subjects = index->Subjects();
    benchmark::DoNotOptimize(subjects.NearestTo(subjects.VectorOf(u"生日快乐"), 8));
  }
}
BENCHMARK(BM_SubjectsNearestAHiddenPhrase)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
