// The real poems miravel-poemd-measure compares composed ones with, read
// from the chinese-poetry package as an index built with --measure-split
// left them out (indexing/corpus_split.h): the judge's quarter, which the
// coherence judge learns from, and the held-out real quatrains, read in both
// readings as the index builder reads its lines; and the judge's quarter's
// 律诗, from which a judge of parallel couplets of its own is learned (the
// composer's model never saw them), per form.
#pragma once

#include <string>
#include <vector>

#include "common/status.h"
#include "poemd/compose/line_rules.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/parallel_model.h"
#include "poemd/indexing/classical_readings.h"
#include "poemd/indexing/parallel_learner.h"
#include "poemd/indexing/word_readings.h"
#include "poemd/measure/coherence_judge.h"
#include "poemd/measure/subject_judge.h"

namespace miravel::poemd {

struct RealPoem {
  std::vector<std::u16string> lines;  // simplified
  std::vector<LineReading> readings;
  bool first_line_rhymes = false;  // its first line rhymes with its second, classically
};

struct Reference {
  CoherenceJudge judge;
  // What lines speak of, learned from the judge's quarter's poems but
  // drama's.
  SubjectJudge subjects;
  std::vector<RealPoem> held_out[2];  // by length slot
  // The judge of parallel couplets, per length slot: learned from the
  // judge's quarter's 律诗, and how often it finds the middle and the outer
  // couplets of those it held back parallel.
  LearnedParallel parallel[2];
  double real_middle_parallel[2] = {0, 0};
  double real_outer_parallel[2] = {0, 0};
  size_t lushi[2] = {0, 0};

  ParallelModel ParallelJudge(int slot) const {
    return ParallelModel(parallel[slot].weights, parallel[slot].classes);
  }
};

// The order `poem` answers when its characters at `place` are the hidden
// ones.
PoemOrder OrderOf(const RealPoem& poem, Place place, RhymeBook book);

// `classical` may be null (the modern reading then stands in); `words` may
// be null (each character then reads alone). `classes`: the characters'
// classes the judge of parallel couplets reads them by (the index's). NotFound
// when the package holds no poem of the judge's quarter, or a verse file
// cannot be opened.
StatusOr<Reference> ReadReference(const std::string& poetry, const ClassicalReadings* classical,
                                  WordReadings* words, std::span<const uint8_t> classes);

}  // namespace miravel::poemd
