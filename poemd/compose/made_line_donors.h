// Made lines for a hidden character that no corpus line holds at its place,
// or only lines the occasion refuses: corpus lines (donors) whose
// character at the place reads in the tone class of the hidden one, in the
// book's first reading, with the hidden character put in. Donors that keep
// every rule come first; the rest only to fill up. A donor holding the
// character already is no made line, and a line the reader swapped away
// never comes back as its own donor.
#pragma once

#include <vector>

#include "poemd/compose/candidate.h"
#include "poemd/compose/candidate_maker.h"
#include "poemd/compose/hidden_lines.h"
#include "poemd/compose/poem_random.h"
#include "poemd/compose/terms/scoring_terms.h"

namespace miravel::poemd {

// Made lines for line i under `form`, at most ComposeSizes::candidates,
// never none. Draws donors from `random`.
std::vector<Candidate> MadeLines(size_t i, const FormRules& form, const HiddenLines& hidden,
                                 const ScoringTerms& terms, const CandidateMaker& maker,
                                 PoemRandom& random);

}  // namespace miravel::poemd
