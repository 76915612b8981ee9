// The measures miravel-poemd-measure prints, one run at a time
// (poemd/tools/measure_main.cpp says what each means).
#pragma once

#include <string>
#include <vector>

#include "poemd/index/corpus_index.h"
#include "poemd/measure/poem_measures.h"
#include "poemd/measure/poem_source.h"
#include "poemd/measure/reference_poems.h"

namespace miravel::poemd {

// What the judge gives four random corpus lines (0 on the printed scale) and
// the held-out real quatrains (1), per length.
struct Calibration {
  double random[2] = {0, 0};
  double real[2] = {1, 1};

  double Normalised(int slot, double score) const {
    return (score - random[slot]) / (real[slot] - random[slot]);
  }
};

struct MeasureSetup {
  const PoemSource& source;
  const std::vector<std::u16string>& asked;
  const LineReader* readers;  // per length slot
  const Reference* reference;
  Calibration calibration;
  int show = 0;
  int show_broken = 0;  // poems per mode that break a rule in the book's first reading
  // Each mode's mean share of each scoring term, and each shown poem's.
  bool terms = false;
};

// The share of `frequent` a real corpus line holds at each place, per form.
void PrintCoverage(const CorpusIndex& index, const std::vector<char16_t>& frequent);
// Prints what the judge gives random lines and the held-out real quatrains.
Calibration Calibrate(const CorpusIndex& index, const Reference& reference);
// The held-out real quatrains, measured as the poems are.
void PrintRealPoems(const Reference& reference);
// Measures one mode in one book and prints its row.
void MeasureMode(const MeasureSetup& setup, RhymeBook book, int length, Place place,
                 bool first_rhymes);
// Trains and tests the discriminator per form and place, in one book, and
// prints its accuracy (and with `explain`, what gives the poems away).
void Discriminate(const PoemSource& source, const Reference& reference, RhymeBook book,
                  bool explain);

}  // namespace miravel::poemd
