// Proposes parallel answers for the middle couplets of a poem of eight
// lines or more: for each of a middle couplet line's likeliest candidates
// (ComposeSizes::parallel_firsts), the line read for the other line of the
// couplet that answers it best in parallel (parallel_model.h), when one
// does, among those that keep as many rules as the other line's best
// candidate, joins the other line's candidates. Lines the options keep are
// left alone.
#pragma once

#include <vector>

#include "poemd/compose/candidate.h"
#include "poemd/compose/candidate_maker.h"
#include "poemd/compose/corpus_scan.h"
#include "poemd/compose/hidden_lines.h"
#include "poemd/compose/terms/scoring_terms.h"

namespace miravel::poemd {

// REQUIRES: no list is empty, each best by the rules first.
void ProposeParallelAnswers(std::vector<std::vector<Candidate>>& lists, const FormRules& form,
                            const HiddenLines& hidden, const CorpusScan& scan,
                            const ScoringTerms& terms, const CandidateMaker& maker);

}  // namespace miravel::poemd
