// The real poems miravel-poemd-measure compares composed ones with, read
// from the chinese-poetry package as an index built with --measure-split
// left them out (build/corpus_split.h): the judge's quarter, which the
// coherence judge learns from, and the held-out real quatrains, read in both
// readings as the index builder reads its lines.
#pragma once

#include <string>
#include <vector>

#include "common/status.h"
#include "poemd/compose/line_rules.h"
#include "poemd/indexing/classical_readings.h"
#include "poemd/indexing/word_readings.h"
#include "poemd/measure/coherence_judge.h"

namespace miravel::poemd {

struct RealPoem {
  std::vector<std::u16string> lines;  // simplified
  std::vector<LineReading> readings;
  bool first_line_rhymes = false;  // its first line rhymes with its second, classically
};

struct Reference {
  CoherenceJudge judge;
  std::vector<RealPoem> held_out[2];  // by length slot
};

// `classical` may be null (the modern reading then stands in); `words` may
// be null (each character then reads alone). NotFound when the package
// holds no poem of the judge's quarter, or a verse file cannot be opened.
StatusOr<Reference> ReadReference(const std::string& poetry, const ClassicalReadings* classical,
                                  WordReadings* words);

}  // namespace miravel::poemd
