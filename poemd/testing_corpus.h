// A small made-up corpus for tests: lines are invented, in the shapes the
// composer needs (several per hidden character, rhyming and not).
#pragma once

#include "poemd/corpus_index.h"

namespace miravel::poemd::testing {

// Five-character lines for 春 风 花 月 at each place, with level and
// oblique endings in the 唐 (ang) and 寒 (an) groups; a few seven-character
// lines; no line holds 龘.
CorpusIndex MadeUpCorpus();

}  // namespace miravel::poemd::testing
