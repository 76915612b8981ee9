// Composes an acrostic poem from the corpus as a whole: for each hidden
// character a line of the ordered length that holds it at the ordered
// place, the lines chosen together as the search over the scoring terms
// (terms/term.h) finds best: first the rules of line_rules.h in the order's
// rhyme book, in the order they give way, then the preferences: the
// occasion (occasion.h), the theme, the sources' rank, how lines follow one
// another, real and parallel couplets, few repeats.
//
// The steps: the corpus lines each character can take (corpus_scan.h), the
// rhyme groups and tonal templates that suit them best (poem_form.h), and
// for each of the best few forms the candidates for each line under that
// form (line_shortlist.h, couplet_proposer.h, parallel_proposer.h) and a
// beam search over them (poem_search.h); the best poem of them all is the
// poem, so that a rhyme with no fresh rhyme character for a line gives way
// to another. A character that no corpus line holds at its place gets a
// made line (made_line_donors.h).
#pragma once

#include "poemd/compose/compose_options.h"
#include "poemd/compose/poem.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

// The same order, options and index always give the same poem. The poem's
// theme is the order's.
Poem ComposePoem(const CorpusIndex& index, const PoemOrder& order,
                 const ComposeOptions& options = {});

}  // namespace miravel::poemd
