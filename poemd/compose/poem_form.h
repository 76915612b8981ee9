// A poem's rhyme group and tonal template, chosen together from the corpus
// lines each hidden character can take: first the group most rhyming lines
// can end in on 平 (counting double, the first line's rhyme giving way
// first; a made line can end in any group unless its character ends it),
// then the template under which most lines have a line keeping the ending
// and 粘对, then the one under which most also keep 二四, then the one with
// more such lines to choose from.
#pragma once

#include <optional>
#include <vector>

#include "poemd/index/corpus_index.h"
#include "poemd/verse/tonal_pattern.h"

namespace miravel::poemd {

struct PoemForm {
  RhymeGroup rhyme = kNoRhymeGroup;
  Opening opening = Opening::kLevel;
};

struct FormChoice {
  int length = 5;
  bool first_line_rhymes = false;
  // Per line: the traits of the corpus lines it may take; empty for a line
  // that will be made. `tail_rhymes` gives, for such a line, the group its
  // hidden character ends it in when it stands at the tail (else 0).
  std::vector<std::vector<LineTraits>> lines;
  std::vector<RhymeGroup> tail_rhymes;
  // Set to keep a form already chosen.
  std::optional<RhymeGroup> rhyme;
  std::optional<Opening> opening;
  // Breaks a tie between the templates.
  Opening tie = Opening::kLevel;
};

PoemForm ChooseForm(const FormChoice& choice);

}  // namespace miravel::poemd
