#include "poemd/measure/lushi_measures.h"

#include <cstdio>

namespace miravel::poemd {

void MeasureLushi(const MeasureSetup& setup, const std::vector<std::u16string>& asked,
                  RhymeBook book) {
  const Reference* reference = setup.reference;
  for (int slot = 0; slot < 2; ++slot) {
    const int length = kLengths[slot];
    const ParallelModel judge =
        reference ? reference->ParallelJudge(slot) : setup.source.index.Parallelism();
    if (reference) {
      std::printf("  %d real 律诗 (%zu): middle couplets parallel %.1f%%, first and last %.1f%%\n",
                  length, reference->lushi[slot], 100 * reference->real_middle_parallel[slot],
                  100 * reference->real_outer_parallel[slot]);
    }
    for (const Place place : {Place::kHead, Place::kMiddle}) {
      int couplets = 0, parallel = 0;
      double coherence = 0;
      int poems = 0;
      for (size_t r = 0; r < asked.size(); ++r) {
        const PoemOrder order = OrderFor(asked[r], length, place, false, book);
        const std::vector<ReadLineFacts> read = setup.source.Get(order, r + 1, setup.readers[slot]);
        if (read.size() != 8) continue;
        for (const size_t i : {2, 4}) {
          ++couplets;
          parallel += judge.Score(read[i].text, read[i + 1].text) > 0;
        }
        if (reference) {
          std::vector<std::u16string> texts;
          for (const ReadLineFacts& line : read) texts.push_back(line.text);
          coherence += reference->judge.Poem(texts);
        }
        ++poems;
      }
      static const char* const kNames[] = {"head  ", "middle", "tail  "};
      std::printf("  %d %s %d poems: middle couplets parallel %.1f%%%s", length,
                  kNames[static_cast<int>(place)], poems,
                  couplets ? 100.0 * parallel / couplets : 0.0,
                  reference ? "" : " (by the composer's own model)");
      if (reference && poems > 0) {
        std::printf(", coherence %.2f", setup.calibration.Normalised(slot, coherence / poems));
      }
      std::printf("\n");
    }
  }
}

}  // namespace miravel::poemd
