// Proposes real couplets: where two consecutive hidden characters stand at
// one place, the two lines of a real couplet of a regulated poem that hold
// them join the two lines' candidates, paired (Candidate::partner), for the
// couplet terms to weigh. A couplet joins only when both its lines keep as
// many rules as the best candidates of their lines and no line term
// refuses either: a couplet is a preference, never a reason to break a
// rule. Lines the options keep are left alone.
#pragma once

#include <vector>

#include "poemd/compose/candidate.h"
#include "poemd/compose/candidate_maker.h"
#include "poemd/compose/hidden_lines.h"
#include "poemd/compose/poem_random.h"
#include "poemd/compose/terms/scoring_terms.h"

namespace miravel::poemd {

// REQUIRES: no list is empty, each best by the rules first.
void ProposeCouplets(std::vector<std::vector<Candidate>>& lists, const FormRules& form,
                     const HiddenLines& hidden, const ScoringTerms& terms,
                     const CandidateMaker& maker, PoemRandom& random);

}  // namespace miravel::poemd
